#include "TimeHistoryGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"
#include "TimeHistoryExport.h"

#include "document/GraphDefinition.h"
#include "graphs/core/AlarmAttachment.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/Toolkit.h"
#include "platform/Messages.h"

#include <QPushButton>

#include <algorithm>

namespace vexa::graphs {

namespace {

using toolkit::ChartContext;
using toolkit::ChartPage;
using toolkit::ChartRect;
using toolkit::ChartWindow;
using toolkit::LineStyle;
using toolkit::kThinLine;

constexpr int kHistoryRows = toolkit::RealTimeDataset::kHistoryRows;

// The main chart.
constexpr ChartRect kPlotArea{0.1, 0.1, 0.8, 0.9};
/// The seconds the plot shows, from the scroll position on.
constexpr toolkit::ValueRange kVisibleSeconds{0.0, 20.0};
constexpr double kTimeAxisCrossing = -0.02;
constexpr double kTimeTickSeconds = 4.0;
constexpr double kValueTickShare = 0.2;
constexpr int kTraceWidth = 2;
constexpr ChartRect kHistoryButton{0.86, 0.92, 0.99, 0.98};
/// Right above "History", under the legend and the readouts.
constexpr ChartRect kExportCsvButton{0.86, 0.85, 0.99, 0.91};
constexpr ChartRect kReadoutArea{0.895, 0.15, 0.99, 0.8};
constexpr ChartRect kLegendArea{0.805, 0.15, 0.89, 0.8};
constexpr int kReadoutDecimals = 3;
constexpr std::size_t kLegendNameLength = 41;
constexpr toolkit::PaletteIndex kButtonFace = toolkit::palette::kLightGray;
constexpr int kButtonFontSize = 10;
constexpr int kMessageFontSize = 12;

constexpr double kMostScrollFraction = 0.99;
constexpr double kScrollFractionPerMeasurement = 0.02;
constexpr double kLeastScrollFraction = 0.5;
constexpr int kMeasurementsAtFullScroll = 2;

// The history window and its chart.
constexpr ChartRect kHistoryChartArea{0.005, 0.005, 0.995, 0.995};
constexpr toolkit::PaletteIndex kHistoryBackground = toolkit::palette::kWhite;
constexpr ChartRect kHistoryPlotArea{0.1, 0.05, 0.95, 0.85};
constexpr double kHistoryTimeTickShare = 0.25;
constexpr ChartRect kRestoreButton{0.8, 0.92, 0.99, 0.98};
constexpr ChartRect kNewSamplesButton{0.01, 0.92, 0.22, 0.98};
constexpr toolkit::ChartPoint kHintPosition{0.5, 0.92};
constexpr toolkit::ChartPoint kNoDataPosition{0.5, 0.02};
constexpr Qt::MouseButton kZoomButton = Qt::RightButton;

/// Extents start beyond any value, so that the first value sets them.
constexpr double kExtentStart = 99999999.9;
/// An empty extent (one value throughout) is widened by this much either
/// side, so that the scale has a height and the ticks an interval.
constexpr double kEmptyExtentMargin = 1.0;

const QString kHistoryCaption = QStringLiteral("History");
const QString kExportCsvCaption = QString::fromLatin1(kExportCsvCommand);
const QString kHistoryTitle = QStringLiteral("History");
const QString kAlreadyActiveText = QStringLiteral("Time History playback already active");
const QString kAlreadyActiveCaption = QStringLiteral("Time History");
const QString kNoDataText = QStringLiteral("No data points plotted yet!");
const QString kZoomHint = QStringLiteral("Zoom in: Press the right mouse button and drag to select area");
const QString kRestoreCaption = QStringLiteral("Restore (Zoom out)");
const QString kNewSamplesCaption = QStringLiteral("Get New Data Samples");
const QString kHistoryPageSuffix = QStringLiteral("Z");
const QString kPageNameFormat = QStringLiteral("PAGE%1");


void WidenEmptyExtent(double& minimum, double& maximum)
{
    if (maximum > minimum)
        return;
    minimum -= kEmptyExtentMargin;
    maximum += kEmptyExtentMargin;
}

/// The names of the legend: the measurements' names in slot order, each
/// cut to fit a slot of 42 characters.
std::vector<std::string> LegendNames(const GraphDefinition& graph)
{
    std::vector<std::string> names;
    for (const MeasurementSlot& slot : graph.measurements)
        names.push_back(slot.name.substr(0, kLegendNameLength));
    return names;
}

void BuildHistoryChart(ChartWindow& chart, ChartContext& context, const GraphDefinition& graph,
                       GraphResources& resources);

/// Puts a fresh history chart on the history page.
void BuildHistoryPage(ChartPage& page, const GraphDefinition& graph, GraphResources& resources)
{
    TimeHistoryState* state = TimeHistoryStateOf(resources);
    if (state == nullptr)
        return;
    state->historyChart = toolkit::CreateChartWindow(
        page,
        [&graph, &resources](ChartWindow& chart, ChartContext& context) {
            BuildHistoryChart(chart, context, graph, resources);
        },
        kHistoryChartArea, kHistoryBackground);
}

/// "Restore (Zoom out)": both axes back to the full extent of the history
/// the chart was built from; nothing is read again.
void RestoreHistoryZoom(TimeHistoryState& state)
{
    ChartWindow* chart = state.historyChart.data();
    if (chart == nullptr || state.historyTimeAxis == nullptr || state.historyValueAxis == nullptr)
        return;
    const toolkit::ValueRange times{state.historyTimeMinimum, state.historyTimeMaximum};
    const toolkit::ValueRange values{state.historyValueMinimum, state.historyValueMaximum};
    toolkit::SetAxisRange(*chart, state.historyTimeAxis, times);
    toolkit::SetAxisRange(*chart, state.historyValueAxis, values);
    toolkit::SetTickInterval(*chart, state.historyTimeAxis, times.span() * kHistoryTimeTickShare);
    toolkit::SetTickInterval(*chart, state.historyValueAxis, values.span() * kValueTickShare);
    toolkit::SetAxisCross(*chart, state.historyTimeAxis, state.valueAxisCrossing);
    toolkit::SetAxisCross(*chart, state.historyValueAxis, state.timeAxisCrossing);
}

/// "Get New Data Samples": a new history chart from the newest history, at
/// full extent.
void ReloadHistory(const GraphDefinition& graph, GraphResources& resources)
{
    TimeHistoryState* state = TimeHistoryStateOf(resources);
    if (state == nullptr || !toolkit::PageExists(state->historyWindow))
        return;
    toolkit::DestroyChartWindow(state->historyChart);
    state->historyTimeAxis = nullptr;
    state->historyValueAxis = nullptr;
    BuildHistoryPage(*state->historyWindow, graph, resources);
}

void BuildHistoryChart(ChartWindow& chart, ChartContext& context, const GraphDefinition& graph,
                       GraphResources& resources)
{
    TimeHistoryState* state = TimeHistoryStateOf(resources);
    if (state == nullptr)
        return;
    const int count = MeasurementCount(graph);
    // The datasets of an earlier build go; the chart that drew them has gone
    // before this one is built.
    for (auto& dataset : state->historyDatasets)
        dataset.reset();
    state->historyTimeAxis = nullptr;
    state->historyValueAxis = nullptr;

    toolkit::BeginChart(chart, context);
    int pointCount = 0;
    if (resources.dataset == nullptr || !ExtractHistory(*resources.dataset, count, *state, pointCount)) {
        toolkit::SelectStockFont(context, toolkit::StockFont::Bold, kMessageFontSize);
        toolkit::DrawChartText(chart, context, kNoDataText, kNoDataPosition, toolkit::Justification::Centre);
        return;
    }
    const auto points = static_cast<std::size_t>(pointCount);
    const std::span<const double> times = std::span<const double>(state->historyTimes).first(points);
    for (int i = 0; i < count; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const std::span<const double> values = std::span<const double>(state->historyValues[slot]).first(points);
        state->historyDatasets[slot] = toolkit::CreateStaticDataset(times, values);
    }

    ApplyFont(context, graph.labelFont, LineStyle::Solid, kThinLine);
    toolkit::SetPlotArea(chart, context, kHistoryPlotArea, graph.plotBackground);
    const toolkit::ChartScale scale{{state->historyTimeMinimum, state->historyTimeMaximum},
                                    {state->historyValueMinimum, state->historyValueMaximum}};
    toolkit::SetScale(chart, context, scale);
    const std::span<const int> levels = std::span<const int>(state->historyRowLevels).first(points);
    AttachAlarmColours(chart, graph,
                       toolkit::AlarmColours(toolkit::ShadeAlarmPeriods(
                           chart, {times.begin(), times.end()}, {levels.begin(), levels.end()})));
    state->timeAxisCrossing = state->historyTimes.front();
    state->valueAxisCrossing = state->historyValueMinimum;
    toolkit::SetAxisCrossing(chart, context, state->timeAxisCrossing, state->valueAxisCrossing);

    state->historyTimeAxis = toolkit::CreateXAxis(chart, context, scale.x.span() * kHistoryTimeTickShare);
    state->historyValueAxis = toolkit::CreateYAxis(chart, context, scale.y.span() * kValueTickShare);
    toolkit::LabelAxis(chart, context, state->historyTimeAxis, toolkit::AxisLabels::ClockTime);
    toolkit::LabelAxis(chart, context, state->historyValueAxis, toolkit::AxisLabels::PlainNumbers);

    ApplyFont(context, graph.gridFont, LineStyle::Dotted, kThinLine);
    toolkit::DrawGrid(chart, context, state->historyTimeAxis);
    toolkit::DrawGrid(chart, context, state->historyValueAxis);
    toolkit::DrawLimitLines(chart, AlarmLimitLines(graph));

    for (int i = 0; i < count; ++i) {
        const auto& dataset = state->historyDatasets[static_cast<std::size_t>(i)];
        if (dataset == nullptr)
            continue;
        toolkit::SetLineAttributes(context, {LineStyle::Solid, kTraceWidth, graph.dataColours[static_cast<std::size_t>(i)]});
        toolkit::PlotLine(chart, context, *dataset);
    }

    toolkit::SelectStockFont(context, toolkit::StockFont::Plain, kButtonFontSize);
    toolkit::DrawHint(chart, context, kZoomHint, kHintPosition, toolkit::Justification::Centre);
    const QColor face = toolkit::PaletteColour(kButtonFace);
    toolkit::CreatePushButton(chart, [state](ChartWindow&) { RestoreHistoryZoom(*state); }, kRestoreButton, face,
                              kRestoreCaption);
    toolkit::CreatePushButton(chart, [&graph, &resources](ChartWindow&) { ReloadHistory(graph, resources); },
                              kNewSamplesButton, face, kNewSamplesCaption);
    toolkit::EnableDragZoom(chart, kZoomButton);
    toolkit::AddChartMenuItem(chart, kExportCsvCaption, [&resources](ChartWindow& shown) {
        ExportTimeHistoryCsv(shown.window(), resources, ExportedChart::History);
    });
}

}  // namespace

TimeHistoryState::TimeHistoryState() = default;

TimeHistoryState::~TimeHistoryState()
{
    // The history chart draws the static datasets, so its page goes first.
    if (toolkit::PageExists(historyWindow))
        toolkit::DestroyChartPage(historyWindow);
    for (auto& dataset : historyDatasets)
        dataset.reset();
    toolkit::DestroyDataset(currentValues);
}

TimeHistoryState* TimeHistoryStateOf(GraphResources& resources)
{
    return dynamic_cast<TimeHistoryState*>(resources.state.get());
}

const TimeHistoryState* TimeHistoryStateOf(const GraphResources& resources)
{
    return dynamic_cast<const TimeHistoryState*>(resources.state.get());
}

double ScrollFraction(int count)
{
    if (count <= kMeasurementsAtFullScroll)
        return kMostScrollFraction;
    return std::max(kLeastScrollFraction, kMostScrollFraction - kScrollFractionPerMeasurement * count);
}

void BuildTimeHistoryChart(ChartWindow& chart, ChartContext& context, const GraphDefinition& graph,
                           GraphResources& resources)
{
    const int count = MeasurementCount(graph);

    const GraphRange range = GraphValueRange(graph.measurements);
    double minimum = range.minimum;
    double maximum = range.maximum;
    WidenEmptyExtent(minimum, maximum);
    const double valueTick = (maximum - minimum) * kValueTickShare;

    auto created = std::make_unique<TimeHistoryState>();
    TimeHistoryState& state = *created;
    resources.state = std::move(created);

    toolkit::BeginChart(chart, context);
    toolkit::SetPlotArea(chart, context, kPlotArea, graph.plotBackground);
    toolkit::SetScale(chart, context, {kVisibleSeconds, {minimum, maximum}});
    toolkit::SetAxisCrossing(chart, context, kTimeAxisCrossing, minimum);

    // What stays put comes first, so that on screen it is drawn once per
    // size rather than once per sample: none of it overlaps what follows.
    ApplyFont(context, graph.labelFont, LineStyle::Solid, kThinLine);
    toolkit::Axis* valueAxis = toolkit::CreateYAxis(chart, context, valueTick);
    toolkit::LabelAxis(chart, context, valueAxis, toolkit::AxisLabels::PlainNumbers);
    DrawGraphTitle(chart, context, graph);

    // The alarm periods lie under the grid, the limits over it.
    AttachAlarmColours(chart, graph, toolkit::AlarmColours(toolkit::ShadeAlarmPeriods(chart)));
    ApplyFont(context, graph.labelFont, LineStyle::Solid, kThinLine);
    toolkit::Axis* timeAxis = toolkit::CreateTimeAxis(chart, context, kTimeTickSeconds);
    state.timeLabels = toolkit::CreateTimeLabels(chart, context, timeAxis);

    ApplyFont(context, graph.gridFont, LineStyle::Dotted, kThinLine);
    toolkit::DrawRealTimeGrid(chart, context, timeAxis);
    toolkit::DrawRealTimeGrid(chart, context, valueAxis);
    toolkit::DrawLimitLines(chart, AlarmLimitLines(graph));

    std::vector<toolkit::LineAttributes> traces;
    for (int k = 1; k <= count; ++k)
        traces.push_back({LineStyle::Solid, kTraceWidth, graph.dataColours[static_cast<std::size_t>(k - 1)]});

    resources.dataset = toolkit::CreateDataset({}, count + 1, {}, kHistoryRows);
    state.currentValues = toolkit::CreateDataset({}, count, {}, kHistoryRows);
    if (resources.dataset == nullptr || state.currentValues == nullptr)
        return;
    resources.dataset->setTimeChannel(count);

    AttachAlarms(chart, graph, nullptr, *resources.dataset);
    AttachAlarmIndicator(chart, resources.dataset.get(), graph);

    toolkit::ScrollingPlot* plot =
        toolkit::CreateScrollingPlot(chart, *resources.dataset, ScrollFraction(count), traces);

    toolkit::SelectStockFont(context, toolkit::StockFont::Plain, kButtonFontSize);
    toolkit::CreatePushButton(
        chart, [&graph, &resources](ChartWindow&) { OpenHistoryWindow(graph, resources); }, kHistoryButton,
        toolkit::PaletteColour(kButtonFace), kHistoryCaption);
    const toolkit::ButtonHandler exportCsv = [&resources](ChartWindow&) {
        ExportTimeHistoryCsv(resources.graphWindow, resources, ExportedChart::Live);
    };
    toolkit::CreatePushButton(chart, exportCsv, kExportCsvButton, toolkit::PaletteColour(kButtonFace),
                              kExportCsvCaption);
    toolkit::AddChartMenuItem(chart, kExportCsvCaption, exportCsv);

    const std::vector<std::string> names = LegendNames(graph);

    ApplyFont(context, graph.labelFont, LineStyle::Dotted, kThinLine);
    const int background = graph.windowBackground;
    toolkit::CreateReadout(chart, context, *state.currentValues, toolkit::kAllChannels,
                           {.rect = kReadoutArea, .background = background, .decimals = kReadoutDecimals});
    toolkit::CreateLegend(chart, context, kLegendArea, background, names, plot);
    toolkit::LinkTimeLabels(state.timeLabels, plot);
}

bool TakeTimeHistorySample(GraphResources& resources, std::span<const double> values, double timeStamp,
                           std::vector<double>& row)
{
    TimeHistoryState* state = TimeHistoryStateOf(resources);
    if (state == nullptr)
        return false;
    const double difference = timeStamp - state->lastSampleTime;
    state->lastSampleTime = timeStamp;
    row.assign(values.begin(), values.end());
    row.push_back(difference);
    return difference > 0.0;
}

bool ExtractHistory(const toolkit::RealTimeDataset& history, int count, TimeHistoryState& state, int& pointCount)
{
    pointCount = 0;
    state.historyPoints = 0;
    state.historyTimeMinimum = kExtentStart;
    state.historyTimeMaximum = -kExtentStart;
    state.historyValueMinimum = kExtentStart;
    state.historyValueMaximum = -kExtentStart;
    count = std::clamp(count, 0, kMaxMeasurementsPerGraph);

    std::vector<double>& times = state.historyTimes;
    times.assign(kHistoryRows, 0.0);
    const int timeCount = toolkit::ReadChannelHistory(history, count, times);
    if (timeCount < 2)
        return false;
    for (int i = 1; i < timeCount; ++i)
        times[static_cast<std::size_t>(i)] += times[static_cast<std::size_t>(i - 1)];
    const auto [first, last] = std::minmax_element(times.begin(), times.begin() + timeCount);
    state.historyTimeMinimum = *first;
    state.historyTimeMaximum = *last;

    state.historyRowLevels.assign(kHistoryRows, toolkit::kLevelNormal);
    toolkit::ReadAlarmHistory(history, state.historyRowLevels);

    int valueCount = timeCount;
    for (int i = 0; i < count; ++i) {
        std::vector<double>& values = state.historyValues[static_cast<std::size_t>(i)];
        values.assign(kHistoryRows, 0.0);
        valueCount = toolkit::ReadChannelHistory(history, i, values);
        if (valueCount < 2)
            return false;
        const auto [low, high] = std::minmax_element(values.begin(), values.begin() + valueCount);
        state.historyValueMinimum = std::min(state.historyValueMinimum, *low);
        state.historyValueMaximum = std::max(state.historyValueMaximum, *high);
        // The levels of the same newest rows, oldest first.
        std::vector<int>& levels = state.historyLevels[static_cast<std::size_t>(i)];
        levels.resize(static_cast<std::size_t>(valueCount));
        const int firstRow = history.rowCount() - valueCount;
        for (int k = 0; k < valueCount; ++k)
            levels[static_cast<std::size_t>(k)] = history.alarmStateAt(firstRow + k, i);
    }
    WidenEmptyExtent(state.historyValueMinimum, state.historyValueMaximum);
    pointCount = std::min(timeCount, valueCount);
    state.historyPoints = pointCount;
    return true;
}

void OpenHistoryWindow(const GraphDefinition& graph, GraphResources& resources)
{
    TimeHistoryState* state = TimeHistoryStateOf(resources);
    if (state == nullptr)
        return;
    if (toolkit::PageExists(state->historyWindow)) {
        ShowMessage(resources.graphWindow, kAlreadyActiveText, kAlreadyActiveCaption, MessageIcon::Information);
        return;
    }
    const QString pageName =
        (resources.chartPage != nullptr ? resources.chartPage->name() : kPageNameFormat.arg(resources.graphIndex)) +
        kHistoryPageSuffix;
    state->historyWindow = toolkit::CreateChartPage(
        pageName, resources.graphWindow, kHistoryTitle,
        [&graph, &resources](ChartPage& page) { BuildHistoryPage(page, graph, resources); },
        toolkit::WindowCharacteristic::Proportional, toolkit::PageStyle::TopLevel);
}

}  // namespace vexa::graphs
