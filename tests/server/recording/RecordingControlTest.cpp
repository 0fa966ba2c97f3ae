// Recording as the server's user drives it, on a real server window in
// this process: File > "Record", the settings file, the command line's
// folder, simulate mode, and the end of a recording at a file size limit
// as the log, the menu and the Sources window show it.

#include "EngineTestSupport.h"
#include "RecordingFiles.h"

#include "server/LogList.h"
#include "server/ServerWindow.h"
#include "server/SourcesWindow.h"
#include "server/recording/RecordingOptions.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <memory>

namespace vexa::server::recording::test {
namespace {

constexpr int kWaitMs = 10000;

class RecordingControlTest : public ::testing::Test {
protected:
    /// A started server without a transport whose settings hold \p keys.
    std::unique_ptr<ServerWindow> StartServer(const std::string& keys, std::optional<QString> folder = {})
    {
        vexa::test::WriteFileBytes(m_file, "[VEXA-Com]\r\nDataPath=5\r\n" + keys);
        auto window = std::make_unique<ServerWindow>(m_file, ServerWindow::LoadIcon());
        window->setRecordFolder(std::move(folder));
        window->start(ServerWindow::ShowMode::Normal);
        return window;
    }
    std::string FolderKey() const { return "RecordFolder=" + m_folder.path().toStdString() + "\r\n"; }

    static bool IsChecked(const ServerWindow& window) { return window.action(ServerCommand::Record)->isChecked(); }
    static QStringList LogStartingWith(const ServerWindow& window, const QString& start)
    {
        QStringList found;
        for (const QString& line : window.log().entries()) {
            if (line.startsWith(start))
                found.append(line);
        }
        return found;
    }
    static QString SourcesNotice(ServerWindow& window)
    {
        window.SendCommand(CommandId(ServerCommand::Sources));
        return window.inputCommands().sourcesWindow()->notice();
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_folder;
    std::string m_file = m_dir.filePath("VexaDisplay.ini").toStdString();
};

TEST_F(RecordingControlTest, TheRecordItemStartsAndStopsARecordingWithItsCheckMark)
{
    const std::unique_ptr<ServerWindow> window = StartServer(FolderKey());
    EXPECT_FALSE(window->recording().recorder().isRecording());
    EXPECT_FALSE(IsChecked(*window));
    EXPECT_EQ(window->action(ServerCommand::Record)->text(), QStringLiteral("Record"));

    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        window->SendCommand(CommandId(ServerCommand::Record));
        ASSERT_TRUE(window->recording().recorder().isRecording());
        EXPECT_TRUE(IsChecked(*window));
        const QString path = window->recording().recorder().path();
        EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(m_folder.path()).absolutePath());
        EXPECT_EQ(SourcesNotice(*window), QStringLiteral("Recording to %1").arg(path));

        window->SendCommand(CommandId(ServerCommand::Record));
        EXPECT_FALSE(window->recording().recorder().isRecording());
        EXPECT_FALSE(IsChecked(*window));
        EXPECT_EQ(LogStartingWith(*window, "Recording stopped: 0 values in " + path).size(), 1);
        EXPECT_TRUE(SourcesNotice(*window).startsWith("Recording stopped: 0 values in " + path));
        EXPECT_EQ(RecordingFile(path).problem(), "");
    }
    // Each start makes a file of its own.
    EXPECT_EQ(RecordingFiles(m_folder.path()).size(), 2);
    // The menu's choice is not kept in the settings file.
    EXPECT_EQ(vexa::test::ReadFileBytes(m_file).find("Record="), std::string::npos);
}

TEST_F(RecordingControlTest, ARecordingThatCannotStartLeavesTheItemUncheckedAndSaysWhy)
{
    vexa::test::WriteFileBytes(m_folder.filePath("file").toStdString(), "in the way");
    const QString folder = m_folder.filePath("file/recordings");
    const std::unique_ptr<ServerWindow> window = StartServer("RecordFolder=" + folder.toStdString() + "\r\n");
    window->SendCommand(CommandId(ServerCommand::Record));
    EXPECT_FALSE(window->recording().recorder().isRecording());
    EXPECT_FALSE(IsChecked(*window));
    const QStringList failures = LogStartingWith(*window, "Recording failed: cannot create " + folder + ": ");
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(SourcesNotice(*window), failures[0]);
}

TEST_F(RecordingControlTest, TheSettingsAndTheCommandLineRecordFromTheStart)
{
    QTemporaryDir other;
    struct Case {
        const char* what;
        std::string keys;
        std::optional<QString> commandLine;
        QString expectedFolder;  // empty: no recording
    };
    const Case cases[] = {
        {"Record=1 with a folder", "Record=1\r\n" + FolderKey(), {}, m_folder.path()},
        {"a folder alone", FolderKey(), {}, {}},
        {"Record=0", "Record=0\r\n" + FolderKey(), {}, {}},
        {"--record wins over the folder key", "Record=0\r\n" + FolderKey(), other.path(), other.path()},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        const std::unique_ptr<ServerWindow> window = StartServer(each.keys, each.commandLine);
        EXPECT_EQ(window->recording().recorder().isRecording(), !each.expectedFolder.isEmpty());
        EXPECT_EQ(IsChecked(*window), !each.expectedFolder.isEmpty());
        if (!each.expectedFolder.isEmpty()) {
            EXPECT_EQ(QFileInfo(window->recording().recorder().path()).absolutePath(),
                      QDir(each.expectedFolder).absolutePath());
        }
        window->FinishShutdown();
    }
}

TEST(RecordingOptions, RecordTakesAFolderAndTheDefaultLiesInTheUsersDataFolder)
{
    struct Case {
        QStringList arguments;
        std::optional<QString> folder;
        bool error;
    };
    const Case cases[] = {
        {{"vexalink"}, {}, false},
        {{"vexalink", "--record", "/data/rec"}, "/data/rec", false},
        {{"vexalink", "--line-udp", "8089", "--record=/data/rec"}, "/data/rec", false},
        {{"vexalink", "--record"}, {}, true},
        {{"vexalink", "--record="}, {}, true},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.arguments.join(' ').toStdString());
        const RecordingOption option = ParseRecordingOption(each.arguments);
        EXPECT_EQ(option.folder, each.folder);
        EXPECT_EQ(!option.error.isEmpty(), each.error);
    }
    EXPECT_EQ(ParseRecordingOption({"vexalink", "--record"}).error, QStringLiteral("--record needs a folder"));

    QTemporaryDir data;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    EXPECT_EQ(RecordingSettings::DefaultFolder(), data.path() + "/VexaDisplay/recordings");
    qputenv("XDG_DATA_HOME", saved);
}

/// A simulate layout of \p count names, the generators stopped so that the
/// test steps them.
void StartSimulating(ServerWindow& window, int count)
{
    std::vector<QByteArray> names;
    for (int i = 0; i < count; ++i)
        names.push_back((i % 2 == 0 ? "COS" : "SIN") + QByteArray::number(i));
    server::test::SendLayout(window.engine(), "/data/SIMULATE.mvx", names);
    window.engine().StopTimers();
}

TEST_F(RecordingControlTest, SimulateModeRecordsEachGeneratorStepOnce)
{
    const std::unique_ptr<ServerWindow> window = StartServer("Record=1\r\n" + FolderKey());
    SampleEngine& engine = window->engine();
    StartSimulating(*window, 2);
    std::vector<double> expected;
    for (int step = 0; step < 3; ++step) {
        engine.FastTick();
        engine.SampleStep();
        expected.push_back(engine.sample().value(0));
        expected.push_back(engine.sample().value(1));
        // A further request within the same step adds nothing.
        engine.SampleStep();
    }
    const QString path = window->recording().recorder().path();
    window->FinishShutdown();

    RecordingFile file(path);
    ASSERT_EQ(file.problem(), "");
    EXPECT_EQ(file.Info().at("mode"), "simulate");
    const std::vector<Reading> readings = file.Readings();
    ASSERT_EQ(readings.size(), expected.size());
    for (std::size_t i = 0; i < readings.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(readings[i].name, i % 2 == 0 ? "COS0" : "SIN1");
        EXPECT_EQ(Bits(readings[i].value.value()), Bits(expected[i]));
        EXPECT_FALSE(readings[i].sourceTime.has_value());
    }
}

/// Lowers this process's file size limit for the life of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        const rlimit lowered{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

TEST_F(RecordingControlTest, AFileSizeLimitEndsTheRecordingInTheLogTheMenuAndTheSourcesWindow)
{
    constexpr rlim_t kLimit = 64 * 1024;
    const std::unique_ptr<ServerWindow> window = StartServer("Record=1\r\n" + FolderKey());
    ASSERT_TRUE(window->recording().recorder().isRecording());
    const QString path = window->recording().recorder().path();
    StartSimulating(*window, 600);
    {
        const FileSizeLimit limit(kLimit);
        const bool ended = QTest::qWaitFor(
            [&] {
                window->engine().FastTick();
                window->engine().SampleStep();
                return !window->recording().recorder().isRecording();
            },
            kWaitMs);
        ASSERT_TRUE(ended);
    }
    const QString ending = QStringLiteral("Recording ended: cannot write %1: disk I/O error (the file size limit of %2 bytes is reached)")
                               .arg(path)
                               .arg(kLimit);
    EXPECT_EQ(LogStartingWith(*window, "Recording ended: "), QStringList{ending});
    EXPECT_FALSE(IsChecked(*window));
    EXPECT_EQ(SourcesNotice(*window), ending);
    // The server goes on answering from its generators.
    window->engine().FastTick();
    window->engine().SampleStep();
    EXPECT_EQ(window->engine().sample().value(0), window->engine().generatorOutput(0));
    EXPECT_EQ(RecordingFile(path).problem(), "");
}

}  // namespace
}  // namespace vexa::server::recording::test
