#include "GraphPage.h"

#include "graphs/toolkit/BarIndicator.h"
#include "graphs/toolkit/GaugeIndicators.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/Toolkit.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexa::graphs {
namespace {

using namespace toolkit::palette;
using test::CountPixelsNear;
using test::GraphPage;
using toolkit::BarIndicator;

BarIndicator* BarsOf(const GraphPage& page)
{
    const std::vector<BarIndicator*> bars = page.elements<BarIndicator>();
    return bars.size() == 1 ? bars.front() : nullptr;
}

/// Pixels of \p colour inside the bar of \p channel.
int PixelsOnBar(const QImage& image, const BarIndicator& bars, int channel, const QColor& colour)
{
    const QRectF bar = bars.barRect(channel);
    return CountPixelsNear(image, bar.left() / image.width(), bar.top() / image.height(),
                           bar.right() / image.width(), bar.bottom() / image.height(), colour, 10);
}

TEST(BarGraph, AllBarsShareOneScaleOverEveryMeasurementsRangeAndZero)
{
    struct Case {
        std::vector<test::TestMeasurement> measurements;
        double minimum;
        double maximum;
    };
    const Case cases[] = {
        {{{"FLOW", 0, 100}, {"HEAT", -50, 20}}, -50.0, 100.0},
        {{{"FLOW", 10, 50}, {"HEAT", 20, 40}}, 0.0, 50.0},
    };
    for (const Case& c : cases) {
        GraphPage page(kHorizontalBarGraph, c.measurements);
        page.render();
        BarIndicator* bars = BarsOf(page);
        ASSERT_NE(bars, nullptr);
        EXPECT_DOUBLE_EQ(bars->minimum(), c.minimum);
        EXPECT_DOUBLE_EQ(bars->maximum(), c.maximum);
        EXPECT_EQ(bars->barCount(), 2);
    }
}

TEST(BarGraph, TheVerticalGraphDiffersOnlyInItsOrientation)
{
    const std::vector<test::TestMeasurement> measurements = {{"FLOW", 0, 100}, {"HEAT", -50, 20}};
    const std::string keys = "A2=1,13,Too much,60\r\n";
    GraphPage across(kHorizontalBarGraph, measurements, keys);
    GraphPage up(kVerticalBarGraph, measurements, keys);
    for (GraphPage* page : {&across, &up}) {
        page->render();
        page->feed({80.0, -20.0});
        page->render();
    }
    BarIndicator* horizontal = BarsOf(across);
    BarIndicator* vertical = BarsOf(up);
    ASSERT_NE(horizontal, nullptr);
    ASSERT_NE(vertical, nullptr);
    EXPECT_EQ(horizontal->orientation(), toolkit::BarOrientation::Horizontal);
    EXPECT_EQ(vertical->orientation(), toolkit::BarOrientation::Vertical);
    EXPECT_DOUBLE_EQ(vertical->minimum(), horizontal->minimum());
    EXPECT_DOUBLE_EQ(vertical->maximum(), horizontal->maximum());
    EXPECT_DOUBLE_EQ(vertical->tickInterval(), horizontal->tickInterval());
    for (int channel = 0; channel < 2; ++channel)
        EXPECT_EQ(vertical->barFill(channel), horizontal->barFill(channel)) << channel;
    EXPECT_EQ(vertical->labelColour(), horizontal->labelColour());
    // Bars run along their orientation.
    const QRectF wide = horizontal->barRect(0);
    const QRectF tall = vertical->barRect(0);
    EXPECT_GT(wide.width(), wide.height());
    EXPECT_GT(tall.height(), tall.width());
}

TEST(BarGraph, ABarInAlarmTakesItsLevelsColourAndTheOthersKeepTheirDataColours)
{
    // High is enabled at 60 in Light Magenta; the second bar has its data
    // colour "DC2" set to Light Cyan.
    for (const int type : {int{kHorizontalBarGraph}, int{kVerticalBarGraph}}) {
        SCOPED_TRACE(type);
        GraphPage page(type, {{"FLOW", 0, 100}, {"HEAT", 0, 100}}, "A2=1,13,Too much,60\r\nDC2=11\r\n");
        page.render();
        page.feed({90.0, 40.0});
        const QImage image = page.render();
        BarIndicator* bars = BarsOf(page);
        ASSERT_NE(bars, nullptr);
        const QColor alarm = toolkit::PaletteColour(kLightMagenta);
        const QColor second = toolkit::PaletteColour(kLightCyan);
        EXPECT_EQ(bars->barFill(0), alarm);
        EXPECT_EQ(bars->barFill(1), second);
        const int barArea = static_cast<int>(bars->barRect(0).width() * bars->barRect(0).height());
        EXPECT_GT(PixelsOnBar(image, *bars, 0, alarm), barArea / 2);
        EXPECT_EQ(PixelsOnBar(image, *bars, 1, alarm), 0);
        EXPECT_GT(PixelsOnBar(image, *bars, 1, second), 0);

        // Back below the limit (and its hysteresis) the bar is in its own colour.
        page.feed({30.0, 40.0});
        const QImage calm = page.render();
        EXPECT_EQ(bars->barFill(0), toolkit::PaletteColour(DefaultDataColour(1)));
        EXPECT_EQ(PixelsOnBar(calm, *bars, 0, alarm), 0);
    }
}

const toolkit::TextElement* TitleOf(const GraphPage& page)
{
    for (const toolkit::TextElement* text : page.elements<toolkit::TextElement>()) {
        if (text->text() == QStringLiteral("Boiler pressure"))
            return text;
    }
    return nullptr;
}

TEST(BarGraph, TheStoredFontsGiveOnlyTheirColours)
{
    GraphPage styled(kHorizontalBarGraph, {{"FLOW", 0, 100}},
                     "TF=Liberation Serif,12,1,4\r\nLF=Liberation Serif,14,1,13\r\n");
    GraphPage plain(kHorizontalBarGraph, {{"FLOW", 0, 100}});
    styled.render();
    plain.render();
    const toolkit::TextElement* title = TitleOf(styled);
    const toolkit::TextElement* plainTitle = TitleOf(plain);
    ASSERT_NE(title, nullptr);
    ASSERT_NE(plainTitle, nullptr);
    EXPECT_EQ(title->colour(), toolkit::PaletteColour(kRed));
    EXPECT_NE(title->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_NE(title->font().pointSize(), 12);
    EXPECT_FALSE(title->font().bold());
    // Face, size and style are the indicator's, whatever the title font says.
    EXPECT_EQ(title->font(), plainTitle->font());
    BarIndicator* bars = BarsOf(styled);
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->labelColour(), toolkit::PaletteColour(kLightMagenta));
}

}  // namespace
}  // namespace vexa::graphs
