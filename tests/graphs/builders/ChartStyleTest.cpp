#include "graphs/builders/ChartStyle.h"

#include <gtest/gtest.h>

#include <string>

namespace vexa::graphs {
namespace {

TEST(ChartStyle, AStoredFontKeepsItsFaceSizeAndColourAndItsStyleBitsSayBoldItalicUnderline)
{
    struct Case {
        int style;
        bool bold;
        bool italic;
        bool underline;
    };
    const Case cases[] = {
        {0, false, false, false},
        {kFontBold, true, false, false},
        {kFontItalic, false, true, false},
        {kFontUnderline, false, false, true},
        {kFontBold | kFontItalic | kFontUnderline, true, true, true},
    };
    for (const Case& c : cases) {
        const toolkit::ChartFont font = ChartFontOf({"Arial", 14, c.style, toolkit::palette::kRed});
        EXPECT_EQ(font.face, "Arial");
        EXPECT_EQ(font.pointSize, 14);
        EXPECT_EQ(font.colour, toolkit::palette::kRed);
        EXPECT_EQ(font.bold, c.bold) << c.style;
        EXPECT_EQ(font.italic, c.italic) << c.style;
        EXPECT_EQ(font.underline, c.underline) << c.style;
    }
}

TEST(ChartStyle, AnUnknownWindowCharacteristicReadsAsProportional)
{
    struct Case {
        int stored;
        toolkit::WindowCharacteristic expected;
    };
    const Case cases[] = {
        {kFixedCharacteristic, toolkit::WindowCharacteristic::Fixed},
        {kProportionalCharacteristic, toolkit::WindowCharacteristic::Proportional},
        {kIsotropicCharacteristic, toolkit::WindowCharacteristic::Isotropic},
        {kNoCharacteristic, toolkit::WindowCharacteristic::Proportional},
        {3, toolkit::WindowCharacteristic::Proportional},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageCharacteristic(c.stored), c.expected) << c.stored;
}

}  // namespace
}  // namespace vexa::graphs
