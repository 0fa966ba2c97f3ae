#include "platform/PresenceMarker.h"

#include "ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

#include <string>

namespace vexa {
namespace {

/// Waits for a helper process; generous, only so that a broken helper cannot
/// hang the run.
constexpr int kHelperWaitMs = 30000;
/// The exit code we ask flock(1) to give when the lock is taken.
constexpr int kFlockConflictCode = 75;

const QString kTitle = QStringLiteral("VEXA Link Test");

class PresenceMarkerTest : public ::testing::Test {
protected:
    PresenceMarkerTest()
        : m_runtime("XDG_RUNTIME_DIR", QByteArray::fromStdString(m_scratch.path("run")))
    {
        ::mkdir(m_scratch.path("run").c_str(), 0700);
    }

    std::string markerPath() const { return PresenceMarker::MarkerPath(kTitle).toStdString(); }

    /// Skips the test when util-linux's flock is not installed.
    static QString FlockProgram() { return QStandardPaths::findExecutable("flock"); }

    test::ScratchDir m_scratch;
    test::ScopedEnvironment m_runtime;
};

TEST_F(PresenceMarkerTest, MarkerPathIsTheTitleInTheRuntimeDirectory)
{
    const struct {
        QString title;
        std::string fileName;
    } cases[] = {
        {QStringLiteral("VEXA Link"), "VEXA Link.lock"},
        {QStringLiteral("a/b/"), "a_b_.lock"},
        {QString::fromLatin1("x\0y", 3), "x_y.lock"},
        {QStringLiteral("Gr\u00FC\u00DFe"), "Gr\xC3\xBC\xC3\x9F" "e.lock"},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(PresenceMarker::MarkerPath(each.title).toStdString(),
                  m_scratch.path("run/") + each.fileName);
    }
}

TEST_F(PresenceMarkerTest, HoldingMakesItHeldAndReleasingFreesIt)
{
    EXPECT_FALSE(PresenceMarker::IsHeld(kTitle));

    PresenceMarker marker(kTitle);
    ASSERT_TRUE(marker.hold());
    EXPECT_TRUE(marker.isHolding());
    EXPECT_TRUE(PresenceMarker::IsHeld(kTitle));
    EXPECT_EQ(test::ReadFileBytes(markerPath()), std::to_string(::getpid()) + "\n");
    EXPECT_TRUE(marker.hold());

    marker.release();
    EXPECT_FALSE(marker.isHolding());
    EXPECT_FALSE(PresenceMarker::IsHeld(kTitle));
    EXPECT_FALSE(PresenceMarker::IsHeld(QStringLiteral("Other Title")));
}

TEST_F(PresenceMarkerTest, SecondHolderIsRefusedUntilTheFirstHasGone)
{
    PresenceMarker second(kTitle);
    {
        PresenceMarker first(kTitle);
        ASSERT_TRUE(first.hold());
        EXPECT_FALSE(second.hold());
        EXPECT_FALSE(second.isHolding());
    }
    EXPECT_FALSE(PresenceMarker::IsHeld(kTitle));
    EXPECT_TRUE(second.hold());
    EXPECT_TRUE(PresenceMarker::IsHeld(kTitle));
}

TEST_F(PresenceMarkerTest, AnotherProcessSeesOurMarker)
{
    const QString flock = FlockProgram();
    if (flock.isEmpty())
        GTEST_SKIP() << "flock(1) is not installed";
    const QStringList probe{"--nonblock", "--conflict-exit-code", QString::number(kFlockConflictCode),
                            QString::fromStdString(markerPath()), "true"};

    PresenceMarker marker(kTitle);
    ASSERT_TRUE(marker.hold());
    EXPECT_EQ(QProcess::execute(flock, probe), kFlockConflictCode);
    marker.release();
    EXPECT_EQ(QProcess::execute(flock, probe), 0);
}

TEST_F(PresenceMarkerTest, MarkerOfAnotherProcessIsSeenUntilThatProcessEnds)
{
    const QString flock = FlockProgram();
    if (flock.isEmpty())
        GTEST_SKIP() << "flock(1) is not installed";

    // The helper locks the marker, says so and keeps it until its input ends.
    QProcess holder;
    holder.start(flock, {QString::fromStdString(markerPath()), "sh", "-c", "echo locked; exec cat"});
    ASSERT_TRUE(holder.waitForStarted(kHelperWaitMs));
    while (!holder.canReadLine())
        ASSERT_TRUE(holder.waitForReadyRead(kHelperWaitMs));
    ASSERT_EQ(holder.readLine(), "locked\n");

    EXPECT_TRUE(PresenceMarker::IsHeld(kTitle));
    PresenceMarker marker(kTitle);
    EXPECT_FALSE(marker.hold());

    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(kHelperWaitMs));
    EXPECT_EQ(holder.exitCode(), 0);
    EXPECT_FALSE(PresenceMarker::IsHeld(kTitle));
    EXPECT_TRUE(marker.hold());
}

}  // namespace
}  // namespace vexa
