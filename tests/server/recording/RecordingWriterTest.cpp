// The recording writer and its queue on their own: what lands in the file,
// read back with SQLite as a user's query reads it.

#include "RecordingFiles.h"

#include "server/recording/RecordingQueue.h"
#include "server/recording/RecordingWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

namespace vexa::server::recording::test {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
/// 2026-12-09 08:30:15.250 UTC.
constexpr std::int64_t kStartedMs = 1796805015250;

RecordingWriter::Setup SetupIn(const QString& folder, std::int64_t partBytes = RecordingWriter::kDefaultPartBytes)
{
    RecordingWriter::Setup setup;
    setup.folder = folder.toStdString();
    setup.startedMs = kStartedMs;
    setup.program = "vexalink 1.0";
    setup.mode = "inputs";
    setup.partBytes = partBytes;
    return setup;
}

TEST(RecordingWriter, ValuesComeBackBitForBitWithNullForNan)
{
    QTemporaryDir folder;
    RecordingWriter writer(SetupIn(folder.path()));
    ASSERT_TRUE(writer.Open()) << writer.error();

    struct Case {
        double value;
        double sourceTime;
    };
    const Case cases[] = {
        {0.1, kNan},
        {1.7976931348623157e308, 1700000000.123456},
        {4.9e-324, kNan},
        {-273.15, 0.0},
        {3000.125, kNan},
        {-1e-300, kNan},
        {kNan, 1700000001.0},
    };
    RecordingBatch batch;
    batch.names = {{1, "engine.rpm"}, {2, "x"}};
    double time = 1796805015.25;
    for (const Case& each : cases) {
        batch.values.push_back({time, 1, each.value, each.sourceTime});
        time += 0.001;
    }
    ASSERT_TRUE(writer.Write(batch)) << writer.error();
    ASSERT_TRUE(writer.Close()) << writer.error();

    const QString expectedName = QString::fromStdString(RecordingWriter::LocalBaseName(kStartedMs / 1000)) + ".sqlite3";
    EXPECT_EQ(QFileInfo(QString::fromStdString(writer.path().string())).fileName(), expectedName);
    RecordingFile file(QString::fromStdString(writer.path().string()));
    ASSERT_EQ(file.problem(), "");
    const std::vector<Reading> readings = file.Readings();
    ASSERT_EQ(readings.size(), std::size(cases));
    for (std::size_t i = 0; i < readings.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(readings[i].name, "engine.rpm");
        EXPECT_EQ(Bits(readings[i].time), Bits(batch.values[i].time));
        EXPECT_EQ(readings[i].value.has_value(), !std::isnan(cases[i].value));
        if (readings[i].value.has_value()) {
            EXPECT_EQ(Bits(*readings[i].value), Bits(cases[i].value));
        }
        EXPECT_EQ(readings[i].sourceTime.has_value(), !std::isnan(cases[i].sourceTime));
        if (readings[i].sourceTime.has_value()) {
            EXPECT_EQ(Bits(*readings[i].sourceTime), Bits(cases[i].sourceTime));
        }
    }
    const std::map<std::string, std::string> expectedInfo = {{"format", "1"},
                                                             {"started", "2026-12-09T08:30:15.250Z"},
                                                             {"program", "vexalink 1.0"},
                                                             {"mode", "inputs"},
                                                             {"part", "1"}};
    EXPECT_EQ(file.Info(), expectedInfo);
}

TEST(RecordingWriter, AFullPartContinuesInTheNextWithEveryNameAndTheChainOfParts)
{
    constexpr int kBatches = 40;
    constexpr int kPerBatch = 1000;
    QTemporaryDir folder;
    RecordingWriter writer(SetupIn(folder.path(), 256 * 1024));
    ASSERT_TRUE(writer.Open()) << writer.error();
    double time = 1796805015.0;
    for (int b = 0; b < kBatches; ++b) {
        RecordingBatch batch;
        if (b == 0)
            batch.names = {{1, "a"}, {2, "b"}};
        if (b == kBatches / 2)
            batch.names = {{3, "late"}};
        for (int i = 0; i < kPerBatch; ++i) {
            time += 0.0001;
            batch.values.push_back({time, 1 + (i % (b < kBatches / 2 ? 2 : 3)), double(b * kPerBatch + i), kNan});
        }
        ASSERT_TRUE(writer.Write(batch)) << writer.error();
    }
    ASSERT_TRUE(writer.Close()) << writer.error();

    const QStringList files = RecordingFiles(folder.path());
    ASSERT_GE(files.size(), 3);
    EXPECT_EQ(files.last(), QString::fromStdString(writer.path().string()));
    double expected = 0.0;
    double lastTime = 0.0;
    for (qsizetype part = 0; part < files.size(); ++part) {
        SCOPED_TRACE(files[part].toStdString());
        RecordingFile file(files[part]);
        ASSERT_EQ(file.problem(), "");
        const std::map<std::string, std::string> info = file.Info();
        EXPECT_EQ(info.at("part"), std::to_string(part + 1));
        if (part == 0)
            EXPECT_FALSE(info.contains("previous"));
        else
            EXPECT_EQ(info.at("previous"), QFileInfo(files[part - 1]).fileName().toStdString());
        if (part > 0) {
            const QString base = QFileInfo(files[0]).completeBaseName();
            EXPECT_EQ(QFileInfo(files[part]).fileName(), base + "-" + QString::number(part + 1) + ".sqlite3");
        }
        // Each part stands alone: every value's name is in it.
        const std::vector<Reading> readings = file.Readings();
        EXPECT_EQ(file.SampleCount(), (long long)readings.size());
        for (const Reading& reading : readings) {
            ASSERT_EQ(*reading.value, expected);
            ASSERT_GE(reading.time, lastTime);
            expected += 1.0;
            lastTime = reading.time;
        }
    }
    EXPECT_EQ(expected, double(kBatches * kPerBatch));
}

TEST(RecordingWriter, ASecondRecordingOfTheSameSecondTakesTheNextSecondsName)
{
    QTemporaryDir folder;
    RecordingWriter first(SetupIn(folder.path()));
    RecordingWriter second(SetupIn(folder.path()));
    ASSERT_TRUE(first.Open());
    ASSERT_TRUE(second.Open());
    EXPECT_EQ(second.path().filename().string(),
              RecordingWriter::LocalBaseName(kStartedMs / 1000 + 1) + ".sqlite3");
}

TEST(RecordingWriter, AFolderThatCannotBeMadeIsNamedInTheError)
{
    QTemporaryDir folder;
    QFile blocker(folder.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QString inside = folder.filePath("file/recordings");
    RecordingWriter writer(SetupIn(inside));
    EXPECT_FALSE(writer.Open());
    EXPECT_NE(writer.error().find("cannot create " + inside.toStdString()), std::string::npos) << writer.error();
}

TEST(RecordingQueue, RefusesABatchBeyondItsBoundWithoutTakingItAndEndsAfterWhatIsQueued)
{
    RecordingQueue queue(3);
    RecordingBatch two;
    two.values.resize(2);
    ASSERT_TRUE(queue.Push(two));
    EXPECT_TRUE(two.values.empty());

    RecordingBatch more;
    more.names = {{1, "a"}};
    more.values.resize(2);
    EXPECT_FALSE(queue.Push(more));
    EXPECT_EQ(more.values.size(), 2u);
    EXPECT_EQ(more.names.size(), 1u);
    // Names alone always fit: the values to come need them.
    RecordingBatch namesOnly;
    namesOnly.names = {{1, "a"}};
    EXPECT_TRUE(queue.Push(namesOnly));

    queue.Close();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    RecordingBatch taken;
    EXPECT_EQ(queue.Pop(taken, deadline), RecordingQueue::PopResult::Batch);
    EXPECT_EQ(taken.values.size(), 2u);
    EXPECT_EQ(queue.Pop(taken, deadline), RecordingQueue::PopResult::Batch);
    EXPECT_EQ(taken.names.size(), 1u);
    EXPECT_EQ(queue.Pop(taken, deadline), RecordingQueue::PopResult::Closed);
    EXPECT_FALSE(queue.Push(namesOnly));
}

}  // namespace
}  // namespace vexa::server::recording::test
