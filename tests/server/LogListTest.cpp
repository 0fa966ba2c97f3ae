#include "server/LogEntryDelegate.h"
#include "server/LogList.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>

namespace vexa::server {
namespace {

TEST(LogList, EveryPieceBetweenLineBreaksIsOneEntry)
{
    struct Case {
        const char* text;
        QStringList entries;
    };
    const Case cases[] = {
        {"one line", {"one line"}},
        {"first\nsecond\nthird", {"first", "second", "third"}},
        {"", {""}},
        {"\nSIMULATE MODE ON", {"", "SIMULATE MODE ON"}},
        {"Number of Measurements: 7\n", {"Number of Measurements: 7", ""}},
        {"a\n\n\nb", {"a", "", "", "b"}},
        {"\tcolumns\tkept", {"\tcolumns\tkept"}},
    };
    for (const Case& testCase : cases) {
        LogList log;
        log.LogLine(QString::fromLatin1(testCase.text));
        EXPECT_EQ(log.entries(), testCase.entries) << testCase.text;
    }
}

TEST(LogList, EntriesAccumulateUntilCleared)
{
    LogList log;
    EXPECT_EQ(log.objectName(), QStringLiteral("107"));
    log.LogLine(QStringLiteral("Verbose mode ON"));
    log.LogLine(QStringLiteral("x\ny"));
    EXPECT_EQ(log.entries(), (QStringList{"Verbose mode ON", "x", "y"}));
    log.clearLog();
    EXPECT_TRUE(log.entries().isEmpty());
    log.LogLine(QStringLiteral("after"));
    EXPECT_EQ(log.entries(), QStringList{"after"});
}

TEST(LogList, AFullLogEmptiesItselfAndGoesOn)
{
    LogList log;
    for (int i = 0; i < LogList::kMaxEntries - 1; ++i)
        log.LogLine(QString::number(i));
    ASSERT_EQ(log.count(), LogList::kMaxEntries - 1);

    // The first piece fills the log; the second finds it full.
    log.LogLine(QStringLiteral("last\nfirst again\nsecond again"));
    EXPECT_EQ(log.entries(), (QStringList{"first again", "second again"}));
}

TEST(LogEntryDelegate, TabsMoveToTheNextStopOfEightColumns)
{
    struct Case {
        const char* text;
        const char* expanded;
    };
    const Case cases[] = {
        {"no tabs", "no tabs"},
        {"\tx", "        x"},
        {"1:\t00255\tPRESSURE", "1:      00255   PRESSURE"},
        {"1234567\tx", "1234567 x"},
        {"12345678\tx", "12345678        x"},
        {"\t\tx", "                x"},
        {"a\t", "a       "},
    };
    for (const Case& testCase : cases)
        EXPECT_EQ(LogEntryDelegate::ExpandTabs(QString::fromLatin1(testCase.text)),
                  QString::fromLatin1(testCase.expanded))
            << testCase.text;
}

TEST(LogEntryDelegate, ListingColumnsLineUp)
{
    const QString name = QStringLiteral("Name").leftJustified(32);
    const QString header = QStringLiteral("#\tAddress\t%1\tValue").arg(name);
    const QString row =
        QStringLiteral("12:\t00255\t%1\t-12.5000").arg(QStringLiteral("PRESSURE").leftJustified(32));
    const QString shownHeader = LogEntryDelegate::ExpandTabs(header);
    const QString shownRow = LogEntryDelegate::ExpandTabs(row);
    EXPECT_EQ(shownHeader.indexOf(QStringLiteral("Address")), shownRow.indexOf(QStringLiteral("00255")));
    EXPECT_EQ(shownHeader.indexOf(QStringLiteral("Name")), shownRow.indexOf(QStringLiteral("PRESSURE")));
    EXPECT_EQ(shownHeader.indexOf(QStringLiteral("Value")), shownRow.indexOf(QStringLiteral("-12.5000")));
}

class ShownLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_log.resize(kWidth, kHeight);
        m_log.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_log));
    }

    static constexpr int kWidth = 300;
    static constexpr int kHeight = 150;
    LogList m_log;
};

TEST_F(ShownLog, TheLastEntryLoggedIsInView)
{
    for (int i = 0; i < 200; ++i)
        m_log.LogLine(QStringLiteral("line %1").arg(i));
    QApplication::processEvents();
    const QRect last = m_log.visualItemRect(m_log.item(m_log.count() - 1));
    EXPECT_TRUE(m_log.viewport()->rect().contains(last)) << last.y();
    EXPECT_GT(m_log.topVisibleEntry(), 0);
    EXPECT_EQ(m_log.verticalScrollBar()->value(), m_log.verticalScrollBar()->maximum());

    m_log.clearLog();
    m_log.LogLine(QStringLiteral("alone"));
    QApplication::processEvents();
    EXPECT_EQ(m_log.topVisibleEntry(), 0);
}

TEST_F(ShownLog, TheHorizontalRangeReachesTheWidestEntry)
{
    // The entries share one size, taken from one of them; a long line among
    // short ones must still be reachable by scrolling.
    m_log.LogLine(QStringLiteral("short"));
    m_log.LogLine(QString(200, QLatin1Char('W')) + QStringLiteral("\tend"));
    m_log.LogLine(QStringLiteral("short again"));
    QApplication::processEvents();
    const int widest = m_log.fontMetrics().horizontalAdvance(QString(200, QLatin1Char('W')));
    EXPECT_GE(m_log.horizontalScrollBar()->maximum() + m_log.viewport()->width(), widest);

    m_log.clearLog();
    m_log.LogLine(QStringLiteral("short"));
    QApplication::processEvents();
    EXPECT_EQ(m_log.horizontalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace vexa::server
