#include "XYPlotGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphDefinition.h"
#include "graphs/core/AlarmAttachment.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/ValueIndicators.h"
#include "platform/AnsiText.h"

#include <array>

namespace vexa::graphs {

namespace {

using toolkit::ChartPoint;
using toolkit::ChartRect;
using toolkit::LineStyle;
using toolkit::kThinLine;

constexpr int kXYChannels = 2;
/// Ticks every fifth of each measurement's range; the axes cross halfway.
constexpr double kTickShare = 0.2;
constexpr double kCrossingShare = 0.5;
constexpr ChartRect kPlotArea{0.15, 0.1, 0.98, 0.8};
constexpr int kTraceWidth = 2;
/// The measurement names the dataset's channels take (no cut: a name holds
/// at most 32 characters).
constexpr std::size_t kXYChannelNameLength = 32;
/// The XY dataset has no name of its own.
const std::string kNoDatasetName;

struct ReadoutPlace {
    ChartRect readout;
    ChartPoint name;
};
constexpr std::array<ReadoutPlace, kXYChannels> kReadouts = {{
    {{0.01, 0.88, 0.15, 0.93}, {0.16, 0.93}},
    {{0.01, 0.94, 0.15, 0.99}, {0.16, 0.99}},
}};
constexpr int kReadoutDecimals = 2;

}  // namespace

void BuildXYPlot(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                 GraphResources& resources)
{
    toolkit::BeginChart(chart, context);
    // The window refuses an XY plot without exactly two measurements; an
    // editor may not have chosen both yet.
    if (MeasurementCount(graph) < kXYChannels)
        return;
    const MeasurementSlot& first = graph.measurements[0];
    const MeasurementSlot& second = graph.measurements[1];

    const toolkit::ChartScale scale{{first.minimum, first.maximum}, {second.minimum, second.maximum}};

    // Both channels are drawn and read out in the first data colour.
    const toolkit::PaletteIndex traceColour = graph.dataColours[0];
    const std::array<toolkit::PaletteIndex, kXYChannels> colours = {traceColour, traceColour};

    toolkit::SetPlotArea(chart, context, kPlotArea, graph.plotBackground);
    toolkit::SetScale(chart, context, scale);
    toolkit::SetAxisCrossing(chart, context, scale.x.minimum + scale.x.span() * kCrossingShare,
                             scale.y.minimum + scale.y.span() * kCrossingShare);

    ApplyFont(context, graph.gridFont, LineStyle::Solid, kThinLine);
    toolkit::Axis* xAxis = toolkit::CreateXAxis(chart, context, scale.x.span() * kTickShare);
    toolkit::Axis* yAxis = toolkit::CreateYAxis(chart, context, scale.y.span() * kTickShare);

    ApplyFont(context, graph.labelFont, LineStyle::Solid, kThinLine);
    toolkit::LabelAxis(chart, context, xAxis, toolkit::AxisLabels::PlainNumbers);
    toolkit::LabelAxis(chart, context, yAxis, toolkit::AxisLabels::PlainNumbers);

    ApplyFont(context, graph.labelFont, LineStyle::Dotted, kThinLine);
    toolkit::DrawRealTimeGrid(chart, context, xAxis);
    toolkit::DrawRealTimeGrid(chart, context, yAxis);

    const QString firstName = FromAnsi(first.name);
    const QString secondName = FromAnsi(second.name);
    toolkit::SetAxisTitle(chart, context, xAxis, toolkit::AxisOrientation::Horizontal, firstName);
    toolkit::SetAxisTitle(chart, context, yAxis, toolkit::AxisOrientation::Vertical, secondName);

    ApplyFont(context, graph.titleFont, LineStyle::Solid, kThinLine);
    toolkit::DrawChartTitle(chart, context, GraphCaption(graph));

    resources.dataset = toolkit::CreateDataset(kNoDatasetName, kXYChannels,
                                               ChannelNames(graph, kXYChannelNameLength),
                                               toolkit::RealTimeDataset::kNoHistory);
    if (resources.dataset == nullptr)
        return;
    toolkit::RealTimeDataset& dataset = *resources.dataset;
    // The limits go to the dataset only once it exists, and the alarm
    // indicator lets the readouts show each channel's state.
    AttachGraphAlarms(chart, graph, resources, nullptr);
    AttachAlarmIndicator(chart, &dataset, graph);

    toolkit::CreateXYPlot(chart, dataset,
                          {.traceWidth = kTraceWidth, .traceColour = traceColour, .markWidth = kTraceWidth,
                           .markColour = traceColour});

    ApplyFont(context, graph.labelFont, LineStyle::Solid, kThinLine);
    const std::array<QString, kXYChannels> names = {firstName, secondName};
    for (int channel = 0; channel < kXYChannels; ++channel) {
        const ReadoutPlace& place = kReadouts[static_cast<std::size_t>(channel)];
        toolkit::CreateReadout(chart, context, dataset, channel,
                               {.rect = place.readout, .background = graph.windowBackground, .decimals = kReadoutDecimals},
                               colours);
        toolkit::DrawChartText(chart, context, names[static_cast<std::size_t>(channel)], place.name,
                               toolkit::Justification::Left);
    }
}

}  // namespace vexa::graphs
