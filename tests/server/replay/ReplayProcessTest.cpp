// A real vexalink replaying recordings and CSV files to a TCP client as the
// display reads them, and exporting from the command line.

#include "InputTestSupport.h"

#include "support/TestRecording.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace vexa::server::test {
namespace {

using vexa::test::RecordedRow;

constexpr double kStart = 1765270800.0;
constexpr int kWaitMs = vexa::test::kWaitTimeoutMs;
/// How long a replay of a few seconds may take to reach its end.
constexpr int kReplayMs = 30000;
const QByteArray kRigPath = "/data/rig.mvx";
const QByteArray kNan = DoubleBytes(std::numeric_limits<double>::quiet_NaN());

/// The time of day that a sample carries for \p seconds since the epoch:
/// the local time, to the millisecond.
double TimeOfDayAt(double seconds)
{
    const QTime time = QDateTime::fromMSecsSinceEpoch(qint64(std::llround(seconds * 1000))).time();
    return time.hour() * 3600 + time.minute() * 60 + time.second() + time.msec() / 1000.0;
}

class ReplayServer : public ::testing::Test {
protected:
    void Start(const QStringList& options)
    {
        m_server = std::make_unique<vexa::test::ServerProcess>(
            QStringLiteral(VEXALINK_PATH), m_port, options + QStringList{"--log-file", QString::fromStdString(m_log)});
        ASSERT_TRUE(m_server->isServing()) << m_server->errorText().toStdString();
    }
    /// Waits until the server's log holds a line that contains \p text.
    bool WaitForLogLine(const std::string& text) const
    {
        return QTest::qWaitFor([&] { return vexa::test::ReadFileBytes(m_log).find(text) != std::string::npos; },
                               kWaitMs);
    }
    std::string Path(const std::string& name) const { return m_dir.path(name); }

    vexa::test::ScratchDir m_dir;
    std::string m_log = m_dir.path("vexalink.log");
    int m_port = vexa::test::FreePort();
    std::unique_ptr<vexa::test::ServerProcess> m_server;
};

TEST_F(ReplayServer, ARecordingAtTenTimesComesBackBitForBitOnTheReplayClock)
{
    // Five stored times half a second apart; the state after each is what
    // a sample may show once the replay clock has passed it.
    const std::vector<double> values = {0.1, 4.9e-324, 1.7976931348623157e308, -273.15, 1.0 / 3.0,
                                        -1e-300, 12345.678, 2.5};
    std::vector<RecordedRow> rows;
    std::vector<std::vector<QByteArray>> states;
    std::vector<QByteArray> state = {kNan, kNan, kNan, kNan};
    for (int step = 0; step < 5; ++step) {
        const double time = kStart + 0.5 * step;
        const int a = step % 3;
        const int b = (step + 1) % 3;
        const std::optional<double> first = values[std::size_t(step)];
        // A NULL stands for a NaN that was received.
        const std::optional<double> second = step == 2 ? std::nullopt : std::optional(values[std::size_t(step + 3)]);
        rows.push_back({time, a, first, kStart});
        rows.push_back({time, b, second, {}});
        state[std::size_t(a)] = DoubleBytes(*first);
        state[std::size_t(b)] = second.has_value() ? DoubleBytes(*second) : kNan;
        states.push_back(state);
    }
    const std::string recording = Path("rig.sqlite3");
    ASSERT_EQ(vexa::test::WriteRecording(recording, {"rig.a", "rig.b", "rig.c"}, rows), "");

    Start({"--replay", QString::fromStdString(recording), "--speed", "10"});
    SampleClient client(m_port);
    // The last name is not in the recording: no value throughout.
    ASSERT_TRUE(client.SendLayout(kRigPath, {"rig.a", "rig.b", "rig.c", "rig.none"}));

    const double end = TimeOfDayAt(kStart + 2);
    std::size_t seen = 0;
    double lastTime = 0.0;
    const QDeadlineTimer deadline(kReplayMs);
    for (;;) {
        const std::vector<QByteArray> sample = client.Sample();
        ASSERT_EQ(sample.size(), 4u);
        // A sample before the replay's first turn shows nothing yet.
        if (sample == std::vector<QByteArray>{kNan, kNan, kNan, kNan})
            continue;
        // Every sample shows one of the stored states, never an earlier one
        // than before, on a clock between that state's time and the next's.
        const auto found = std::find(states.begin() + std::ptrdiff_t(seen), states.end(), sample);
        ASSERT_NE(found, states.end()) << "a sample that no stored time explains, after state " << seen;
        seen = std::size_t(found - states.begin());
        EXPECT_GE(client.timeOfDay(), TimeOfDayAt(kStart + 0.5 * double(seen)));
        EXPECT_LE(client.timeOfDay(), TimeOfDayAt(kStart + 0.5 * double(seen + 1)));
        EXPECT_GE(client.timeOfDay(), lastTime);
        lastTime = client.timeOfDay();
        if (seen == states.size() - 1 && client.timeOfDay() == end)
            break;
        ASSERT_FALSE(deadline.hasExpired()) << "the replay did not reach its end; last state " << seen;
    }
    // At the end the replay stops, its clock at the last stored time.
    EXPECT_TRUE(WaitForLogLine("Replay: reached the end at"));
    EXPECT_EQ(client.Sample(), states.back());
    EXPECT_EQ(client.timeOfDay(), end);
}

TEST_F(ReplayServer, AOneRowFileLoopsAtTheSlowestAndFastestSpeeds)
{
    const std::string csv = Path("one.csv");
    vexa::test::WriteFileBytes(csv, "time,one.v\n1765270800.25,42.25\n");
    for (const char* speed : {"0.1", "100"}) {
        Start({"--replay", QString::fromStdString(csv), "--loop", "--speed", speed});
        SampleClient client(m_port);
        ASSERT_TRUE(client.SendLayout(kRigPath, {"one.v"}));
        ExpectSampleBecomes(client, {DoubleBytes(42.25)}, kWaitMs);
        // Loop after loop the one value stays, at its one time.
        const QDeadlineTimer watch(vexa::test::kQuietPeriodMs * 5);
        while (!watch.hasExpired()) {
            ASSERT_EQ(client.Sample(), std::vector<QByteArray>{DoubleBytes(42.25)}) << speed;
            ASSERT_EQ(client.timeOfDay(), TimeOfDayAt(kStart + 0.25)) << speed;
        }
        EXPECT_TRUE(m_server->isRunning());
        m_server.reset();
    }
}

TEST_F(ReplayServer, FilesThatCannotBeReplayedAreLoggedWhileTheServerServes)
{
    const std::string backwards = Path("backwards.csv");
    vexa::test::WriteFileBytes(backwards, "\xEF\xBB\xBFtime,a\r\n5,1\r\n6,2\r\n4,3\r\n");
    const std::string locked = Path("locked.sqlite3");
    ASSERT_EQ(vexa::test::WriteRecording(locked, {"a"}, {{kStart, 0, 1.0, {}}}), "");
    // Another program holds the recording for itself.
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(locked.c_str(), &holder), SQLITE_OK);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closeHolder(holder, &sqlite3_close);
    ASSERT_EQ(sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr),
              SQLITE_OK);

    struct Case {
        std::string file;
        std::string line;
    };
    const Case cases[] = {
        {backwards, ": line 4: the time goes backwards"},
        {locked, ": is locked by another program"},
    };
    for (const Case& c : cases) {
        Start({"--replay", QString::fromStdString(c.file)});
        EXPECT_TRUE(WaitForLogLine("Replay: failed: " + c.file + c.line)) << vexa::test::ReadFileBytes(m_log);
        SampleClient client(m_port);
        ASSERT_TRUE(client.SendLayout(kRigPath, {"a"}));
        EXPECT_EQ(client.Sample().size(), 1u);
        m_server.reset();
    }
}

/// What vexalink printed and how it ended.
struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Outcome RunVexalink(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VEXALINK_PATH), arguments);
    Outcome run;
    if (!process.waitForFinished(kReplayMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

TEST_F(ReplayServer, ExportWritesTheChosenRangeAndNamesAndExits)
{
    const std::string recording = Path("e.sqlite3");
    ASSERT_EQ(vexa::test::WriteRecording(recording, {"a", "b", "c"},
                                         {{kStart, 0, 1.0, {}},
                                          {kStart + 1, 1, 0.1, {}},
                                          {kStart + 2, 0, 3.0, {}},
                                          {kStart + 2, 2, -7.5, {}},
                                          {kStart + 3, 1, std::nullopt, {}}}),
              "");
    const QString file = QString::fromStdString(recording);
    const QString out = QString::fromStdString(Path("out.csv"));
    struct Case {
        QStringList arguments;
        int status;
        QByteArray printed;  ///< on the standard output
        QByteArray error;    ///< contained in the standard error
    };
    const Case cases[] = {
        {{"--export", file}, 0, "time,a,b,c\n1765270800,1,,\n1765270801,1,0.1,\n1765270802,3,0.1,-7.5\n"
                                "1765270803,3,NaN,-7.5\n", ""},
        {{"--export", file, "--from", "+1", "--to", "2025-12-09T09:00:02Z", "--names", "c,b"}, 0,
         "time,c,b\n1765270801,,0.1\n1765270802,-7.5,0.1\n", ""},
        {{"--export", file, "--names=b", "--no-fill", "--from=1765270800.5"}, 0,
         "time,b\n1765270801,0.1\n1765270803,NaN\n", ""},
        {{"--export", file, "--names", "a,zz"}, 1, "", "the file holds no name \"zz\""},
        {{"--export", file, "--from", "+10"}, 1, "", "nothing is stored from"},
        {{"--export", file, "--from", "soon"}, 2, "", "--from needs seconds since the epoch"},
        {{"--export", QString::fromStdString(m_log)}, 1, "", "is empty"},
        {{"--export", file, "--replay", file}, 2, "", "--replay and --export cannot be given together"},
        {{"--replay", file, "--speed", "200"}, 2, "", "--speed needs a number from 0.1 to 100, not \"200\""},
    };
    vexa::test::WriteFileBytes(m_log, "");
    for (const Case& c : cases) {
        const Outcome run = RunVexalink(c.arguments);
        const std::string what = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.status, c.status) << what << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, c.printed) << what;
        EXPECT_TRUE(run.err.contains(c.error)) << what << ": " << run.err.toStdString();
    }

    // --out replaces the file whole.
    vexa::test::WriteFileBytes(Path("out.csv"), "old contents\n");
    const Outcome run = RunVexalink({"--export", file, "--out", out, "--names", "c"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(vexa::test::ReadFileBytes(Path("out.csv")), "time,c\n1765270802,-7.5\n");
}

}  // namespace
}  // namespace vexa::server::test
