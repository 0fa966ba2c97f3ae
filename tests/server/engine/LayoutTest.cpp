#include "EngineTestSupport.h"

#include "link/protocol/WireFormat.h"
#include "server/engine/DataPath.h"
#include "server/engine/SampleEngine.h"

#include <QTest>

#include <gtest/gtest.h>

namespace vexa::server {
namespace {

using test::LayoutMessage;
using test::RecordingLog;
using test::SendLayout;

constexpr char kSimulatePath[] = "C:\\DATA\\SIMULATE.MVX";

QByteArray LayoutWithCount(const QByteArray& path, std::int32_t count)
{
    QByteArray message = LayoutMessage(path, {"COS1", "SIN1"});
    link::WriteInt32(message.data() + link::kCountOffset, count);
    return message;
}

TEST(Layout, LogsTheHeaderEveryNameAndAnEmptyLine)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathTcpIp);
    SendLayout(engine, "/plant/line 1.mvx", {"FLOW", "Temp\xe9", "PRESSURE_LINE_ONE_OUTLET_VALVE_A"});
    const QStringList expected{
        "\nEthernet: Measurement list received from client:",
        "\tMVX File: /plant/line 1.mvx\n\tNumber Of Measurements: 3",
        "\t\t1:\tFLOW",
        QString::fromUtf8("\t\t2:\tTemp\u00e9"),
        "\t\t3:\tPRESSURE_LINE_ONE_OUTLET_VALVE_A",
        "",
    };
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(log.entries.size(), 8) << "the two header calls are two entries each";
    EXPECT_EQ(engine.layout().count(), 3);
    EXPECT_FALSE(engine.isSimulating());

    RecordingLog ddeLog;
    SampleEngine ddeEngine(ddeLog, kDataPathDde);
    SendLayout(ddeEngine, "", {"FLOW"});
    ASSERT_EQ(ddeLog.calls.size(), 4);
    EXPECT_EQ(ddeLog.calls[0], "\nDDE: Measurement list received from client:");
    EXPECT_EQ(ddeLog.calls[1], "\tMVX File: <none>\n\tNumber Of Measurements: 1");
}

TEST(Layout, ACountOutsideZeroTo600IsRefusedAndClearsTheBlock)
{
    struct Row {
        std::int32_t count;
        bool simulatingBefore;
    };
    const Row rows[] = {{601, false}, {601, true}, {-1, false}, {-1, true}, {INT32_MIN, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "count " << row.count << ", simulating " << row.simulatingBefore);
        RecordingLog log;
        SampleEngine engine(log, kDataPathDde);
        if (row.simulatingBefore)
            SendLayout(engine, kSimulatePath, {"COS1"});
        log.clear();

        const QByteArray message = LayoutWithCount(kSimulatePath, row.count);
        engine.ReceiveLayout(message.constData(), message.size());
        const QStringList expected{
            "\nDDE: Measurement list received from client:",
            QString("\tMVX File: C:\\DATA\\SIMULATE.MVX\n\tNumber Of Measurements: %1").arg(row.count),
            "ERROR: Invalid setup received from VEXA-Display.\n"
            "The maximum number of measurements that can be defined is 600.",
            "",
        };
        EXPECT_EQ(log.calls, expected);
        EXPECT_EQ(engine.LayoutBytes(), QByteArray(link::kServerLayoutBytes, '\0'));
        EXPECT_EQ(engine.isSimulating(), row.simulatingBefore);
        EXPECT_EQ(engine.areTimersActive(), row.simulatingBefore);
        engine.SampleStep();
        EXPECT_EQ(engine.SampleBytes().size(), 8);
    }
}

TEST(Layout, SixHundredNamesAreAccepted)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    std::vector<QByteArray> names;
    for (int i = 0; i < link::kServerLayoutNames; ++i)
        names.push_back("RAN" + QByteArray::number(i));
    SendLayout(engine, kSimulatePath, names);
    EXPECT_EQ(log.calls.size(), 2 + 600 + 1 + 1);
    EXPECT_EQ(log.calls[601], "\t\t600:\tRAN599");
    EXPECT_EQ(engine.source(599), SignalGenerators::kRandom);
    EXPECT_EQ(engine.SampleBytes().size(), link::kServerSampleBytes);
}

TEST(Layout, TheMeasurementFileNameSwitchesSimulateMode)
{
    enum class Mode { On, Off, Unchanged };
    struct Row {
        const char* path;
        Mode mode;
    };
    const Row rows[] = {
        {"C:\\DATA\\SIMULATE.MVX", Mode::On},
        {"c:\\data\\simulate.mvx", Mode::On},
        {"/data/MYSIMULATE.mvx", Mode::On},
        {"/data/v1.0/SIMULATE.mvx", Mode::On},
        {"C:\\V1.0\\SIMULATE.MVX", Mode::On},
        {"/data/SiMuLaTe", Mode::On},
        {"/data/SIMULATE.old.mvx", Mode::On},
        {"SIMULATE.MVX", Mode::On},
        {"/data/SIM.mvx", Mode::Off},
        {"/data/plant.mvx", Mode::Off},
        {"/data/SIMULATEX.mvx", Mode::Off},
        {"/SIMULATE/plant.mvx", Mode::Off},
        {"/data/.SIMULATE", Mode::Off},
        {"/data/", Mode::Off},
        {"", Mode::Unchanged},
    };
    for (const Row& row : rows) {
        for (bool before : {false, true}) {
            SCOPED_TRACE(testing::Message() << row.path << ", simulating before: " << before);
            RecordingLog log;
            SampleEngine engine(log, kDataPathDde);
            if (before)
                SendLayout(engine, kSimulatePath, {"X"});
            log.clear();
            SendLayout(engine, row.path, {"SAW1"});
            const bool after = row.mode == Mode::Unchanged ? before : row.mode == Mode::On;
            EXPECT_EQ(engine.isSimulating(), after);
            EXPECT_EQ(engine.areTimersActive(), after);
            EXPECT_EQ(log.calls.contains("SIMULATE MODE ON"), !before && after);
            EXPECT_EQ(log.calls.contains("SIMULATE MODE OFF"), before && !after);
            if (!before && after) {
                EXPECT_EQ(log.calls.last(), "SIMULATE MODE ON") << "the mode switches after the empty line";
            }
        }
    }
}

TEST(Layout, InSimulateModeEachNameGetsItsSourceByItsFirstThreeLetters)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    SendLayout(engine, "D:\\X\\simulate.mvx", {"cosA", "Sine1", "SQRT", "Tri", "sawtooth", "Random", "PRESSURE", "CO", ""});
    ASSERT_TRUE(engine.isSimulating());
    const int expected[] = {0, 1, 2, 3, 4, 5, 255, 255, 255};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(engine.source(i), expected[i]) << "name " << i;

    SendLayout(engine, "D:\\X\\simulate.mvx", {"PRESSURE", "cosA"});
    EXPECT_EQ(engine.source(0), 255) << "a new layout in simulate mode assigns again";
    EXPECT_EQ(engine.source(1), 0);
    EXPECT_EQ(log.calls.count("SIMULATE MODE ON"), 1) << "already on: not switched on twice";
    EXPECT_TRUE(engine.areTimersActive());
}

TEST(Layout, OutsideSimulateModeAndForAnEmptyPathTheSourcesStay)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    SendLayout(engine, "/data/plant.mvx", {"RAN1", "TRI1"});
    EXPECT_EQ(engine.source(0), 0) << "outside simulate mode no source is assigned";
    EXPECT_EQ(engine.source(1), 0);

    SendLayout(engine, kSimulatePath, {"RAN1", "TRI1"});
    SendLayout(engine, "", {"SAW1", "PRESSURE", "SIN1"});
    EXPECT_TRUE(engine.isSimulating());
    EXPECT_EQ(engine.source(0), SignalGenerators::kRandom);
    EXPECT_EQ(engine.source(1), SignalGenerators::kTriangle);
    EXPECT_EQ(engine.source(2), 0);
    EXPECT_EQ(engine.layout().count(), 3) << "the layout itself is taken";

    SendLayout(engine, "/data/plant.mvx", {"SAW1"});
    EXPECT_FALSE(engine.isSimulating());
    EXPECT_EQ(engine.source(0), SignalGenerators::kRandom) << "switching off leaves the table";
}

TEST(Layout, TheTimersRunOnlyInSimulateModeAndDriveTheGenerators)
{
    RecordingLog log;
    SampleEngine engine(log, kDataPathDde);
    EXPECT_FALSE(engine.areTimersActive());
    SendLayout(engine, kSimulatePath, {"COS1"});
    ASSERT_TRUE(engine.areTimersActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.angle() > 0.0; }, 2000)) << "the fast timer ticks";

    engine.StopTimers();
    EXPECT_FALSE(engine.areTimersActive());
    EXPECT_TRUE(engine.isSimulating()) << "stopping the timers at exit leaves the mode";

    SendLayout(engine, kSimulatePath, {"COS1"});
    EXPECT_FALSE(engine.areTimersActive()) << "already on: nothing is restarted";

    SendLayout(engine, "/data/plant.mvx", {"COS1"});
    SendLayout(engine, kSimulatePath, {"COS1"});
    EXPECT_TRUE(engine.areTimersActive()) << "switching on again starts them";
    SendLayout(engine, "/data/plant.mvx", {"COS1"});
    EXPECT_FALSE(engine.areTimersActive());
}

}  // namespace
}  // namespace vexa::server
