// The replay input and the Replay window in this process, on a real value
// table and real recordings: seeking, stepping, the span, the end and the
// loop, and how the window shows a file it refused.

#include "InputTestSupport.h"

#include "server/ReplayWindow.h"
#include "server/inputs/ValueTable.h"
#include "server/replay/ReplayInput.h"
#include "support/TestRecording.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <utility>

namespace vexa::server::test {
namespace {

constexpr double kStart = 1765270800.0;
constexpr int kWaitMs = vexa::test::kWaitTimeoutMs;

/// A replay into a value table of its own, of a recording with A at 0, 1,
/// 2 and 3 s (values 1 to 4) and B at 1.5 s (10) and 3 s (20).
class ReplayInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(vexa::test::WriteRecording(m_path, {"A", "B"},
                                             {{kStart, 0, 1.0, {}},
                                              {kStart + 1, 0, 2.0, {}},
                                              {kStart + 1.5, 1, 10.0, kStart},
                                              {kStart + 2, 0, 3.0, {}},
                                              {kStart + 3, 0, 4.0, {}},
                                              {kStart + 3, 1, 20.0, {}}}),
                  "");
    }

    /// The value of \p name in the table; nullopt while it was never stored.
    std::optional<double> Value(const char* name) const
    {
        const std::optional<std::size_t> index = m_table.find(name);
        if (!index.has_value())
            return std::nullopt;
        return m_table.entry(*index).value;
    }
    QString path() const { return QString::fromStdString(m_path); }

    vexa::test::ScratchDir m_dir;
    std::string m_path = m_dir.path("replay.sqlite3");
    ValueTable m_table;
    TextLog m_log;
    ReplayInput m_replay{0, m_table, m_log};
};

TEST_F(ReplayInputTest, StepsGoFromStoredTimeToStoredTimeAndSeeksTakeTheValuesBefore)
{
    ASSERT_TRUE(m_replay.Open(path()));
    EXPECT_EQ(m_replay.state(), InputState::Replaying);
    EXPECT_FALSE(m_replay.isPlaying());
    EXPECT_EQ(m_replay.position(), kStart);
    EXPECT_TRUE(std::isnan(*Value("A")));

    struct Step {
        double position;
        double a;
        std::optional<double> b;  ///< nullopt for NaN
    };
    const Step steps[] = {
        {kStart, 1, std::nullopt}, {kStart + 1, 2, std::nullopt}, {kStart + 1.5, 2, 10},
        {kStart + 2, 3, 10},       {kStart + 3, 4, 20},
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(m_replay.Step()) << step.position - kStart;
        EXPECT_EQ(m_replay.position(), step.position);
        EXPECT_EQ(Value("A"), step.a) << step.position - kStart;
        if (step.b.has_value())
            EXPECT_EQ(Value("B"), step.b) << step.position - kStart;
        else
            EXPECT_TRUE(std::isnan(*Value("B"))) << step.position - kStart;
    }
    EXPECT_FALSE(m_replay.Step());
    EXPECT_EQ(m_replay.position(), kStart + 3);

    // Back into the middle: the values before it, and the rows at the new
    // place come with the next step.
    m_replay.Seek(kStart + 1.5);
    EXPECT_EQ(m_replay.position(), kStart + 1.5);
    EXPECT_EQ(Value("A"), 2.0);
    EXPECT_TRUE(std::isnan(*Value("B")));
    ASSERT_TRUE(m_replay.Step());
    EXPECT_EQ(Value("B"), 10.0);
    EXPECT_EQ(m_table.entry(*m_table.find("B")).sourceTime, kStart);

    // Outside the span: held to it. Before the first row no name has a value.
    m_replay.Seek(kStart - 100);
    EXPECT_EQ(m_replay.position(), kStart);
    EXPECT_TRUE(std::isnan(*Value("A")));
    m_replay.Seek(kStart + 100);
    EXPECT_EQ(m_replay.position(), kStart + 3);
    EXPECT_EQ(Value("A"), 3.0);

    // The clock's time of day is the local time of the position.
    EXPECT_EQ(m_replay.timeOfDay(), QDateTime::fromMSecsSinceEpoch(qint64(kStart + 3) * 1000).time());
}

TEST_F(ReplayInputTest, ASpanKeepsTheReplayBetweenItsBounds)
{
    ASSERT_TRUE(m_replay.Open(path(), TimeArgument{1.5, true}, TimeArgument{kStart + 2, false}));
    EXPECT_EQ(m_replay.range().from, kStart + 1.5);
    EXPECT_EQ(m_replay.range().to, kStart + 2);
    // Opened at the span's start with the values before it.
    EXPECT_EQ(Value("A"), 2.0);
    ASSERT_TRUE(m_replay.Step());
    EXPECT_EQ(Value("B"), 10.0);
    ASSERT_TRUE(m_replay.Step());
    EXPECT_EQ(Value("A"), 3.0);
    EXPECT_FALSE(m_replay.Step());
    EXPECT_EQ(Value("A"), 3.0);
    EXPECT_EQ(Value("B"), 10.0);

    // A span outside the file is refused; the replay open goes on as it was.
    EXPECT_FALSE(m_replay.Open(path(), TimeArgument{5, true}, std::nullopt));
    EXPECT_TRUE(m_replay.isOpen());
    EXPECT_EQ(m_replay.range().from, kStart + 1.5);
    EXPECT_TRUE(m_replay.lastError().contains(QStringLiteral("nothing is stored from")));
}

TEST_F(ReplayInputTest, PlayingRunsToTheEndOrLoops)
{
    ASSERT_TRUE(m_replay.Open(path()));
    m_replay.setSpeed(1000);
    EXPECT_EQ(m_replay.speed(), ReplayInput::kFastest);
    m_replay.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_replay.isPlaying(); }, kWaitMs));
    EXPECT_EQ(m_replay.position(), kStart + 3);
    EXPECT_EQ(Value("A"), 4.0);
    EXPECT_EQ(Value("B"), 20.0);
    EXPECT_EQ(std::as_const(m_replay).counters().messages, 6u);
    EXPECT_TRUE(m_log.texts.contains(QStringLiteral("Replay: reached the end at %1").arg(TimeText(kStart + 3))));

    // Looping: the whole file over and over until paused.
    m_replay.setLoop(true);
    m_replay.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::as_const(m_replay).counters().messages >= 6u * 4; }, kWaitMs));
    EXPECT_TRUE(m_replay.isPlaying());
    m_replay.Pause();
    EXPECT_FALSE(m_replay.isPlaying());
    const double paused = m_replay.position();
    EXPECT_GE(paused, kStart);
    EXPECT_LE(paused, kStart + 3);
    EXPECT_EQ(m_replay.position(), paused);
}

TEST_F(ReplayInputTest, TheWindowShowsWhyAFileWasRefusedAndPlaysOneThatOpens)
{
    vexa::test::ScriptedFileDialogs dialogs;
    ReplayWindow window(m_replay, m_log, nullptr);
    window.show();
    auto* error = window.findChild<QLabel*>(QStringLiteral("error"));
    auto* play = window.findChild<QPushButton*>(QStringLiteral("play"));
    ASSERT_NE(error, nullptr);
    ASSERT_NE(play, nullptr);
    EXPECT_FALSE(play->isEnabled());

    const std::string bad = m_dir.path("bad.csv");
    vexa::test::WriteFileBytes(bad, "time,A\r\n1,2\r\n2,two\r\n");
    dialogs.script(QString::fromStdString(bad));
    window.OpenFile();
    const QString why = QString::fromStdString(bad) + QStringLiteral(": line 3: \"two\" in column \"A\" is not a number");
    EXPECT_EQ(error->text(), why);
    EXPECT_EQ(m_log.texts.filter(QStringLiteral("line 3")), QStringList{QStringLiteral("Replay: failed: ") + why});
    EXPECT_EQ(m_replay.state(), InputState::Failed);
    EXPECT_FALSE(play->isEnabled());

    dialogs.script(path());
    window.OpenFile();
    EXPECT_EQ(error->text(), QString());
    EXPECT_TRUE(play->isEnabled());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("time"))->text(), TimeText(kStart));
    window.findChild<QPushButton*>(QStringLiteral("step"))->click();
    window.findChild<QPushButton*>(QStringLiteral("step"))->click();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("time"))->text(), TimeText(kStart + 1));
    EXPECT_EQ(window.findChild<QSlider*>(QStringLiteral("position"))->value(), ReplayWindow::kSliderSteps / 3);

    // The slider seeks, to within one of its steps.
    window.findChild<QSlider*>(QStringLiteral("position"))->setValue(ReplayWindow::kSliderSteps / 2);
    EXPECT_EQ(m_replay.position(), kStart + 1.5);
    EXPECT_EQ(Value("A"), 2.0);
    EXPECT_TRUE(std::isnan(*Value("B")));

    // The marks bound the export: from 1.5 s, where B comes, to 2 s.
    window.MarkStart();
    m_replay.Step();
    m_replay.Step();
    window.MarkEnd();
    const std::string csv = m_dir.path("range.csv");
    dialogs.script(QString::fromStdString(m_dir.path("range")));
    window.ExportRange();
    EXPECT_EQ(vexa::test::ReadFileBytes(csv), "time,A,B\n1765270801.5,2,10\n1765270802,3,10\n");
    EXPECT_TRUE(m_log.texts.contains(QStringLiteral("Replay: exported 2 rows from %1 to %2 into %3")
                                         .arg(TimeText(kStart + 1.5), TimeText(kStart + 2), QString::fromStdString(csv))));

    // A file refused while another is open leaves that one playing.
    m_replay.Play();
    dialogs.script(QString::fromStdString(bad));
    window.OpenFile();
    EXPECT_EQ(error->text(), why);
    EXPECT_TRUE(m_replay.isPlaying());
    EXPECT_EQ(m_replay.file()->path(), path());
    EXPECT_TRUE(m_log.texts.contains(QStringLiteral("Replay: refused %1; %2 goes on").arg(why, path())));
}

}  // namespace
}  // namespace vexa::server::test
