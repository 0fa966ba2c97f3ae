#include "AnnunciatorGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphTable.h"
#include "graphs/GraphResources.h"
#include "graphs/ValueConversion.h"
#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ValueIndicators.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vexa::graphs {

namespace {

/// Grids for 1 ... 8 measurements.
constexpr std::array<AnnunciatorGridSize, kMaxMeasurementsPerGraph> kGrids = {{
    {1, 1}, {1, 2}, {1, 3}, {2, 2}, {2, 3}, {2, 3}, {2, 4}, {2, 4},
}};
/// The colour of alarm \p level while it is enabled, else \p otherwise.
QColor EnabledAlarmColour(const GraphResources& resources, int level, const QColor& otherwise)
{
    if (resources.graphs == nullptr)
        return otherwise;
    int colour = 0;
    if (!ReadAlarmEntry(resources.section, level, nullptr, nullptr, &colour, resources.displayFile,
                        *resources.graphs))
        return otherwise;
    return toolkit::PaletteColour(colour);
}

}  // namespace

AnnunciatorGridSize AnnunciatorGrid(int count)
{
    const int clamped = std::clamp(count, 1, kMaxMeasurementsPerGraph);
    return kGrids[static_cast<std::size_t>(clamped - 1)];
}

void BuildAnnunciator(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                      GraphResources& resources)
{
    const std::string& section = resources.section;
    const std::string& file = resources.displayFile;

    toolkit::BeginChart(chart, context);
    const std::array<int, kMaxMeasurementsPerGraph> dataColours = ReadDataColours(section, file);
    const AnnunciatorGridSize grid = AnnunciatorGrid(MeasurementCount(record));
    const QColor cellColour = toolkit::PaletteColour(FontColour(section, kGridFontKey, FontKind::Grid, file));
    const std::vector<QColor> cellColours(static_cast<std::size_t>(grid.first * grid.second), cellColour);

    toolkit::RealTimeDataset* dataset = CreateGraphDataset(record, resources);
    if (dataset == nullptr)
        return;
    ApplyStoredFont(context, section, kTitleFontKey, FontKind::Title, file, toolkit::LineStyle::Solid,
                    toolkit::kThinLine);
    AttachGraphAlarms(chart, resources, nullptr);
    const toolkit::AlarmText alarmText =
        GraphHasAlarm(section, kAnyAlarmKey, file) ? toolkit::AlarmText::Shown : toolkit::AlarmText::Hidden;

    // A level that is not enabled leaves its lamps on their cell colour.
    const toolkit::LampAlarmColours alarmColours{
        .low = EnabledAlarmColour(resources, toolkit::kLevelLow, cellColour),
        .high = EnabledAlarmColour(resources, toolkit::kLevelHigh, cellColour)};
    toolkit::CreateAnnunciator(chart, context, *dataset, dataColours, cellColours, alarmColours,
                               {.rows = grid.first, .columns = grid.second}, alarmText);
}

}  // namespace vexa::graphs
