#include "GraphPage.h"

#include "graphs/builders/MeterGraph.h"
#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/Dial.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/Toolkit.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexa::graphs {
namespace {

using namespace toolkit::palette;
using test::CountPixelsNear;
using test::GraphPage;
using toolkit::Dial;

Dial* DialOf(const GraphPage& page)
{
    const std::vector<Dial*> dials = page.elements<Dial>();
    return dials.size() == 1 ? dials.front() : nullptr;
}

TEST(MeterGraph, TheDialSpansTheRangeWithTicksATenthOfTheMeasurementsOwnRange)
{
    struct Case {
        int type;
        Dial::Kind kind;
    };
    for (const Case c : {Case{kMeter, Dial::Kind::Needle}, Case{kArcMeter, Dial::Kind::Arc},
                         Case{kPieMeter, Dial::Kind::Pie}}) {
        SCOPED_TRACE(c.type);
        GraphPage page(c.type, {{"FLOW", 20, 80}});
        page.render();
        Dial* dial = DialOf(page);
        ASSERT_NE(dial, nullptr);
        EXPECT_EQ(dial->kind(), c.kind);
        EXPECT_DOUBLE_EQ(dial->minimum(), 0.0);
        EXPECT_DOUBLE_EQ(dial->maximum(), 80.0);
        EXPECT_DOUBLE_EQ(dial->tickInterval(), 6.0);
        EXPECT_DOUBLE_EQ(MeterTickInterval(page.definition()), 6.0);
    }
}

TEST(MeterGraph, TheTitleIsTheMeasurementsNameOnTheMeterFace)
{
    GraphPage page(kMeter, {{"FLOW", 0, 100}});
    const QImage image = page.render();
    std::vector<QString> texts;
    for (const toolkit::TextElement* text : page.elements<toolkit::TextElement>())
        texts.push_back(text->text());
    EXPECT_EQ(texts, (std::vector<QString>{QStringLiteral("FLOW")}));
    // The face fills the chart inside its frame with "Medium Green".
    const int area = image.width() * image.height();
    EXPECT_GT(CountPixelsNear(image, 0.0, 0.0, 1.0, 1.0, toolkit::PaletteColour(kMediumGreen), 4), area / 4);
}

TEST(MeterGraph, OnlyEnabledLevelsReplaceTheNormalHighAndLowColours)
{
    struct Case {
        const char* keys;
        toolkit::DialAlarmColours expected;
    };
    const Case cases[] = {
        {"", {10, 12, 11}},
        {"A2=1,4,High,50\r\n", {10, 4, 11}},
        {"A2=0,4,High,50\r\n", {10, 12, 11}},
        {"A1=1,2,Fine\r\nA3=1,9,Low,5\r\n", {2, 12, 9}},
        // Enabled without a colour: the level's own default.
        {"A2=1\r\n", {10, 12, 11}},
        // Other levels have no colour of their own on a dial.
        {"A4=1,5,High High,90\r\nA5=1,6,Low Low,2\r\n", {10, 12, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        GraphPage page(kMeter, {{"FLOW", 0, 100}}, c.keys);
        EXPECT_EQ(MeterAlarmColours(page.definition()),
                  c.expected);
        page.render();
        Dial* dial = DialOf(page);
        ASSERT_NE(dial, nullptr);
        EXPECT_EQ(dial->alarmColours(), c.expected);
    }
}

TEST(MeterGraph, TheDialShowsTheColourOfItsValuesState)
{
    GraphPage page(kArcMeter, {{"FLOW", 0, 100}}, "A2=1,4,High,50\r\nA3=1,9,Low,20\r\n");
    page.render();
    Dial* dial = DialOf(page);
    ASSERT_NE(dial, nullptr);
    struct Step {
        double value;
        int colour;
    };
    for (const Step step : {Step{35.0, 10}, Step{70.0, 4}, Step{35.0, 10}, Step{5.0, 9}}) {
        page.feed({step.value});
        EXPECT_EQ(dial->stateColour(), step.colour) << step.value;
    }
}

TEST(MeterGraph, AMeterOfSeveralMeasurementsHasANeedleForEachWhileTheOthersShowTheFirst)
{
    struct Case {
        int type;
        std::vector<int> shown;
    };
    for (const Case& c : {Case{kMeter, {0, 1}}, Case{kArcMeter, {0}}, Case{kPieMeter, {0}}}) {
        SCOPED_TRACE(c.type);
        GraphPage page(c.type, {{"FLOW", 0, 100}, {"HEAT", -20, 40}});
        page.render();
        Dial* dial = DialOf(page);
        ASSERT_NE(dial, nullptr);
        EXPECT_EQ(dial->shownChannels(), c.shown);
        EXPECT_DOUBLE_EQ(dial->minimum(), -20.0);
        EXPECT_DOUBLE_EQ(dial->maximum(), 100.0);
        // The ticks follow the first measurement alone.
        EXPECT_DOUBLE_EQ(dial->tickInterval(), 10.0);
    }
}

}  // namespace
}  // namespace vexa::graphs
