// The end of the program at the session's request while a dialog runs its
// own loop. Each end happens in a child process (a death test run again from
// the start of the test), so that this process goes on asking questions.

#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "document/DocumentPaths.h"
#include "document/Recovery.h"
#include "editors/DefinitionListDialog.h"
#include "editors/MeasurementListDialog.h"
#include "link/client/DataSourceDialog.h"
#include "platform/ProgramEnd.h"
#include "platform/TerminationSignals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>

namespace vexa::test {
namespace {

using app::CommandId;
using app::FrameCommand;

/// A plant document in a directory of the test's temporary directory that
/// the test and its child process both find.
std::string SharedPlant(const char* folder)
{
    const QString dir = QDir::temp().filePath(QString::fromLatin1(folder));
    QDir().mkpath(dir);
    const std::string path = dir.toStdString() + "/plant.dsp";
    WriteFileBytes(path, PlantDisplayFile());
    WriteFileBytes(MeasurementPathFor(path), PlantMeasurementFile());
    return path;
}

/// What main() does: the frame on \p path, ended by SIGTERM through the
/// signal handling of the program. \p act opens what the signal meets, and
/// sends the signal from inside its loop. Exits with 0 when the program
/// ended as it should.
[[noreturn]] void RunUntilSignal(const std::string& path, const std::function<void(app::FrameWindow&)>& act)
{
    TerminationSignals termination([] { EndProgram(); }, qApp);
    {
        std::unique_ptr<app::FrameWindow> frame = StartFrame();
        if (!OpenDisplayFile(*frame, path))
            std::exit(2);
        act(*frame);
        // As main() does: the loop runs only when the signal has not yet ended it.
        if (!IsProgramEnding())
            QApplication::exec();
    }
    std::exit(IsProgramEnding() ? 0 : 1);
}

void RaiseTerm(QWidget&)
{
    std::raise(SIGTERM);
}

QAbstractButton& ButtonOf(QWidget& dialog, const char* text)
{
    return *dialog.findChild<QAbstractButton*>(QString::fromLatin1(text));
}

TEST(ProgramEnd, ASignalInAnEditorKeepsWhatWasConfirmedForTheNextOpen)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteSettings(OfflineSettings());
    const std::string path = SharedPlant("editor-end");
    EXPECT_EXIT(RunUntilSignal(path,
                               [](app::FrameWindow& frame) {
                                   ScriptedMessages messages;
                                   // Confirmed: view "Main" duplicated.
                                   DriveModal<editors::DefinitionListDialog>([](editors::DefinitionListDialog& list) {
                                       list.list()->setCurrentRow(0);
                                       list.duplicate();
                                       ButtonOf(list, "Ok").click();
                                   });
                                   frame.SendCommand(CommandId(FrameCommand::ViewDefinitions));
                                   // Not confirmed: a measurement deleted when the session ends.
                                   DriveModal<editors::MeasurementListDialog>(
                                       [&messages](editors::MeasurementListDialog& list) {
                                           messages.script({MessageAnswer::Yes});
                                           list.list()->setCurrentRow(0);
                                           list.remove();
                                           RaiseTerm(list);
                                       });
                                   frame.SendCommand(CommandId(FrameCommand::Measurements));
                               }),
                ::testing::ExitedWithCode(0), "");

    const std::string displayCopy = WorkingDisplayCopyFor(path);
    const std::string left = ReadFileBytes(displayCopy);
    EXPECT_EQ(ReadFileBytes(path), PlantDisplayFile());
    EXPECT_EQ(ReadFileBytes(MeasurementPathFor(path)), PlantMeasurementFile());
    EXPECT_NE(left.find("T=Main(1)"), std::string::npos) << left;
    EXPECT_EQ(ReadFileBytes(WorkingMeasurementCopyFor(path)), PlantMeasurementFile());
    EXPECT_TRUE(FileExists(RecoveryNoteFor(displayCopy)));
    EXPECT_FALSE(FileExists(ScratchCopyFor(displayCopy)));

    // The next open recovers every definition, and Save writes them.
    ScriptedMessages messages;
    messages.script({MessageAnswer::Yes});
    std::unique_ptr<app::FrameWindow> frame = StartFrame();
    ASSERT_TRUE(OpenDisplayFile(*frame, path));
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_TRUE(messages.boxes()[0].text.endsWith(QStringLiteral(" were found. Recover them?")));
    EXPECT_TRUE(frame->probe().document.isModified());
    EXPECT_TRUE(ItemTexts(*MenuOf(*frame, QStringLiteral("&Views"))).contains(QStringLiteral("Main(1)")));
    frame->SendCommand(CommandId(FrameCommand::Save));
    EXPECT_EQ(ReadFileBytes(path), left);
    EXPECT_EQ(ReadFileBytes(MeasurementPathFor(path)), PlantMeasurementFile());
    EXPECT_FALSE(FileExists(RecoveryNoteFor(displayCopy)));
}

TEST(ProgramEnd, ASignalInADialogOrBoxEndsWithoutAQuestion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteSettings(OfflineSettings());
    struct Case {
        const char* folder;
        std::function<void(app::FrameWindow&)> act;
        bool keepsRecovery;
    };
    const Case cases[] = {
        {"data-source-end",
         [](app::FrameWindow& frame) {
             DriveModal<link::DataSourceDialog>(RaiseTerm);
             frame.SendCommand(CommandId(FrameCommand::ConfigureDataSource));
         },
         false},
        {"save-question-end",
         [](app::FrameWindow& frame) {
             frame.markModified();
             // No recorder stands in: the real box, left open as the user would.
             DriveModal<QMessageBox>(RaiseTerm);
             frame.close();
         },
         true},
        {"editor-unchanged-end",
         [](app::FrameWindow& frame) {
             DriveModal<editors::DefinitionListDialog>([](editors::DefinitionListDialog& list) {
                 list.list()->setCurrentRow(0);
                 list.duplicate();
                 RaiseTerm(list);
             });
             frame.SendCommand(CommandId(FrameCommand::GraphDefinitions));
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string path = SharedPlant(c.folder);
        EXPECT_EXIT(RunUntilSignal(path, c.act), ::testing::ExitedWithCode(0), "");
        EXPECT_EQ(ReadFileBytes(path), PlantDisplayFile());
        EXPECT_EQ(ReadFileBytes(MeasurementPathFor(path)), PlantMeasurementFile());
        const std::string displayCopy = WorkingDisplayCopyFor(path);
        for (const std::string& copy : {displayCopy, WorkingMeasurementCopyFor(path), RecoveryNoteFor(displayCopy)})
            EXPECT_EQ(FileExists(copy), c.keepsRecovery) << copy;
        EXPECT_FALSE(FileExists(ScratchCopyFor(displayCopy)));
    }
}

}  // namespace
}  // namespace vexa::test
