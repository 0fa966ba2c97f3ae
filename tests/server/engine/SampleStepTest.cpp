#include "EngineTestSupport.h"

#include "link/protocol/WireFormat.h"
#include "server/engine/DataPath.h"
#include "server/engine/SampleEngine.h"

#include <gtest/gtest.h>

namespace vexa::server {
namespace {

using test::RecordingLog;
using test::SendLayout;

constexpr char kSimulatePath[] = "D:\\X\\simulate.mvx";

QTime HalfPastTwelve()
{
    return QTime(12, 34, 56, 500);
}

TEST(SampleStep, TakesEveryValueFromItsGenerator)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    SendLayout(engine, kSimulatePath, {"cosA", "Sine1", "SQRT", "Tri", "sawtooth", "Random"});
    engine.StopTimers();
    for (int i = 0; i < 30; ++i)
        engine.FastTick();
    engine.SquareTick();
    engine.SampleStep();
    for (int generator = 0; generator < SignalGenerators::kCount; ++generator)
        EXPECT_EQ(engine.sample().value(generator), engine.generatorOutput(generator)) << "generator " << generator;
    EXPECT_EQ(engine.sample().value(2), 100.0);
    EXPECT_EQ(engine.sample().value(3), 60.0);
    EXPECT_EQ(engine.sample().value(4), 60.0);
    EXPECT_EQ(engine.sample().value(6), 0.0) << "positions beyond the count stay untouched";
}

TEST(SampleStep, RanNamesShareATickAndRandomSourcesDrawAfresh)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    engine.SeedRandom(1);
    SendLayout(engine, kSimulatePath, {"RAN1", "ranTwo", "PRESSURE", "FLOW"});
    engine.StopTimers();
    engine.FastTick();

    engine.SampleStep();
    const double ran = engine.sample().value(0);
    const double first = engine.sample().value(2);
    const double second = engine.sample().value(3);
    EXPECT_EQ(engine.sample().value(1), ran);
    EXPECT_EQ(ran, engine.generatorOutput(SignalGenerators::kRandom));
    EXPECT_NE(first, second) << "two random sources draw independently";
    EXPECT_NE(first, ran);

    engine.SampleStep();
    EXPECT_EQ(engine.sample().value(0), ran) << "the random generator only moves on a tick";
    EXPECT_EQ(engine.sample().value(1), ran);
    EXPECT_NE(engine.sample().value(2), first) << "a random source draws on every request";
    EXPECT_NE(engine.sample().value(3), second);
}

TEST(SampleStep, TimeOfDayOutsideAndInsideSimulateMode)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    engine.setClock(HalfPastTwelve);
    EXPECT_TRUE(engine.isTimeOfDayOn());

    engine.SampleStep();
    EXPECT_EQ(engine.SampleBytes(), QByteArray(8, '\0')) << "0.0 after start-up";

    engine.SetTimeOfDay(false);
    EXPECT_EQ(engine.sample().timeOfDay(), -1.0) << "switching off sets -1.0 at once";
    engine.SampleStep();
    EXPECT_EQ(engine.sample().timeOfDay(), -1.0);

    engine.SetTimeOfDay(true);
    engine.SampleStep();
    EXPECT_EQ(engine.sample().timeOfDay(), -1.0) << "outside simulate mode the time stays";

    SendLayout(engine, kSimulatePath, {"cosA"});
    engine.SampleStep();
    EXPECT_EQ(engine.sample().timeOfDay(), 45296.5);
    EXPECT_EQ(link::ReadDouble(engine.SampleBytes().constData()), 45296.5);

    engine.SetTimeOfDay(false);
    engine.SampleStep();
    EXPECT_EQ(engine.sample().timeOfDay(), -1.0) << "no stamp while time of day is off";
}

TEST(SampleStep, LeavingSimulateModeFreezesTheLastSimulatedValues)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    engine.setClock(HalfPastTwelve);
    SendLayout(engine, kSimulatePath, {"cosA", "Tri", "PRESSURE"});
    engine.StopTimers();
    for (int i = 0; i < 10; ++i)
        engine.FastTick();
    engine.SampleStep();
    const QByteArray simulated = engine.SampleBytes();

    SendLayout(engine, "D:\\X\\plant.mvx", {"cosA", "Tri", "PRESSURE"});
    ASSERT_FALSE(engine.isSimulating());
    EXPECT_FALSE(engine.areTimersActive());
    EXPECT_EQ(log.calls.count("SIMULATE MODE OFF"), 1);
    engine.FastTick();
    engine.SampleStep();
    EXPECT_EQ(engine.SampleBytes(), simulated);

    SendLayout(engine, kSimulatePath, {"cosA", "Tri", "PRESSURE"});
    engine.StopTimers();
    engine.SampleStep();
    EXPECT_EQ(engine.sample().value(1), 22.0) << "the generators continue where they stopped";
}

TEST(SampleStep, AnswerIsTheTimeAndOneDoublePerName)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    engine.setClock(HalfPastTwelve);
    EXPECT_EQ(engine.SampleBytes().size(), 8) << "before any layout";
    SendLayout(engine, kSimulatePath, {"Tri", "sawtooth", "SQRT"});
    engine.StopTimers();
    engine.FastTick();
    engine.FastTick();
    engine.SampleStep();
    const QByteArray bytes = engine.SampleBytes();
    ASSERT_EQ(bytes.size(), 8 + 8 * 3);
    EXPECT_EQ(link::ReadDouble(bytes.constData()), 45296.5);
    EXPECT_EQ(link::ReadDouble(bytes.constData() + 8), 4.0);
    EXPECT_EQ(link::ReadDouble(bytes.constData() + 16), 4.0);
    EXPECT_EQ(link::ReadDouble(bytes.constData() + 24), 0.0);
}

TEST(SampleStep, VerboseLogsTheRequestAndTheListing)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathTcpIp);
    SendLayout(engine, "/data/plant.mvx", {"FLOW"});
    log.clear();
    engine.SampleStep();
    EXPECT_TRUE(log.calls.isEmpty()) << "quiet unless verbose";

    engine.setVerbose(true);
    engine.SampleStep();
    const QStringList expected{
        "\nEthernet: VEXA-Display requests next data sample:\n",
        "Time Of Day: 00:00:00.000",
        "#\tAddress\tName                            \tValue",
        "1:\t00000\tFLOW                            \t0.0000",
    };
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(log.entries.mid(0, 4), (QStringList{"", "Ethernet: VEXA-Display requests next data sample:", "",
                                                  "Time Of Day: 00:00:00.000"}));
}

}  // namespace
}  // namespace vexa::server
