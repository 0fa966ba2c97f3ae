#include "EngineTestSupport.h"

#include "server/engine/DataPath.h"
#include "server/engine/SampleEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace vexa::server {
namespace {

using test::RecordingLog;

constexpr int kCos = SignalGenerators::kCosine;
constexpr int kSin = SignalGenerators::kSine;
constexpr int kSquare = SignalGenerators::kSquare;
constexpr int kTriangle = SignalGenerators::kTriangle;
constexpr int kSawtooth = SignalGenerators::kSawtooth;
constexpr int kRandom = SignalGenerators::kRandom;

TEST(Generators, AngleRunsOneDegreePerTickAndWrapsToZeroAfter360)
{
    // The expected values use 3.142857143 for pi: at 180 degrees the sine is
    // visibly not zero.
    struct Row {
        int tick;
        double angle, cosine, sine;
    };
    const Row rows[] = {
        {1, 1.0, 99.984757253, 1.745943031},
        {90, 90.0, -0.063224466, 99.999980013},
        {180, 180.0, -99.999920053, -0.126448907},
        {360, 360.0, 99.999680213, 0.252897612},
        {361, 0.0, 100.0, 0.0},
        {362, 1.0, 99.984757253, 1.745943031},
        {722, 0.0, 100.0, 0.0},
    };
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    EXPECT_EQ(engine.angle(), 0.0);
    EXPECT_EQ(engine.generatorOutput(kCos), 0.0) << "outputs are zero until the first tick";
    int ticks = 0;
    for (const Row& row : rows) {
        while (ticks < row.tick) {
            engine.FastTick();
            ++ticks;
        }
        EXPECT_EQ(engine.angle(), row.angle) << "tick " << row.tick;
        EXPECT_NEAR(engine.generatorOutput(kCos), row.cosine, 1e-8) << "tick " << row.tick;
        EXPECT_NEAR(engine.generatorOutput(kSin), row.sine, 1e-8) << "tick " << row.tick;
    }
    EXPECT_TRUE(log.calls.isEmpty());
}

TEST(Generators, TriangleAndSawtoothFollowTheirPeriods)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    std::map<int, std::pair<double, double>> seen;  // tick -> triangle, sawtooth
    constexpr int kTicks = 420;
    for (int tick = 1; tick <= kTicks; ++tick) {
        engine.FastTick();
        seen[tick] = {engine.generatorOutput(kTriangle), engine.generatorOutput(kSawtooth)};
    }

    struct Row {
        int tick;
        double triangle, sawtooth;
    };
    const Row rows[] = {
        {1, 2, 2},       {2, 4, 4},       {49, 98, 98},   {50, 100, 100}, {51, 98, 0},
        {52, 96, 2},     {100, 0, 98},    {101, -2, 100}, {102, -4, 0},   {103, -6, 2},
        {150, -100, 96}, {151, -98, 98},  {200, 0, 94},   {201, 2, 96},   {250, 100, 92},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(seen[row.tick].first, row.triangle) << "triangle at tick " << row.tick;
        EXPECT_EQ(seen[row.tick].second, row.sawtooth) << "sawtooth at tick " << row.tick;
    }

    double highest = 0, lowest = 0;
    for (int tick = 1; tick + 200 <= kTicks; ++tick) {
        EXPECT_EQ(seen[tick].first, seen[tick + 200].first) << "triangle period, tick " << tick;
        highest = std::max(highest, seen[tick].first);
        lowest = std::min(lowest, seen[tick].first);
    }
    EXPECT_EQ(highest, 100.0);
    EXPECT_EQ(lowest, -100.0);
    for (int tick = 1; tick + 51 <= kTicks; ++tick)
        EXPECT_EQ(seen[tick].second, seen[tick + 51].second) << "sawtooth period, tick " << tick;
}

TEST(Generators, SquareIsZeroUntilTheFirstSlowTickThenAlternates)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    for (int i = 0; i < 15; ++i)
        engine.FastTick();
    EXPECT_EQ(engine.generatorOutput(kSquare), 0.0) << "fast ticks leave the square wave alone";
    const double expected[] = {100.0, 0.0, 100.0, 0.0};
    for (double value : expected) {
        engine.SquareTick();
        EXPECT_EQ(engine.generatorOutput(kSquare), value);
    }
    EXPECT_EQ(engine.angle(), 15.0) << "slow ticks leave the angle alone";
}

TEST(Generators, RandomIsThePortableSequenceAndDrawsSpanPlusMinus100)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    engine.SeedRandom(1);
    for (int k : {16838, 5758, 10113, 17515, 31051})
        EXPECT_EQ(engine.NextRandom(), k);

    engine.SeedRandom(1);
    EXPECT_NEAR(engine.RandomDraw(), (15929.0 / 32767.0 - 0.5) * 200.0, 1e-12)
        << "the draw divides in floating point";
    engine.SeedRandom(1);
    engine.FastTick();
    EXPECT_NEAR(engine.generatorOutput(kRandom), (15929.0 / 32767.0 - 0.5) * 200.0, 1e-12)
        << "a fast tick takes one draw for the random output";

    engine.SeedRandom(7);
    double lowest = 0, highest = 0;
    for (int i = 0; i < 20000; ++i) {
        const double draw = engine.RandomDraw();
        ASSERT_GE(draw, -100.0);
        ASSERT_LE(draw, 100.0);
        lowest = std::min(lowest, draw);
        highest = std::max(highest, draw);
    }
    EXPECT_LT(lowest, -99.0);
    EXPECT_GT(highest, 99.0);
    EXPECT_NE(std::floor(lowest), lowest) << "draws are not whole numbers";
}

}  // namespace
}  // namespace vexa::server
