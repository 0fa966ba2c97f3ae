#include "BarGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphDefinition.h"
#include "graphs/core/GraphResources.h"
#include "graphs/core/AlarmAttachment.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/GaugeIndicators.h"
#include "graphs/toolkit/IndicatorPart.h"
#include "graphs/toolkit/Toolkit.h"

#include <array>

namespace vexa::graphs {

namespace {

const QString kHighText = QStringLiteral("High");
const QString kLowText = QStringLiteral("Low");

}  // namespace

void BuildBarGraph(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                   GraphResources& resources, toolkit::BarOrientation orientation)
{
    toolkit::BeginChart(chart, context);
    std::array<QColor, kMaxMeasurementsPerGraph> barColours;
    for (std::size_t i = 0; i < graph.dataColours.size(); ++i)
        barColours[i] = toolkit::PaletteColour(graph.dataColours[i]);

    toolkit::RealTimeDataset* dataset = CreateGraphDataset(graph, resources);
    if (dataset == nullptr)
        return;
    const GraphRange values = GraphValueRange(graph.measurements);
    const toolkit::ValueRange range{values.minimum, values.maximum};

    // The scale's ends are marked High and Low.
    std::array<toolkit::IndicatorPart, toolkit::kBarParts> parts{};
    toolkit::CreateBarIndicator(chart, context, *dataset, range, orientation, {range.maximum, kHighText},
                                {range.minimum, kLowText}, barColours, parts);
    AttachGraphAlarms(chart, graph, resources, parts[toolkit::kBarAlarmPart].alarm);

    // Only the fonts' colours apply: the indicator draws in faces of its own.
    toolkit::SetTextColour(chart, parts[toolkit::kBarTitlePart], graph.titleFont.colour);
    toolkit::SetTextColour(chart, parts[toolkit::kBarLabelPart], graph.labelFont.colour);
    toolkit::SetAxisColour(chart, parts[toolkit::kBarValueAxisPart], graph.gridFont.colour);
    toolkit::SetAxisColour(chart, parts[toolkit::kBarChannelAxisPart], graph.gridFont.colour);
}

}  // namespace vexa::graphs
