#include "StripChartPage.h"

#include "graphs/toolkit/ChartDrawing.h"

#include <array>
#include <string>

namespace vexa::toolkit::test {

namespace {

constexpr int kPlotBlue = 1;
constexpr int kLightGray = 7;
constexpr int kBlack = 0;

}  // namespace

StripChartPage::StripChartPage(std::vector<int> colours)
    : m_colours(std::move(colours))
{
    owner.resize(1000, 700);
    page = CreateChartPage(
        "strip", &owner, "Strip",
        [this](ChartPage& target) {
            chart = CreateChartWindow(
                target, [this](ChartWindow& window, ChartContext& context) { buildChart(window, context); },
                {0.0, 0.0, 1.0, 1.0}, kLightGray, 0, 0);
        },
        0, ChartPage::kProportional, PageStyle::Child);
}

void StripChartPage::buildChart(ChartWindow& window, ChartContext& context)
{
    ++builderRuns;
    const int count = static_cast<int>(m_colours.size());
    BeginChart(window, context, 1);
    SetPlotArea(window, context, {0.1, 0.1, 0.8, 0.9}, kPlotBlue);
    SetScale(window, context, 0.0, 0.0, 20.0, 100.0);
    SetAxisCrossing(window, context, -0.02, 0.0);
    SelectChartFont(context, kBlack, "Arial", 10, 0);
    SetLineAttributes(window, context, 0, 1, kBlack);
    timeAxis = CreateTimeAxis(window, context, 4.0, 1, 3, 1, 0);
    Axis* valueAxis = CreateYAxis(window, context, 20.0, 3, 1);
    const std::array<int, 10> codes{0, 1};
    labels = CreateTimeLabels(window, context, timeAxis, codes);
    LabelAxis(window, context, valueAxis, 1, 0, 1, 0, 0);

    history = CreateDataset("", count + 1, 0, {}, RealTimeDataset::kHistoryRows);
    current = CreateDataset("", count, 0, {}, RealTimeDataset::kHistoryRows);
    SetAlarmHysteresis(*history, 0.1, 0.0);
    SetAlarmLimit(*history, kLevelHigh, kHighLimit, true, "High");
    indicator = CreateAlarmIndicator(window, *history, 5, 1, nullptr, 0, 0, 0);

    const std::vector<int> styles(m_colours.size(), 0);
    const std::vector<int> widths(m_colours.size(), 2);
    plot = CreateScrollingPlot(window, context, *history, kScrollFraction, 1, 0, styles, widths, m_colours);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back("M" + std::to_string(i + 1));
    }
    readout = CreateReadout(window, context, *current, -1, {0.895, 0.15, 0.99, 0.8}, -1, 0, nullptr, kLightGray, 0,
                            10, 3, 0, 0);
    CreateLegend(window, context, {0.805, 0.15, 0.89, 0.8}, -1, 0, -1, kLightGray, 0, names, plot, 0);
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
