// A real vexalink recording what its line protocol input takes in; the
// files are read back with SQLite while it runs, after it ended, and after
// it was killed.

#include "InputTestSupport.h"
#include "RecordingFiles.h"

#include "support/RawTcpClient.h"
#include "support/ServerProcess.h"
#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace vexa::server::recording::test {
namespace {

using server::test::DoubleBytes;
using server::test::SampleClient;

/// How long fed values may take to reach the file: the writer commits at
/// least every second.
constexpr int kInFileMs = 10000;
/// The file size limit the server runs under in the size-limit test.
constexpr rlim_t kFileSizeLimit = 512 * 1024;
const QByteArray kPlantPath = "/data/plant.mvx";

double Now()
{
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

/// Lines of line protocol setting "series.n" to \p first, \p first + 1, ...
QByteArray Series(int first, int count)
{
    QByteArray lines;
    for (int i = first; i < first + count; ++i)
        lines += "series n=" + QByteArray::number(i) + "\n";
    return lines;
}

class RecordingServer : public ::testing::Test {
protected:
    void Start(const vexa::test::ServerProcess::Launch& launch = {})
    {
        m_server = std::make_unique<vexa::test::ServerProcess>(
            QStringLiteral(VEXALINK_PATH), m_port,
            QStringList{"--line-tcp", QString::number(m_lineTcp), "--record", m_folder.path(), "--log-file",
                        m_logFile},
            launch);
        ASSERT_TRUE(m_server->isServing()) << m_server->errorText().toStdString();
    }

    bool Send(const QByteArray& lines) const { return vexa::test::RawTcpClient(m_lineTcp).send(lines); }

    /// The values in all the recording's files.
    long long RecordedCount() const
    {
        long long count = 0;
        for (const QString& path : RecordingFiles(m_folder.path()))
            count += RecordingFile(path).SampleCount();
        return count;
    }
    /// Waits until the files hold \p count values, with the server running.
    bool WaitUntilRecorded(long long count) const
    {
        return QTest::qWaitFor([&] { return RecordedCount() >= count; }, kInFileMs);
    }

    QStringList LogLines() const
    {
        return QString::fromLocal8Bit(QByteArray::fromStdString(vexa::test::ReadFileBytes(m_logFile.toStdString())))
            .split(QLatin1Char('\n'));
    }
    QStringList LogLinesStartingWith(const QString& start) const { return LogLines().filter(QRegularExpression("^" + QRegularExpression::escape(start))); }

    QTemporaryDir m_folder;
    QTemporaryDir m_logDir;
    QString m_logFile = m_logDir.filePath("vexalink.log");
    int m_port = vexa::test::FreePort();
    int m_lineTcp = vexa::test::FreePort();
    std::unique_ptr<vexa::test::ServerProcess> m_server;
};

TEST_F(RecordingServer, ValuesFedByLineProtocolAreRecordedBitForBitWithTheirTimes)
{
    Start();
    struct Fed {
        const char* line;
        const char* name;
        double value;
        double sourceTime;  // NaN for none
    };
    const double none = std::nan("");
    const Fed fed[] = {
        {"plant tenth=0.1 1700000000500000000", "plant.tenth", 0.1, 1700000000.5},
        {"plant max=1.7976931348623157e308", "plant.max", 1.7976931348623157e308, none},
        {"plant tiny=4.9e-324", "plant.tiny", 4.9e-324, none},
        {"plant,host=a int=-42i", "plant.int", -42.0, none},
        {"plant on=true", "plant.on", 1.0, none},
        {"plant value=-273.15", "plant", -273.15, none},
        {"plant zero=-0", "plant.zero", -0.0, none},
        {"plant tenth=0.2", "plant.tenth", 0.2, none},
    };
    QByteArray lines;
    for (const Fed& each : fed)
        lines += QByteArray(each.line) + "\n";
    const double before = Now();
    ASSERT_TRUE(Send(lines));
    ASSERT_TRUE(WaitUntilRecorded(std::size(fed)));
    const double after = Now();
    ASSERT_TRUE(m_server->stop());

    const QStringList files = RecordingFiles(m_folder.path());
    ASSERT_EQ(files.size(), 1);
    RecordingFile file(files[0]);
    ASSERT_EQ(file.problem(), "");
    const std::vector<Reading> readings = file.Readings();
    ASSERT_EQ(readings.size(), std::size(fed));
    for (std::size_t i = 0; i < readings.size(); ++i) {
        SCOPED_TRACE(fed[i].line);
        EXPECT_EQ(readings[i].name, fed[i].name);
        ASSERT_TRUE(readings[i].value.has_value());
        EXPECT_EQ(DoubleBytes(*readings[i].value), DoubleBytes(fed[i].value));
        EXPECT_EQ(readings[i].sourceTime.has_value(), !std::isnan(fed[i].sourceTime));
        if (readings[i].sourceTime.has_value()) {
            EXPECT_EQ(DoubleBytes(*readings[i].sourceTime), DoubleBytes(fed[i].sourceTime));
        }
        EXPECT_GE(readings[i].time, before);
        EXPECT_LE(readings[i].time, after);
    }
    EXPECT_EQ(file.Info().at("mode"), "inputs");
    EXPECT_EQ(LogLinesStartingWith("Recording to " + files[0]).size(), 1);
    EXPECT_EQ(LogLinesStartingWith(QStringLiteral("Recording stopped: %1 values in %2, 0 dropped").arg(std::size(fed)).arg(files[0])).size(), 1)
        << LogLines().join('\n').toStdString();
}

TEST_F(RecordingServer, AKilledServerLeavesAFileThatOpensWithEveryCommittedValue)
{
    constexpr int kCommitted = 2000;
    constexpr int kInFlight = 2000;
    Start();
    ASSERT_TRUE(Send(Series(0, kCommitted)));
    // In the file while the server runs: the writer commits without being asked.
    ASSERT_TRUE(WaitUntilRecorded(kCommitted));
    ASSERT_TRUE(Send(Series(kCommitted, kInFlight)));
    m_server->kill();

    const QStringList files = RecordingFiles(m_folder.path());
    ASSERT_EQ(files.size(), 1);
    RecordingFile file(files[0]);
    ASSERT_EQ(file.problem(), "");
    const std::vector<Reading> readings = file.Readings();
    // Whatever the kill took, what is left is the series from its start.
    ASSERT_GE(readings.size(), std::size_t(kCommitted));
    ASSERT_LE(readings.size(), std::size_t(kCommitted + kInFlight));
    for (std::size_t i = 0; i < readings.size(); ++i)
        ASSERT_EQ(readings[i].value, double(i)) << "row " << i;
}

TEST_F(RecordingServer, AFileSizeLimitEndsTheRecordingWithOneLogLineWhileSamplesGoOn)
{
    vexa::test::ServerProcess::Launch launch;
    launch.inChild = [] {
        const rlimit limit{kFileSizeLimit, kFileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
    };
    Start(launch);
    const QString ended = QStringLiteral("Recording ended: ");
    constexpr int kChunk = 5000;
    // One commit first, so that the file holds values when the limit comes.
    ASSERT_TRUE(Send(Series(0, kChunk)));
    ASSERT_TRUE(WaitUntilRecorded(kChunk));
    int sent = kChunk;
    const bool hitLimit = QTest::qWaitFor(
        [&] {
            if (!Send(Series(sent, kChunk)))
                return false;
            sent += kChunk;
            return !LogLinesStartingWith(ended).isEmpty();
        },
        kInFileMs * 3);
    ASSERT_TRUE(hitLimit) << LogLines().join('\n').toStdString();
    ASSERT_TRUE(Send(Series(sent, kChunk)));

    // The server goes on: its input takes values and a sample carries them.
    SampleClient client(m_port);
    ASSERT_TRUE(client.SendLayout(kPlantPath, {"series.n"}));
    ASSERT_TRUE(Send("series n=-1.5\n"));
    server::test::ExpectSampleBecomes(client, {DoubleBytes(-1.5)}, kInFileMs);
    ASSERT_TRUE(m_server->stop());

    const QStringList endings = LogLinesStartingWith(ended);
    ASSERT_EQ(endings.size(), 1) << LogLines().join('\n').toStdString();
    EXPECT_TRUE(endings[0].contains(QStringLiteral("the file size limit of %1 bytes is reached").arg(kFileSizeLimit)))
        << endings[0].toStdString();
    EXPECT_TRUE(LogLinesStartingWith(QStringLiteral("Recording stopped")).isEmpty());
    const QStringList files = RecordingFiles(m_folder.path());
    ASSERT_EQ(files.size(), 1);
    RecordingFile file(files[0]);
    EXPECT_EQ(file.problem(), "");
    EXPECT_GE(file.SampleCount(), kChunk);
}

TEST_F(RecordingServer, ARecordingThatReachesThePartSizeContinuesInTheNextFile)
{
    constexpr int kValues = 40000;
    vexa::test::ServerProcess::Launch launch;
    launch.environment.emplace(QStringLiteral("VEXALINK_RECORD_PART_BYTES"), QStringLiteral("262144"));
    Start(launch);
    ASSERT_TRUE(Send(Series(0, kValues)));
    ASSERT_TRUE(WaitUntilRecorded(kValues));
    ASSERT_TRUE(m_server->stop());

    const QStringList files = RecordingFiles(m_folder.path());
    ASSERT_GE(files.size(), 3);
    std::size_t next = 0;
    for (const QString& path : files) {
        RecordingFile file(path);
        ASSERT_EQ(file.problem(), "") << path.toStdString();
        for (const Reading& reading : file.Readings())
            ASSERT_EQ(reading.value, double(next++)) << path.toStdString();
    }
    EXPECT_EQ(next, std::size_t(kValues));
    for (qsizetype part = 1; part < files.size(); ++part)
        EXPECT_EQ(LogLinesStartingWith("Recording continues in " + files[part]).size(), 1) << files[part].toStdString();
}

}  // namespace
}  // namespace vexa::server::recording::test
