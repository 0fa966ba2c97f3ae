#include "GraphDataset.h"

#include "ChartStyle.h"

#include "document/GraphDefinition.h"
#include "graphs/core/AlarmAttachment.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "platform/AnsiText.h"

#include <algorithm>

namespace vexa::graphs {

namespace {

/// A dataset's name is read into a buffer of 100 characters.
constexpr qsizetype kDatasetNameLength = 99;

}  // namespace

int MeasurementCount(const GraphDefinition& graph)
{
    return static_cast<int>(std::min<std::size_t>(graph.measurements.size(), kMaxMeasurementsPerGraph));
}

std::vector<std::string> ChannelNames(const GraphDefinition& graph, std::size_t length)
{
    std::vector<std::string> names;
    const int count = MeasurementCount(graph);
    names.reserve(static_cast<std::size_t>(count));
    for (int slot = 0; slot < count; ++slot)
        names.push_back(graph.measurements[static_cast<std::size_t>(slot)].name.substr(0, length));
    return names;
}

toolkit::RealTimeDataset* CreateGraphDataset(const GraphDefinition& graph, GraphResources& resources)
{
    const std::string name = ToAnsi(GraphCaption(graph).left(kDatasetNameLength));
    resources.dataset = toolkit::CreateDataset(name, MeasurementCount(graph), ChannelNames(graph),
                                               toolkit::RealTimeDataset::kNoHistory);
    return resources.dataset.get();
}

void AttachGraphAlarms(toolkit::ChartWindow& chart, const GraphDefinition& graph, const GraphResources& resources,
                       toolkit::AlarmPart* part)
{
    if (resources.dataset != nullptr)
        AttachAlarms(chart, graph, part, *resources.dataset);
}

}  // namespace vexa::graphs
