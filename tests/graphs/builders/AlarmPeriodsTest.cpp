#include "GraphPage.h"

#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/Toolkit.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace vexa::graphs {
namespace {

using namespace toolkit::palette;
using test::CountPixelsNear;
using test::FindButton;
using test::GraphPage;

constexpr double kSampleSeconds = 0.05;
/// Each phase of the fed values lasts this long; four phases stay short of
/// the plot's scroll position, so that elapsed time t sits at x = t / 20 of
/// the plot.
constexpr double kPhaseSeconds = 5.0;
constexpr double kLastPhaseSeconds = 3.0;

/// A band across the plot, in fractions of the page.
struct Band {
    double left;
    double top;
    double right;
    double bottom;
};

int Count(const QImage& image, const Band& band, toolkit::PaletteIndex colour)
{
    return CountPixelsNear(image, band.left, band.top, band.right, band.bottom, toolkit::PaletteColour(colour), 20);
}

int Pixels(const QImage& image, const Band& band)
{
    return static_cast<int>((band.right - band.left) * image.width() * (band.bottom - band.top) * image.height());
}

/// A time history of one measurement on 0 ... 100 with High at 60 in
/// yellow and High High at 80 in light blue, Low (light magenta, at 20)
/// disabled, the normal level enabled in pale blue; fed 50 (normal), then 70
/// (High), then 90 (High High), then 50 again.
class AlarmPeriods : public ::testing::Test {
protected:
    AlarmPeriods()
    {
        m_page.render();
        feedPhase(50.0, kPhaseSeconds);
        feedPhase(70.0, kPhaseSeconds);
        feedPhase(90.0, kPhaseSeconds);
        feedPhase(50.0, kLastPhaseSeconds);
    }

    void feedPhase(double value, double seconds)
    {
        const int rows = static_cast<int>(seconds / kSampleSeconds + 0.5);
        for (int i = 0; i < rows; ++i) {
            m_page.feed({value}, m_time);
            m_time += kSampleSeconds;
        }
    }

    vexa::test::ScriptedMessages m_messages;
    GraphPage m_page{kTimeHistory,
                     {{"PRESSURE", 0, 100}},
                     "A1=1,16,OK\r\nA2=1,14,High,60\r\nA3=0,13,Low,20\r\nA4=1,9,High High,80\r\nAH=0.0 0.0\r\n"};
    double m_time = 36000.0;
};

TEST_F(AlarmPeriods, TheStripChartTintsEachPeriodInItsLevelsColourAndDashesTheEnabledLimits)
{
    const QImage image = m_page.render();
    // The plot spans 0.1 ... 0.8 across (20 s) and 0.9 ... 0.1 down (0 ...
    // 100). Bands at values 30 to 40, clear of the trace and the limits,
    // in the middle of each phase.
    const auto phase = [](double seconds) {
        const double x = 0.1 + 0.7 * seconds / 20.0;
        return Band{x - 0.03, 0.58, x + 0.03, 0.66};
    };
    const Band normalBefore = phase(2.5);
    const Band high = phase(7.5);
    const Band highHigh = phase(12.5);
    const Band normalAfter = phase(16.5);

    EXPECT_GT(Count(image, high, kYellow), Pixels(image, high) * 8 / 10);
    EXPECT_EQ(Count(image, high, kLightBlue), 0);
    EXPECT_GT(Count(image, highHigh, kLightBlue), Pixels(image, highHigh) * 8 / 10);
    EXPECT_EQ(Count(image, highHigh, kYellow), 0);
    for (const Band& normal : {normalBefore, normalAfter}) {
        EXPECT_EQ(Count(image, normal, kYellow), 0);
        EXPECT_EQ(Count(image, normal, kLightBlue), 0);
        EXPECT_GT(Count(image, normal, kBlue), Pixels(image, normal) * 8 / 10) << "the plot's own background";
    }

    // Where nothing is tinted, the limits of High (60) and High High (80)
    // are dashed lines in their colours, across the plot.
    const Band atHigh{0.11, 0.41, 0.17, 0.43};
    const Band atHighHigh{0.11, 0.25, 0.17, 0.27};
    const int lineLength = static_cast<int>((atHigh.right - atHigh.left) * image.width());
    for (const auto& [band, colour] : {std::pair{atHigh, kYellow}, std::pair{atHighHigh, kLightBlue}}) {
        const int drawn = Count(image, band, colour);
        EXPECT_GT(drawn, lineLength * 4 / 10) << "a line at the limit in its level's colour";
        EXPECT_LT(drawn, lineLength * 9 / 10) << "dashed, not solid";
    }
    // Nothing for the disabled Low, nothing for normal, anywhere on the plot.
    const Band plot{0.1, 0.1, 0.8, 0.9};
    EXPECT_EQ(Count(image, plot, kLightMagenta), 0);
    EXPECT_EQ(Count(image, plot, kPaleBlue), 0);
}

TEST_F(AlarmPeriods, TheHistoryWindowShowsTheSamePeriodsAndLimits)
{
    ASSERT_NE(m_page.chart(), nullptr);
    QPushButton* history = FindButton(*m_page.chart(), QStringLiteral("History"));
    ASSERT_NE(history, nullptr);
    history->click();
    TimeHistoryState* state = TimeHistoryStateOf(m_page.resources());
    ASSERT_NE(state, nullptr);
    ASSERT_NE(state->historyWindow, nullptr);
    const QImage image = toolkit::RenderPageImage(*state->historyWindow, {GraphPage::kWidth, GraphPage::kHeight});

    // The chart fills 0.005 ... 0.995 of the page, its plot 0.1 ... 0.95
    // across (the 18 s held) and 0.85 ... 0.05 down (50 ... 90). Bands at
    // values 53 to 57.
    const auto x = [](double seconds) { return 0.005 + 0.99 * (0.1 + 0.85 * seconds / 17.95); };
    const auto phase = [&x](double seconds) { return Band{x(seconds) - 0.03, 0.73, x(seconds) + 0.03, 0.76}; };
    EXPECT_GT(Count(image, phase(7.5), kYellow), Pixels(image, phase(7.5)) * 8 / 10);
    EXPECT_GT(Count(image, phase(12.5), kLightBlue), Pixels(image, phase(12.5)) * 8 / 10);
    for (const double normal : {2.5, 16.5}) {
        EXPECT_EQ(Count(image, phase(normal), kYellow), 0);
        EXPECT_EQ(Count(image, phase(normal), kLightBlue), 0);
    }
    // The High limit (60) crosses the plot at a quarter of its height from
    // the bottom of 50 ... 90.
    const double y = 0.005 + 0.99 * (0.85 - 0.8 * 0.25);
    const Band atHigh{x(0.5), y - 0.01, x(4.0), y + 0.01};
    const int lineLength = static_cast<int>((atHigh.right - atHigh.left) * image.width());
    EXPECT_GT(Count(image, atHigh, kYellow), lineLength * 4 / 10);
    EXPECT_LT(Count(image, atHigh, kYellow), lineLength * 9 / 10);
    EXPECT_EQ(Count(image, Band{0.1, 0.05, 0.95, 0.85}, kLightMagenta), 0);
}

}  // namespace
}  // namespace vexa::graphs
