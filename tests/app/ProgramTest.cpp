#include "FrameTestSupport.h"

#include "document/DocumentPaths.h"
#include "document/Recovery.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/syscall.h>

namespace vexa::test {
namespace {

/// Room for the program to start, open its file and end.
constexpr int kProgramWaitMs = 15000;
/// How soon a program asked to end by the session must have ended.
constexpr int kEndWithinMs = 2000;

/// Whether the main thread of process \p pid sleeps waiting for events: in
/// the loop of a box shown during start-up, or in the application's loop.
bool IsWaitingForEvents(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/syscall").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool isNumber = false;
    const long call = file.readAll().split(' ').value(0).toLong(&isNumber);
#ifdef SYS_poll
    if (isNumber && call == SYS_poll)
        return true;
#endif
    return isNumber && call == SYS_ppoll;
}

TEST(Program, EndedBySigtermWhateverIsOpenItLeavesTheFilesAndKeepsOnlyARecovery)
{
    WriteSettings(OfflineSettings());
    struct Case {
        const char* name;
        /// Writes the document into the directory; its path.
        std::function<std::string(const ScratchDir&)> make;
        const char* view;
        /// A recovery lies beside the document, and stays.
        bool recovery;
        /// SIGTERMs sent in a row.
        int terms = 1;
    };
    const auto padded = [](const ScratchDir& dir) {
        return WriteDocument(dir, "big.dsp", PlantDisplayFile() + "[Pad]\r\nX=" + std::string(64001, 'x') + "\r\n",
                             PlantMeasurementFile());
    };
    const auto crowdedXy = [](const ScratchDir& dir) {
        std::string display = "[W1]\r\nT=Crowded\r\nP=XYPlot\r\n";
        std::string measurements;
        for (int n = 1; n <= 8; ++n) {
            display += "M" + std::to_string(n) + "=N" + std::to_string(n) + "\r\n";
            measurements += "[N" + std::to_string(n) + "]\r\n";
        }
        return WriteDocument(dir, "xy.dsp", display + "[V1]\r\nT=Pair\r\nW1=Crowded\r\n", measurements);
    };
    const auto noMeasurements = [](const ScratchDir& dir) {
        const std::string path = dir.path("alone.dsp");
        WriteFileBytes(path, PlantDisplayFile());
        return path;
    };
    const auto plant = [](const ScratchDir& dir) { return WritePlant(dir, "plant.dsp"); };
    const auto recovered = [](const ScratchDir& dir) {
        const std::string path = WritePlant(dir, "plant.dsp");
        WriteFileBytes(WorkingDisplayCopyFor(path), PlantDisplayFile() + "[V3]\r\nT=New\r\nW1=Flow\r\n");
        WriteFileBytes(WorkingMeasurementCopyFor(path), PlantMeasurementFile());
        WriteRecoveryNote(WorkingDisplayCopyFor(path), path);
        return path;
    };
    const Case cases[] = {
        {"the size warning", padded, nullptr, false},
        {"the XY plot's count error", crowdedXy, "Pair", false},
        {"the copy error of a missing measurement file", noMeasurements, nullptr, false},
        {"a document open in the main loop", plant, nullptr, false},
        {"the history windows of a view", plant, "Main", false},
        {"the recovery question", recovered, nullptr, true},
        {"two signals at the recovery question", recovered, nullptr, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string path = c.make(dir);
        const std::string measurementPath = MeasurementPathFor(path);
        const std::string copies[] = {WorkingDisplayCopyFor(path), WorkingMeasurementCopyFor(path),
                                      RecoveryNoteFor(WorkingDisplayCopyFor(path))};
        const std::string before[] = {ReadFileBytes(path), ReadFileBytes(measurementPath),
                                      ReadFileBytes(copies[0]), ReadFileBytes(copies[1]), ReadFileBytes(copies[2])};
        QStringList arguments{QStringLiteral("-F"), QString::fromStdString(path)};
        if (c.view != nullptr)
            arguments << QStringLiteral("-V") << QString::fromLatin1(c.view);

        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(VEXAVIEW_PATH), arguments);
        ASSERT_TRUE(program.waitForStarted(kProgramWaitMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return IsWaitingForEvents(program.processId()); }, kProgramWaitMs));

        for (int n = 0; n < c.terms; ++n)
            program.terminate();
        EXPECT_TRUE(program.waitForFinished(kEndWithinMs));
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(kProgramWaitMs);
            continue;
        }
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_EQ(ReadFileBytes(path), before[0]);
        EXPECT_EQ(ReadFileBytes(measurementPath), before[1]);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(FileExists(copies[i]), c.recovery) << copies[i];
            EXPECT_EQ(ReadFileBytes(copies[i]), before[2 + i]) << copies[i];
        }
        EXPECT_FALSE(FileExists(ScratchCopyFor(copies[0])));
    }
}

}  // namespace
}  // namespace vexa::test
