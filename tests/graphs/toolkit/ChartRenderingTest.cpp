#include "IndicatorPage.h"
#include "StripChartPage.h"

#include "graphs/toolkit/AlarmIndicator.h"
#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/Readout.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/TimeLabels.h"
#include "platform/InstalledFonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace vexa::toolkit {
namespace {

/// A generous bound on waiting for the event loop; never reached when all is well.
constexpr int kWaitMs = 10000;
using test::InkBounds;
using test::StripChartPage;
using namespace palette;

// The plot area of a strip chart at 1000 x 700, and where 50 is on it.
constexpr int kPlotLeft = 100;
constexpr int kPlotWidth = 700;
constexpr int kMiddleY = 350;

int pixelOfSeconds(double seconds)
{
    return kPlotLeft + static_cast<int>(std::lround(seconds / 20.0 * kPlotWidth));
}

TEST(ScrollingPlot, TheNewestRowSitsAtItsElapsedTimeUntilTheScrollPositionThenStaysThere)
{
    struct Case {
        int rows;               // after the first
        double newestSeconds;   // scale time of the newest row
        double origin;
    };
    // One row a second; the plot scrolls once 0.9 of 20 s has passed.
    for (const Case& c : {Case{4, 4.0, 0.0}, Case{29, 18.0, 11.0}}) {
        StripChartPage strip({kYellow});
        strip.build();
        strip.append({50.0}, StripChartPage::kFirstTimeOfDay);
        for (int i = 0; i < c.rows; ++i) {
            strip.append({50.0}, 1.0);
        }
        EXPECT_DOUBLE_EQ(ScrollOrigin(strip.plot), c.origin);
        const QImage image = strip.render();
        const int newest = pixelOfSeconds(c.newestSeconds);
        EXPECT_EQ(image.pixelColor(newest - 2, kMiddleY), PaletteColour(kYellow)) << c.rows << " rows";
        EXPECT_EQ(image.pixelColor(newest + 15, kMiddleY), PaletteColour(kBlue)) << "nothing right of the newest";
        EXPECT_EQ(image.pixelColor(kPlotLeft + 3, kMiddleY), PaletteColour(kYellow)) << "the trace reaches the left";
    }
}

TEST(ScrollingPlot, EachChannelIsATraceInItsColourAndGapsStayEmpty)
{
    StripChartPage strip({kYellow, kWhite});
    strip.build();
    strip.append({20.0, 80.0}, StripChartPage::kFirstTimeOfDay);
    for (int i = 1; i <= 10; ++i) {
        // Channel 0 has no value for rows 4 to 6.
        const double first = (i >= 4 && i <= 6) ? std::nan("") : 20.0;
        strip.append({first, 80.0}, 1.0);
    }
    const QImage image = strip.render();
    const int y20 = 630 - static_cast<int>(0.2 * 560);
    const int y80 = 630 - static_cast<int>(0.8 * 560);
    EXPECT_EQ(image.pixelColor(pixelOfSeconds(2.0), y20), PaletteColour(kYellow));
    EXPECT_EQ(image.pixelColor(pixelOfSeconds(2.0), y80), PaletteColour(kWhite));
    EXPECT_NE(image.pixelColor(pixelOfSeconds(5.0), y20), PaletteColour(kYellow)) << "no line across the gap";
    EXPECT_EQ(image.pixelColor(pixelOfSeconds(8.0), y20), PaletteColour(kYellow));
}

TEST(TimeLabels, TicksStayOnRoundElapsedTimesAndReadAsClockTimesWhileScrolling)
{
    StripChartPage strip({kYellow});
    strip.build();
    strip.append({50.0}, StripChartPage::kFirstTimeOfDay);
    for (int i = 0; i < 29; ++i) {
        strip.append({50.0}, 1.0);
    }
    // Scrolled by 11 s: the ticks every 4 s of elapsed time move to scale
    // times 1, 5, 9, ... and read as the start plus 12, 16, 20, ... seconds.
    std::vector<double> ticks;
    double anchor = 0.0;
    strip.timeAxis->currentTicks(ticks, anchor);
    ASSERT_EQ(ticks.size(), 5u);
    EXPECT_NEAR(ticks.front(), 1.0, 1e-9);
    StartTimeLabels(*strip.chart, strip.labels, StripChartPage::kFirstTimeOfDay);
    EXPECT_NEAR(strip.labels->clockTimeAt(ticks.front()), StripChartPage::kFirstTimeOfDay + 12.0, 1e-9);
    EXPECT_NEAR(strip.labels->clockTimeAt(ticks.back()), StripChartPage::kFirstTimeOfDay + 28.0, 1e-9);
}

TEST(AxisLabels, OnlyTheClockStyleReadsAsTimesOfDay)
{
    struct Case {
        AxisLabels labels;
        const char* label;  // of 45296 s, no decimals
    };
    const Case cases[] = {
        {AxisLabels::ClockTime, "12:34:56"},
        {AxisLabels::PlainNumbers, "45296"},
    };
    for (const Case& c : cases) {
        Axis* axis = nullptr;
        test::IndicatorPage page([&](ChartWindow& chart, ChartContext& context) {
            BeginChart(chart, context);
            axis = CreateXAxis(chart, context, 10.0);
            LabelAxis(chart, context, axis, c.labels);
        });
        page.build();
        ASSERT_NE(axis, nullptr);
        EXPECT_EQ(axis->labelAt(45296.0, 0), QString::fromLatin1(c.label)) << c.label;
    }
}

TEST(AlarmIndicator, AReadoutCellTakesTheLevelColourOnlyWhileTheLevelIsEnabled)
{
    struct Case {
        bool levelEnabled;
        int partColour;  // -1: the default of High
        int expectedFill;
    };
    for (const Case& c : {Case{true, -1, kLightRed}, Case{true, kLightGreen, kLightGreen}, Case{false, -1, kLightGray}}) {
        StripChartPage strip({kYellow, kWhite});
        strip.build();
        EnableAlarmLevel(*strip.chart, strip.indicator, kLevelHigh, c.levelEnabled);
        if (c.partColour >= 0) {
            SetAlarmColour(*strip.chart, AlarmColours(strip.indicator), c.partColour, kLevelHigh);
        }
        strip.append({90.0, 10.0}, StripChartPage::kFirstTimeOfDay);
        ASSERT_EQ(strip.history->alarmState(0), kLevelHigh);
        const QImage image = strip.render();
        const QRect alarmed = strip.readout->cellRect(0).toRect();
        const QRect normal = strip.readout->cellRect(1).toRect();
        EXPECT_EQ(image.pixelColor(alarmed.topLeft() + QPoint(3, 3)), PaletteColour(c.expectedFill))
            << "enabled " << c.levelEnabled;
        EXPECT_EQ(image.pixelColor(normal.topLeft() + QPoint(3, 3)), PaletteColour(kLightGray));
        // The value is there, in a colour that reads on the fill.
        EXPECT_TRUE(InkBounds(image, alarmed.adjusted(3, 3, -3, -3), PaletteColour(c.expectedFill)).isValid());
    }
}

TEST(AlarmIndicator, LevelsStartOffAndOnlyHighToLowLowCanBeEnabled)
{
    StripChartPage strip({kYellow});
    strip.build();
    EXPECT_FALSE(strip.indicator->isLevelEnabled(kLevelHigh));
    EnableAlarmLevel(*strip.chart, strip.indicator, kLevelRate, true);
    EnableAlarmLevel(*strip.chart, strip.indicator, kLevelLowLow, true);
    EXPECT_FALSE(strip.indicator->isLevelEnabled(kLevelRate));
    EXPECT_TRUE(strip.indicator->isLevelEnabled(kLevelLowLow));
    EXPECT_EQ(AlarmColours(strip.indicator).colours,
              (std::array<PaletteIndex, kAlarmLevelCount>{kLightGreen, kLightRed, kLightCyan, kLightGreen, kLightRed,
                                                          kBlue, kBlue}));
}

TEST(ChartText, TextsAreCentredOrLeftAlignedAtTheirPoint)
{
    QWidget owner;
    TextElement* title = nullptr;
    ChartWindow* window = nullptr;
    QPointer<ChartPage> page = CreateChartPage(
        "text", &owner, "Text",
        [&](ChartPage& target) {
            CreateChartWindow(
                target,
                [&](ChartWindow& chart, ChartContext& context) {
                    window = &chart;
                    BeginChart(chart, context);
                    SelectChartFont(context, {.face = "Arial", .pointSize = 20, .bold = true, .colour = kBlack});
                    title = DrawChartText(chart, context, "Engine Temperatures", {0.5, 0.02}, Justification::Centre);
                    SelectStockFont(context, StockFont::Plain, 10);
                    DrawChartText(chart, context, "M1", {0.1, 0.5}, Justification::Left);
                },
                kWholeArea, kWhite);
        },
        WindowCharacteristic::Proportional, PageStyle::Child);
    const QImage image = RenderPageImage(*page, {1000, 700});
    ASSERT_NE(title, nullptr);
    const QRect top = InkBounds(image, QRect(0, 0, 1000, 70), PaletteColour(kWhite));
    ASSERT_TRUE(top.isValid());
    EXPECT_NEAR(top.center().x(), 500, 3) << "centred at x";
    EXPECT_GE(top.top(), 0);
    EXPECT_LE(top.bottom(), 50) << "inside the window's top";
    const QRect left = InkBounds(image, QRect(0, 300, 1000, 100), PaletteColour(kWhite));
    ASSERT_TRUE(left.isValid());
    EXPECT_NEAR(left.left(), 100, 3) << "starts at x";
    EXPECT_LE(left.bottom(), 350) << "stands on y";

    SetTextColour(*window, title, kLightRed);
    const QImage recoloured = RenderPageImage(*page, {1000, 700});
    std::set<QRgb> inks;
    for (int y = top.top(); y <= top.bottom(); ++y) {
        for (int x = top.left(); x <= top.right(); ++x) {
            inks.insert(recoloured.pixel(x, y));
        }
    }
    EXPECT_TRUE(inks.count(PaletteColour(kLightRed).rgb())) << "the title repaints in its new colour";
}

TEST(ChartText, ATextNearTheEdgeStaysInsideASmallWindow)
{
    QWidget owner;
    QPointer<ChartPage> page = CreateChartPage(
        "edge", &owner, "Edge",
        [&](ChartPage& target) {
            CreateChartWindow(
                target,
                [&](ChartWindow& chart, ChartContext& context) {
                    SelectChartFont(context, {.face = "Arial", .pointSize = 12, .bold = true, .colour = kBlack});
                    DrawChartText(chart, context, "Engine Temperatures", {0.5, 0.02}, Justification::Centre);
                },
                kWholeArea, kWhite);
        },
        WindowCharacteristic::Proportional, PageStyle::Child);
    const QImage image = RenderPageImage(*page, {400, 300});
    const QRect ink = InkBounds(image, image.rect(), PaletteColour(kWhite));
    ASSERT_TRUE(ink.isValid());
    EXPECT_GT(ink.top(), 0) << "the top of the letters is not cut off";
    EXPECT_LT(ink.bottom(), 40);
}

TEST(ChartBuilders, RunOnceBeforeTheFirstPaintAndNotAgain)
{
    StripChartPage strip({kYellow});
    ASSERT_FALSE(strip.page.isNull());
    EXPECT_FALSE(strip.page->isBuilt());
    EXPECT_EQ(strip.builderRuns, 0) << "nothing is built before it is needed";
    strip.render();
    ASSERT_TRUE(PageExists(strip.page));
    EXPECT_TRUE(ChartReady(strip.chart));
    strip.render({400, 300});
    strip.owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip.owner));
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip.chart->paintCount() >= 3; }, kWaitMs));
    strip.chart->repaint();
    EXPECT_EQ(strip.builderRuns, 1);
}

TEST(ChartBuilders, AShownPageBuildsFromTheEventLoopNotInsideTheCreateCall)
{
    QWidget owner;
    owner.resize(600, 400);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QPointer<ChartWindow> chart;
    bool storedBeforeBuild = false;
    int runs = 0;
    QPointer<ChartPage> page = CreateChartPage(
        "shown", &owner, "Shown",
        [&](ChartPage& target) {
            chart = CreateChartWindow(
                target,
                [&](ChartWindow& window, ChartContext&) {
                    ++runs;
                    storedBeforeBuild = chart == &window;
                },
                kWholeArea, kWhite);
        },
        WindowCharacteristic::Proportional, PageStyle::Child);
    EXPECT_EQ(runs, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ChartReady(chart); }, kWaitMs));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(storedBeforeBuild) << "the caller holds the chart when its builder runs";
    EXPECT_EQ(page->geometry(), owner.contentsRect()) << "a child page fills its owner";
}

TEST(AppendRow, StoresTheRowAndSchedulesOneRepaintWithoutPainting)
{
    StripChartPage strip({kYellow});
    strip.owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip.owner));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ChartReady(strip.chart); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip.chart->paintCount() > 0; }, kWaitMs));
    QCoreApplication::processEvents();
    const int before = strip.chart->paintCount();
    strip.append({10.0}, StripChartPage::kFirstTimeOfDay);
    for (int i = 0; i < 100; ++i) {
        strip.append({10.0 + i}, 0.1);
    }
    EXPECT_EQ(strip.chart->paintCount(), before) << "appending never paints";
    EXPECT_EQ(strip.history->rowCount(), 101);
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip.chart->paintCount() > before; }, kWaitMs));
}

TEST(RealTimeElements, AChartWhoseDatasetsWentDrawsNoDataInsteadOfReadingFreedMemory)
{
    // A graph window releases its datasets before its chart window is gone.
    StripChartPage strip({kYellow});
    strip.build();
    strip.append({50.0}, StripChartPage::kFirstTimeOfDay);
    strip.append({50.0}, 1.0);
    strip.history.reset();
    strip.current.reset();
    const QImage image = strip.render();
    EXPECT_EQ(image.pixelColor(pixelOfSeconds(0.5), kMiddleY), PaletteColour(kBlue));
}

TEST(PageCharacteristics, ChartsFollowThePageProportionallyKeepTheirSizeOrTheirAspect)
{
    struct Case {
        WindowCharacteristic characteristic;
        QRect expected;  // after the page goes from 1000 x 700 to 500 x 700
    };
    for (const Case& c : {Case{WindowCharacteristic::Proportional, QRect(0, 0, 500, 700)},
                          Case{WindowCharacteristic::Fixed, QRect(0, 0, 1000, 700)},
                          Case{WindowCharacteristic::Isotropic, QRect(0, 175, 500, 350)}}) {
        QWidget owner;
        QPointer<ChartWindow> chart;
        QPointer<ChartPage> page = CreateChartPage(
            "shape", &owner, "Shape",
            [&](ChartPage& target) {
                chart = CreateChartWindow(target, [](ChartWindow&, ChartContext&) {}, kWholeArea, kWhite);
            },
            c.characteristic, PageStyle::Child);
        RenderPageImage(*page, {1000, 700});
        RenderPageImage(*page, {500, 700});
        EXPECT_EQ(chart->geometry(), c.expected) << "characteristic " << static_cast<int>(c.characteristic);
    }
}

TEST(ChartFonts, AFaceThatIsNotInstalledFallsBackAndStylesApply)
{
    ChartContext context;
    SelectChartFont(context, {.face = "No Such Face 123",
                              .pointSize = 14,
                              .bold = true,
                              .italic = true,
                              .underline = true,
                              .colour = kRed});
    EXPECT_EQ(context.font.family(), QStringLiteral("Liberation Sans"));
    EXPECT_DOUBLE_EQ(context.font.pointSizeF(), 14.0);
    EXPECT_TRUE(context.font.bold());
    EXPECT_TRUE(context.font.italic());
    EXPECT_TRUE(context.font.underline());
    EXPECT_EQ(context.fontColour, kRed);
    if (IsInstalledScalableFont("Liberation Serif")) {
        SelectChartFont(context, {.face = "Liberation Serif", .pointSize = 9, .colour = kRed});
        EXPECT_EQ(context.font.family(), QStringLiteral("Liberation Serif"));
        EXPECT_FALSE(context.font.bold());
    }
    SelectStockFont(context, StockFont::Bold, 12);
    EXPECT_TRUE(context.font.bold());
    EXPECT_DOUBLE_EQ(context.font.pointSizeF(), 12.0);
    EXPECT_EQ(context.fontColour, kRed) << "a stock font keeps the text colour";
}

TEST(Palette, TwentyDistinctNamedColoursAndBlackOutOfRange)
{
    std::set<QRgb> colours;
    for (PaletteIndex i = 0; i < palette::kSize; ++i) {
        colours.insert(PaletteColour(i).rgb());
    }
    EXPECT_EQ(colours.size(), 20u);
    EXPECT_EQ(PaletteColour(kBlack), QColor(Qt::black));
    EXPECT_EQ(PaletteColour(kWhite), QColor(Qt::white));
    const QColor yellow = PaletteColour(kYellow);
    EXPECT_TRUE(yellow.red() > 200 && yellow.green() > 200 && yellow.blue() < 80);
    const QColor blue = PaletteColour(kBlue);
    EXPECT_TRUE(blue.blue() > 100 && blue.red() < 50 && blue.green() < 50);
    EXPECT_EQ(PaletteColour(palette::kSize), QColor(Qt::black));
    EXPECT_EQ(PaletteColour(-1), QColor(Qt::black));
}

}  // namespace
}  // namespace vexa::toolkit

namespace vexa::toolkit {
namespace {

/// The size FittedFont promises: the font's own, else the first step of
/// half a point down that fits, else the smallest, 6 points.
double FirstFittingSize(const QFont& font, const QString& text, const QSizeF& room)
{
    QFont tried = font;
    for (double points = font.pointSizeF(); points > 6.0; points = std::max(points - 0.5, 6.0)) {
        tried.setPointSizeF(points);
        if (QFontMetricsF(tried).horizontalAdvance(text) <= room.width() && QFontMetricsF(tried).height() <= room.height())
            return points;
    }
    return 6.0;
}

TEST(ChartFonts, AFittedFontIsTheLargestStepDownThatFits)
{
    const QFont font(QStringLiteral("Liberation Sans"), 12);
    const QFont odd(QStringLiteral("Liberation Sans"), 9);
    struct Case {
        QFont font;
        QString text;
        QSizeF room;
    };
    const std::vector<Case> cases = {
        {font, QStringLiteral("12.345"), {400, 100}},   // fits as it is
        {font, QStringLiteral("12.345"), {30, 100}},    // narrower
        {font, QStringLiteral("-1234.567"), {41, 100}},
        {font, QStringLiteral("12.345"), {400, 11}},    // lower
        {font, QStringLiteral("12.345"), {3, 3}},       // nothing fits: the smallest
        {odd, QStringLiteral("High High"), {37, 30}},
        {odd, QStringLiteral("W"), {6.5, 30}},
    };
    for (const Case& c : cases) {
        const QFont fitted = FittedFont(c.font, c.text, c.room);
        EXPECT_DOUBLE_EQ(fitted.pointSizeF(), FirstFittingSize(c.font, c.text, c.room))
            << c.text.toStdString() << " in " << c.room.width() << " x " << c.room.height();
        EXPECT_EQ(fitted.family(), c.font.family());
    }
}

TEST(ChartFonts, FittedTextIsElidedAsTheFontMetricsElideIt)
{
    // Around the ellipsis's own width a text elides to nothing, to the
    // ellipsis alone, or to a first character and the ellipsis.
    const QFont font(QStringLiteral("Liberation Sans"), 8);
    const QFontMetricsF metrics(font);
    const double ellipsis = metrics.horizontalAdvance(QStringLiteral("\u2026"));
    const auto drawn = [&font](const QString& text, double width, bool fitted) {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QRectF rect(2, 2, width, 16);
        if (fitted)
            DrawFittedText(painter, rect, Qt::AlignCenter, text);
        else
            DrawChartLabel(painter, rect, Qt::AlignCenter,
                           QFontMetricsF(font).elidedText(text, Qt::ElideRight, width));
        return image;
    };
    for (const QString& text : {QStringLiteral("-73.123"), QStringLiteral("12"), QStringLiteral("5")}) {
        for (double width = 0.0; width <= ellipsis + 6.0; width += 0.25) {
            EXPECT_TRUE(drawn(text, width, true) == drawn(text, width, false))
                << text.toStdString() << " in " << width << " pixels";
        }
    }
}

}  // namespace
}  // namespace vexa::toolkit
