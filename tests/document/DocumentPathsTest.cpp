#include "document/DocumentPaths.h"
#include "document/FileOperations.h"
#include "document/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace vexa {
namespace {

TEST(DocumentPaths, MeasurementFileIsNamedAfterTheDisplayFileNameOnly)
{
    struct Case {
        const char* document;
        const char* measurements;
        const char* displayCopy;
        const char* measurementCopy;
    };
    const std::vector<Case> cases = {
        {"/data/plant.v2/line.dsp", "/data/plant.v2/line.mvx", "/data/plant.v2/VEXADSP.TMP",
         "/data/plant.v2/VEXAMVX.TMP"},
        {"/data/line.v2.dsp", "/data/line.mvx", "/data/VEXADSP.TMP", "/data/VEXAMVX.TMP"},
        {"/home/u/.config/x/SIMULATE.DSP", "/home/u/.config/x/SIMULATE.mvx", "/home/u/.config/x/VEXADSP.TMP",
         "/home/u/.config/x/VEXAMVX.TMP"},
        {"/plant/line", "/plant/line.mvx", "/plant/VEXADSP.TMP", "/plant/VEXAMVX.TMP"},
        {"line.dsp", "line.mvx", "VEXADSP.TMP", "VEXAMVX.TMP"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MeasurementPathFor(c.document), c.measurements) << c.document;
        EXPECT_EQ(WorkingDisplayCopyFor(c.document), c.displayCopy) << c.document;
        EXPECT_EQ(WorkingMeasurementCopyFor(c.document), c.measurementCopy) << c.document;
    }
    EXPECT_EQ(ScratchCopyFor("/data/VEXAMVX.TMP"), "/data/VEXATMP.TMP");
}

TEST(DocumentPaths, DocumentPathsAreMadeAbsolute)
{
    test::ScratchDir dir;
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(AbsoluteDocumentPath("line.dsp"), cwd + "/line.dsp");
    EXPECT_EQ(AbsoluteDocumentPath("./a/../line.dsp"), cwd + "/line.dsp");
    EXPECT_EQ(AbsoluteDocumentPath("/x/y.dsp"), "/x/y.dsp");
    ASSERT_EQ(::chdir("/"), 0);  // the scratch directory goes with the test
}

TEST(DocumentPaths, FormingACopyPathDropsWhatWasCachedOfIt)
{
    test::ScratchDir dir;
    const std::string copy = dir.path("VEXADSP.TMP");
    test::WriteFileBytes(copy, "[W1]\r\nT=old\r\n");
    EXPECT_EQ(profile::ReadString("W1", "T", "", copy), "old");
    // Same size and, on a coarse clock, the same time stamp: only the flush
    // guarantees that the new contents are seen.
    test::WriteFileBytes(copy, "[W1]\r\nT=new\r\n");
    EXPECT_EQ(WorkingDisplayCopyFor(dir.path("line.dsp")), copy);
    EXPECT_EQ(profile::ReadString("W1", "T", "", copy), "new");
}

TEST(CreateName, CompletionAndExtensionRules)
{
    struct Case {
        const char* typed;
        const char* completed;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"/d/line", "/d/line.dsp", true},
        {"/d/line.", "/d/line.dsp", true},
        {"/d/line.txt", "/d/line.txt", false},
        {"/d/LINE.DSP", "/d/LINE.DSP", true},
        {"/d/Line.Dsp", "/d/Line.Dsp", true},
        {"/d.v2/line", "/d.v2/line.dsp", true},
        {"/d/line.dsp.bak", "/d/line.dsp.bak", false},
    };
    for (const Case& c : cases) {
        const std::string completed = CompleteCreateName(c.typed);
        EXPECT_EQ(completed, c.completed) << c.typed;
        EXPECT_EQ(HasDisplayExtension(completed), c.accepted) << c.typed;
    }
}

}  // namespace
}  // namespace vexa
