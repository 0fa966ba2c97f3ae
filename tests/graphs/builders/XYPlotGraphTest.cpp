#include "GraphPage.h"

#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/XYPlot.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexa::graphs {
namespace {

using namespace toolkit::palette;
using test::CountPixelsNear;
using test::GraphPage;
using toolkit::Axis;

const std::vector<test::TestMeasurement> kPair = {{"FLOW", 0, 100}, {"HEAT", -10, 10}};

Axis* AxisOf(const GraphPage& page, toolkit::AxisOrientation direction)
{
    for (Axis* axis : page.elements<Axis>()) {
        if (axis->direction() == direction)
            return axis;
    }
    return nullptr;
}

std::vector<double> TicksOf(const Axis& axis)
{
    std::vector<double> ticks;
    double anchor = 0.0;
    axis.currentTicks(ticks, anchor);
    return ticks;
}

TEST(XYPlotGraph, EachAxisSpansItsMeasurementWithFiveTicksAndTheAxesCrossInTheMiddle)
{
    GraphPage page(kXYPlot, kPair);
    ASSERT_FALSE(page.render().isNull());
    Axis* x = AxisOf(page, toolkit::AxisOrientation::Horizontal);
    Axis* y = AxisOf(page, toolkit::AxisOrientation::Vertical);
    ASSERT_NE(x, nullptr);
    ASSERT_NE(y, nullptr);
    EXPECT_DOUBLE_EQ(x->interval(), 20.0);
    EXPECT_DOUBLE_EQ(y->interval(), 4.0);
    EXPECT_EQ(TicksOf(*x), (std::vector<double>{0, 20, 40, 60, 80, 100}));
    const std::vector<double> yTicks = TicksOf(*y);
    ASSERT_GE(yTicks.size(), 5u);
    for (std::size_t i = 1; i < yTicks.size(); ++i)
        EXPECT_NEAR(yTicks[i] - yTicks[i - 1], 4.0, 1e-9);
    EXPECT_GE(yTicks.front(), -10.0 - 1e-9);
    EXPECT_LE(yTicks.back(), 10.0 + 1e-9);

    const toolkit::ChartContext& context = page.chart()->context();
    EXPECT_DOUBLE_EQ(context.xMin, 0.0);
    EXPECT_DOUBLE_EQ(context.xMax, 100.0);
    EXPECT_DOUBLE_EQ(context.yMin, -10.0);
    EXPECT_DOUBLE_EQ(context.yMax, 10.0);
    EXPECT_DOUBLE_EQ(context.crossX, 50.0);
    EXPECT_DOUBLE_EQ(context.crossY, 0.0);

    // The x axis's line lies at y 0, the y axis's at x 50.
    const std::vector<toolkit::XYPlot*> plots = page.elements<toolkit::XYPlot>();
    ASSERT_EQ(plots.size(), 1u);
    const QPointF crossing = plots.front()->pixelOf(50.0, 0.0);
    EXPECT_NEAR(x->linePosition(), crossing.y(), 1.0);
    EXPECT_NEAR(y->linePosition(), crossing.x(), 1.0);
}

TEST(XYPlotGraph, EverySampleAddsAPointWhateverItsTimeStamp)
{
    GraphPage page(kXYPlot, kPair);
    page.render();
    const std::vector<toolkit::XYPlot*> plots = page.elements<toolkit::XYPlot>();
    ASSERT_EQ(plots.size(), 1u);
    page.feed({10.0, 1.0}, 100.0);
    page.feed({20.0, 2.0}, 100.0);
    page.feed({30.0, -3.0}, 100.0);
    page.feed({40.0, 4.0}, 99.0);
    EXPECT_EQ(page.resources().dataset->appendedRows(), 4);
    EXPECT_EQ(plots.front()->pointCount(), 4);
    EXPECT_DOUBLE_EQ(page.resources().dataset->latest(0), 40.0);
    EXPECT_DOUBLE_EQ(page.resources().dataset->latest(1), 4.0);
}

TEST(XYPlotGraph, TheSecondDataColourChangesNothingWhileTheFirstColoursBothChannels)
{
    const auto render = [](const std::string& keys) {
        GraphPage page(kXYPlot, kPair, keys);
        page.render();
        for (double x = 0.0; x <= 100.0; x += 10.0)
            page.feed({x, x / 10.0 - 5.0});
        return page.render();
    };
    const QImage plain = render({});
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(render("DC2=13\r\n"), plain);
    // The comparison can see a colour change: the first colour shows.
    const QImage otherFirst = render("DC1=13\r\n");
    EXPECT_NE(otherFirst, plain);
    EXPECT_GT(CountPixelsNear(otherFirst, 0.15, 0.1, 0.98, 0.8, toolkit::PaletteColour(kLightMagenta), 10), 50);
}

TEST(XYPlotGraph, TheGraphsAlarmsReachTheDatasetAndItsReadouts)
{
    GraphPage page(kXYPlot, kPair, "A2=1,13,Too much,60\r\n");
    page.render();
    page.feed({75.0, 5.0});
    EXPECT_EQ(page.resources().dataset->alarmState(0), toolkit::kLevelHigh);
    EXPECT_EQ(page.resources().dataset->alarmState(1), toolkit::kLevelNormal);
    const QImage image = page.render();
    const QColor alarm = toolkit::PaletteColour(kLightMagenta);
    // The first readout shows the High colour, the second does not.
    EXPECT_GT(CountPixelsNear(image, 0.01, 0.88, 0.15, 0.93, alarm, 10), 50);
    EXPECT_EQ(CountPixelsNear(image, 0.01, 0.94, 0.15, 0.99, alarm, 10), 0);
}

}  // namespace
}  // namespace vexa::graphs
