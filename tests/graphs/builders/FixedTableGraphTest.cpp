#include "GraphPage.h"

#include "graphs/builders/FixedTableGraph.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ValueTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa::graphs {
namespace {

using namespace toolkit::palette;
using test::GraphPage;
using toolkit::ValueTable;

ValueTable* TableOf(const GraphPage& page)
{
    const std::vector<ValueTable*> tables = page.elements<ValueTable>();
    return tables.size() == 1 ? tables.front() : nullptr;
}

TEST(FixedTableGraph, AStateColumnOnlyWhenTheGraphHasAnAlarmEnabled)
{
    struct Case {
        const char* keys;
        bool stateColumn;
    };
    const Case cases[] = {
        {"", false},
        {"A2=0,13,High,60\r\nA3=0,12,Low,5\r\n", false},
        {"A7=1,5,Deviation,2\r\n", true},
        {"A1=1\r\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        GraphPage page(kFixedTabular, {{"FLOW", 0, 100}, {"HEAT", 0, 100}}, c.keys);
        page.render();
        ValueTable* table = TableOf(page);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->hasStateColumn(), c.stateColumn);
        EXPECT_EQ(table->rowCount(), 2);
    }
}

TEST(FixedTableGraph, RowTextsAreTheDescriptionsCutToFortyOneCharacters)
{
    const std::string fifty(50, 'd');
    const std::string fortyOne(41, 'e');
    GraphPage page(kFixedTabular, {{"FLOW", 0, 100, fifty}, {"HEAT", 0, 100, fortyOne}, {"LEVEL", 0, 100}});
    EXPECT_EQ(FixedTableRowTexts(page.definition()), (std::vector<std::string>{fifty.substr(0, 41), fortyOne, "?"}));
}

TEST(FixedTableGraph, RowsAreInTheirDataColoursAndValuesInTheirAlarmStatesColour)
{
    GraphPage page(kFixedTabular, {{"FLOW", 0, 100}, {"HEAT", 0, 100}},
                   "DC2=11\r\nA2=1,13,Too much,60\r\nTF=Arial,10,1,9\r\n");
    page.render();
    ValueTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowColour(0), toolkit::PaletteColour(DefaultDataColour(1)));
    EXPECT_EQ(table->rowColour(1), toolkit::PaletteColour(kLightCyan));

    page.feed({75.0, 10.0});
    page.render();
    EXPECT_EQ(table->valueFill(0), toolkit::PaletteColour(kLightMagenta));
    EXPECT_FALSE(table->valueFill(1).isValid());
    EXPECT_EQ(table->stateText(0), QStringLiteral("Too much"));
    EXPECT_EQ(table->valueText(1).toDouble(), 10.0);

    // The heading (the window's caption) takes the title font's colour.
    const toolkit::TextElement* heading = nullptr;
    for (const toolkit::TextElement* text : page.elements<toolkit::TextElement>()) {
        if (text->text() == QStringLiteral("Boiler pressure"))
            heading = text;
    }
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->colour(), toolkit::PaletteColour(kLightBlue));
}

}  // namespace
}  // namespace vexa::graphs
