#include "IndicatorPage.h"

#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/AxisTicks.h"
#include "graphs/toolkit/BarIndicator.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/Dial.h"
#include "graphs/toolkit/DialScale.h"
#include "graphs/toolkit/GaugeIndicators.h"
#include "graphs/toolkit/TextElement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

namespace vexa::toolkit {
namespace {

using namespace palette;

constexpr PaletteIndex kMeterFace = kMediumGreen;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::vector<std::string> channelNames(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back("Channel " + std::to_string(i + 1));
    }
    return names;
}

/// A bar graph as the bar builder makes it: the High and Low marks at the
/// scale's ends.
class BarPage {
public:
    BarPage(int channels, double minimum, double maximum, BarOrientation orientation,
            std::vector<PaletteIndex> colours = {kRed, kYellow, kGreen})
        : dataset(CreateDataset("Tank farm", channels, channelNames(channels), RealTimeDataset::kNoHistory))
        , page([=, this](ChartWindow& chart, ChartContext& context) {
            BeginChart(chart, context);
            std::vector<QColor> barColours;
            for (PaletteIndex colour : colours) {
                barColours.push_back(PaletteColour(colour));
            }
            bars = CreateBarIndicator(chart, context, *dataset, {minimum, maximum}, orientation, {maximum, "High"},
                                      {minimum, "Low"}, barColours, parts);
        })
    {
        page.build();
    }

    void append(const std::vector<double>& row) { AppendRow(*dataset, row, page.chart); }

    std::unique_ptr<RealTimeDataset> dataset;
    std::array<IndicatorPart, kBarParts> parts;
    BarIndicator* bars = nullptr;
    test::IndicatorPage page;  // after the dataset: goes before it
};

/// The share of \p area's pixels near \p colour.
double shareNear(const QImage& image, const QRectF& area, int colour)
{
    const QRect pixels = area.toAlignedRect();
    if (pixels.isEmpty()) {
        return 0.0;
    }
    return static_cast<double>(test::CountPixelsNear(image, pixels, PaletteColour(colour))) /
           (pixels.width() * pixels.height());
}

/// The inside of a bar, clear of its edges.
QRectF inside(const QRectF& rect)
{
    constexpr double kEdge = 3.0;
    return rect.adjusted(kEdge, kEdge, -kEdge, -kEdge);
}

TEST(BarIndicator, EachBarRunsFromTheZeroLineToItsValueHeldToTheScale)
{
    struct Case {
        double value;
        double endShare;  // where the bar ends, as a share of the scale from its minimum
    };
    constexpr double kZeroShare = 50.0 / 150.0;
    const Case cases[] = {{0.0, kZeroShare}, {100.0, 1.0}, {150.0, 1.0}, {-50.0, 0.0},
                          {-80.0, 0.0},     {25.0, 0.5},  {kInfinity, 1.0}, {-kInfinity, 0.0}};
    for (BarOrientation orientation : {BarOrientation::Horizontal, BarOrientation::Vertical}) {
        BarPage bars(1, -50.0, 100.0, orientation);
        for (const Case& c : cases) {
            bars.append({c.value});
            const QRectF plot = bars.bars->plotRect();
            const QRectF bar = bars.bars->barRect(0);
            ASSERT_FALSE(bar.isNull()) << c.value;
            if (orientation == BarOrientation::Horizontal) {
                const double zero = plot.left() + kZeroShare * plot.width();
                const double end = plot.left() + c.endShare * plot.width();
                EXPECT_NEAR(bars.bars->zeroPixel(), zero, 1e-6);
                EXPECT_NEAR(bar.left(), std::min(zero, end), 1e-6) << c.value;
                EXPECT_NEAR(bar.right(), std::max(zero, end), 1e-6) << c.value;
                EXPECT_GT(bar.height(), 0.0);
            } else {
                const double zero = plot.bottom() - kZeroShare * plot.height();
                const double end = plot.bottom() - c.endShare * plot.height();
                EXPECT_NEAR(bars.bars->zeroPixel(), zero, 1e-6);
                EXPECT_NEAR(bar.top(), std::min(zero, end), 1e-6) << c.value;
                EXPECT_NEAR(bar.bottom(), std::max(zero, end), 1e-6) << c.value;
                EXPECT_GT(bar.width(), 0.0);
            }
        }
        // A full bar lies along the value axis.
        bars.append({100.0});
        const QRectF full = bars.bars->barRect(0);
        if (orientation == BarOrientation::Horizontal) {
            EXPECT_GT(full.width(), full.height());
        } else {
            EXPECT_GT(full.height(), full.width());
        }
    }
}

TEST(BarIndicator, BarsStackDownOrStandSideBySideInTheirColoursRepeatedWhenThereAreFewer)
{
    for (BarOrientation orientation : {BarOrientation::Horizontal, BarOrientation::Vertical}) {
        BarPage bars(3, 0.0, 100.0, orientation, {kRed, kYellow});
        bars.append({50.0, 60.0, 70.0});
        const QImage image = bars.page.render();
        const int expected[] = {kRed, kYellow, kRed};
        for (int channel = 0; channel < 3; ++channel) {
            const QRectF bar = bars.bars->barRect(channel);
            EXPECT_EQ(bars.bars->barFill(channel), PaletteColour(expected[channel]));
            EXPECT_GT(shareNear(image, inside(bar), expected[channel]), 0.95)
                << static_cast<int>(orientation) << " " << channel;
            if (channel > 0) {
                const QRectF before = bars.bars->barRect(channel - 1);
                if (orientation == BarOrientation::Horizontal) {
                    EXPECT_GT(bar.top(), before.bottom());
                } else {
                    EXPECT_GT(bar.left(), before.right());
                }
            }
        }
    }
}

TEST(BarIndicator, ABarInAlarmTakesTheAlarmPartsColourUntilItFallsPastTheHysteresis)
{
    BarPage bars(2, 0.0, 100.0, BarOrientation::Vertical, {kRed, kYellow});
    SetAlarmHysteresis(*bars.dataset, 5.0, 0.0);
    SetAlarmLimit(*bars.dataset, kLevelHigh, 80.0, true, "Too high");
    ASSERT_NE(bars.parts[kBarAlarmPart].alarm, nullptr);
    SetAlarmColour(*bars.page.chart, *bars.parts[kBarAlarmPart].alarm, kLightMagenta, kLevelHigh);

    struct Step {
        double value;
        int expected;
    };
    // 77 lies inside the hysteresis below the limit: still High.
    for (const Step& step : {Step{50.0, kRed}, Step{90.0, kLightMagenta}, Step{77.0, kLightMagenta},
                             Step{74.0, kRed}}) {
        bars.append({step.value, 10.0});
        const QImage image = bars.page.render();
        EXPECT_EQ(bars.bars->barFill(0), PaletteColour(step.expected)) << step.value;
        EXPECT_GT(shareNear(image, inside(bars.bars->barRect(0)), step.expected), 0.95) << step.value;
        // The value's box shows the state too; the other channel stays normal.
        const bool inAlarm = step.expected == kLightMagenta;
        EXPECT_EQ(shareNear(image, inside(bars.bars->valueRect(0)), kLightMagenta) > 0.3, inAlarm) << step.value;
        EXPECT_EQ(bars.bars->barFill(1), PaletteColour(kYellow));
    }
}

TEST(BarIndicator, FillsTheTitleAxisLabelAndAlarmPartsAndLeavesTheOthersNull)
{
    for (BarOrientation orientation : {BarOrientation::Horizontal, BarOrientation::Vertical}) {
        BarPage bars(2, 0.0, 100.0, orientation);
        auto& parts = bars.parts;
        ChartWindow& chart = *bars.page.chart;

        ASSERT_NE(parts[kBarTitlePart].text, nullptr);
        TextElement& title = *parts[kBarTitlePart].text;
        EXPECT_EQ(title.text(), "Tank farm");
        const QFont font = title.font();
        SetTextColour(chart, parts[kBarTitlePart], kGreen);
        EXPECT_EQ(title.colour(), PaletteColour(kGreen));
        EXPECT_EQ(title.font(), font) << "colouring keeps the indicator's own font";
        EXPECT_FALSE(font.bold());

        ASSERT_NE(parts[kBarLabelPart].textColour, nullptr);
        SetTextColour(chart, parts[kBarLabelPart], kYellow);
        EXPECT_EQ(bars.bars->labelColour(), PaletteColour(kYellow));

        ASSERT_NE(parts[kBarValueAxisPart].axis, nullptr);
        ASSERT_NE(parts[kBarChannelAxisPart].axis, nullptr);
        const auto along =
            orientation == BarOrientation::Horizontal ? AxisOrientation::Horizontal : AxisOrientation::Vertical;
        EXPECT_EQ(parts[kBarValueAxisPart].axis->direction(), along);
        EXPECT_NE(parts[kBarChannelAxisPart].axis->direction(), along);
        EXPECT_EQ(parts[kBarAlarmPart].alarm, &bars.bars->alarmPart());

        for (int index = 0; index < kBarParts; ++index) {
            if (index == kBarTitlePart || index == kBarValueAxisPart || index == kBarLabelPart ||
                index == kBarChannelAxisPart || index == kBarAlarmPart) {
                continue;
            }
            const IndicatorPart& part = parts[static_cast<std::size_t>(index)];
            EXPECT_TRUE(part.text == nullptr && part.textColour == nullptr && part.axis == nullptr &&
                        part.alarm == nullptr)
                << "part " << index;
        }
    }
}

TEST(BarIndicator, SetAxisColourRecoloursTheValueAxisAlongThePlotsEdge)
{
    BarPage bars(2, 0.0, 100.0, BarOrientation::Horizontal);
    bars.append({20.0, 30.0});
    const QRectF plot = bars.bars->plotRect();
    // The horizontal value axis runs along the plot's bottom edge.
    const QRectF edge(plot.left() + 2, plot.bottom() - 1, plot.width() - 4, 2);
    EXPECT_LT(shareNear(bars.page.render(), edge, kYellow), 0.05);
    SetAxisColour(*bars.page.chart, bars.parts[kBarValueAxisPart], kYellow);
    EXPECT_GT(shareNear(bars.page.render(), edge, kYellow), 0.25);
}

TEST(BarIndicator, DrawsNoBarOnceItsDatasetIsGone)
{
    BarPage bars(1, 0.0, 100.0, BarOrientation::Horizontal);
    bars.append({80.0});
    const QRectF bar = bars.bars->barRect(0);
    ASSERT_FALSE(bar.isEmpty());
    DestroyDataset(bars.dataset);
    EXPECT_TRUE(bars.bars->barRect(0).isNull());
    EXPECT_EQ(shareNear(bars.page.render(), inside(bar), kRed), 0.0);
}

TEST(BarIndicator, OddScalesValuesAndWindowsDrawWithoutFault)
{
    // An empty scale: drawn widened round its value, 0 in the middle.
    {
        BarPage bars(1, 0.0, 0.0, BarOrientation::Horizontal);
        bars.append({5.0});
        const QRectF plot = bars.bars->plotRect();
        EXPECT_NEAR(bars.bars->zeroPixel(), plot.center().x(), 1e-6);
        EXPECT_NEAR(bars.bars->barRect(0).right(), plot.right(), 1e-6);
        EXPECT_GT(bars.bars->tickInterval(), 0.0);
        bars.page.render();
    }
    // A value that is not a number has no bar; the others keep theirs.
    {
        BarPage bars(2, 0.0, 100.0, BarOrientation::Vertical);
        bars.append({kNaN, 40.0});
        EXPECT_TRUE(bars.bars->barRect(0).isNull());
        const QImage image = bars.page.render();
        EXPECT_GT(shareNear(image, inside(bars.bars->barRect(1)), kYellow), 0.95);
    }
    // More channels than colours, and windows too small for anything.
    {
        BarPage bars(12, -10.0, 10.0, BarOrientation::Horizontal, {});
        bars.append(std::vector<double>(12, 3.0));
        for (const QSize& size : {QSize(1, 1), QSize(30, 12), QSize(1000, 700)}) {
            bars.page.render(size);  // paints without fault
        }
        EXPECT_FALSE(bars.bars->barRect(11).isEmpty());
    }
    // No channels at all.
    {
        BarPage bars(0, 0.0, 100.0, BarOrientation::Vertical);
        bars.page.render();  // paints without fault
        EXPECT_TRUE(bars.bars->barRect(0).isNull());
    }
}

TEST(DialScale, RunsClockwiseFromTheEndAngleToTheStartAngle)
{
    struct Case {
        double minimum;
        double maximum;
        double startAngle;
        double endAngle;
        double value;
        double angle;
    };
    const Case cases[] = {
        // The meters' 270 degrees: lower left over the top to lower right.
        {0, 80, 315, 225, 0, 225},
        {0, 80, 315, 225, 80, 315},
        {0, 80, 315, 225, 40, 90},
        {0, 80, 315, 225, 20, 157.5},
        {0, 80, 315, 225, 60, 22.5},
        {0, 80, 315, 225, -10, 225},
        {0, 80, 315, 225, 100, 315},
        {-50, 50, 315, 225, 0, 90},
        // Half a turn over the top, and a whole turn.
        {0, 100, 0, 180, 0, 180},
        {0, 100, 0, 180, 50, 90},
        {0, 100, 0, 180, 100, 0},
        {0, 100, 90, 90, 50, 270},
        {0, 100, 90, 90, 25, 0},
        // A reversed scale still starts at the end angle.
        {80, 0, 315, 225, 80, 225},
        {80, 0, 315, 225, 0, 315},
        // An empty scale puts everything at its start.
        {10, 10, 315, 225, 50, 225},
        // Angles that are not numbers give the meters' geometry.
        {0, 80, kNaN, 225, 40, 90},
    };
    for (const Case& c : cases) {
        const DialScale scale(c.minimum, c.maximum, c.startAngle, c.endAngle);
        EXPECT_NEAR(scale.angleOf(c.value), c.angle, 1e-9)
            << c.minimum << ".." << c.maximum << " at " << c.startAngle << "/" << c.endAngle << ": " << c.value;
    }
    EXPECT_DOUBLE_EQ(DialScale(0, 80, 315, 225).sweep(), 270.0);
    EXPECT_DOUBLE_EQ(DialScale(0, 80, 90, 90).sweep(), 360.0);
    EXPECT_TRUE(std::isnan(DialScale(0, 80, 315, 225).angleOf(kNaN)));
}

TEST(DialScale, TicksRunFromTheMinimumEveryIntervalUpToACap)
{
    struct Case {
        double minimum;
        double maximum;
        double interval;
        std::size_t count;  // 0: any count from 2 to 201
        double first;
    };
    const Case cases[] = {
        {0, 80, 6, 14, 0},   // 0, 6, ... 78
        {20, 80, 6, 11, 20}, // 20, 26, ... 80
        {0, 80, 0, 0, 0},    // no interval: a round one
        {0, 80, -5, 0, 0},
        {0, 80, kNaN, 0, 0},
        {0, 80, 1e-9, 0, 0}, // far too fine: coarsened
        {10, 10, 1, 0, 10},  // nothing to divide
    };
    for (const Case& c : cases) {
        const DialScale scale(c.minimum, c.maximum, 315, 225);
        std::vector<double> ticks;
        const double used = scale.ticks(c.interval, ticks);
        if (c.minimum == c.maximum) {
            EXPECT_TRUE(ticks.empty());
            continue;
        }
        ASSERT_FALSE(ticks.empty()) << c.interval;
        EXPECT_DOUBLE_EQ(ticks.front(), c.first) << c.interval;
        EXPECT_GT(used, 0.0);
        if (c.count > 0) {
            EXPECT_EQ(ticks.size(), c.count) << c.interval;
            EXPECT_DOUBLE_EQ(used, c.interval);
        } else {
            EXPECT_GE(ticks.size(), 2u) << c.interval;
            EXPECT_LE(ticks.size(), static_cast<std::size_t>(kMaxTicks) + 1) << c.interval;
        }
    }
}

/// A meter graph as the meter builder makes it: the scale 0 to 80 with
/// ticks every 6, on a face panel, High above 60 and Low below 20.
class DialPage {
public:
    static constexpr DialAlarmColours kAlarmColours{kLightGreen, kLightMagenta, kLightCyan};

    explicit DialPage(Dial::Kind kind, int channels = 1, int channel = 0, double minimum = 0.0,
                      double maximum = 80.0, double tickInterval = 6.0)
        : dataset(CreateDataset("Meter", channels, channelNames(channels), RealTimeDataset::kNoHistory))
        , page([=, this](ChartWindow& chart, ChartContext& context) {
            BeginChart(chart, context);
            DrawPanel(chart, {0.01, 0.01, 0.99, 0.99}, kMeterFace, PaletteColour(kMeterFace));
            SetLineAttributes(context, {LineStyle::Solid, kThinLine, kBlack});
            const std::vector<PaletteIndex> needles{kYellow, kLightBlue};
            const ValueRange range{minimum, maximum};
            const DialGeometry geometry{.centre = {0.5, 0.55}, .radius = 0.6, .startAngle = 315, .endAngle = 225};
            const DialFill fill{.colour = kRed, .track = kLightGray};
            switch (kind) {
            case Dial::Kind::Needle:
                dial = CreateMeter(chart, context, *dataset, channel, range, tickInterval, geometry,
                                   {.colour = kRed, .size = 0.08, .needleWidth = 0.02}, needles, kAlarmColours);
                break;
            case Dial::Kind::Arc:
                dial = CreateArcMeter(chart, context, *dataset, channel, range, minimum, tickInterval, geometry, fill,
                                      0.15, kAlarmColours);
                break;
            case Dial::Kind::Pie:
                dial = CreatePieMeter(chart, context, *dataset, channel, range, minimum, tickInterval, geometry, fill,
                                      kAlarmColours);
                break;
            }
        })
    {
        page.build();
        SetAlarmHysteresis(*dataset, 0.0, 0.0);
        SetAlarmLimit(*dataset, kLevelHigh, 60.0, true, "High");
        SetAlarmLimit(*dataset, kLevelLow, 20.0, true, "Low");
    }

    void append(const std::vector<double>& row) { AppendRow(*dataset, row, page.chart); }

    /// The pixel \p distance (a share of the radius) from the centre at
    /// \p angle degrees.
    QPoint pixelAt(double angle, double distance) const
    {
        const double a = angle * std::numbers::pi / 180.0;
        const double r = distance * dial->radiusPixels();
        const QPointF centre = dial->centrePixel();
        return QPointF(centre.x() + std::cos(a) * r, centre.y() - std::sin(a) * r).toPoint();
    }

    /// How many pixels of \p colour lie along the ray at \p angle between
    /// \p from and \p to (shares of the radius).
    int pixelsAlong(const QImage& image, double angle, int colour, double from = 0.2, double to = 1.0) const
    {
        constexpr int kSamples = 60;
        int found = 0;
        for (int i = 0; i <= kSamples; ++i) {
            const QPoint pixel = pixelAt(angle, from + (to - from) * i / kSamples);
            found += test::CountPixelsNear(image, QRect(pixel, QSize(1, 1)), PaletteColour(colour), 20);
        }
        return found;
    }

    std::unique_ptr<RealTimeDataset> dataset;
    Dial* dial = nullptr;
    test::IndicatorPage page;  // after the dataset: goes before it
};

const Dial::Kind kAllKinds[] = {Dial::Kind::Needle, Dial::Kind::Arc, Dial::Kind::Pie};

TEST(Dial, EveryKindTakesTheScaleTickIntervalAndAlarmColoursItIsGiven)
{
    for (Dial::Kind kind : kAllKinds) {
        DialPage dial(kind);
        ASSERT_NE(dial.dial, nullptr);
        EXPECT_EQ(dial.dial->kind(), kind);
        EXPECT_EQ(dial.dial->minimum(), 0.0);
        EXPECT_EQ(dial.dial->maximum(), 80.0);
        EXPECT_EQ(dial.dial->tickInterval(), 6.0);
        EXPECT_EQ(dial.dial->ticks().size(), 14u);
        EXPECT_EQ(dial.dial->alarmColours(), DialPage::kAlarmColours);
        EXPECT_DOUBLE_EQ(dial.dial->angleOf(0.0), 225.0);
        EXPECT_DOUBLE_EQ(dial.dial->angleOf(80.0), 315.0);
    }
}

TEST(Dial, ANeedlePointsAtItsChannelsValueInItsColour)
{
    for (double value : {0.0, 20.0, 40.0, 55.0, 80.0}) {
        DialPage dial(Dial::Kind::Needle);
        dial.append({value});
        const QImage image = dial.page.render();
        const double angle = dial.dial->angleOf(value);
        EXPECT_GT(dial.pixelsAlong(image, angle, kYellow, 0.2, 0.65), 50) << value;
        EXPECT_EQ(dial.pixelsAlong(image, angle + 40.0, kYellow), 0) << value;
        EXPECT_EQ(dial.pixelsAlong(image, angle - 40.0, kYellow), 0) << value;
    }
}

TEST(Dial, AMeterOfEveryChannelHasANeedleForEachAndAMeterOfOneOnlyForIt)
{
    DialPage all(Dial::Kind::Needle, 2, kAllChannels);
    all.append({20.0, 70.0});
    const QImage image = all.page.render();
    EXPECT_EQ(all.dial->shownChannels(), (std::vector<int>{0, 1}));
    EXPECT_GT(all.pixelsAlong(image, all.dial->angleOf(20.0), kYellow, 0.2, 0.65), 50);
    EXPECT_GT(all.pixelsAlong(image, all.dial->angleOf(70.0), kLightBlue, 0.2, 0.65), 50);

    DialPage second(Dial::Kind::Needle, 2, 1);
    second.append({20.0, 70.0});
    const QImage one = second.page.render();
    EXPECT_EQ(second.dial->shownChannels(), (std::vector<int>{1}));
    EXPECT_EQ(second.pixelsAlong(one, second.dial->angleOf(20.0), kYellow), 0);
    EXPECT_GT(second.pixelsAlong(one, second.dial->angleOf(70.0), kLightBlue, 0.2, 0.65), 50);

    // A band or slice shows one channel, the first when asked for all.
    DialPage arc(Dial::Kind::Arc, 2, kAllChannels);
    EXPECT_EQ(arc.dial->shownChannels(), (std::vector<int>{0}));
}

TEST(Dial, TheReadoutBoxShowsTheAlarmStateInItsColours)
{
    struct Step {
        double value;
        int colour;
    };
    // Rate follows a jump from 78 to 50 and shows as normal, like Deviation.
    const Step steps[] = {{40.0, kLightGreen}, {70.0, kLightMagenta}, {10.0, kLightCyan},
                          {78.0, kLightMagenta}, {50.0, kLightGreen}};
    for (Dial::Kind kind : kAllKinds) {
        DialPage dial(kind);
        SetAlarmLimit(*dial.dataset, kLevelHighHigh, 75.0, true, "High High");
        SetAlarmLimit(*dial.dataset, kLevelRate, 5.0, true, "Rate");
        // The number shows, in black on the light state colours, once there is one.
        const auto numberShown = [&dial] {
            const QRectF box = dial.dial->readoutRect();
            const QRectF middle = box.adjusted(box.width() * 0.2, box.height() * 0.2, -box.width() * 0.2,
                                               -box.height() * 0.2);
            return shareNear(dial.page.render(), middle, kBlack) > 0.05;
        };
        EXPECT_FALSE(numberShown());
        for (const Step& step : steps) {
            dial.append({step.value});
            EXPECT_EQ(dial.dial->stateColour(), step.colour) << step.value;
            const QImage image = dial.page.render();
            const QRectF box = dial.dial->readoutRect();
            // The box's left end, clear of the number in its middle.
            const QRectF edge(box.left() + 2, box.top() + 2, box.width() * 0.1, box.height() - 4);
            EXPECT_GT(shareNear(image, edge, step.colour), 0.95) << static_cast<int>(kind) << " " << step.value;
            EXPECT_TRUE(numberShown());
        }
        EXPECT_EQ(dial.dataset->alarmState(0), kLevelRate);
    }
}

TEST(Dial, ABandOrSliceFillsFromTheReferenceToTheValue)
{
    for (Dial::Kind kind : {Dial::Kind::Arc, Dial::Kind::Pie}) {
        DialPage dial(kind);
        dial.append({52.0});
        const QImage image = dial.page.render();
        for (double inside : {5.0, 26.0, 48.0}) {
            EXPECT_GT(dial.pixelsAlong(image, dial.dial->angleOf(inside), kRed), 3) << inside;
        }
        for (double beyond : {58.0, 70.0}) {
            EXPECT_EQ(dial.pixelsAlong(image, dial.dial->angleOf(beyond), kRed), 0) << beyond;
            EXPECT_GT(dial.pixelsAlong(image, dial.dial->angleOf(beyond), kLightGray), 3) << beyond;
        }
    }
}

TEST(Dial, TheWholeDialAndItsReadoutFitTheWindowAtAnyShape)
{
    for (Dial::Kind kind : kAllKinds) {
        DialPage dial(kind);
        dial.append({30.0});
        for (const QSize& size : {QSize(1000, 700), QSize(400, 1000), QSize(1000, 200), QSize(60, 40)}) {
            const QImage image = dial.page.render(size);
            const QRectF window(QPointF(0, 0), QSizeF(size));
            const QPointF centre = dial.dial->centrePixel();
            const double outer = dial.dial->outerRadiusPixels();
            EXPECT_GT(dial.dial->radiusPixels(), 0.0);
            EXPECT_TRUE(window.contains(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer)))
                << size.width() << "x" << size.height();
            EXPECT_TRUE(window.contains(dial.dial->readoutRect())) << size.width() << "x" << size.height();
        }
        // A window with no room draws nothing, without fault.
        dial.page.render(QSize(2, 2));  // paints without fault
    }
}

TEST(Dial, DrawsNoValueOnceItsDatasetIsGone)
{
    DialPage dial(Dial::Kind::Needle);
    dial.append({70.0});
    const double angle = dial.dial->angleOf(70.0);
    DestroyDataset(dial.dataset);
    const QImage image = dial.page.render();
    EXPECT_EQ(dial.pixelsAlong(image, angle, kYellow), 0);
    EXPECT_EQ(dial.dial->stateColour(), kLightGreen);
    EXPECT_TRUE(dial.dial->shownChannels().empty());
}

TEST(Dial, OddScalesIntervalsAndValuesDrawWithoutFault)
{
    struct Case {
        double minimum;
        double maximum;
        double interval;
        double value;
    };
    const Case cases[] = {{0, 0, 6, 5}, {0, 80, 0, 30}, {0, 80, -1, 30}, {0, 80, 1e-12, 30},
                          {0, 80, 6, kNaN}, {0, 80, 6, kInfinity}, {80, 0, 6, 30}};
    for (Dial::Kind kind : kAllKinds) {
        for (const Case& c : cases) {
            DialPage dial(kind, 1, 0, c.minimum, c.maximum, c.interval);
            dial.append({c.value});
            dial.page.render();  // paints without fault
            EXPECT_LE(dial.dial->ticks().size(), static_cast<std::size_t>(kMaxTicks) + 1);
            if (std::isnan(c.value) && kind == Dial::Kind::Needle) {
                EXPECT_EQ(dial.pixelsAlong(dial.page.render(), 90.0, kYellow), 0);
            }
        }
    }
    // A channel the dataset does not have shows nothing.
    DialPage missing(Dial::Kind::Needle, 1, 3);
    missing.append({30.0});
    EXPECT_TRUE(missing.dial->shownChannels().empty());
    missing.page.render();  // paints without fault
}

}  // namespace
}  // namespace vexa::toolkit
