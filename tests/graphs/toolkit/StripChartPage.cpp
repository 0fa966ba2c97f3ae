#include "StripChartPage.h"

#include "graphs/toolkit/ChartDrawing.h"

#include <array>
#include <string>

namespace vexa::toolkit::test {

namespace {

using namespace palette;

constexpr PaletteIndex kPlotBlue = kBlue;
constexpr int kTraceWidth = 2;

}  // namespace

StripChartPage::StripChartPage(std::vector<PaletteIndex> colours)
    : m_colours(std::move(colours))
{
    owner.resize(1000, 700);
    page = CreateChartPage(
        "strip", &owner, "Strip",
        [this](ChartPage& target) {
            chart = CreateChartWindow(
                target, [this](ChartWindow& window, ChartContext& context) { buildChart(window, context); },
                kWholeArea, kLightGray);
        },
        WindowCharacteristic::Proportional, PageStyle::Child);
}

void StripChartPage::buildChart(ChartWindow& window, ChartContext& context)
{
    ++builderRuns;
    const int count = static_cast<int>(m_colours.size());
    BeginChart(window, context);
    SetPlotArea(window, context, {0.1, 0.1, 0.8, 0.9}, kPlotBlue);
    SetScale(window, context, {{0.0, 20.0}, {0.0, 100.0}});
    SetAxisCrossing(window, context, -0.02, 0.0);
    SelectChartFont(context, {.face = "Arial", .pointSize = 10, .colour = kBlack});
    SetLineAttributes(context, {LineStyle::Solid, kThinLine, kBlack});
    timeAxis = CreateTimeAxis(window, context, 4.0);
    Axis* valueAxis = CreateYAxis(window, context, 20.0);
    labels = CreateTimeLabels(window, context, timeAxis);
    LabelAxis(window, context, valueAxis, AxisLabels::PlainNumbers);

    history = CreateDataset("", count + 1, {}, RealTimeDataset::kHistoryRows);
    current = CreateDataset("", count, {}, RealTimeDataset::kHistoryRows);
    SetAlarmHysteresis(*history, 0.1, 0.0);
    SetAlarmLimit(*history, kLevelHigh, kHighLimit, true, "High");
    indicator = CreateAlarmIndicator(window, *history);

    std::vector<LineAttributes> traces;
    for (const PaletteIndex colour : m_colours) {
        traces.push_back({LineStyle::Solid, kTraceWidth, colour});
    }
    plot = CreateScrollingPlot(window, *history, kScrollFraction, traces);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back("M" + std::to_string(i + 1));
    }
    readout = CreateReadout(window, context, *current, kAllChannels,
                            {.rect = {0.895, 0.15, 0.99, 0.8}, .background = kLightGray, .decimals = 3});
    CreateLegend(window, context, {0.805, 0.15, 0.89, 0.8}, kLightGray, names, plot);
    LinkTimeLabels(labels, plot);
}

void StripChartPage::build()
{
    page->buildAll();
}

void StripChartPage::append(const std::vector<double>& values, double seconds)
{
    std::vector<double> row = values;
    row.push_back(seconds);
    AppendRow(*history, row, chart);
    AppendRow(*current, row, chart);
}

QImage StripChartPage::render(const QSize& size)
{
    return RenderPageImage(*page, size);
}

QRect InkBounds(const QImage& image, const QRect& area, const QColor& background)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != background) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

}  // namespace vexa::toolkit::test
