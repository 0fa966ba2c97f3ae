#include "editors/graph/NumberBox.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

using editors::NumberBox;

TEST(NumberBox, FlagsExactlyTheTextsThatReadAsZeroForWantOfANumber)
{
    struct Case {
        const char* text;
        bool flagged;
    };
    const Case cases[]{
        {"0.0", false}, {"-12.5", false}, {"  3", false}, {"1e3", false}, {"+.5", false},
        {"12 V", false},  // read as 12
        {"", true},       {"abc", true},  {"-", true},    {".", true},    {"e5", true}, {"  ", true},
    };
    QLineEdit box;
    NumberBox* watcher = NumberBox::Watch(box);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        box.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(watcher->isFlagged(), c.flagged);
        EXPECT_EQ(editors::ReadsAsNumber(box.text()), !c.flagged);
        const QString warning = c.flagged ? QString::fromLatin1(editors::kNotANumberText) : QString();
        EXPECT_EQ(box.toolTip(), warning);
        EXPECT_EQ(box.accessibleDescription(), warning);
        EXPECT_EQ(box.styleSheet().contains("red"), c.flagged);
    }
}

TEST(NumberBox, LeavesAnEmptyBoxAloneWhereEmptyKeepsTheDefault)
{
    QLineEdit box;
    NumberBox* watcher = NumberBox::Watch(box, NumberBox::EmptyText::Accepted);
    for (const char* text : {"", "  "}) {
        box.setText(QString::fromLatin1(text));
        EXPECT_FALSE(watcher->isFlagged()) << '"' << text << '"';
    }
    box.setText(QStringLiteral("abc"));
    EXPECT_TRUE(watcher->isFlagged());
}

TEST(NumberBox, FollowsTypingAtOnce)
{
    QLineEdit box(QStringLiteral("5"));
    NumberBox* watcher = NumberBox::Watch(box);
    EXPECT_FALSE(watcher->isFlagged());
    box.selectAll();
    QTest::keyClicks(&box, "x");
    EXPECT_TRUE(watcher->isFlagged());
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClicks(&box, "7");
    EXPECT_FALSE(watcher->isFlagged());
    EXPECT_TRUE(box.toolTip().isEmpty());
}

}  // namespace
}  // namespace vexa::test
