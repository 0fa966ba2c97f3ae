#include "document/FileCommandState.h"
#include "document/ProfileStore.h"
#include "document/RecentFiles.h"
#include "document/ScratchCopy.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace vexa {
namespace {

using test::FileExists;
using test::ReadFileBytes;
using test::WriteFileBytes;

std::vector<std::string> Paths(std::initializer_list<int> numbers)
{
    std::vector<std::string> paths;
    for (int n : numbers)
        paths.push_back("/plant/line" + std::to_string(n) + ".dsp");
    return paths;
}

TEST(RecentFiles, AddMovesToTheFrontAndKeepsNine)
{
    test::ScratchDir dir;
    RecentFiles recent(dir.path("VexaDisplay.ini"));
    for (int n = 1; n <= 3; ++n)
        recent.add(Paths({n})[0]);
    EXPECT_EQ(recent.entries(), Paths({3, 2, 1}));

    recent.add(Paths({1})[0]);
    EXPECT_EQ(recent.entries(), Paths({1, 3, 2})) << "an entry that is there moves to the front";
    recent.add(Paths({1})[0]);
    EXPECT_EQ(recent.entries(), Paths({1, 3, 2}));

    for (int n = 4; n <= 10; ++n)
        recent.add(Paths({n})[0]);
    EXPECT_EQ(recent.entries(), Paths({10, 9, 8, 7, 6, 5, 4, 1, 3})) << "the tenth drops the oldest";
    EXPECT_EQ(profile::ReadString("VEXA-Display", "File1", "", recent.settingsFile()), Paths({10})[0]);
    EXPECT_EQ(profile::ReadString("VEXA-Display", "File9", "", recent.settingsFile()), Paths({3})[0]);
    EXPECT_EQ(profile::ReadString("VEXA-Display", "File10", "none", recent.settingsFile()), "none");

    recent.add("/plant/LINE1.DSP");
    EXPECT_EQ(recent.entries().front(), "/plant/LINE1.DSP") << "paths compare case-sensitively";
    EXPECT_EQ(recent.entries().size(), 9u);
}

TEST(RecentFiles, CleanUpDropsMissingFilesAndClosesTheGaps)
{
    test::ScratchDir dir;
    const std::string settings = dir.path("VexaDisplay.ini");
    WriteFileBytes(dir.path("a.dsp"), "");
    WriteFileBytes(dir.path("c.dsp"), "");
    WriteFileBytes(settings, "[VEXA Display]\r\nDataSource=250\r\n[VEXA-Display]\r\nFile1=" + dir.path("a.dsp")
                                 + "\r\nFile2=" + dir.path("gone.dsp") + "\r\nFile4=" + dir.path("c.dsp") + "\r\n");
    RecentFiles recent(settings);
    recent.cleanUp();
    EXPECT_EQ(recent.entries(), (std::vector<std::string>{dir.path("a.dsp"), dir.path("c.dsp")}));
    EXPECT_EQ(profile::ReadString("VEXA-Display", "File2", "", settings), dir.path("c.dsp"));
    EXPECT_EQ(profile::ReadString("VEXA-Display", "File4", "none", settings), "none");
    EXPECT_EQ(profile::ReadString("VEXA Display", "DataSource", "", settings), "250");
}

TEST(RecentFiles, MenuItemsTakeTheLowestFreeIdentifiersAbove1024)
{
    test::ScratchDir dir;
    RecentFiles recent(dir.path("VexaDisplay.ini"));
    recent.add("/b & c/two.dsp");
    recent.add("/a/one.dsp");

    const std::vector<RecentFiles::MenuItem> items = recent.buildMenu({101, 1025, 1027});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].commandId, 1026);
    EXPECT_EQ(items[0].text, "&1 /a/one.dsp");
    EXPECT_EQ(items[1].commandId, 1028);
    EXPECT_EQ(items[1].text, "&2 /b && c/two.dsp");
    EXPECT_EQ(recent.commandPath(1028), "/b & c/two.dsp");
    EXPECT_EQ(recent.commandPath(1026), "/a/one.dsp");
    EXPECT_EQ(recent.commandPath(1025), std::nullopt);
    EXPECT_EQ(recent.commandPath(0), std::nullopt);

    recent.add("/b & c/two.dsp");
    const std::vector<RecentFiles::MenuItem> rebuilt = recent.buildMenu({});
    EXPECT_EQ(rebuilt[0].commandId, 1025);
    EXPECT_EQ(recent.commandPath(1025), "/b & c/two.dsp");
    EXPECT_EQ(recent.commandPath(1028), std::nullopt) << "identifiers of the old menu are forgotten";
}

TEST(FileCommandState, FollowsTheDocument)
{
    const FileCommandState none = FileCommandStateFor(false, false, "");
    EXPECT_EQ(none, (FileCommandState{true, false, false, true, "Current File: None"}));
    EXPECT_EQ(FileCommandStateFor(true, false, "/p/l.dsp"),
              (FileCommandState{true, false, true, false, "Current File: /p/l.dsp"}));
    EXPECT_EQ(FileCommandStateFor(true, true, "/p/l.dsp"),
              (FileCommandState{false, true, true, false, "Current File: /p/l.dsp"}));
}

TEST(ScratchCopy, EditorsWorkOnACopyThatGoesBackOnlyOnConfirm)
{
    test::ScratchDir dir;
    test::ScriptedMessages messages;
    const std::string working = dir.path("VEXADSP.TMP");
    WriteFileBytes(working, "[W1]\r\nT=Flow\r\n");
    {
        auto scratch = ScratchCopy::Begin(nullptr, EditorKind::Graphs, working);
        ASSERT_TRUE(scratch);
        EXPECT_EQ(scratch->path(), dir.path("VEXATMP.TMP"));
        profile::WriteString("W1", "T", "Flow rate", scratch->path());
        EXPECT_EQ(ReadFileBytes(working), "[W1]\r\nT=Flow\r\n") << "nothing reaches the working copy before OK";
        EXPECT_FALSE(scratch->commit(nullptr, false));
        EXPECT_EQ(profile::ReadString("W1", "T", "", working), "Flow");
        EXPECT_TRUE(scratch->commit(nullptr, true));
        EXPECT_EQ(profile::ReadString("W1", "T", "", working), "Flow rate");
    }
    EXPECT_FALSE(FileExists(dir.path("VEXATMP.TMP")));
    EXPECT_TRUE(messages.calls().empty());
}

TEST(ScratchCopy, ALeftOverScratchFileIsRefusedWithTheEditorsText)
{
    struct Case {
        EditorKind kind;
        const char* refusal;
    };
    const std::vector<Case> cases = {
        {EditorKind::Graphs, "This file must be removed before you can edit graph definitions."},
        {EditorKind::Views, "This file must be removed before you can edit view definitions."},
        {EditorKind::Measurements,
         "Unable to edit measurements. This file must be removed before you can edit measurement definitions."},
    };
    for (const Case& c : cases) {
        test::ScratchDir dir;
        test::ScriptedMessages messages;
        WriteFileBytes(dir.path("VEXAMVX.TMP"), "[A]\r\n");
        WriteFileBytes(dir.path("VEXATMP.TMP"), "left over");
        messages.script({MessageAnswer::No});
        EXPECT_FALSE(ScratchCopy::Begin(nullptr, c.kind, dir.path("VEXAMVX.TMP")));
        ASSERT_EQ(messages.boxes().size(), 2u);
        EXPECT_EQ(messages.boxes()[1].text, c.refusal);
        EXPECT_EQ(messages.boxes()[1].caption, "VEXA-Display Error");
        EXPECT_EQ(ReadFileBytes(dir.path("VEXATMP.TMP")), "left over");
    }

    test::ScratchDir dir;
    test::ScriptedMessages messages;
    WriteFileBytes(dir.path("VEXATMP.TMP"), "left over");
    messages.script({MessageAnswer::Yes});
    EXPECT_FALSE(ScratchCopy::Begin(nullptr, EditorKind::Views, dir.path("VEXADSP.TMP")))
        << "a working copy that cannot be copied ends the editor";
    ASSERT_EQ(messages.boxes().size(), 2u);
    EXPECT_EQ(messages.boxes()[1].caption, "ERROR: Could Not Copy File");
}

}  // namespace
}  // namespace vexa
