#include "document/Definitions.h"
#include "document/DisplayFormat.h"
#include "document/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

using test::ScratchDir;
using test::WriteFileBytes;

std::string Read(const std::string& section, const std::string& key, const std::string& file)
{
    return profile::ReadString(section, key, "<absent>", file);
}

TEST(Definitions, DeletingGraphTwoOfFourMovesTheLaterSectionsAndDropsItFromViews)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file,
                   "[W1]\r\nT=Flow\r\nP=Meter\r\n"
                   "[W2]\r\nT=Pressure\r\nP=XYPlot\r\nM1=P1\r\nM2=P2\r\n"
                   "[W3]\r\nT=Level\r\nM1=L1\r\n"
                   "[W4]\r\nT=Speed\r\nUP=250\r\n"
                   "[V1]\r\nT=Overview\r\nW1=Flow\r\nR1=1 2 3 4\r\nW2=Pressure\r\nR2=5 6 7 8\r\n"
                   "W3=Level\r\nR3=9 10 11 12\r\n"
                   "[V2]\r\nT=Pressure only\r\nW1=Pressure\r\n");

    DeleteGraph(2, file);

    EXPECT_EQ(Read("W1", "T", file), "Flow");
    EXPECT_EQ(Read("W2", "T", file), "Level");
    EXPECT_EQ(Read("W2", "M1", file), "L1");
    EXPECT_EQ(Read("W2", "P", file), "<absent>") << "the former W3 must not keep keys of the deleted W2";
    EXPECT_EQ(Read("W3", "T", file), "Speed");
    EXPECT_EQ(Read("W3", "UP", file), "250");
    EXPECT_TRUE(profile::ListKeys("W4", file).empty());

    // The entries behind the removed one close up, each with its placement.
    EXPECT_EQ(Read("V1", "W1", file), "Flow");
    EXPECT_EQ(Read("V1", "R1", file), "1 2 3 4");
    EXPECT_EQ(Read("V1", "W2", file), "Level");
    EXPECT_EQ(Read("V1", "R2", file), "9 10 11 12");
    EXPECT_EQ(Read("V1", "W3", file), "<absent>");
    EXPECT_EQ(Read("V1", "R3", file), "<absent>");
    EXPECT_EQ(Read("V2", "T", file), "Pressure only");
    EXPECT_EQ(Read("V2", "W1", file), "<absent>");
}

TEST(Definitions, DeletingAViewRenumbersTheLaterViews)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file, "[V1]\r\nT=A\r\n[V2]\r\nT=B\r\nW1=x\r\n[V3]\r\nT=C\r\n");
    DeleteView(1, file);
    EXPECT_EQ(ReadDefinitionTitles(kViewPrefix, file), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(Read("V1", "W1", file), "x");
}

TEST(Definitions, CopiedValuesAreKeptWhole)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    const std::string longValue(5000, 'x');
    WriteFileBytes(file, "[W1]\r\nT=one\r\n[W2]\r\nT=two\r\nD=" + longValue + "\r\n");
    DeleteGraph(1, file);
    EXPECT_EQ(Read("W1", "D", file), longValue);

    std::string manyKeys = "[W1]\r\nT=t\r\n";
    for (int i = 0; i < 2000; ++i)
        manyKeys += "KEY_WITH_A_LONG_NAME_" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    WriteFileBytes(file, manyKeys);
    EXPECT_TRUE(CopySection("W1", "W9", file));
    EXPECT_EQ(profile::ListKeys("W9", file).size(), 2001u);
    EXPECT_EQ(Read("W9", "KEY_WITH_A_LONG_NAME_1999", file), "1999");
    EXPECT_FALSE(CopySection("W5", "W6", file));
}

TEST(Definitions, DuplicateTakesTheFirstFreeNumberedTitle)
{
    struct Case {
        std::vector<std::string> titles;
        int number;
        std::string expected;
    };
    const std::string title99(99, 'T');
    const std::vector<Case> cases = {
        {{"Pressure"}, 1, "Pressure(1)"},
        {{"Pressure", "Pressure(1)"}, 1, "Pressure(2)"},
        {{"Pressure(1)", "Pressure", "Pressure(2)"}, 2, "Pressure(3)"},
        {{"A", "Pressure"}, 2, "Pressure(1)"},
        {{title99}, 1, std::string(95, 'T') + "(1)"},
        {{"pressure(1)", "Pressure"}, 2, "Pressure(1)"},  // exact, case-sensitive comparison
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        const std::string file = dir.path("VEXADSP.TMP");
        std::string contents;
        for (std::size_t i = 0; i < c.titles.size(); ++i)
            contents += "[W" + std::to_string(i + 1) + "]\r\nT=" + c.titles[i] + "\r\nP=Meter\r\n";
        WriteFileBytes(file, contents);

        const int copy = DuplicateDefinition(kGraphPrefix, c.number, c.titles, file);

        const std::string section = GraphSectionName(static_cast<int>(c.titles.size()) + 1);
        EXPECT_EQ(copy, static_cast<int>(c.titles.size()) + 1);
        EXPECT_EQ(Read(section, "T", file), c.expected) << c.titles.front();
        EXPECT_EQ(Read(section, "P", file), "Meter");
    }
}

TEST(Definitions, TitleRules)
{
    const std::vector<std::string> titles = {"Flow", "Level", "flow"};
    EXPECT_FALSE(TitleIsUnique("Flow", titles, -1));
    EXPECT_TRUE(TitleIsUnique("Flow", titles, 0));  // the entry being edited
    EXPECT_FALSE(TitleIsUnique("Flow", titles, 1));
    EXPECT_TRUE(TitleIsUnique("FLOW", titles, -1));
    EXPECT_FALSE(TitleIsValid("", titles, -1));
    EXPECT_TRUE(TitleIsValid("Speed", titles, -1));
}

TEST(Definitions, EditorListsStopAtTheFirstMissingTitle)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file, "[W1]\r\nT=a\r\n[W2]\r\nT=b\r\n[W4]\r\nT=d\r\n[V1]\r\nT=v\r\n[V2]\r\nT=\r\n[V3]\r\nT=w\r\n");
    EXPECT_EQ(ReadDefinitionTitles(kGraphPrefix, file), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ReadDefinitionTitles(kViewPrefix, file), (std::vector<std::string>{"v"}));
}

TEST(Definitions, RenameAndRemoveReachEveryViewEntry)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    WriteFileBytes(file,
                   "[V1]\r\nT=one\r\nW1=Flow\r\nW2=Level\r\nW3=Flow\r\n"
                   "[V2]\r\nT=two\r\nW1=Level\r\nW3=Flow\r\nR3=1 1 1 1\r\n"
                   "[V4]\r\nT=unreachable\r\nW1=Flow\r\n");

    RenameGraphInViews("Flow", "Flow rate", file);
    EXPECT_EQ(Read("V1", "W1", file), "Flow rate");
    EXPECT_EQ(Read("V1", "W2", file), "Level");
    EXPECT_EQ(Read("V1", "W3", file), "Flow rate");
    EXPECT_EQ(Read("V2", "W3", file), "Flow rate") << "an entry behind a gap is still a reference";
    EXPECT_EQ(Read("V4", "W1", file), "Flow") << "views are walked up to the first missing one";

    RemoveGraphFromViews("Level", file);
    EXPECT_EQ(Read("V1", "W1", file), "Flow rate");
    EXPECT_EQ(Read("V1", "W2", file), "Flow rate");
    EXPECT_EQ(Read("V1", "W3", file), "<absent>");
    EXPECT_EQ(Read("V2", "W1", file), "Flow rate");
    EXPECT_EQ(Read("V2", "R1", file), "1 1 1 1");
    EXPECT_EQ(Read("V2", "W2", file), "<absent>");
}

TEST(DisplayFormat, TypeTableAndNames)
{
    struct Case {
        const char* name;
        int code;
        int measurements;
        int colours;
    };
    const std::vector<Case> cases = {
        {"TimeHistory", 1, 8, 8},        {"XYPlot", 2, 2, 1},           {"FixedTabular", 3, 8, 8},
        {"ScrollingTabular", 4, 8, 0},   {"HorizontalBarGraph", 5, 8, 8}, {"VerticalBarGraph", 6, 8, 8},
        {"Meter", 7, 1, 1},              {"Arc Meter", 8, 1, 1},        {"Pie Meter", 9, 1, 1},
        {"Annunciator", 10, 8, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GraphTypeFromName(c.name), c.code) << c.name;
        EXPECT_EQ(GraphTypeName(c.code), c.name);
        EXPECT_EQ(MostMeasurementsOfType(c.code), c.measurements) << c.name;
        EXPECT_EQ(DataColoursOfType(c.code), c.colours) << c.name;
    }
    for (const char* wrong : {"ArcMeter", "timehistory", "Meter ", ""})
        EXPECT_EQ(GraphTypeFromName(wrong), kNoGraphType) << wrong;
    EXPECT_EQ(MostMeasurementsOfType(kNoGraphType), 0);

    EXPECT_EQ(CharacteristicFromName("Fixed"), 7);
    EXPECT_EQ(CharacteristicFromName("Proportional"), 8);
    EXPECT_EQ(CharacteristicFromName("Isotropic"), 9);
    EXPECT_EQ(CharacteristicFromName("fixed"), 0);

    EXPECT_EQ(ColourName(0), "Black");
    EXPECT_EQ(ColourName(12), "Light Red");
    EXPECT_EQ(ColourName(19), "Off-White");
    EXPECT_EQ(ColourName(20), "");
    EXPECT_EQ(GraphSectionName(12), "W12");
    EXPECT_EQ(ViewSectionName(3), "V3");
    const std::vector<int> colours = {4, 14, 2, 8, 9, 15, 5, 6};
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(DefaultDataColour(k), colours[k - 1]);
}

}  // namespace
}  // namespace vexa
