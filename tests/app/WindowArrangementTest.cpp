#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "app/WindowListMenu.h"
#include "banner/Banner.h"
#include "document/DocumentPaths.h"
#include "document/Placement.h"
#include "document/ProfileStore.h"
#include "graphs/GraphWindows.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

using app::CommandId;
using app::FrameCommand;

constexpr int kSaveSizes = CommandId(FrameCommand::SaveWindowSizes);
constexpr int kReInitialize = CommandId(FrameCommand::ReInitializeWindows);
constexpr int kCloseAll = CommandId(FrameCommand::CloseAll);
constexpr int kArrangeIcons = CommandId(FrameCommand::ArrangeIcons);

const char* const kDisplay = "[W1]\r\nT=A\r\nM1=X\r\nR=5 5 300 200\r\n[W2]\r\nT=B\r\nM1=Y\r\n"
                             "[W3]\r\nT=C\r\nM1=Z\r\n"
                             "[V1]\r\nT=Pair\r\nW1=A\r\nR1=10 10 300 200\r\nW2=B\r\nR2=40 40 300 200\r\n";

int GraphCommand(int number)
{
    return app::kFirstGraphCommand - 1 + number;
}

class Arrangement : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteSettings(OfflineSettings());
        m_path = WriteDocument(m_dir, "arrange.dsp", kDisplay);
        m_frame = StartFrame();
        CloseBanner();
        ASSERT_TRUE(OpenDisplayFile(*m_frame, m_path));
    }
    void TearDown() override
    {
        m_frame.reset();
        CloseBanner();
    }

    std::string read(const std::string& section, const std::string& key) const
    {
        return profile::ReadString(section, key, "absent", m_frame->probe().document.workingDisplayCopy());
    }
    bool isEnabled(int id) const { return IsItemEnabled(*m_frame, id); }

    ScriptedMessages m_messages;
    ScratchDir m_dir;
    std::string m_path;
    std::unique_ptr<app::FrameWindow> m_frame;
};

TEST_F(Arrangement, SavingWithAViewCurrentWritesTheViewsPlacementsAndLeavesTheGraphsOwn)
{
    m_frame->SendCommand(app::kFirstViewCommand);
    // Placing the new windows counts as moving them.
    EXPECT_TRUE(isEnabled(kSaveSizes));
    m_frame->SendCommand(kSaveSizes);
    EXPECT_FALSE(isEnabled(kSaveSizes));
    EXPECT_EQ(read("V1", "R2"), "40 40 300 200");

    QMdiSubWindow* b = GraphWindowOf(*m_frame, 1);
    ASSERT_NE(b, nullptr);
    b->setGeometry(60, 70, 280, 190);
    EXPECT_TRUE(isEnabled(kSaveSizes));
    EXPECT_TRUE(isEnabled(kReInitialize));

    m_frame->SendCommand(kSaveSizes);
    EXPECT_EQ(read("V1", "R1"), FormatPlacement(graphs::PlacementOf(*GraphWindowOf(*m_frame, 0))));
    EXPECT_EQ(read("V1", "R2"), FormatPlacement(graphs::PlacementOf(*b)));
    EXPECT_EQ(read("V1", "R2"), FormatPlacement(Placement{60, 70, 280, 190}));
    EXPECT_EQ(read("W1", "R"), "5 5 300 200");
    EXPECT_EQ(read("W2", "R"), "absent");
    EXPECT_TRUE(m_frame->probe().document.isModified());
    EXPECT_TRUE(isEnabled(CommandId(FrameCommand::Save)));
    EXPECT_FALSE(isEnabled(kSaveSizes));
}

TEST_F(Arrangement, SavingWithoutAViewWritesEachOpenGraphsOwnPlacement)
{
    m_frame->SendCommand(GraphCommand(2));
    m_frame->SendCommand(GraphCommand(3));
    GraphWindowOf(*m_frame, 2)->setGeometry(33, 44, 250, 180);

    m_frame->SendCommand(kSaveSizes);
    EXPECT_EQ(read("W3", "R"), "33 44 250 180");
    EXPECT_EQ(read("W2", "R"), FormatPlacement(graphs::PlacementOf(*GraphWindowOf(*m_frame, 1))));
    EXPECT_EQ(read("W1", "R"), "5 5 300 200");
    EXPECT_EQ(read("V1", "R1"), "10 10 300 200");
    EXPECT_TRUE(m_frame->probe().document.isModified());
    EXPECT_FALSE(isEnabled(kSaveSizes));
}

TEST_F(Arrangement, SavingWithNoWindowOpenWritesNothingAndLeavesTheDocumentUnchanged)
{
    const std::string before = ReadFileBytes(m_frame->probe().document.workingDisplayCopy());
    m_frame->SendCommand(kSaveSizes);
    EXPECT_EQ(ReadFileBytes(m_frame->probe().document.workingDisplayCopy()), before);
    EXPECT_FALSE(m_frame->probe().document.isModified());
}

TEST_F(Arrangement, ReInitializeRebuildsEachWindowWhereTheUserLeftIt)
{
    // One window alone: closing it empties the name list, which the rebuilt
    // window needs again.
    m_frame->SendCommand(GraphCommand(1));
    QMdiSubWindow* before = GraphWindowOf(*m_frame, 0);
    ASSERT_NE(before, nullptr);
    before->setGeometry(37, 41, 333, 222);
    const Placement moved = graphs::PlacementOf(*before);
    EXPECT_TRUE(isEnabled(kReInitialize));

    m_frame->SendCommand(kReInitialize);
    QMdiSubWindow* after = GraphWindowOf(*m_frame, 0);
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ(graphs::PlacementOf(*after), moved);
    EXPECT_EQ(m_frame->probe().graphTable.record(0).measurementCount, 1);
    EXPECT_EQ(MdiAreaOf(*m_frame).subWindowList().size(), 1);
    EXPECT_FALSE(isEnabled(kReInitialize));
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(Arrangement, CloseAllAndClosingTheDocumentLeaveNoViewCurrent)
{
    m_frame->SendCommand(app::kFirstViewCommand);
    ASSERT_EQ(m_frame->probe().graphsAndViews.currentView(), 0);
    m_frame->SendCommand(kCloseAll);
    EXPECT_EQ(m_frame->probe().graphsAndViews.currentView(), -1);
    EXPECT_FALSE(m_frame->probe().graphTable.anyOpen());
    EXPECT_EQ(m_frame->probe().link.layout().count(), 0);

    // After Close another document's Save Window Sizes writes no view.
    m_frame->SendCommand(app::kFirstViewCommand);
    m_frame->SendCommand(CommandId(FrameCommand::Close));
    EXPECT_EQ(m_frame->probe().graphsAndViews.currentView(), -1);
    EXPECT_FALSE(m_frame->probe().graphTable.anyOpen());
}

TEST_F(Arrangement, PageCommandsFollowTheActiveWindow)
{
    constexpr int kPageCommands[] = {CommandId(FrameCommand::GraphAttributes),
                                     CommandId(FrameCommand::PrintCurrentPage), CommandId(FrameCommand::CopyPage)};
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    m_frame->SendCommand(GraphCommand(1));
    m_frame->SendCommand(GraphCommand(2));
    QMdiArea& area = MdiAreaOf(*m_frame);
    area.setActiveSubWindow(GraphWindowOf(*m_frame, 0));
    for (int id : kPageCommands)
        EXPECT_TRUE(isEnabled(id)) << id;

    area.setActiveSubWindow(nullptr);
    for (int id : kPageCommands)
        EXPECT_FALSE(isEnabled(id)) << id;

    area.setActiveSubWindow(GraphWindowOf(*m_frame, 1));
    for (int id : kPageCommands)
        EXPECT_TRUE(isEnabled(id)) << id;
    m_frame->SendCommand(kCloseAll);
    for (int id : kPageCommands)
        EXPECT_FALSE(isEnabled(id)) << id;
}

TEST_F(Arrangement, ArrangeIconsLinesTheMinimisedWindowsUpAlongTheBottom)
{
    for (int number = 1; number <= 3; ++number)
        m_frame->SendCommand(GraphCommand(number));
    QMdiSubWindow* first = GraphWindowOf(*m_frame, 0);
    QMdiSubWindow* open = GraphWindowOf(*m_frame, 1);
    QMdiSubWindow* third = GraphWindowOf(*m_frame, 2);
    first->showMinimized();
    third->showMinimized();
    first->move(200, 30);
    third->move(10, 90);
    const QRect openBefore = open->geometry();

    m_frame->SendCommand(kArrangeIcons);
    const int bottom = MdiAreaOf(*m_frame).viewport()->height();
    EXPECT_EQ(first->geometry().topLeft(), QPoint(0, bottom - first->height()));
    EXPECT_EQ(third->geometry().topLeft(), QPoint(first->width(), bottom - third->height()));
    EXPECT_EQ(open->geometry(), openBefore);
}

TEST_F(Arrangement, WindowMenuListsTheOpenGraphWindowsAndActivatesTheChosenOne)
{
    m_frame->SendCommand(GraphCommand(1));
    m_frame->SendCommand(GraphCommand(3));
    QMenu& menu = *MenuOf(*m_frame, QStringLiteral("&Window"));
    auto* list = menu.findChild<app::WindowListMenu*>();
    ASSERT_NE(list, nullptr);
    list->refresh();
    const QStringList texts = ItemTexts(menu);
    EXPECT_EQ(texts.mid(texts.size() - 3), QStringList({"", "&1 A", "&2 C"}));

    QAction* first = menu.findChild<QAction*>(QStringLiteral("2000"));
    ASSERT_NE(first, nullptr);
    first->trigger();
    EXPECT_EQ(MdiAreaOf(*m_frame).activeSubWindow(), GraphWindowOf(*m_frame, 0));

    m_frame->SendCommand(kCloseAll);
    list->refresh();
    EXPECT_EQ(ItemTexts(menu).last(), QStringLiteral("&ReInitialize Windows"));
}

}  // namespace
}  // namespace vexa::test
