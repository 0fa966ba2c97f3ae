#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "app/MoreWindowsDialog.h"
#include "banner/Banner.h"
#include "app/help/HelpPopup.h"
#include "app/help/HelpTopics.h"
#include "app/help/HelpWindow.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QMdiArea>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <functional>

namespace vexa::test {
namespace {

using app::MoreWindowsDialog;

const char* const kDisplay = "[W1]\r\nT=Alpha\r\nM1=A1\r\n[W2]\r\nM1=B1\r\n[W3]\r\nT=Beta\r\nM1=B2\r\n"
                             "[W4]\r\nT=gamma\r\nM1=G1\r\n"
                             "[V1]\r\nT=One\r\nW1=Alpha\r\n[V2]\r\nT=Two\r\nW1=Beta\r\n[V3]\r\nW1=gamma\r\n"
                             "[V4]\r\nT=Four\r\nW1=gamma\r\n";

QStringList ListTexts(const MoreWindowsDialog& dialog)
{
    QStringList texts;
    for (int row = 0; row < dialog.list()->count(); ++row)
        texts << dialog.list()->item(row)->text();
    return texts;
}

void Click(MoreWindowsDialog& dialog, const char* button)
{
    dialog.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
}

void Select(MoreWindowsDialog& dialog, const QString& text)
{
    const QList<QListWidgetItem*> found = dialog.list()->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    dialog.list()->setCurrentItem(found.first());
}

class MoreWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteSettings(OfflineSettings());
        m_file = WriteDocument(m_dir, "more.dsp", kDisplay);
    }
    void TearDown() override
    {
        app::QuitHelp();
        CloseBanner();
    }

    ScriptedMessages m_messages;
    ScratchDir m_dir;
    std::string m_file;
};

TEST_F(MoreWindows, GraphSelectionListsEveryTitledGraphWithoutAnOpenWindow)
{
    // A graph without a title leaves a gap that does not end the list; an
    // open window's caption takes its graph away without regard to case.
    MoreWindowsDialog dialog(nullptr, app::kMoreGraphsCommand, m_file, {QStringLiteral("ALPHA")});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Desired Graph"));
    EXPECT_EQ(dialog.list()->objectName(), QStringLiteral("205"));
    EXPECT_EQ(ListTexts(dialog), QStringList({"Beta", "gamma"}));
    for (const char* button : {"Ok", "Cancel", "Help"})
        EXPECT_NE(dialog.findChild<QAbstractButton*>(QString::fromLatin1(button)), nullptr) << button;
}

TEST_F(MoreWindows, ViewSelectionListsTheViewsUpToTheFirstWithoutATitle)
{
    MoreWindowsDialog dialog(nullptr, app::kMoreViewsCommand, m_file, {QStringLiteral("One")});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Desired View"));
    EXPECT_EQ(ListTexts(dialog), QStringList({"One", "Two"}));
}

TEST_F(MoreWindows, OkDoubleClickCancelAndTheCloseBoxEndTheSelection)
{
    struct Case {
        const char* name;
        int command;
        std::function<void(MoreWindowsDialog&)> act;
        int chosen;
    };
    const Case cases[] = {
        {"Ok with nothing selected", app::kMoreGraphsCommand, [](MoreWindowsDialog& d) { Click(d, "Ok"); },
         MoreWindowsDialog::kNone},
        // Beta is graph 3: the gap at graph 2 does not hide it.
        {"Ok with a graph selected", app::kMoreGraphsCommand,
         [](MoreWindowsDialog& d) {
             Select(d, QStringLiteral("Beta"));
             Click(d, "Ok");
         },
         2},
        {"double-click on a graph", app::kMoreGraphsCommand,
         [](MoreWindowsDialog& d) {
             QListWidget* list = d.list();
             const QRect row = list->visualItemRect(list->findItems(QStringLiteral("gamma"), Qt::MatchExactly).first());
             // A double-click begins with the press of a first click.
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
             QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
         },
         3},
        {"Ok with a view selected", app::kMoreViewsCommand,
         [](MoreWindowsDialog& d) {
             Select(d, QStringLiteral("Two"));
             Click(d, "Ok");
         },
         1},
        {"Cancel with a selection", app::kMoreGraphsCommand,
         [](MoreWindowsDialog& d) {
             Select(d, QStringLiteral("Beta"));
             Click(d, "Cancel");
         },
         MoreWindowsDialog::kNone},
        {"close box", app::kMoreViewsCommand,
         [](MoreWindowsDialog& d) {
             Select(d, QStringLiteral("One"));
             d.close();
         },
         MoreWindowsDialog::kNone},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        MoreWindowsDialog dialog(nullptr, each.command, m_file, {});
        dialog.show();
        each.act(dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.chosenIndex(), each.chosen);
    }
}

TEST_F(MoreWindows, ATitleEqualOnlyWithoutRegardToCaseKeepsTheDialogOpen)
{
    MoreWindowsDialog dialog(nullptr, app::kMoreGraphsCommand, m_file, {});
    dialog.show();
    // The entry no longer matches a title exactly.
    dialog.list()->item(1)->setText(QStringLiteral("BETA"));
    dialog.list()->setCurrentRow(1);
    Click(dialog, "Ok");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.chosenIndex(), MoreWindowsDialog::kNone);

    dialog.list()->item(1)->setText(QStringLiteral("Beta"));
    Click(dialog, "Ok");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.chosenIndex(), 2);
}

TEST_F(MoreWindows, HelpShowsTheSelectionTopicAsAPopUp)
{
    MoreWindowsDialog dialog(nullptr, app::kMoreViewsCommand, m_file, {});
    dialog.show();
    Click(dialog, "Help");
    const app::HelpPopup* popup = app::CurrentHelpPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->browser()->source(), app::HelpTopicUrl(app::kHelpGraphOrViewSelection));
    EXPECT_EQ(popup->browser()->documentTitle(), QStringLiteral("Selecting a Graph or View"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(MoreWindows, TheFrameOpensWhatTheSelectionChoseAndNothingOnCancel)
{
    auto frame = StartFrame();
    CloseBanner();
    ASSERT_TRUE(OpenDisplayFile(*frame, m_file));

    DriveModal<MoreWindowsDialog>([](MoreWindowsDialog& dialog) {
        Select(dialog, QStringLiteral("Beta"));
        Click(dialog, "Cancel");
    });
    frame->SendCommand(app::kMoreGraphsCommand);
    EXPECT_TRUE(MdiAreaOf(*frame).subWindowList().isEmpty());

    DriveModal<MoreWindowsDialog>([](MoreWindowsDialog& dialog) {
        Select(dialog, QStringLiteral("gamma"));
        Click(dialog, "Ok");
    });
    frame->SendCommand(app::kMoreGraphsCommand);
    EXPECT_NE(GraphWindowOf(*frame, 3), nullptr);

    DriveModal<MoreWindowsDialog>([](MoreWindowsDialog& dialog) {
        Select(dialog, QStringLiteral("Two"));
        Click(dialog, "Ok");
    });
    frame->SendCommand(app::kMoreViewsCommand);
    EXPECT_EQ(frame->probe().graphsAndViews.currentView(), 1);
    EXPECT_NE(GraphWindowOf(*frame, 2), nullptr);
}

}  // namespace
}  // namespace vexa::test
