#include "AnnunciatorGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphDefinition.h"
#include "graphs/core/GraphResources.h"
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
QColor EnabledAlarmColour(const GraphDefinition& graph, int level, const QColor& otherwise)
{
    const GraphAlarm& alarm = graph.alarms[static_cast<std::size_t>(level)];
    return alarm.enabled ? toolkit::PaletteColour(alarm.colour) : otherwise;
}

}  // namespace

AnnunciatorGridSize AnnunciatorGrid(int count)
{
    const int clamped = std::clamp(count, 1, kMaxMeasurementsPerGraph);
    return kGrids[static_cast<std::size_t>(clamped - 1)];
}

void BuildAnnunciator(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                      GraphResources& resources)
{
    toolkit::BeginChart(chart, context);
    const AnnunciatorGridSize grid = AnnunciatorGrid(MeasurementCount(graph));
    const QColor cellColour = toolkit::PaletteColour(graph.gridFont.colour);
    const std::vector<QColor> cellColours(static_cast<std::size_t>(grid.first * grid.second), cellColour);

    toolkit::RealTimeDataset* dataset = CreateGraphDataset(graph, resources);
    if (dataset == nullptr)
        return;
    ApplyFont(context, graph.titleFont, toolkit::LineStyle::Solid, toolkit::kThinLine);
    AttachGraphAlarms(chart, graph, resources, nullptr);
    const toolkit::AlarmText alarmText = GraphHasAlarm(graph) ? toolkit::AlarmText::Shown : toolkit::AlarmText::Hidden;

    // A level that is not enabled leaves its lamps on their cell colour.
    const toolkit::LampAlarmColours alarmColours{
        .low = EnabledAlarmColour(graph, toolkit::kLevelLow, cellColour),
        .high = EnabledAlarmColour(graph, toolkit::kLevelHigh, cellColour)};
    toolkit::CreateAnnunciator(chart, context, *dataset, graph.dataColours, cellColours, alarmColours,
                               {.rows = grid.first, .columns = grid.second}, alarmText);
}

}  // namespace vexa::graphs
