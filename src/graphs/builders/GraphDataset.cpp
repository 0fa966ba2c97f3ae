#include "GraphDataset.h"

#include "ChartStyle.h"

#include "document/GraphTable.h"
#include "graphs/GraphResources.h"
#include "graphs/ValueConversion.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "platform/AnsiText.h"

#include <algorithm>

namespace vexa::graphs {

namespace {

/// A dataset's name is read into a buffer of 100 characters.
constexpr qsizetype kDatasetNameLength = 99;

}  // namespace

int MeasurementCount(const GraphRecord& record)
{
    return std::clamp(record.measurementCount, 0, kMaxMeasurementsPerGraph);
}

std::vector<std::string> ChannelNames(const GraphRecord& record, std::size_t length)
{
    std::vector<std::string> names;
    const int count = MeasurementCount(record);
    names.reserve(static_cast<std::size_t>(count));
    for (int slot = 0; slot < count; ++slot)
        names.push_back(record.measurements[static_cast<std::size_t>(slot)].name.substr(0, length));
    return names;
}

toolkit::RealTimeDataset* CreateGraphDataset(const GraphRecord& record, GraphResources& resources)
{
    const std::string name = ToAnsi(GraphCaption(resources).left(kDatasetNameLength));
    resources.dataset = toolkit::CreateDataset(name, MeasurementCount(record), ChannelNames(record),
                                               toolkit::RealTimeDataset::kNoHistory);
    return resources.dataset.get();
}

void AttachGraphAlarms(toolkit::ChartWindow& chart, const GraphResources& resources, toolkit::AlarmPart* part)
{
    if (resources.dataset == nullptr || resources.graphs == nullptr)
        return;
    AttachAlarms(chart, resources.section, part, *resources.dataset, resources.displayFile, *resources.graphs);
}

}  // namespace vexa::graphs
