#include "FixedTableGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphDefinition.h"
#include "graphs/core/GraphResources.h"
#include "graphs/core/AlarmAttachment.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/IndicatorPart.h"
#include "graphs/toolkit/ValueIndicators.h"

#include <array>

namespace vexa::graphs {

std::vector<std::string> FixedTableRowTexts(const GraphDefinition& graph)
{
    std::vector<std::string> texts;
    const int count = MeasurementCount(graph);
    texts.reserve(static_cast<std::size_t>(count));
    for (int slot = 0; slot < count; ++slot)
        texts.push_back(graph.measurements[static_cast<std::size_t>(slot)].description.substr(0, kRowTextLength));
    return texts;
}

void BuildFixedTable(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                     GraphResources& resources)
{
    toolkit::BeginChart(chart, context);
    toolkit::RealTimeDataset* dataset = CreateGraphDataset(graph, resources);
    if (dataset == nullptr)
        return;

    const toolkit::AlarmText alarmText =
        GraphHasAlarm(graph) ? toolkit::AlarmText::Shown : toolkit::AlarmText::Hidden;
    std::array<toolkit::IndicatorPart, toolkit::kValueTableParts> parts{};
    toolkit::CreateValueTable(chart, context, *dataset, graph.dataColours, FixedTableRowTexts(graph), alarmText, parts);

    ApplyFont(context, graph.titleFont, toolkit::LineStyle::Solid, toolkit::kThinLine);
    // The heading takes the title font's colour, as the bar graphs' titles do.
    toolkit::SetTextColour(chart, parts[toolkit::kTableHeadingPart], graph.titleFont.colour);
    AttachGraphAlarms(chart, graph, resources, parts[toolkit::kTableAlarmPart].alarm);
}

}  // namespace vexa::graphs
