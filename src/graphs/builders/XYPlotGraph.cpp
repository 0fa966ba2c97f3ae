#include "XYPlotGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphTable.h"
#include "graphs/GraphResources.h"
#include "graphs/ValueConversion.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/ValueIndicators.h"
#include "platform/AnsiText.h"

#include <array>

namespace vexa::graphs {

namespace {

using toolkit::ChartPoint;
using toolkit::ChartRect;

constexpr int kXYChannels = 2;
/// Ticks every fifth of each measurement's range; the axes cross halfway.
constexpr double kTickShare = 0.2;
constexpr double kCrossingShare = 0.5;
constexpr ChartRect kPlotArea{0.15, 0.1, 0.98, 0.8};
constexpr int kAxisCode = 3;
/// The label formats of the two axes; both read as plain numbers.
constexpr int kXLabels = 6;
constexpr int kYLabels = 8;
constexpr int kGridCode1 = 0;
constexpr int kGridCode2 = 5;
constexpr int kTraceWidth = 2;
constexpr int kPlotCode1 = 80;
constexpr int kPlotCode2 = 0;
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
constexpr int kReadoutCode1 = -1;
constexpr int kReadoutCode2 = -1;
constexpr int kReadoutCode3 = 1;
constexpr int kReadoutCode4 = 8;
constexpr int kReadoutDecimals = 2;

}  // namespace

void BuildXYPlot(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                 GraphResources& resources)
{
    toolkit::BeginChart(chart, context, 1);
    // The window refuses an XY plot without exactly two measurements, so a
    // record with fewer comes only from a test or a broken table.
    if (MeasurementCount(record) < kXYChannels)
        return;
    const MeasurementSlot& first = record.measurements[0];
    const MeasurementSlot& second = record.measurements[1];
    const std::string& section = resources.section;
    const std::string& file = resources.displayFile;

    const double xMin = first.minimum;
    const double xMax = first.maximum;
    const double yMin = second.minimum;
    const double yMax = second.maximum;

    // Both channels are drawn and read out in the first data colour.
    const int traceColour = ReadDataColour(section, 1, file);
    const std::array<int, kXYChannels> colours = {traceColour, traceColour};
    const std::array<int, kXYChannels> widths = {kTraceWidth, kTraceWidth};
    const int background = ReadWindowBackground(section, file);

    toolkit::SetPlotArea(chart, context, kPlotArea, ReadPlotBackground(section, file));
    toolkit::SetScale(chart, context, xMin, yMin, xMax, yMax);
    toolkit::SetAxisCrossing(chart, context, xMin + (xMax - xMin) * kCrossingShare,
                             yMin + (yMax - yMin) * kCrossingShare);

    ApplyStoredFont(chart, context, section, kGridFontKey, FontKind::Grid, file, kSolidLine, 1);
    toolkit::Axis* xAxis = toolkit::CreateXAxis(chart, context, (xMax - xMin) * kTickShare, kAxisCode, kAxisCode);
    toolkit::Axis* yAxis = toolkit::CreateYAxis(chart, context, (yMax - yMin) * kTickShare, kAxisCode, kAxisCode);

    ApplyStoredFont(chart, context, section, kLabelFontKey, FontKind::Label, file, kSolidLine, 1);
    toolkit::LabelAxis(chart, context, xAxis, kXLabels, 0, 1, 0, 0);
    toolkit::LabelAxis(chart, context, yAxis, kYLabels, 0, 1, 0, 0);

    ApplyStoredFont(chart, context, section, kLabelFontKey, FontKind::Label, file, kDottedLine, 1);
    toolkit::DrawRealTimeGrid(chart, context, xAxis, kGridCode1, kGridCode2);
    toolkit::DrawRealTimeGrid(chart, context, yAxis, kGridCode1, kGridCode2);

    const QString firstName = FromAnsi(first.name);
    const QString secondName = FromAnsi(second.name);
    toolkit::SetAxisTitle(chart, context, xAxis, toolkit::kHorizontalAxis, firstName);
    toolkit::SetAxisTitle(chart, context, yAxis, toolkit::kVerticalAxis, secondName);

    ApplyStoredFont(chart, context, section, kTitleFontKey, FontKind::Title, file, kSolidLine, 1);
    toolkit::DrawChartTitle(chart, context, GraphCaption(resources));

    resources.dataset = toolkit::CreateDataset(kNoDatasetName, kXYChannels, 0,
                                               ChannelNames(record, kXYChannelNameLength), kNoHistory);
    if (resources.dataset == nullptr)
        return;
    toolkit::RealTimeDataset& dataset = *resources.dataset;
    // The limits go to the dataset only once it exists, and the alarm
    // indicator lets the readouts show each channel's state.
    AttachGraphAlarms(chart, resources, nullptr);
    AttachAlarmIndicator(chart, &dataset, section, file);

    toolkit::CreateXYPlot(chart, context, dataset, kPlotCode1, kPlotCode2, widths, colours);

    ApplyStoredFont(chart, context, section, kLabelFontKey, FontKind::Label, file, kSolidLine, 1);
    const std::array<QString, kXYChannels> names = {firstName, secondName};
    for (int channel = 0; channel < kXYChannels; ++channel) {
        const ReadoutPlace& place = kReadouts[static_cast<std::size_t>(channel)];
        toolkit::CreateReadout(chart, context, dataset, channel, place.readout, kReadoutCode1, kReadoutCode2,
                               colours.data(), background, kReadoutCode3, kReadoutCode4, kReadoutDecimals, 0, 0);
        toolkit::DrawChartText(chart, context, names[static_cast<std::size_t>(channel)], place.name.x,
                               place.name.y, toolkit::kJustifyLeft);
    }
}

}  // namespace vexa::graphs
