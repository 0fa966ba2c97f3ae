#include "MeterGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphDefinition.h"
#include "graphs/core/AlarmAttachment.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/Toolkit.h"
#include "platform/AnsiText.h"

#include <array>

namespace vexa::graphs {

namespace {

constexpr double kTickShare = 0.1;

// The face: a frame filled with "Medium Green".
constexpr toolkit::ChartRect kFaceRect{0.01, 0.01, 0.99, 0.99};
constexpr toolkit::PaletteIndex kFaceColour = toolkit::palette::kMediumGreen;

// The dial: the same geometry for all three types.
constexpr toolkit::DialGeometry kDialGeometry{
    .centre = {0.5, 0.55}, .radius = 0.6, .startAngle = 315.0, .endAngle = 225.0};
constexpr int kFirstChannel = 0;
constexpr toolkit::NeedleHub kHub{.colour = toolkit::palette::kRed, .size = 0.08, .needleWidth = 0.02};
constexpr double kArcBandWidth = 0.15;

/// The states whose colours a dial shows, in the order it takes them.
constexpr std::array<int, 3> kDialLevels = {toolkit::kLevelNormal, toolkit::kLevelHigh, toolkit::kLevelLow};
constexpr toolkit::DialAlarmColours kDefaultDialColours = {toolkit::palette::kLightGreen, toolkit::palette::kLightRed,
                                                           toolkit::palette::kLightCyan};

}  // namespace

double MeterTickInterval(const GraphDefinition& graph)
{
    if (MeasurementCount(graph) == 0)
        return 0.0;
    const MeasurementSlot& first = graph.measurements[0];
    return (first.maximum - first.minimum) * kTickShare;
}

toolkit::DialAlarmColours MeterAlarmColours(const GraphDefinition& graph)
{
    toolkit::DialAlarmColours colours = kDefaultDialColours;
    for (std::size_t i = 0; i < kDialLevels.size(); ++i) {
        const GraphAlarm& alarm = graph.alarms[static_cast<std::size_t>(kDialLevels[i])];
        if (alarm.flagged && alarm.enabled)
            colours[i] = alarm.colour;
    }
    return colours;
}

void BuildMeter(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                GraphResources& resources, int type)
{
    const double tickInterval = MeterTickInterval(graph);
    toolkit::BeginChart(chart, context);
    toolkit::RealTimeDataset* dataset = CreateGraphDataset(graph, resources);

    toolkit::DrawPanel(chart, kFaceRect, kFaceColour, toolkit::PaletteColour(kFaceColour));

    // The title is the measurement's name, not the window's caption.
    ApplyFont(context, graph.titleFont, toolkit::LineStyle::Solid, toolkit::kThinLine);
    if (MeasurementCount(graph) > 0) {
        toolkit::DrawChartText(chart, context, FromAnsi(graph.measurements[0].name), kTitlePosition,
                               toolkit::Justification::Centre);
    }
    if (dataset == nullptr)
        return;

    AttachGraphAlarms(chart, graph, resources, nullptr);
    const GraphRange values = GraphValueRange(graph.measurements);
    const toolkit::ValueRange range{values.minimum, values.maximum};
    const toolkit::DialAlarmColours alarmColours = MeterAlarmColours(graph);

    // The dial's lines take the grid font's colour, its numbers the label font.
    toolkit::SetLineAttributes(context, {toolkit::LineStyle::Solid, toolkit::kThinLine, graph.gridFont.colour});
    toolkit::SelectChartFont(context, ChartFontOf(graph.labelFont));

    // The band and the slice fill from the scale's minimum in the first data
    // colour, on the window's background.
    const toolkit::DialFill fill{.colour = graph.dataColours[0], .track = graph.windowBackground};
    switch (type) {
    case kArcMeter:
        toolkit::CreateArcMeter(chart, context, *dataset, kFirstChannel, range, range.minimum, tickInterval,
                                kDialGeometry, fill, kArcBandWidth, alarmColours);
        break;
    case kPieMeter:
        toolkit::CreatePieMeter(chart, context, *dataset, kFirstChannel, range, range.minimum, tickInterval,
                                kDialGeometry, fill, alarmColours);
        break;
    default:
        toolkit::CreateMeter(chart, context, *dataset, toolkit::kAllChannels, range, tickInterval, kDialGeometry,
                             kHub, graph.dataColours, alarmColours);
        break;
    }
}

}  // namespace vexa::graphs
