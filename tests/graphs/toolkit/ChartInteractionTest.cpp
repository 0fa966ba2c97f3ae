#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/StaticDataset.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace vexa::toolkit {
namespace {

using namespace palette;

/// A generous bound on waiting for the event loop; never reached when all is well.
constexpr int kWaitMs = 10000;
constexpr PaletteIndex kPlotBlue = kBlue;

/// A shown history-like chart: plot (0.1, 0.1)-(0.9, 0.9) over x 0 ... 100
/// and y 0 ... 1000, a static line, drag zoom on the right button and a
/// button at the bottom right.
class HistoryChart : public testing::Test {
protected:
    void SetUp() override
    {
        owner.resize(1000, 700);
        const std::array<double, 3> x{0.0, 50.0, 100.0};
        const std::array<double, 3> y{500.0, 500.0, 500.0};
        line = CreateStaticDataset(x, y);
        page = CreateChartPage(
            "history", &owner, "History",
            [this](ChartPage& target) {
                chart = CreateChartWindow(
                    target, [this](ChartWindow& window, ChartContext& context) { build(window, context); },
                    kWholeArea, kWhite);
            },
            WindowCharacteristic::Proportional, PageStyle::Child);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ChartReady(chart); }, kWaitMs));
    }

    void build(ChartWindow& window, ChartContext& context)
    {
        BeginChart(window, context);
        SetPlotArea(window, context, {0.1, 0.1, 0.9, 0.9}, kPlotBlue);
        SetScale(window, context, {{0.0, 100.0}, {0.0, 1000.0}});
        SetAxisCrossing(window, context, 0.0, 0.0);
        xAxis = CreateXAxis(window, context, 25.0);
        yAxis = CreateYAxis(window, context, 200.0);
        SetLineAttributes(context, {LineStyle::Solid, 2, kRed});
        PlotLine(window, context, *line);
        EnableDragZoom(window, Qt::RightButton);
        SelectStockFont(context, StockFont::Plain, 10);
        button = CreatePushButton(
            window, [this](ChartWindow& pressedOn) { presses.push_back(&pressedOn); }, {0.86, 0.92, 0.99, 0.98},
            PaletteColour(kLightGray), "History");
    }

    void drag(Qt::MouseButton mouseButton, QPoint from, QPoint to)
    {
        QTest::mousePress(chart, mouseButton, {}, from);
        QTest::mouseMove(chart, (from + to) / 2);
        QTest::mouseRelease(chart, mouseButton, {}, to);
    }

    QWidget owner;
    std::unique_ptr<StaticDataset> line;
    QPointer<ChartPage> page;
    QPointer<ChartWindow> chart;
    Axis* xAxis = nullptr;
    Axis* yAxis = nullptr;
    QPushButton* button = nullptr;
    std::vector<ChartWindow*> presses;  ///< the chart each click came with
};

TEST_F(HistoryChart, ARightButtonDragRescalesBothAxesToTheDraggedRectangle)
{
    // Plot pixels: x 100 ... 900 for 0 ... 100, y 630 ... 70 for 0 ... 1000.
    drag(Qt::RightButton, {300, 210}, {500, 420});
    const PlotFrame& frame = chart->plotFrame();
    EXPECT_NEAR(frame.xMap().minimum(), 25.0, 0.2);
    EXPECT_NEAR(frame.xMap().maximum(), 50.0, 0.2);
    EXPECT_NEAR(frame.yMap().minimum(), 375.0, 2.0);
    EXPECT_NEAR(frame.yMap().maximum(), 750.0, 2.0);
    EXPECT_DOUBLE_EQ(xAxis->interval(), 5.0) << "round ticks for the zoomed range";

    // The line at 500 now crosses the plot at a different height.
    const QImage zoomed = RenderPageImage(*page, {1000, 700});
    const int y500 = 630 - static_cast<int>((500.0 - 375.0) / 375.0 * 560.0);
    EXPECT_EQ(zoomed.pixelColor(500, y500), PaletteColour(kRed));

    // Restoring as the zoom-out button does brings back the full extent.
    SetAxisRange(*chart, xAxis, {0.0, 100.0});
    SetAxisRange(*chart, yAxis, {0.0, 1000.0});
    SetTickInterval(*chart, xAxis, 25.0);
    EXPECT_DOUBLE_EQ(frame.xMap().minimum(), 0.0);
    EXPECT_DOUBLE_EQ(frame.yMap().maximum(), 1000.0);
    const QImage restored = RenderPageImage(*page, {1000, 700});
    EXPECT_EQ(restored.pixelColor(500, 630 - 280), PaletteColour(kRed));
}

TEST_F(HistoryChart, ATinyDragOrAnotherButtonZoomsNothing)
{
    drag(Qt::RightButton, {300, 210}, {302, 212});
    drag(Qt::LeftButton, {300, 210}, {500, 420});
    drag(Qt::RightButton, {20, 20}, {60, 60});  // outside the plot
    const PlotFrame& frame = chart->plotFrame();
    EXPECT_DOUBLE_EQ(frame.xMap().minimum(), 0.0);
    EXPECT_DOUBLE_EQ(frame.xMap().maximum(), 100.0);
    EXPECT_DOUBLE_EQ(frame.yMap().minimum(), 0.0);
    EXPECT_DOUBLE_EQ(frame.yMap().maximum(), 1000.0);
}

TEST_F(HistoryChart, AClickOnAButtonCallsItsHandlerOnceWithItsChart)
{
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->geometry(), QRect(860, 644, 130, 42)) << "at its rectangle of the chart";
    EXPECT_EQ(button->text(), QStringLiteral("History"));
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0], chart.data());
    EXPECT_EQ(presses[0]->pageOwner(), &owner) << "how the handler finds its graph";

    // The button keeps its place when the window changes size.
    GetPageWindow(page)->resize(500, 350);
    EXPECT_EQ(button->geometry(), QRect(430, 322, 65, 21));
}

TEST_F(HistoryChart, AHandlerMayReplaceTheChartItsButtonIsOn)
{
    // As "Get New Data Samples" does: destroy the chart, build a new one.
    int rebuilt = 0;
    QPointer<ChartWindow> replacement;
    ButtonHandler rebuild = [&](ChartWindow& pressedOn) {
        QPointer<ChartWindow> old = &pressedOn;
        DestroyChartWindow(old);
        EXPECT_TRUE(old.isNull());
        replacement = CreateChartWindow(*page, [&](ChartWindow&, ChartContext&) { ++rebuilt; }, kWholeArea, kWhite);
    };
    QPushButton* rebuildButton =
        CreatePushButton(*chart, rebuild, {0.01, 0.92, 0.22, 0.98}, PaletteColour(kLightGray), "Get");
    QPointer<ChartWindow> first = chart;
    QTest::mouseClick(rebuildButton, Qt::LeftButton);
    EXPECT_FALSE(ChartReady(first)) << "gone at once for its callers";
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ChartReady(replacement); }, kWaitMs));
    EXPECT_EQ(rebuilt, 1);
}

TEST(ChartLifetime, DestroyedPagesAndReleasedChartsReadAsGoneAtOnce)
{
    QWidget owner;
    QPointer<ChartWindow> chart;
    QPointer<ChartPage> page = CreateChartPage(
        "gone", &owner, "Gone",
        [&](ChartPage& target) {
            chart = CreateChartWindow(target, [](ChartWindow&, ChartContext&) {}, kWholeArea, kWhite);
        },
        WindowCharacteristic::Proportional, PageStyle::Child);
    page->buildAll();
    ASSERT_TRUE(ChartReady(chart));
    EXPECT_EQ(GetPageWindow(page), page.data());

    QPointer<ChartWindow> released = chart;
    ReleaseChartWindow(released);
    EXPECT_TRUE(released.isNull());
    EXPECT_FALSE(ChartReady(chart)) << "a released chart takes no more rows";

    QPointer<ChartPage> copy = page;
    DestroyChartPage(page);
    EXPECT_TRUE(page.isNull());
    EXPECT_FALSE(PageExists(copy));
    ASSERT_TRUE(QTest::qWaitFor([&] { return copy.isNull(); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return chart.isNull(); }, kWaitMs));  // the chart goes with its page
    EXPECT_FALSE(PageExists(page));
    EXPECT_FALSE(ChartReady(chart));
}

TEST(ChartLifetime, ATopLevelPageIsAWindowOfItsOwnThatGoesWithItsOwner)
{
    auto owner = std::make_unique<QWidget>();
    owner->show();
    QPointer<ChartPage> page =
        CreateChartPage("historyZ", owner.get(), "History", [](ChartPage&) {}, WindowCharacteristic::Proportional,
                        PageStyle::TopLevel);
    ASSERT_FALSE(page.isNull());
    EXPECT_TRUE(page->isWindow());
    EXPECT_EQ(page->windowTitle(), QStringLiteral("History"));
    EXPECT_EQ(page->ownerWindow(), owner.get());
    EXPECT_EQ(page->name(), QStringLiteral("historyZ"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->isBuilt(); }, kWaitMs));
    owner.reset();
    EXPECT_TRUE(page.isNull());
}

TEST(ChartLifetime, ATopLevelPageClosedByTheUserIsGone)
{
    QWidget owner;
    QPointer<ChartPage> page =
        CreateChartPage("closed", &owner, "History", [](ChartPage&) {}, WindowCharacteristic::Proportional,
                        PageStyle::TopLevel);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page));
    page->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !PageExists(page); }, kWaitMs));
}

TEST(ChartLifetime, AChildPageNeedsAnOwner)
{
    EXPECT_EQ(CreateChartPage("orphan", nullptr, "", [](ChartPage&) {}, WindowCharacteristic::Proportional,
                              PageStyle::Child),
              nullptr);
}

}  // namespace
}  // namespace vexa::toolkit
