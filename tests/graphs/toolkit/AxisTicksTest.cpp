#include "graphs/toolkit/AxisTicks.h"
#include "graphs/toolkit/ScaleMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace vexa::toolkit {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(AxisTicks, TicksSitAtMultiplesOfTheIntervalFromTheAnchor)
{
    struct Case {
        double minimum, maximum, anchor, interval;
        std::vector<double> expected;
    };
    const std::vector<Case> cases{
        {0.0, 20.0, 0.0, 4.0, {0, 4, 8, 12, 16, 20}},
        {-5.0, 5.0, -5.0, 2.0, {-5, -3, -1, 1, 3, 5}},
        {0.0, 10.0, 0.5, 2.0, {0.5, 2.5, 4.5, 6.5, 8.5}},
        {0.0, 10.0, -99.0, 5.0, {1, 6}},       // the anchor may lie outside
        {20.0, 0.0, 0.0, 10.0, {0, 10, 20}},   // a reversed range
        {0.0, 1.0, 0.0, 0.1, {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0}},  // both ends despite rounding
    };
    std::vector<double> ticks;
    for (const Case& c : cases) {
        GenerateTicks(c.minimum, c.maximum, c.anchor, c.interval, ticks);
        ASSERT_EQ(ticks.size(), c.expected.size()) << c.minimum << ".." << c.maximum << " every " << c.interval;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i], c.expected[i], 1e-9);
        }
    }
}

TEST(AxisTicks, UnusableIntervalsGiveABoundedRoundSet)
{
    // Zero, negative or not-a-number intervals give automatic round ticks,
    // and absurdly fine ones are coarsened: never a loop without end or
    // millions of ticks.
    struct Case {
        double minimum, maximum, interval;
    };
    const std::vector<Case> cases{
        {0.0, 100.0, 0.0}, {0.0, 100.0, -20.0}, {0.0, 100.0, kNaN}, {0.0, 100.0, kInfinity},
        {0.0, 1e12, 1.0},  {-1e300, 1e300, 1e-300}, {0.0, 1.0, 1e-12},
    };
    std::vector<double> ticks;
    for (const Case& c : cases) {
        const double used = GenerateTicks(c.minimum, c.maximum, 0.0, c.interval, ticks);
        EXPECT_GE(ticks.size(), 2u) << c.maximum << " every " << c.interval;
        EXPECT_LE(ticks.size(), static_cast<std::size_t>(kMaxTicks) + 1) << c.maximum << " every " << c.interval;
        EXPECT_GT(used, 0.0);
    }
    GenerateTicks(0.0, 100.0, 0.0, 0.0, ticks);
    EXPECT_EQ(ticks, (std::vector<double>{0, 20, 40, 60, 80, 100}));
}

TEST(AxisTicks, EmptyOrUnboundedRangesGiveNoTicks)
{
    std::vector<double> ticks{1.0};
    for (const auto& [minimum, maximum] : std::vector<std::pair<double, double>>{
             {5.0, 5.0}, {kNaN, 1.0}, {0.0, kInfinity}, {-kInfinity, kInfinity}}) {
        EXPECT_EQ(GenerateTicks(minimum, maximum, 0.0, 1.0, ticks), 0.0);
        EXPECT_TRUE(ticks.empty()) << minimum << ".." << maximum;
    }
}

TEST(AxisTicks, NumbersGetTheDecimalsTheirTicksNeed)
{
    struct Case {
        double interval, anchor;
        int decimals;
    };
    const std::vector<Case> cases{
        {20.0, 0.0, 0}, {4.0, 0.0, 0},  {2.5, 0.0, 1}, {0.25, 0.0, 2}, {0.1, 0.0, 1},
        {2.0, -3.7, 1}, {30.0, -5.0, 0}, {1.0 / 3.0, 0.0, 2}, {1e-9, 0.0, 6}, {0.0, 0.0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TickDecimals(c.interval, c.anchor), c.decimals) << c.interval << " from " << c.anchor;
    }
}

TEST(AxisTicks, ClockTimesReadAsHoursMinutesSecondsAndWrapAtMidnight)
{
    const std::vector<std::pair<double, std::string>> cases{
        {0.0, "00:00:00"},      {45296.0, "12:34:56"}, {45296.7, "12:34:56"}, {86399.9, "23:59:59"},
        {86400.0, "00:00:00"},  {90061.0, "01:01:01"}, {-1.0, "23:59:59"},    {3.9999999999, "00:00:04"},
        {kNaN, "00:00:00"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(ClockTimeText(seconds).toStdString(), text) << seconds;
    }
}

TEST(AxisTicks, LabelsThatDoNotFitAreThinnedByStride)
{
    EXPECT_EQ(LabelStride(50.0, 100.0), 1);
    EXPECT_EQ(LabelStride(50.0, 30.0), 2);
    EXPECT_EQ(LabelStride(50.0, 10.0), 5);
    EXPECT_EQ(LabelStride(50.0, 0.0), 1);
    EXPECT_EQ(TickNumber(-3.0, 1.0, 2.0), -2);
    EXPECT_EQ(TickNumber(7.0, 1.0, 2.0), 3);
}

TEST(ScaleMap, ValuesRoundTripThroughPixels)
{
    ScaleMap x(-5.0, 15.0);
    x.setPixels(100.0, 900.0);
    EXPECT_DOUBLE_EQ(x.toPixel(-5.0), 100.0);
    EXPECT_DOUBLE_EQ(x.toPixel(15.0), 900.0);
    EXPECT_DOUBLE_EQ(x.toPixel(5.0), 500.0);
    ScaleMap y(0.0, 100.0);
    y.setPixels(630.0, 70.0);  // values grow upwards
    EXPECT_DOUBLE_EQ(y.toPixel(100.0), 70.0);
    for (double value : {-5.0, 0.0, 3.25, 14.999, 1e6}) {
        EXPECT_NEAR(x.toValue(x.toPixel(value)), value, 1e-9 * std::max(1.0, std::abs(value)));
        EXPECT_NEAR(y.toValue(y.toPixel(value)), value, 1e-9 * std::max(1.0, std::abs(value)));
    }
}

TEST(ScaleMap, AnEmptyRangeIsWidenedInsteadOfDividingByZero)
{
    for (const auto& [minimum, maximum] : std::vector<std::pair<double, double>>{
             {7.0, 7.0}, {kNaN, kNaN}, {kInfinity, 1.0}}) {
        ScaleMap map(minimum, maximum);
        map.setPixels(0.0, 100.0);
        EXPECT_TRUE(std::isfinite(map.toPixel(7.0))) << minimum << ".." << maximum;
        EXPECT_LT(map.mappedMinimum(), map.mappedMaximum());
    }
    ScaleMap single(7.0, 7.0);
    single.setPixels(0.0, 100.0);
    EXPECT_DOUBLE_EQ(single.toPixel(7.0), 50.0) << "the one value sits in the middle";
    single.setPixels(10.0, 10.0);
    EXPECT_DOUBLE_EQ(single.toValue(10.0), single.mappedMinimum()) << "no pixels to map from";
}

}  // namespace
}  // namespace vexa::toolkit
