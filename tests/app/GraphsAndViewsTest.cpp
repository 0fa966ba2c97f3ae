#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "app/MoreWindowsDialog.h"
#include "banner/Banner.h"
#include "document/GraphTable.h"
#include "document/Placement.h"
#include "graphs/GraphWindows.h"

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace vexa::test {
namespace {

using app::GraphsAndViews;
using app::MoreWindowsDialog;

constexpr int kMoreGraphs = app::kMoreGraphsCommand;
constexpr int kMoreViews = app::kMoreViewsCommand;

int GraphCommand(int number)
{
    return app::kFirstGraphCommand - 1 + number;
}

int ViewCommand(int number)
{
    return app::kFirstViewCommand - 1 + number;
}

/// The identifiers of a popup's items, in order.
std::vector<int> ItemCommands(const QMenu& menu)
{
    std::vector<int> ids;
    for (const QAction* item : menu.actions())
        ids.push_back(item->data().toInt());
    return ids;
}

class GraphMenus : public ::testing::Test {
protected:
    void SetUp() override { WriteSettings(OfflineSettings()); }
    void TearDown() override { CloseBanner(); }

    /// A frame with \p display (and \p measurements) open.
    std::unique_ptr<app::FrameWindow> openDocument(const std::string& display, const std::string& measurements = {})
    {
        auto frame = StartFrame();
        CloseBanner();
        const std::string path = WriteDocument(m_dir, "plant.dsp", display, measurements);
        EXPECT_TRUE(OpenDisplayFile(*frame, path));
        return frame;
    }

    ScriptedMessages m_messages;
    ScratchDir m_dir;
};

TEST_F(GraphMenus, GraphsPopupOffersTheFirst21ClosedGraphsAndMoreTheRest)
{
    struct Case {
        int graphs;
        std::set<int> open;
    };
    const Case cases[] = {
        {25, {2, 5, 24}},  // 22 closed: 21 and "More..."
        {24, {2, 5, 24}},  // 21 closed: all of them, then "More..."
        {22, {2, 5}},      // 20 closed: no "More..."
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.graphs);
        auto frame = openDocument(NumberedDisplayFile(each.graphs, 0));
        for (int number : each.open)
            frame->SendCommand(GraphCommand(number));
        ASSERT_EQ(MdiAreaOf(*frame).subWindowList().size(), static_cast<qsizetype>(each.open.size()));

        std::vector<int> closed;
        for (int number = 1; number <= each.graphs; ++number) {
            if (each.open.count(number) == 0)
                closed.push_back(number);
        }
        QStringList texts;
        std::vector<int> commands;
        for (std::size_t i = 0; i < closed.size() && i < GraphsAndViews::kMaxPopupItems; ++i) {
            texts << QStringLiteral("Graph %1").arg(closed[i]);
            commands.push_back(GraphCommand(closed[i]));
        }
        if (closed.size() >= GraphsAndViews::kMaxPopupItems) {
            texts << QStringLiteral("More...");
            commands.push_back(kMoreGraphs);
        }
        EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Graphs"))), texts);
        EXPECT_EQ(ItemCommands(*MenuOf(*frame, QStringLiteral("&Graphs"))), commands);

        // The selection offers every closed graph, and no open one.
        QStringList offered;
        DriveModal<MoreWindowsDialog>([&offered](MoreWindowsDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Desired Graph"));
            for (int row = 0; row < dialog.list()->count(); ++row)
                offered << dialog.list()->item(row)->text();
            dialog.findChild<QAbstractButton*>(QStringLiteral("Cancel"))->click();
        });
        frame->SendCommand(kMoreGraphs);
        QStringList allClosed;
        for (int number : closed)
            allClosed << QStringLiteral("Graph %1").arg(number);
        EXPECT_EQ(offered, allClosed);
        EXPECT_EQ(MdiAreaOf(*frame).subWindowList().size(), static_cast<qsizetype>(each.open.size()));
    }
}

TEST_F(GraphMenus, ViewsPopupEndsWithMoreOnceItHolds21Views)
{
    for (int views : {20, 21, 22}) {
        SCOPED_TRACE(views);
        auto frame = openDocument(NumberedDisplayFile(1, views));
        QStringList texts;
        std::vector<int> commands;
        for (int number = 1; number <= views && number <= GraphsAndViews::kMaxPopupItems; ++number) {
            texts << QStringLiteral("View %1").arg(number);
            commands.push_back(ViewCommand(number));
        }
        if (views >= GraphsAndViews::kMaxPopupItems) {
            texts << QStringLiteral("More...");
            commands.push_back(kMoreViews);
        }
        EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Views"))), texts);
        EXPECT_EQ(ItemCommands(*MenuOf(*frame, QStringLiteral("&Views"))), commands);
    }
}

TEST_F(GraphMenus, AGraphOpensAtItsOwnPlacementAndLeavesThePopupUntilItCloses)
{
    auto frame = openDocument("[W1]\r\nT=Flow\r\nM1=F1\r\nR=15 25 310 210\r\n[W2]\r\nT=Level\r\nM1=L1\r\n");
    frame->SendCommand(GraphCommand(1));
    QMdiSubWindow* window = GraphWindowOf(*frame, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Flow"));
    EXPECT_EQ(graphs::PlacementOf(*window), (Placement{15, 25, 310, 210}));
    EXPECT_EQ(frame->probe().link.layout().count(), 1);
    EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Graphs"))), QStringList({"Level"}));

    window->close();
    EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Graphs"))), QStringList({"Flow", "Level"}));
}

TEST_F(GraphMenus, AViewThatNamesAGraphTwiceOpensItOnceAtItsFirstEntry)
{
    auto frame = openDocument("[W1]\r\nT=A\r\nM1=X\r\n[W2]\r\nT=B\r\nM1=Y\r\n"
                              "[V1]\r\nT=Twice\r\nW1=A\r\nR1=10 20 300 200\r\nW2=B\r\nW3=A\r\nR3=90 90 250 150\r\n");
    frame->SendCommand(ViewCommand(1));
    EXPECT_EQ(MdiAreaOf(*frame).subWindowList().size(), 2);
    ASSERT_NE(GraphWindowOf(*frame, 0), nullptr);
    EXPECT_EQ(graphs::PlacementOf(*GraphWindowOf(*frame, 0)), (Placement{10, 20, 300, 200}));
    EXPECT_NE(GraphWindowOf(*frame, 1), nullptr);
    EXPECT_EQ(frame->probe().graphsAndViews.currentView(), 0);
}

TEST_F(GraphMenus, SwitchingViewsClosesTheOldViewsWindowsAndReopensSharedOnesAtTheNewPlacements)
{
    auto frame = openDocument("[W1]\r\nT=A\r\nM1=X\r\n[W2]\r\nT=B\r\nM1=Y\r\n[W3]\r\nT=C\r\nM1=Z\r\n"
                              "[W4]\r\nT=D\r\nM1=Q\r\n"
                              "[V1]\r\nT=First\r\nW1=A\r\nR1=10 10 300 200\r\nW2=B\r\nR2=20 20 300 200\r\n"
                              "[V2]\r\nT=Second\r\nW1=B\r\nR1=50 60 320 240\r\nW2=C\r\nR2=70 80 300 210\r\n");
    // D belongs to no view: switching views leaves it alone.
    frame->SendCommand(GraphCommand(4));
    frame->SendCommand(ViewCommand(1));
    ASSERT_NE(GraphWindowOf(*frame, 1), nullptr);
    EXPECT_EQ(graphs::PlacementOf(*GraphWindowOf(*frame, 1)), (Placement{20, 20, 300, 200}));

    frame->SendCommand(ViewCommand(2));
    EXPECT_EQ(GraphWindowOf(*frame, 0), nullptr);
    ASSERT_NE(GraphWindowOf(*frame, 1), nullptr);
    EXPECT_EQ(graphs::PlacementOf(*GraphWindowOf(*frame, 1)), (Placement{50, 60, 320, 240}));
    ASSERT_NE(GraphWindowOf(*frame, 2), nullptr);
    EXPECT_EQ(graphs::PlacementOf(*GraphWindowOf(*frame, 2)), (Placement{70, 80, 300, 210}));
    EXPECT_NE(GraphWindowOf(*frame, 3), nullptr);
    EXPECT_EQ(frame->probe().graphsAndViews.currentView(), 1);
    EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Graphs"))), QStringList({"A"}));
}

TEST_F(GraphMenus, AGraphNamedBehindAGapInAViewOpensWithItsMeasurements)
{
    // The name list takes a view's graphs up to its first empty entry; the
    // graph behind the gap still finds its names when its window is made.
    auto frame = openDocument("[W1]\r\nT=A\r\nM1=X\r\n[W2]\r\nT=B\r\nM1=Y\r\nM2=Z\r\n"
                              "[V1]\r\nT=Gap\r\nW1=A\r\nW3=B\r\n");
    frame->SendCommand(ViewCommand(1));
    ASSERT_NE(GraphWindowOf(*frame, 1), nullptr);
    EXPECT_EQ(frame->probe().graphTable.record(1).measurementCount, 2);
    EXPECT_EQ(frame->probe().link.layout().count(), 3);
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(GraphMenus, PageCommandsAreGrayedWhileAScrollingTableIsTheActiveWindow)
{
    auto frame = openDocument("[W1]\r\nT=Log\r\nP=ScrollingTabular\r\nM1=X\r\n"
                              "[W2]\r\nT=Dial\r\nP=Meter\r\nM1=Y\r\n");
    frame->SendCommand(GraphCommand(1));
    frame->SendCommand(GraphCommand(2));
    QMdiSubWindow* table = GraphWindowOf(*frame, 0);
    QMdiSubWindow* meter = GraphWindowOf(*frame, 1);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(meter, nullptr);
    const auto pageCommandsEnabled = [&] {
        std::vector<bool> enabled;
        for (app::FrameCommand command : {app::FrameCommand::GraphAttributes, app::FrameCommand::PrintCurrentPage,
                                          app::FrameCommand::CopyPage})
            enabled.push_back(IsItemEnabled(*frame, app::CommandId(command)));
        return enabled;
    };

    MdiAreaOf(*frame).setActiveSubWindow(table);
    EXPECT_EQ(pageCommandsEnabled(), std::vector<bool>(3, false));
    MdiAreaOf(*frame).setActiveSubWindow(meter);
    EXPECT_EQ(pageCommandsEnabled(), std::vector<bool>(3, true));
    MdiAreaOf(*frame).setActiveSubWindow(table);
    EXPECT_EQ(pageCommandsEnabled(), std::vector<bool>(3, false));
}

}  // namespace
}  // namespace vexa::test
