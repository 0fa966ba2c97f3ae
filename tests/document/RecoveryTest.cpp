#include "DocumentTestHost.h"

#include "document/DisplayDocument.h"
#include "document/DocumentPaths.h"
#include "document/ProfileStore.h"
#include "document/Recovery.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

namespace vexa {
namespace {

using test::FileExists;
using test::ReadFileBytes;
using test::WriteFileBytes;

constexpr const char* kDisplay = "[W1]\r\nT=Flow\r\n";
constexpr const char* kMeasurements = "[FLOW]\r\nL=0\r\nH=10\r\n";

/// A document whose session ended with a confirmed change ("Changed") in its
/// working display copy and an editor's unconfirmed scratch copy beside it.
class RecoveryTest : public ::testing::Test {
protected:
    RecoveryTest()
        : recent(dir.path("settings.ini")),
          document(host, recent, [](const std::string&) { return true; }),
          file(dir.path("line.dsp"))
    {
        WriteFileBytes(file, kDisplay);
        WriteFileBytes(MeasurementPathFor(file), kMeasurements);
        EXPECT_TRUE(document.load(nullptr, LoadMode::Open, file));
        profile::WriteString("W1", "T", "Changed", document.workingDisplayCopy());
        document.setModified(true);
        document.keepForRecovery();
        WriteFileBytes(scratch(), "unconfirmed");
    }

    std::string displayCopy() const { return WorkingDisplayCopyFor(file); }
    std::string measurementCopy() const { return WorkingMeasurementCopyFor(file); }
    std::string note() const { return RecoveryNoteFor(displayCopy()); }
    std::string scratch() const { return ScratchCopyFor(displayCopy()); }
    std::string title() const { return profile::ReadString("W1", "T", "", displayCopy()); }
    /// The files of the ended session, as they are now.
    std::vector<std::string> leftovers() const
    {
        return {ReadFileBytes(displayCopy()), ReadFileBytes(measurementCopy()), ReadFileBytes(note()),
                ReadFileBytes(scratch())};
    }

    test::ScratchDir dir;
    test::ScriptedMessages messages;
    test::RecordingHost host;
    RecentFiles recent;
    DisplayDocument document;
    std::string file;
};

TEST_F(RecoveryTest, TheQuestionRecoversDiscardsOrKeepsTheChanges)
{
    struct Case {
        const char* name;
        bool withNote;
        MessageAnswer answer;
        bool opens;
        bool modified;
        const char* title;
    };
    const Case cases[] = {
        {"yes", true, MessageAnswer::Yes, true, true, "Changed"},
        {"no", true, MessageAnswer::No, true, false, "Flow"},
        {"cancel", true, MessageAnswer::Cancel, false, false, "Changed"},
        // Copies that a program without notes left behind.
        {"yes without a note", false, MessageAnswer::Yes, true, true, "Changed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case starts from an ended session like the fixture's.
        document.discardWorkingCopies();
        WriteFileBytes(displayCopy(), "[W1]\r\nT=Changed\r\n");
        WriteFileBytes(measurementCopy(), kMeasurements);
        WriteFileBytes(scratch(), "unconfirmed");
        if (c.withNote)
            ASSERT_TRUE(WriteRecoveryNote(displayCopy(), file));
        else
            std::filesystem::remove(note());
        const std::vector<std::string> before = leftovers();
        messages.clear();
        messages.script({c.answer});

        EXPECT_EQ(document.load(nullptr, LoadMode::Open, file), c.opens);
        ASSERT_EQ(messages.boxes().size(), 1u);
        const MessageRequest question = messages.boxes()[0];
        const std::string text = question.text.toStdString();
        EXPECT_EQ(text.rfind("Unsaved changes to '" + file + "' from ", 0), 0u) << text;
        EXPECT_TRUE(question.text.endsWith(" were found. Recover them?")) << text;
        EXPECT_EQ(question.buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(question.caption, "VEXA Display");

        EXPECT_EQ(document.isOpen(), c.opens);
        EXPECT_EQ(document.isModified(), c.modified);
        EXPECT_EQ(title(), c.title);
        EXPECT_EQ(ReadFileBytes(file), kDisplay);
        if (c.opens) {
            EXPECT_FALSE(FileExists(scratch())) << "an editor's unconfirmed changes are dropped";
            EXPECT_EQ(FileExists(note()), c.modified);
        } else {
            EXPECT_EQ(leftovers(), before);
        }
    }
}

TEST_F(RecoveryTest, BadRecoveriesAreExplainedAndNeverApplied)
{
    struct Case {
        const char* name;
        std::function<void()> spoil;
        const char* problem;
    };
    const Case cases[] = {
        {"damaged note", [&] { WriteFileBytes(note(), std::string("\0\x01\xff[", 4)); }, "is damaged."},
        {"another document", [&] { WriteRecoveryNote(displayCopy(), dir.path("other.dsp")); },
         "they belong to '"},
        {"older than the document",
         [&] {
             std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now()
                                                        + std::chrono::hours(1));
         },
         "the file was saved after them."},
        {"no measurement file", [&] { std::filesystem::remove(MeasurementPathFor(file)); }, "is missing."},
        {"a working copy gone", [&] { std::filesystem::remove(measurementCopy()); }, "is missing."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(file, kDisplay);
        WriteFileBytes(MeasurementPathFor(file), kMeasurements);
        WriteFileBytes(displayCopy(), "[W1]\r\nT=Changed\r\n");
        WriteFileBytes(measurementCopy(), kMeasurements);
        ASSERT_TRUE(WriteRecoveryNote(displayCopy(), file));
        c.spoil();
        const std::vector<std::string> before = leftovers();
        messages.clear();
        messages.script({MessageAnswer::No});

        EXPECT_FALSE(document.load(nullptr, LoadMode::Open, file));
        ASSERT_EQ(messages.boxes().size(), 1u);
        const MessageRequest box = messages.boxes()[0];
        EXPECT_TRUE(box.text.startsWith(QString::fromStdString("Unsaved changes were found beside '" + file
                                                               + "', but they cannot be recovered: ")))
            << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(QString::fromLatin1(c.problem))) << box.text.toStdString();
        EXPECT_EQ(box.buttons, MessageButtons::YesNo);
        EXPECT_EQ(leftovers(), before) << "declined, everything stays";
        EXPECT_FALSE(document.isOpen());
    }

    // Agreeing discards them and opens the file as saved.
    WriteFileBytes(note(), "damaged");
    messages.clear();
    messages.script({MessageAnswer::Yes});
    EXPECT_TRUE(document.load(nullptr, LoadMode::Open, file));
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(title(), "Flow");
    EXPECT_FALSE(FileExists(note()));

    // Copies without a note that match the files on disk hold no changes.
    document.discardWorkingCopies();
    WriteFileBytes(displayCopy(), kDisplay);
    WriteFileBytes(measurementCopy(), kMeasurements);
    messages.clear();
    EXPECT_TRUE(document.load(nullptr, LoadMode::Open, file));
    EXPECT_TRUE(messages.calls().empty());
    EXPECT_FALSE(document.isModified());
}

}  // namespace
}  // namespace vexa
