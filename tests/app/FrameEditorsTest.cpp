#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "app/WindowPolish.h"
#include "document/DocumentPaths.h"
#include "document/ProfileStore.h"
#include "editors/DefinitionListDialog.h"
#include "editors/MeasurementListDialog.h"
#include "platform/DialogConventions.h"
#include "support/Waits.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace vexa::test {
namespace {

using app::CommandId;
using app::FrameCommand;

QAbstractButton& ButtonOf(QWidget& dialog, const char* text)
{
    return *dialog.findChild<QAbstractButton*>(QString::fromLatin1(text));
}

class FrameEditors : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteSettings(OfflineSettings());
        m_frame = StartFrame();
        m_path = WritePlant(m_dir, "plant.dsp");
        ASSERT_TRUE(OpenDisplayFile(*m_frame, m_path));
    }

    std::string scratch() const { return m_dir.path(kScratchCopyName); }
    bool isModified() const { return m_frame->probe().document.isModified(); }

    ScratchDir m_dir;
    ScriptedMessages m_messages;
    std::unique_ptr<app::FrameWindow> m_frame;
    std::string m_path;
};

TEST_F(FrameEditors, AChangedListModifiesTheDocumentAndRebuildsTheMenus)
{
    DriveModal<editors::DefinitionListDialog>([](editors::DefinitionListDialog& list) {
        EXPECT_EQ(list.windowTitle(), "Edit View");
        list.list()->setCurrentRow(0);
        list.duplicate();
        ButtonOf(list, "Ok").click();
    });
    m_frame->SendCommand(CommandId(FrameCommand::ViewDefinitions));
    EXPECT_TRUE(isModified());
    EXPECT_TRUE(IsItemEnabled(*m_frame, CommandId(FrameCommand::Save)));
    EXPECT_TRUE(ItemTexts(*MenuOf(*m_frame, QStringLiteral("&Views"))).contains("Main(1)"));
    EXPECT_EQ(profile::ReadString("V3", "T", "", m_frame->probe().document.workingDisplayCopy()), "Main(1)");
    EXPECT_FALSE(FileExists(scratch()));
}

TEST_F(FrameEditors, AListLeftWithoutAChangeLeavesTheDocumentUnmodified)
{
    struct Case {
        FrameCommand command;
        const char* caption;
    };
    for (const Case& c : {Case{FrameCommand::GraphDefinitions, "Select Graph"},
                          Case{FrameCommand::ViewDefinitions, "Edit View"},
                          Case{FrameCommand::Measurements, "Edit Measurement Definitions"}}) {
        DriveModalWidget([](QWidget& modal) { return qobject_cast<QDialog*>(&modal) != nullptr; },
                         [&c](QWidget& dialog) {
                             EXPECT_EQ(dialog.windowTitle(), c.caption);
                             ButtonOf(dialog, "Ok").click();
                         });
        m_frame->SendCommand(CommandId(c.command));
        EXPECT_FALSE(isModified()) << c.caption;
        EXPECT_FALSE(FileExists(scratch()));
    }
}

TEST_F(FrameEditors, ClosingTheFrameWithAnEditorOpenAsksForItsChangesAndLeavesNoScratchCopy)
{
    const std::string before = ReadFileBytes(MeasurementPathFor(m_path));
    DriveModal<editors::MeasurementListDialog>([this](editors::MeasurementListDialog& list) {
        list.list()->setCurrentRow(0);
        // Delete: Yes; the editor's changes: Yes, keep them; the document's: No.
        m_messages.script({MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No});
        list.remove();
        m_frame->close();
    });
    m_frame->SendCommand(CommandId(FrameCommand::Measurements));
    const std::vector<MessageRequest> boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 3U);
    EXPECT_EQ(boxes[1].caption, kCancelDialogCaption);
    EXPECT_EQ(boxes[2].caption, "Close VEXA Display Display File");
    EXPECT_FALSE(m_frame->isVisible());
    EXPECT_FALSE(FileExists(scratch()));
    EXPECT_FALSE(FileExists(m_frame->probe().document.workingMeasurementCopy()));
    EXPECT_EQ(ReadFileBytes(MeasurementPathFor(m_path)), before);
}

TEST_F(FrameEditors, KeepingTheEditorOpenKeepsTheFrameOpen)
{
    DriveModal<editors::DefinitionListDialog>([this](editors::DefinitionListDialog& list) {
        list.list()->setCurrentRow(0);
        list.duplicate();
        m_messages.script({MessageAnswer::Cancel});
        m_frame->close();
        EXPECT_TRUE(list.isVisible());
        ButtonOf(list, "Ok").click();
    });
    m_frame->SendCommand(CommandId(FrameCommand::GraphDefinitions));
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_TRUE(isModified());
}

TEST_F(FrameEditors, TheEditorsNeedAnOpenDocument)
{
    ASSERT_EQ(m_frame->SendCommand(CommandId(FrameCommand::Close)), 0);
    const auto cwdScratch = std::filesystem::current_path() / kScratchCopyName;
    for (FrameCommand editor : {FrameCommand::GraphDefinitions, FrameCommand::ViewDefinitions, FrameCommand::Measurements})
        m_frame->SendCommand(CommandId(editor));
    EXPECT_TRUE(m_messages.calls().empty());
    EXPECT_FALSE(std::filesystem::exists(cwdScratch));
}

TEST_F(FrameEditors, DialogsCarryTheProgramIconAndAreAsWideAsTheirCaptions)
{
    const QImage programIcon = app::FrameWindow::LoadIcon().pixmap(32).toImage();
    ASSERT_FALSE(programIcon.isNull());
    DriveModal<editors::MeasurementListDialog>([&](editors::MeasurementListDialog& list) {
        EXPECT_EQ(list.windowIcon().pixmap(32).toImage(), programIcon);
        list.reject();
    });
    m_frame->SendCommand(CommandId(FrameCommand::Measurements));

    for (const char* caption : {"Configure VEXA-Display Data Source", "Edit Measurement Definitions"}) {
        QDialog narrow(m_frame.get());
        narrow.setWindowTitle(QString::fromLatin1(caption));
        narrow.resize(60, 40);
        narrow.show();
        EXPECT_GE(narrow.width(), app::CaptionWidthGuard::CaptionWidth(narrow)) << caption;
        EXPECT_GT(narrow.width(), narrow.fontMetrics().horizontalAdvance(narrow.windowTitle())) << caption;
    }
    // A message box fixes its size as it is shown, and is widened after.
    QMessageBox box(QMessageBox::Information, QStringLiteral("Illegal View Title Entered"),
                    QStringLiteral("Please enter a title for this view."), QMessageBox::Ok, m_frame.get());
    box.show();
    QTRY_VERIFY_WITH_TIMEOUT(box.width() >= app::CaptionWidthGuard::CaptionWidth(box), kWaitTimeoutMs);
}

}  // namespace
}  // namespace vexa::test
