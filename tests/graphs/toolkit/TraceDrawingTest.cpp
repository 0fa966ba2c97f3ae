#include "graphs/toolkit/TraceDecimator.h"
#include "graphs/toolkit/TraceRasteriser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace vexa::toolkit {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels covered(TraceRasteriser& rasteriser)
{
    Pixels pixels;
    for (const QRect& run : rasteriser.runs()) {
        for (int x = run.left(); x <= run.right(); ++x) {
            for (int y = run.top(); y <= run.bottom(); ++y) {
                EXPECT_TRUE(pixels.insert({x, y}).second) << "runs overlap at " << x << "," << y;
            }
        }
    }
    return pixels;
}

TEST(TraceRasteriser, AFlatLineCoversOneRowAcrossItsColumns)
{
    TraceRasteriser rasteriser;
    rasteriser.begin(0, 99, 1);
    rasteriser.add(10.5, 20.5);
    rasteriser.add(30.5, 20.5);
    Pixels expected;
    for (int x = 10; x <= 30; ++x) {
        expected.insert({x, 20});
    }
    EXPECT_EQ(covered(rasteriser), expected);
    EXPECT_EQ(rasteriser.runs().size(), 1u) << "a flat stretch is one rectangle";
}

TEST(TraceRasteriser, ASteepSegmentCoversItsRowsAndAWideLineItsNeighbours)
{
    TraceRasteriser rasteriser;
    rasteriser.begin(0, 99, 1);
    rasteriser.add(5.2, 10.0);
    rasteriser.add(5.8, 14.0);  // within column 5
    Pixels expected;
    for (int y = 10; y <= 14; ++y) {
        expected.insert({5, y});
    }
    EXPECT_EQ(covered(rasteriser), expected);

    rasteriser.begin(0, 99, 2);
    rasteriser.add(5.5, 10.5);
    EXPECT_EQ(covered(rasteriser), (Pixels{{5, 10}, {5, 11}, {6, 10}, {6, 11}}));
}

TEST(TraceRasteriser, ASlopeIsSplitAtColumnEdgesWhicheverWayItRuns)
{
    for (bool backwards : {false, true}) {
        TraceRasteriser rasteriser;
        rasteriser.begin(0, 99, 1);
        // Two columns, rising one pixel per column.
        if (backwards) {
            rasteriser.add(12.0, 12.0);
            rasteriser.add(10.0, 10.0);
        } else {
            rasteriser.add(10.0, 10.0);
            rasteriser.add(12.0, 12.0);
        }
        const Pixels pixels = covered(rasteriser);
        EXPECT_TRUE(pixels.count({10, 10}) && pixels.count({11, 11}) && pixels.count({12, 12}));
        EXPECT_FALSE(pixels.count({10, 12})) << "no column takes the whole segment's height";
    }
}

TEST(TraceRasteriser, NothingOutsideTheClipColumnsAndNoLineAcrossAGap)
{
    TraceRasteriser rasteriser;
    rasteriser.begin(20, 40, 1);
    rasteriser.add(-1e6, 30.0);  // far left of the plot: the loop stays within the clip
    rasteriser.add(25.5, 30.0);
    rasteriser.breakLine();
    rasteriser.add(35.5, 50.0);
    rasteriser.add(1e6, 50.0);
    for (const auto& [x, y] : covered(rasteriser)) {
        EXPECT_GE(x, 20);
        EXPECT_LE(x, 40);
        EXPECT_TRUE(y == 30 || y == 50) << "the gap between column 25 and 35 stays empty: " << x << "," << y;
        EXPECT_TRUE(x <= 25 || x >= 35);
    }
}

TEST(TraceDecimator, KeepsFirstExtremesAndLastOfEachColumnInOrder)
{
    TraceDecimator decimator;
    // Column 0 gets many points; column 1 one.
    const std::vector<std::pair<double, double>> input{
        {0.1, 5.0}, {0.2, 9.0}, {0.3, 1.0}, {0.4, 4.0}, {0.5, 3.0}, {1.5, 7.0}};
    for (const auto& [x, y] : input) {
        decimator.add(x, y);
    }
    const std::vector<QPointF> expected{{0.1, 5.0}, {0.2, 9.0}, {0.3, 1.0}, {0.5, 3.0}, {1.5, 7.0}};
    EXPECT_EQ(decimator.points(), expected);

    decimator.clear();
    EXPECT_TRUE(decimator.isEmpty());
    for (int i = 0; i < 10000; ++i) {
        decimator.add(i * 0.01, std::sin(i * 0.1));
    }
    EXPECT_LE(decimator.points().size(), 4u * 100u) << "at most four points per column";
}

}  // namespace
}  // namespace vexa::toolkit
