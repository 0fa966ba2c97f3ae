#include "FrameTestSupport.h"

#include "document/DocumentPaths.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

/// Room for the program to start, open its file and end.
constexpr int kProgramWaitMs = 15000;

TEST(Program, EndedBySigtermItClosesInOrderAndLeavesNoWorkingCopies)
{
    WriteSettings(OfflineSettings());
    ScratchDir dir;
    const std::string path = WritePlant(dir, "plant.dsp");
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(VEXAVIEW_PATH), {QStringLiteral("-F"), QString::fromStdString(path)});
    ASSERT_TRUE(program.waitForStarted(kProgramWaitMs));
    const std::string working = WorkingDisplayCopyFor(path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return FileExists(working); }, kProgramWaitMs));

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(kProgramWaitMs));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(FileExists(working));
    EXPECT_FALSE(FileExists(WorkingMeasurementCopyFor(path)));
}

}  // namespace
}  // namespace vexa::test
