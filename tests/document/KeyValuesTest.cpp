#include "document/AlarmEntry.h"
#include "document/FontSpec.h"
#include "document/GraphTable.h"
#include "document/Placement.h"
#include "document/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace vexa {
namespace {

using test::ScratchDir;
using test::WriteFileBytes;

TEST(FontSpec, DefaultsAndPartialValues)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file,
                   "[W1]\r\nTF=Liberation Serif,12,3,9\r\nGF=Liberation Sans\r\nLF=Liberation Sans,,,5\r\n"
                   "[W2]\r\nLF=Liberation Mono,14\r\n");
    struct Case {
        const char* section;
        const char* key;
        FontKind kind;
        FontSpec expected;
    };
    const std::vector<Case> cases = {
        {"W1", "TF", FontKind::Title, {"Liberation Serif", 12, 3, 9}},
        {"W1", "GF", FontKind::Grid, {"Liberation Sans", 8, 0, 0}},
        {"W1", "LF", FontKind::Label, {"Liberation Sans", 8, 0, 5}},
        {"W2", "LF", FontKind::TimeHistoryLabel, {"Liberation Mono", 14, 0, 4}},
        {"W2", "TF", FontKind::Title, {"Arial", 8, 0, 2}},
        {"W2", "LF2", FontKind::Label, {"Arial", 8, 0, 4}},
        {"W2", "GF", FontKind::Grid, {"Arial", 8, 0, 0}},
        {"W2", "TH", FontKind::TimeHistoryLabel, {"Arial", 8, 0, 4}},
        {"W2", "XX", FontKind::ScrollingTabularLabel, {"None", 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadFontSpec(c.section, c.key, c.kind, file), c.expected) << c.section << " " << c.key;
        EXPECT_EQ(FontColour(c.section, c.key, c.kind, file), c.expected.colour);
    }
    EXPECT_EQ(DefaultFontText(FontKind::Title), "Arial,8,0,2");
    EXPECT_EQ(DefaultFontText(FontKind::ScrollingTabularLabel), "None,0,0,0");
    EXPECT_EQ(ReadFontSpec("W1", "TF", FontKind::Title, file, 4).face, "Lib");

    ASSERT_TRUE(WriteFontSpec("W3", "TF", "Liberation Sans", "10", kFontBold | kFontItalic, 14, file));
    EXPECT_EQ(profile::ReadString("W3", "TF", "", file), "Liberation Sans,10,3,14");
}

TEST(FontSpec, CheckRemovesFacesThatAreNotInstalled)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file,
                   "[W1]\r\nT=a\r\nTF=Fixedsys,10,0,2\r\nLF=None,0,0,0\r\nGF=Installed,8,0,0\r\n"
                   "[W2]\r\nT=b\r\nTF=\r\nLF=installed,8,0,4\r\nGF=Installed\r\n"
                   "[W4]\r\nT=behind a gap\r\nTF=Fixedsys,10,0,2\r\n");
    const std::set<std::string> installed = {"Installed"};
    CheckFontNames(file, [&](const std::string& face) { return installed.count(face) != 0; });

    EXPECT_EQ(profile::ListKeys("W1", file), (std::vector<std::string>{"T", "LF", "GF"}));
    EXPECT_EQ(profile::ListKeys("W2", file), (std::vector<std::string>{"T", "GF"}))
        << "an empty value and a face in the wrong case are removed";
    EXPECT_EQ(profile::ReadString("W4", "TF", "", file), "Fixedsys,10,0,2")
        << "the walk stops at the first missing graph section";
    EXPECT_EQ(ReadFontSpec("W1", "TF", FontKind::Title, file), (FontSpec{"Arial", 8, 0, 2}));
}

TEST(AlarmEntry, DefaultsFieldsAndStoredForm)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file,
                   "[W1]\r\nA1=1,3,Fine\r\nA2=1,4,Too high,95.5\r\nA3=0,5, ,10\r\nA4=1\r\nA6=0,,,2.5\r\n"
                   "[W2]\r\nA5=0,12,Low Low,1\r\nA7=1,1,Deviation,3\r\n");
    struct Case {
        int entry;
        AlarmEntry expected;
    };
    const std::vector<Case> cases = {
        {1, {true, 3, "Fine", ""}},
        {2, {true, 4, "Too high", "95.5"}},
        {3, {false, 5, " ", "10"}},
        {4, {true, 10, "High High", ""}},
        {5, {false, 12, "Low Low", ""}},
        {6, {false, 1, "Rate", "2.5"}},
        {7, {false, 1, "Deviation", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadAlarmEntry("W1", c.entry, file), c.expected) << "A" << c.entry;
    EXPECT_EQ(DefaultAlarmEntry(3), (AlarmEntry{false, 11, "Low", ""}));
    EXPECT_EQ(DefaultAlarmEntry(2).colour, 12);

    EXPECT_TRUE(AnyAlarmEnabled("W1", 0, file));
    EXPECT_FALSE(AnyAlarmEnabled("W1", 3, file));
    EXPECT_TRUE(AnyAlarmEnabled("W2", 7, file));
    EXPECT_FALSE(AnyAlarmEnabled("W2", 5, file));
    EXPECT_FALSE(AnyAlarmEnabled("W3", 0, file));

    EXPECT_EQ(FormatAlarmEntry(2, {true, 12, "", "90"}), "1,12, ,90");
    EXPECT_EQ(FormatAlarmEntry(1, {false, 10, "OK", "ignored"}), "0,10,OK");
    EXPECT_EQ(FormatAlarmEntry(3, {true, 11, "a,b", "5"}), "1,11,a b,5");
}

TEST(Placement, MissingNumbersTakeTheDefault)
{
    struct Case {
        const char* value;
        Placement expected;
    };
    constexpr int d = kUseDefaultPlacement;
    const std::vector<Case> cases = {
        {"10 20 300 400", {10, 20, 300, 400}},
        {"10 20", {10, 20, d, d}},
        {"", {d, d, d, d}},
        {"  -5   7 8 9 10", {-5, 7, 8, 9}},
        {"1 x 3 4", {1, d, d, d}},
        {"abc", {d, d, d, d}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParsePlacement(c.value, d), c.expected) << c.value;
    EXPECT_EQ(ParsePlacement("1", 300), (Placement{1, 300, 300, 300}));
    EXPECT_EQ(FormatPlacement({1, -2, 300, 40}), "1 -2 300 40");

    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file, "[W1]\r\nR=10 20\r\n[V1]\r\nR2=4 3 2 1\r\n");
    EXPECT_EQ(ReadPlacement("W1", "R", d, file), (Placement{10, 20, d, d}));
    EXPECT_EQ(ReadPlacement("V1", "R2", d, file), (Placement{4, 3, 2, 1}));
    EXPECT_EQ(ReadPlacement("V1", "R1", 300, file), (Placement{300, 300, 300, 300}));
}

TEST(GraphTable, OpenRecordsAreFoundByTheirWindow)
{
    GraphTable table;
    EXPECT_FALSE(table.anyOpen());
    auto* window = reinterpret_cast<QWidget*>(&table);  // any distinct address stands for a window
    table.record(41).window = window;
    table.record(41).measurementCount = 3;
    EXPECT_TRUE(table.isOpen(41));
    EXPECT_TRUE(table.anyOpen());
    EXPECT_EQ(table.findByWindow(window), 41);
    EXPECT_EQ(table.findByWindow(nullptr), -1);
    table.clearRecord(41);
    EXPECT_EQ(table.record(41).measurementCount, 0);
    EXPECT_FALSE(table.anyOpen());
    EXPECT_THROW(table.record(kMaxGraphs), std::out_of_range);
}

}  // namespace
}  // namespace vexa
