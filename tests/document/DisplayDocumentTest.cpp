#include "DocumentTestHost.h"

#include "document/DisplayDocument.h"
#include "document/DocumentPaths.h"
#include "document/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace vexa {
namespace {

using test::FileExists;
using test::ReadFileBytes;
using test::WriteFileBytes;

const char* const kCopyCaption = "ERROR: Could Not Copy File";
const char* const kSizeWarning =
    "Warning: This file is over 64000 characters long. The maximum size allowed is 65534. "
    "VEXA-Display may not function properly if any new items are added to this confiuration.";

class DisplayDocumentTest : public ::testing::Test {
protected:
    DisplayDocumentTest()
        : recent(dir.path("settings.ini")),
          document(host, recent, [](const std::string&) { return true; })
    {
    }

    std::string path(const std::string& name) const { return dir.path(name); }

    // A display file and its measurement file beside it.
    std::string makeDocument(const std::string& name, const std::string& display = "[W1]\r\nT=Flow\r\n",
                             const std::string& measurements = "[FLOW]\r\nL=0\r\nH=10\r\n")
    {
        const std::string file = path(name);
        WriteFileBytes(file, display);
        WriteFileBytes(MeasurementPathFor(file), measurements);
        return file;
    }

    test::ScratchDir dir;
    test::ScriptedMessages messages;
    test::ScriptedFileDialogs dialogs;
    test::RecordingHost host;
    RecentFiles recent;
    DisplayDocument document;
};

TEST_F(DisplayDocumentTest, OpeningCopiesBothFilesToWorkingCopies)
{
    const std::string file = makeDocument("line.dsp");
    ASSERT_TRUE(document.load(nullptr, LoadMode::Open, file));

    EXPECT_TRUE(document.isOpen());
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.path(), file);
    EXPECT_EQ(document.measurementPath(), path("line.mvx"));
    EXPECT_EQ(ReadFileBytes(path("VEXADSP.TMP")), "[W1]\r\nT=Flow\r\n");
    EXPECT_EQ(ReadFileBytes(path("VEXAMVX.TMP")), "[FLOW]\r\nL=0\r\nH=10\r\n");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"rebuildPopups", "refreshFileCommands",
                                                    "resetNameList " + path("line.mvx")}));
    EXPECT_TRUE(messages.calls().empty());
}

TEST_F(DisplayDocumentTest, ARelativePathIsMadeAbsoluteOnLoad)
{
    makeDocument("line.dsp");
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    ASSERT_TRUE(document.load(nullptr, LoadMode::Open, "./line.dsp"));
    const std::string absolute = std::filesystem::current_path().string() + "/line.dsp";
    EXPECT_EQ(document.path(), absolute);
    EXPECT_EQ(host.calls.back(), "resetNameList " + absolute.substr(0, absolute.size() - 4) + ".mvx");
    ASSERT_EQ(::chdir("/"), 0);
    EXPECT_EQ(document.close(nullptr), 0);
    EXPECT_EQ(recent.entries(), std::vector<std::string>{absolute});
}

TEST_F(DisplayDocumentTest, OpeningChecksFontNamesOfTheWorkingCopy)
{
    DisplayDocument picky(host, recent, [](const std::string& face) { return face == "Liberation Sans"; });
    const std::string file = makeDocument("fonts.dsp", "[W1]\r\nT=a\r\nTF=Liberation Sans,9,0,1\r\nGF=Courier,8,0,0\r\n");
    ASSERT_TRUE(picky.load(nullptr, LoadMode::Open, file));
    EXPECT_EQ(profile::ListKeys("W1", picky.workingDisplayCopy()), (std::vector<std::string>{"T", "TF"}));
    EXPECT_EQ(ReadFileBytes(file), "[W1]\r\nT=a\r\nTF=Liberation Sans,9,0,1\r\nGF=Courier,8,0,0\r\n")
        << "the display file itself is never changed on open";
}

TEST_F(DisplayDocumentTest, SizeWarningFromTheFirstByteOverTheLimit)
{
    struct Case {
        std::size_t displaySize;
        std::size_t measurementSize;
        int warnings;
    };
    const std::vector<Case> cases = {
        {64000, 64000, 0},
        {64001, 10, 1},
        {10, 64001, 1},
        {70000, 70000, 1},
    };
    for (const Case& c : cases) {
        test::ScratchDir here;
        const std::string file = here.path("big.dsp");
        WriteFileBytes(file, std::string(c.displaySize, ' '));
        WriteFileBytes(here.path("big.mvx"), std::string(c.measurementSize, ' '));
        messages.clear();
        DisplayDocument big(host, recent, [](const std::string&) { return true; });
        EXPECT_TRUE(big.load(nullptr, LoadMode::Open, file));
        ASSERT_EQ(static_cast<int>(messages.boxes().size()), c.warnings) << c.displaySize << " " << c.measurementSize;
        if (c.warnings != 0) {
            EXPECT_EQ(messages.boxes()[0].text, kSizeWarning);
            EXPECT_EQ(messages.boxes()[0].caption, "VEXA Display");
            EXPECT_EQ(messages.boxes()[0].icon, MessageIcon::Information);
        }
    }
}

TEST_F(DisplayDocumentTest, MissingFilesLoadNothing)
{
    struct Case {
        bool display;
        bool measurements;
        std::string source;
        std::string destination;
    };
    const std::vector<Case> cases = {
        {true, false, "line.mvx", "VEXAMVX.TMP"},
        {false, true, "line.dsp", "VEXADSP.TMP"},
    };
    for (const Case& c : cases) {
        test::ScratchDir here;
        if (c.display)
            WriteFileBytes(here.path("line.dsp"), "[W1]\r\nT=a\r\n");
        if (c.measurements)
            WriteFileBytes(here.path("line.mvx"), "[A]\r\n");
        messages.clear();
        host.calls.clear();

        EXPECT_FALSE(document.load(nullptr, LoadMode::Open, here.path("line.dsp")));

        EXPECT_FALSE(document.isOpen());
        EXPECT_TRUE(host.calls.empty());
        EXPECT_FALSE(FileExists(here.path("VEXADSP.TMP"))) << "no half-loaded working copy stays";
        EXPECT_FALSE(FileExists(here.path("VEXAMVX.TMP")));
        ASSERT_EQ(messages.boxes().size(), 1u);
        const MessageRequest& box = messages.boxes()[0];
        EXPECT_EQ(box.caption, kCopyCaption);
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
        EXPECT_EQ(box.text.toStdString(), "Unable to copy:\n\n\"" + here.path(c.source) + "\"\n\nto\n\n\""
                                              + here.path(c.destination) + "\"\n\n\n\nNo such file or directory");
    }
}

TEST_F(DisplayDocumentTest, ExistingWorkingCopyIsOverwrittenOnlyWhenTheUserAgrees)
{
    // Open offers copies that are there as a recovery; New asks to overwrite.
    const std::string file = path("line.dsp");
    WriteFileBytes(path("VEXADSP.TMP"), "someone else's");

    messages.script({MessageAnswer::No});
    EXPECT_FALSE(document.load(nullptr, LoadMode::New, file));
    ASSERT_EQ(messages.calls().size(), 3u);
    EXPECT_TRUE(messages.calls()[0].isBeep);
    const MessageRequest& question = messages.calls()[1].request;
    EXPECT_EQ(question.text.toStdString(),
              "The file '" + path("VEXADSP.TMP")
                  + "' already exists on your disk. VEXA Display uses this file for temporary storage.\n\nOverwrite?");
    EXPECT_EQ(question.caption, "VEXA Display");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Question);
    const MessageRequest& refusal = messages.calls()[2].request;
    EXPECT_EQ(refusal.text, "VEXA-Display Cannot continue until this file has been removed.");
    EXPECT_EQ(refusal.caption, "VEXA-Display Error");
    EXPECT_EQ(refusal.icon, MessageIcon::Information);
    EXPECT_EQ(ReadFileBytes(path("VEXADSP.TMP")), "someone else's");
    EXPECT_FALSE(document.isOpen());

    messages.clear();
    WriteFileBytes(path("VEXAMVX.TMP"), "another");
    messages.script({MessageAnswer::Yes, MessageAnswer::Yes});
    EXPECT_TRUE(document.load(nullptr, LoadMode::New, file));
    EXPECT_EQ(messages.beepCount(), 2);
    EXPECT_EQ(ReadFileBytes(path("VEXADSP.TMP")), "");
}

TEST_F(DisplayDocumentTest, NewDocumentHasEmptyWorkingCopiesAndNoFilesUntilSaved)
{
    WriteFileBytes(path("VEXADSP.TMP"), "");  // a left-over, agreed to overwrite
    messages.script({MessageAnswer::Yes});
    ASSERT_TRUE(document.load(nullptr, LoadMode::New, path("fresh.dsp")));
    EXPECT_EQ(ReadFileBytes(path("VEXADSP.TMP")), "");
    EXPECT_TRUE(FileExists(path("VEXAMVX.TMP")));
    EXPECT_FALSE(FileExists(path("fresh.dsp")));

    // Closing a document that never reached the disk leaves the recent files alone.
    EXPECT_EQ(document.close(nullptr), 0);
    EXPECT_TRUE(recent.entries().empty());
    EXPECT_FALSE(FileExists(path("VEXADSP.TMP")));
    EXPECT_FALSE(FileExists(path("VEXAMVX.TMP")));
}

TEST_F(DisplayDocumentTest, NewDocumentInAMissingDirectoryIsReported)
{
    const std::string missing = path("no/such/dir/x.dsp");
    EXPECT_FALSE(document.load(nullptr, LoadMode::New, missing));
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(messages.boxes()[0].caption, "ERROR: Could Not Create File");
    EXPECT_TRUE(messages.boxes()[0].text.endsWith("No such file or directory"));
    EXPECT_FALSE(document.isOpen());
}

TEST_F(DisplayDocumentTest, ClosingAsksOnlyForAModifiedDocument)
{
    const std::string file = makeDocument("line.dsp");
    ASSERT_TRUE(document.load(nullptr, LoadMode::Open, file));
    const std::string question = "WARNING: The Vexa Display display file:\n\n" + file
                                 + "\n\nis already open and has been modified.\n\nSave file first?";

    // Cancel keeps everything as it was.
    document.setModified(true);
    messages.script({MessageAnswer::Cancel});
    EXPECT_EQ(document.close(nullptr), DisplayDocument::kCloseCancelled);
    ASSERT_EQ(messages.calls().size(), 2u);
    EXPECT_TRUE(messages.calls()[0].isBeep);
    EXPECT_EQ(messages.calls()[1].request.text.toStdString(), question);
    EXPECT_EQ(messages.calls()[1].request.caption, "Close VEXA Display Display File");
    EXPECT_EQ(messages.calls()[1].request.buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(document.isOpen());
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(FileExists(path("VEXADSP.TMP")));

    // Yes saves the working copies before they go.
    profile::WriteString("W1", "T", "Flow rate", document.workingDisplayCopy());
    messages.clear();
    host.calls.clear();
    messages.script({MessageAnswer::Yes});
    EXPECT_EQ(document.close(nullptr), 0);
    EXPECT_EQ(profile::ReadString("W1", "T", "", file), "Flow rate");
    EXPECT_FALSE(document.isOpen());
    EXPECT_FALSE(FileExists(path("VEXADSP.TMP")));
    EXPECT_FALSE(FileExists(path("VEXAMVX.TMP")));
    EXPECT_EQ(recent.entries(), std::vector<std::string>{file});
    EXPECT_EQ(host.calls.back(), "refreshFileCommands");

    // No discards the changes; unmodified closes without a word.
    ASSERT_TRUE(document.load(nullptr, LoadMode::Open, file));
    profile::WriteString("W1", "T", "discarded", document.workingDisplayCopy());
    document.setModified(true);
    messages.clear();
    messages.script({MessageAnswer::No});
    EXPECT_EQ(document.close(nullptr), 0);
    EXPECT_EQ(profile::ReadString("W1", "T", "", file), "Flow rate");
    ASSERT_TRUE(document.load(nullptr, LoadMode::Open, file));
    messages.clear();
    EXPECT_EQ(document.close(nullptr), 0);
    EXPECT_TRUE(messages.calls().empty());
}

TEST_F(DisplayDocumentTest, AFailedSaveLeavesTheFilesAsTheyWereAndKeepsTheDocument)
{
    const std::string file = makeDocument("line.dsp");
    ASSERT_TRUE(document.load(nullptr, LoadMode::Open, file));
    profile::WriteString("W1", "T", "changed", document.workingDisplayCopy());
    document.setModified(true);
    // The measurement file cannot be replaced: something else took its name.
    std::filesystem::remove(path("line.mvx"));
    std::filesystem::create_directory(path("line.mvx"));

    messages.script({MessageAnswer::Yes});
    EXPECT_EQ(document.close(nullptr), DisplayDocument::kCloseCancelled)
        << "a close whose save failed must not delete the working copies";
    ASSERT_EQ(messages.boxes().size(), 2u);
    const MessageRequest& error = messages.boxes()[1];
    EXPECT_EQ(error.caption, "ERROR: Could Not Save File");
    EXPECT_EQ(error.text.toStdString(), "Unable to save:\n\n\"" + path("line.mvx") + "\"\n\nIs a directory");
    EXPECT_EQ(ReadFileBytes(file), "[W1]\r\nT=Flow\r\n");
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(FileExists(path("VEXADSP.TMP")));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().string().find(".XXXXXX"), std::string::npos);
    const auto names = [&] {
        std::vector<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            all.push_back(entry.path().filename().string());
        std::sort(all.begin(), all.end());
        return all;
    }();
    // The document is still modified: its recovery note stays with the copies.
    EXPECT_EQ(names, (std::vector<std::string>{"VEXADSP.TMP", "VEXAMVX.TMP", "VEXARCV.TMP", "line.dsp", "line.mvx"}))
        << "no staged copy is left behind";
}

TEST_F(DisplayDocumentTest, SaveAsWritesUnderTheNewNameAndKeepsTheWorkingCopies)
{
    const std::string file = makeDocument("line.dsp");
    ASSERT_TRUE(document.load(nullptr, LoadMode::Open, file));
    profile::WriteString("W1", "T", "copy", document.workingDisplayCopy());
    document.setModified(true);
    std::filesystem::create_directory(path("other"));

    dialogs.script(QString::fromStdString(path("other/second")));
    ASSERT_TRUE(document.saveAs(nullptr));
    EXPECT_EQ(document.path(), path("other/second.dsp"));
    EXPECT_EQ(document.measurementPath(), path("other/second.mvx"));
    EXPECT_EQ(profile::ReadString("W1", "T", "", path("other/second.dsp")), "copy");
    EXPECT_EQ(ReadFileBytes(path("other/second.mvx")), "[FLOW]\r\nL=0\r\nH=10\r\n");
    EXPECT_EQ(ReadFileBytes(file), "[W1]\r\nT=Flow\r\n");
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.workingDisplayCopy(), path("VEXADSP.TMP"));
    EXPECT_EQ(dialogs.requests().at(0).title, "Create New VEXA-Display Display File");
}

TEST_F(DisplayDocumentTest, OpenClosesTheCurrentDocumentFirst)
{
    const std::string first = makeDocument("first.dsp");
    std::filesystem::create_directory(path("b"));
    const std::string second = makeDocument("b/second.dsp", "[W1]\r\nT=Second\r\n");
    ASSERT_TRUE(document.load(nullptr, LoadMode::Open, first));
    host.calls.clear();

    dialogs.script(QString::fromStdString(second));
    ASSERT_TRUE(document.openCommand(nullptr));
    EXPECT_EQ(host.calls.front(), "closeAllGraphWindows");
    EXPECT_EQ(document.path(), second);
    EXPECT_FALSE(FileExists(path("VEXADSP.TMP"))) << "the first document's working copies are gone";
    EXPECT_TRUE(FileExists(path("b/VEXADSP.TMP")));
    EXPECT_EQ(recent.entries(), std::vector<std::string>{first});
    const FileDialogRequest& request = dialogs.requests().at(0);
    EXPECT_EQ(request.title, "Open VEXA-Display Display File");
    EXPECT_EQ(request.mode, FileDialogMode::Open);
    EXPECT_EQ(request.initialPath.toStdString(), first);
    EXPECT_EQ(request.filters.value(0), "VEXA Display Files (*.DSP)");

    // Cancelling the dialog changes nothing.
    dialogs.script(std::nullopt);
    EXPECT_FALSE(document.openCommand(nullptr));
    EXPECT_EQ(document.path(), second);
    EXPECT_TRUE(document.isOpen());

    // A modified document whose close is cancelled stays open and unsaved.
    document.setModified(true);
    dialogs.script(QString::fromStdString(first));
    messages.script({MessageAnswer::Cancel});
    EXPECT_FALSE(document.openCommand(nullptr));
    EXPECT_EQ(document.path(), second);
}

TEST_F(DisplayDocumentTest, CreateDialogCompletesChecksAndAsksBeforeOverwriting)
{
    makeDocument("taken.dsp");
    // line.txt is refused and the dialog comes back; "line" becomes line.dsp.
    dialogs.script(QString::fromStdString(path("line.txt")));
    dialogs.script(QString::fromStdString(path("line")));
    ASSERT_TRUE(document.newCommand(nullptr));
    EXPECT_EQ(document.path(), path("line.dsp"));
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(messages.boxes()[0].text,
              "Error: Invalid filename entered. Filename must end with the extension \".DSP\"");
    EXPECT_EQ(messages.boxes()[0].caption, "VEXA Display");
    EXPECT_EQ(messages.boxes()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.requests().at(1).initialPath.toStdString(), path("line.txt"));

    // An existing file: No gives nothing, Yes gives the path.
    messages.clear();
    dialogs.script(QString::fromStdString(path("TAKEN.DSP")));
    dialogs.script(QString::fromStdString(path("taken.dsp")));
    EXPECT_TRUE(document.newCommand(nullptr)) << "TAKEN.DSP is another file than taken.dsp";
    EXPECT_EQ(document.path(), path("TAKEN.DSP"));
    messages.clear();
    messages.script({MessageAnswer::No});
    EXPECT_FALSE(document.newCommand(nullptr));
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(messages.boxes()[0].text.toStdString(),
              "The file '" + path("taken.dsp") + "' already exists.\n\nOverwrite?");
    EXPECT_EQ(messages.boxes()[0].caption, "Create New VEXA-Display Display File");
    EXPECT_EQ(document.path(), path("TAKEN.DSP"));
}

TEST_F(DisplayDocumentTest, TheDocumentDeletesItsWorkingCopiesWhenItGoes)
{
    const std::string file = makeDocument("line.dsp");
    {
        DisplayDocument scoped(host, recent, [](const std::string&) { return true; });
        ASSERT_TRUE(scoped.load(nullptr, LoadMode::Open, file));
        scoped.setModified(true);
        ASSERT_TRUE(FileExists(path("VEXADSP.TMP")));
    }
    EXPECT_FALSE(FileExists(path("VEXADSP.TMP")));
    EXPECT_FALSE(FileExists(path("VEXAMVX.TMP")));
    EXPECT_TRUE(recent.entries().empty()) << "ending the program is no Close";
}

}  // namespace
}  // namespace vexa
