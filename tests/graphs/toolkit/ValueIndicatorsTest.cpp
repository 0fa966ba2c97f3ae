#include "IndicatorPage.h"

#include "graphs/toolkit/Annunciator.h"
#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/ValueIndicators.h"
#include "graphs/toolkit/ValueTable.h"
#include "graphs/toolkit/XYPlot.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace vexa::toolkit {
namespace {

using test::CountPixelsNear;
using test::IndicatorPage;

using namespace palette;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

/// A box of (2 * radius + 1) pixels each way around \p centre.
QRect around(const QPointF& centre, int radius)
{
    const QPoint pixel(static_cast<int>(std::floor(centre.x())), static_cast<int>(std::floor(centre.y())));
    return QRect(pixel - QPoint(radius, radius), QSize(2 * radius + 1, 2 * radius + 1));
}

/// Where a filled cell shows its fill and no text: just inside its left
/// edge, half-way down.
QRect fillProbe(const QRectF& cell)
{
    return QRect(static_cast<int>(cell.left()) + 3, static_cast<int>(cell.center().y()) - 1, 2, 3);
}

/// Pseudo-random rows that cross the whole plot, some not numbers.
std::vector<std::array<double, 2>> wildRows(int count)
{
    std::vector<std::array<double, 2>> rows;
    unsigned seed = 7;
    const auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) % 10000) / 10000.0;
    };
    for (int i = 0; i < count; ++i) {
        if (i % 97 == 13) {
            rows.push_back({kNaN, 0.0});
        } else {
            rows.push_back({next() * 120.0 - 10.0, next() * 24.0 - 12.0});
        }
    }
    return rows;
}

// --------------------------------------------------- longer dataset history

TEST(RealTimeDataset, ReservingMoreHistoryKeepsTheHeldRowsInOrder)
{
    RealTimeDataset dataset("", 1, {}, 3);
    for (int value = 1; value <= 5; ++value) {
        dataset.append(std::array<double, 1>{static_cast<double>(value)});  // the ring has wrapped
    }
    dataset.reserveHistory(2);  // never shrinks
    EXPECT_EQ(dataset.rowCount(), 3);
    dataset.reserveHistory(6);
    ASSERT_EQ(dataset.rowCount(), 3);
    for (int value = 6; value <= 9; ++value) {
        dataset.append(std::array<double, 1>{static_cast<double>(value)});
    }
    std::array<double, 8> held{};
    ASSERT_EQ(dataset.readChannel(0, held.data(), 8), 6);
    EXPECT_EQ(held, (std::array<double, 8>{4, 5, 6, 7, 8, 9, 0, 0}));
}

// ---------------------------------------------------------------- XY plot

constexpr PaletteIndex kTraceColour = kYellow;
constexpr PaletteIndex kMarkColour = kWhite;

/// The XY plot of two measurements, 0 ... 100 against -10 ... 10, on a blue
/// plot area.
struct XYPage {
    XYPage()
        : dataset(CreateDataset("", 2, {"Flow", "Pressure"}, RealTimeDataset::kNoHistory))
        , page([this](ChartWindow& chart, ChartContext& context) {
            BeginChart(chart, context);
            SetPlotArea(chart, context, {0.15, 0.1, 0.98, 0.8}, kBlue);
            SetScale(chart, context, {{0.0, 100.0}, {-10.0, 10.0}});
            SetAxisCrossing(chart, context, 50.0, 0.0);
            plot = CreateXYPlot(
                chart, *dataset,
                {.traceWidth = 2, .traceColour = kTraceColour, .markWidth = 2, .markColour = kMarkColour});
        })
    {
        page.build();
    }

    void append(double x, double y) { AppendRow(*dataset, std::array<double, 2>{x, y}, page.chart); }
    QRect plotPixels() const { return page.chart->plotFrame().pixelRect().toAlignedRect(); }

    std::unique_ptr<RealTimeDataset> dataset;
    XYPlot* plot = nullptr;
    IndicatorPage page;
};

TEST(XYPlot, TheNewestPointIsMarkedAtItsScalePositionAndJoinedToThePointBefore)
{
    XYPage xy;
    QImage image = xy.page.render();
    ASSERT_NE(xy.plot, nullptr);
    // The plot area (0.15, 0.1)-(0.98, 0.8) of 1000 x 700: (50, 0) is its centre.
    const QPointF centre = xy.plot->pixelOf(50.0, 0.0);
    EXPECT_DOUBLE_EQ(centre.x(), 565.0);
    EXPECT_DOUBLE_EQ(centre.y(), 315.0);
    EXPECT_EQ(xy.plot->pointCount(), 0);
    EXPECT_TRUE(xy.plot->markRect().isEmpty());
    EXPECT_EQ(CountPixelsNear(image, xy.plotPixels(), PaletteColour(kTraceColour), 10), 0) << "nothing before a row";

    xy.append(50.0, 0.0);
    image = xy.page.render();
    EXPECT_TRUE(xy.plot->markRect().contains(centre));
    EXPECT_EQ(CountPixelsNear(image, around(centre, 1), PaletteColour(kMarkColour), 10), 9);

    xy.append(90.0, 8.0);
    image = xy.page.render();
    const QPointF newest = xy.plot->pixelOf(90.0, 8.0);
    EXPECT_EQ(CountPixelsNear(image, around(newest, 1), PaletteColour(kMarkColour), 10), 9);
    // The mark moved on; the line runs from the old point to the new one.
    EXPECT_GT(CountPixelsNear(image, around(centre, 1), PaletteColour(kTraceColour), 10), 0);
    EXPECT_EQ(CountPixelsNear(image, around(centre, 1), PaletteColour(kMarkColour), 10), 0);
    const QPointF between = xy.plot->pixelOf(70.0, 4.0);
    EXPECT_GT(CountPixelsNear(image, around(between, 1), PaletteColour(kTraceColour), 10), 0);
    const QPointF offLine = xy.plot->pixelOf(70.0, -4.0);
    EXPECT_EQ(CountPixelsNear(image, around(offLine, 3), PaletteColour(kTraceColour), 10), 0);
}

TEST(XYPlot, EveryRowIsAPointUpToTheNewestFourThousand)
{
    struct Case {
        int rows;
        int points;
    };
    for (const Case& c : {Case{1, 1}, Case{3, 3}, Case{kXYPlotPoints, kXYPlotPoints},
                          Case{kXYPlotPoints + 500, kXYPlotPoints}}) {
        XYPage xy;
        // The same row again and again: there is no time to tell them apart.
        for (int i = 0; i < c.rows; ++i) {
            xy.append(25.0, 5.0);
        }
        EXPECT_EQ(xy.plot->pointCount(), c.points) << c.rows << " rows";
        EXPECT_EQ(xy.dataset->rowCount(), c.points) << "the dataset was made to keep them";
    }
}

TEST(XYPlot, AfterManyRowsTheKeptTraceIsTheOneDrawnAfresh)
{
    const auto rows = wildRows(kXYPlotPoints + 900);
    XYPage kept;
    std::size_t next = 0;
    // Paints between batches of every size, past the point limit.
    for (const std::size_t batch : {std::size_t{1}, std::size_t{2500}, std::size_t{1}, std::size_t{1499},
                                    std::size_t{350}, std::size_t{7}, std::size_t{542}}) {
        for (std::size_t i = 0; i < batch; ++i, ++next) {
            kept.append(rows[next][0], rows[next][1]);
        }
        kept.page.render();
    }
    ASSERT_EQ(next, rows.size());

    XYPage fresh;
    for (std::size_t i = rows.size() - kXYPlotPoints; i < rows.size(); ++i) {
        fresh.append(rows[i][0], rows[i][1]);
    }
    EXPECT_EQ(kept.page.render(), fresh.page.render());
}

TEST(XYPlot, PointsOffTheScaleOrNotNumbersDrawOnlyInsideThePlot)
{
    XYPage xy;
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{
             {1e300, -1e300}, {50.0, 0.0}, {kNaN, 0.0}, {-1e300, 1e300}, {50.0, 0.0}, {kInfinity, 5.0}}) {
        xy.append(x, y);
    }
    const QImage image = xy.page.render();
    const QColor trace = PaletteColour(kTraceColour);
    const QRect plot = xy.plotPixels();
    EXPECT_GT(CountPixelsNear(image, plot, trace, 10), 0) << "lines towards the far points";
    EXPECT_EQ(CountPixelsNear(image, image.rect(), trace, 10), CountPixelsNear(image, plot, trace, 10));
    EXPECT_TRUE(xy.plot->markRect().isEmpty()) << "the newest point is not a number";
}

TEST(XYPlot, AScaledTargetGetsTheTraceStroked)
{
    XYPage xy;
    xy.append(10.0, -8.0);
    xy.append(90.0, 8.0);
    xy.page.render();
    // Printers draw through a scale: the trace is stroked there.
    QImage image(2000, 1400, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        painter.scale(2.0, 2.0);
        RenderPage(*xy.page.page, painter);
    }
    const QPointF middle = xy.plot->pixelOf(50.0, 0.0) * 2.0;
    EXPECT_GT(CountPixelsNear(image, around(middle, 2), PaletteColour(kTraceColour), 10), 0);
}

TEST(XYPlot, DrawsNothingOnceItsDatasetIsGoneOrItsChartCloses)
{
    for (const bool destroy : {true, false}) {
        XYPage xy;
        xy.append(10.0, -8.0);
        xy.append(90.0, 8.0);
        if (destroy) {
            DestroyDataset(xy.dataset);
        } else {
            xy.page.chart->markClosing();
        }
        const QImage image = xy.page.render();
        EXPECT_EQ(xy.plot->pointCount(), 0);
        EXPECT_TRUE(xy.plot->markRect().isEmpty());
        EXPECT_EQ(CountPixelsNear(image, image.rect(), PaletteColour(kTraceColour), 10), 0);
    }
}

// ------------------------------------------------------------ value table


/// A value table of \p channels channels, in the data colours of a graph.
struct TablePage {
    explicit TablePage(int channels, AlarmText alarmText = AlarmText::Shown,
                       std::vector<PaletteIndex> colours = {kDefaultChannelColours.begin(),
                                                            kDefaultChannelColours.end()})
        : dataset(CreateDataset("Boiler house", channels, {"TEMP1", "PRESS_A", "FLOW", "LEVEL"},
                                RealTimeDataset::kNoHistory))
        , page([this, alarmText, colours](ChartWindow& chart, ChartContext& context) {
            BeginChart(chart, context);
            table = CreateValueTable(chart, context, *dataset, colours, {"Outlet temperature", "Feed pressure"},
                                     alarmText, parts);
        })
    {
        page.build();
    }

    void append(std::vector<double> row) { AppendRow(*dataset, row, page.chart); }

    std::unique_ptr<RealTimeDataset> dataset;
    std::array<IndicatorPart, kValueTableParts> parts;
    ValueTable* table = nullptr;
    IndicatorPage page;
};

TEST(ValueTable, HasOneRowPerChannelUnderAHeadingWithTheDatasetsName)
{
    TablePage table(3);
    table.page.render();
    ASSERT_NE(table.table, nullptr);
    ASSERT_NE(table.parts[kTableHeadingPart].text, nullptr);
    EXPECT_EQ(table.parts[kTableHeadingPart].text->text(), "Boiler house");
    EXPECT_EQ(table.parts[kTableAlarmPart].alarm, &table.table->alarmPart());
    EXPECT_EQ(table.parts[1].text, nullptr);
    EXPECT_EQ(table.parts[2].alarm, nullptr);

    ASSERT_EQ(table.table->rowCount(), 3);
    const QRectF heading = table.parts[kTableHeadingPart].text->pixelRect();
    for (int row = 0; row < 3; ++row) {
        const QRectF rect = table.table->rowRect(row);
        EXPECT_GE(rect.top(), heading.bottom()) << row;
        EXPECT_GE(rect.height(), 100.0) << "three rows share the window";
        if (row > 0) {
            EXPECT_GE(rect.top(), table.table->rowRect(row - 1).bottom()) << row;
        }
        const QRectF value = table.table->valueRect(row);
        EXPECT_TRUE(rect.contains(value)) << row;
        EXPECT_GT(value.left(), table.table->textRect(row).left()) << row;
    }
    EXPECT_LE(table.table->rowRect(2).bottom(), 700.0);
}

TEST(ValueTable, TheStateColumnComesWithTheAlarmText)
{
    struct Case {
        AlarmText alarmText;
        bool stateColumn;
    };
    for (const Case& c : {Case{AlarmText::Shown, true}, Case{AlarmText::Hidden, false}}) {
        TablePage table(2, c.alarmText);
        table.page.render();
        EXPECT_EQ(table.table->hasStateColumn(), c.stateColumn) << static_cast<int>(c.alarmText);
        EXPECT_EQ(table.table->stateRect(0).isEmpty(), !c.stateColumn);
    }
}

TEST(ValueTable, ValuesShowWithTwoDecimalsFromTheNewestRow)
{
    TablePage table(1);
    EXPECT_EQ(table.table->valueText(0), "") << "before the first row";
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c : {Case{3.14159, "3.14"}, Case{1234.567, "1234.57"}, Case{-0.004, "-0.00"},
                          Case{kNaN, "NaN"}, Case{-kInfinity, "-Inf"}, Case{1e12, "1000000000000.00"}}) {
        table.append({c.value});
        table.page.render();
        EXPECT_EQ(table.table->valueText(0), c.text);
    }
}

TEST(ValueTable, AChannelInAnAlarmStateShowsItsLevelsColourAndText)
{
    TablePage table(3);
    SetAlarmHysteresis(*table.dataset, 1.0, 0.0);
    SetAlarmLimit(*table.dataset, kLevelHigh, 50.0, true, "High");
    SetAlarmLimit(*table.dataset, kLevelLow, 10.0, true, "Low");
    SetAlarmColour(*table.page.chart, *table.parts[kTableAlarmPart].alarm, kLightRed, kLevelHigh);
    SetAlarmColour(*table.page.chart, *table.parts[kTableAlarmPart].alarm, kLightCyan, kLevelLow);
    const QColor high = PaletteColour(kLightRed);
    const QColor low = PaletteColour(kLightCyan);

    struct Step {
        double value;  // of channel 0; channel 1 stays at 30, channel 2 at 5
        bool inHigh;
    };
    for (const Step& step : {Step{60.0, true}, Step{49.5, true}, Step{48.9, false}}) {
        table.append({step.value, 30.0, 5.0});
        const QImage image = table.page.render();
        const ValueTable& t = *table.table;
        EXPECT_EQ(t.valueFill(0).isValid() ? t.valueFill(0) : QColor(), step.inHigh ? high : QColor())
            << step.value;
        EXPECT_EQ(t.stateText(0), step.inHigh ? "High" : "") << step.value;
        EXPECT_EQ(CountPixelsNear(image, fillProbe(t.valueRect(0)), high, 5), step.inHigh ? 6 : 0) << step.value;
        EXPECT_EQ(CountPixelsNear(image, fillProbe(t.stateRect(0)), high, 5), step.inHigh ? 6 : 0) << step.value;
        // The normal channel stays plain; the low one shows its own level.
        EXPECT_FALSE(t.valueFill(1).isValid());
        EXPECT_EQ(CountPixelsNear(image, t.valueRect(1).toAlignedRect(), high, 5), 0);
        EXPECT_EQ(t.valueFill(2), low);
        EXPECT_EQ(t.stateText(2), "Low");
        EXPECT_EQ(CountPixelsNear(image, fillProbe(t.valueRect(2)), low, 5), 6);
    }
}

TEST(ValueTable, RowsAreWrittenInTheirColoursOnAGroundTheyReadOn)
{
    // White and yellow need the dark panel; blue would vanish on it.
    TablePage table(3, AlarmText::Hidden, {kWhite, kYellow, kBlue});
    table.append({1.0, 2.0, 3.0});
    const QImage image = table.page.render();
    for (int row = 0; row < 3; ++row) {
        const ValueTable& t = *table.table;
        EXPECT_EQ(t.rowColour(row), PaletteColour(std::array{kWhite, kYellow, kBlue}[row]));
        const QRectF name = t.nameRect(row);
        const QColor ground = image.pixelColor(static_cast<int>(name.left()) + 2, static_cast<int>(name.top()) + 3);
        EXPECT_GE(std::abs(Luminance(ground) - Luminance(t.rowColour(row))), 90.0) << row;
        EXPECT_GT(CountPixelsNear(image, t.valueRect(row).toAlignedRect(), t.rowColour(row), 10), 0) << row;
    }
}

TEST(ValueTable, SurvivesItsDatasetAndWindowsOfNoSize)
{
    TablePage table(2);
    table.append({1.0, 2.0});
    for (const QSize size : {QSize(1, 1), QSize(6, 2), QSize(2, 300)}) {
        table.page.render(size);  // paints without fault
    }
    DestroyDataset(table.dataset);
    const QImage image = table.page.render();
    EXPECT_EQ(table.table->rowCount(), 0);
    EXPECT_EQ(table.table->valueText(0), "");
    // Only the heading is left on the window's background.
    const QRect below(0, 100, 1000, 600);
    EXPECT_EQ(CountPixelsNear(image, below, PaletteColour(kLightGray), 0), below.width() * below.height());
}

// ------------------------------------------------------------ annunciator

/// An annunciator of \p channels channels on a \p rows x \p columns grid
/// of black lamps, Light Cyan when low and Light Red when high.
struct AnnunciatorPage {
    AnnunciatorPage(int channels, int rows, int columns, AlarmText alarmText = AlarmText::Shown)
        : dataset(CreateDataset("Alarms", channels, {"TEMP1", "PRESS_A", "FLOW", "LEVEL", "SPEED"},
                                RealTimeDataset::kNoHistory))
        , page([this, rows, columns, alarmText](ChartWindow& chart, ChartContext& context) {
            BeginChart(chart, context);
            SetLineAttributes(context, {LineStyle::Solid, kThinLine, kBlack});
            const std::vector<QColor> cells(std::max(rows * columns, 0), PaletteColour(kBlack));
            annunciator = CreateAnnunciator(chart, context, *dataset, kDefaultChannelColours, cells,
                                            {.low = PaletteColour(kLightCyan), .high = PaletteColour(kLightRed)},
                                            {.rows = rows, .columns = columns}, alarmText);
        })
    {
        page.build();
    }

    void append(std::vector<double> row) { AppendRow(*dataset, row, page.chart); }

    std::unique_ptr<RealTimeDataset> dataset;
    Annunciator* annunciator = nullptr;
    IndicatorPage page;
};

TEST(Annunciator, FiveChannelsOnTwoByThreeLeaveTheLastCellEmpty)
{
    AnnunciatorPage grid(5, 2, 3);
    grid.append({1, 2, 3, 4, 5});
    const QImage image = grid.page.render();
    const Annunciator& a = *grid.annunciator;
    ASSERT_EQ(a.rows(), 2);
    ASSERT_EQ(a.columns(), 3);
    ASSERT_EQ(a.cellCount(), 6);
    for (int cell = 0; cell < 6; ++cell) {
        const QRectF rect = a.cellRect(cell);
        EXPECT_GT(rect.width(), 250.0) << cell;
        EXPECT_GE(rect.top(), a.titleRect().bottom()) << cell;
        for (int other = 0; other < cell; ++other) {
            EXPECT_FALSE(rect.intersects(a.cellRect(other))) << cell << " and " << other;
        }
    }
    // Reading order: along the first row, then the second.
    EXPECT_GT(a.cellRect(1).left(), a.cellRect(0).right());
    EXPECT_DOUBLE_EQ(a.cellRect(1).top(), a.cellRect(0).top());
    EXPECT_GT(a.cellRect(3).top(), a.cellRect(0).bottom());
    EXPECT_DOUBLE_EQ(a.cellRect(3).left(), a.cellRect(0).left());

    EXPECT_EQ(a.channelOf(4), 4);
    EXPECT_EQ(a.channelOf(5), -1);
    EXPECT_EQ(a.cellFill(0), PaletteColour(kBlack));
    EXPECT_FALSE(a.cellFill(5).isValid());
    EXPECT_EQ(CountPixelsNear(image, fillProbe(a.cellRect(4)), PaletteColour(kBlack), 0), 6);
    // Inside the frame and its rounded corners.
    const QRect inside = a.cellRect(5).adjusted(24, 24, -24, -24).toAlignedRect();
    EXPECT_EQ(CountPixelsNear(image, inside, PaletteColour(kLightGray), 0), inside.width() * inside.height())
        << "an empty cell is a frame only";
}

TEST(Annunciator, LampsLightInTheHighAndLowColoursAndGoOutPastTheHysteresis)
{
    AnnunciatorPage grid(2, 1, 2);
    SetAlarmHysteresis(*grid.dataset, 1.0, 0.0);
    SetAlarmLimit(*grid.dataset, kLevelHigh, 80.0, true, "High");
    SetAlarmLimit(*grid.dataset, kLevelLow, 20.0, true, "Low");
    SetAlarmLimit(*grid.dataset, kLevelHighHigh, 95.0, true, "High High");
    SetAlarmLimit(*grid.dataset, kLevelLowLow, 5.0, true, "Low Low");
    SetAlarmLimit(*grid.dataset, kLevelRate, 30.0, true, "Rate");
    const QColor cell = PaletteColour(kBlack);
    const QColor high = PaletteColour(kLightRed);
    const QColor low = PaletteColour(kLightCyan);

    struct Step {
        double value;
        QColor fill;
        const char* text;
    };
    const Step steps[] = {
        {50.0, cell, ""},          {85.0, high, "High"}, {79.5, high, "High"},   {78.9, cell, ""},
        {97.0, high, "High High"}, {15.0, low, "Low"},   {20.5, low, "Low"},     {21.1, cell, ""},
        {2.0, low, "Low Low"},     {50.0, cell, "Rate"},  // a jump of 48: Rate keeps the cell colour
    };
    for (const Step& step : steps) {
        grid.append({step.value, 50.0});
        const QImage image = grid.page.render();
        const Annunciator& a = *grid.annunciator;
        EXPECT_EQ(a.cellFill(0), step.fill) << step.value;
        EXPECT_EQ(a.alarmText(0), step.text) << step.value;
        EXPECT_EQ(CountPixelsNear(image, fillProbe(a.cellRect(0)), step.fill, 0), 6) << step.value;
        EXPECT_EQ(a.cellFill(1), cell) << "the other channel stays normal";
    }
}

TEST(Annunciator, ShowsAlarmTextsOnlyWhenAskedTo)
{
    for (const bool flag : {true, false}) {
        AnnunciatorPage grid(1, 1, 1, flag ? AlarmText::Shown : AlarmText::Hidden);
        SetAlarmLimit(*grid.dataset, kLevelHigh, 80.0, true, "Too hot");
        grid.append({90.0});
        const QImage image = grid.page.render();
        const Annunciator& a = *grid.annunciator;
        EXPECT_EQ(a.alarmText(0), flag ? "Too hot" : "");
        if (flag) {
            // Black on the light red lamp, in the lamp's lowest quarter,
            // which the value leaves free when a text is shown.
            const QRectF lamp = a.cellRect(0);
            const QRect bottom(QPoint(static_cast<int>(lamp.left()), static_cast<int>(lamp.top() + lamp.height() * 0.75)),
                               QPoint(static_cast<int>(lamp.right()), static_cast<int>(lamp.bottom()) - 8));
            EXPECT_GT(CountPixelsNear(image, bottom, PaletteColour(kBlack), 40), 0);
        }
    }
}

TEST(Annunciator, OddGridsAndAMissingDatasetDrawWithoutFault)
{
    struct Case {
        int channels;
        int rows;
        int columns;
        int cells;
        int shown;  // cells with a channel
    };
    for (const Case& c : {Case{2, 0, 3, 0, 0}, Case{5, 2, 2, 4, 4}, Case{1, 3, 3, 9, 1}, Case{3, -1, 4, 0, 0},
                          Case{2, 1000, 1, Annunciator::kLargestSide, 2}, Case{0, 1, 2, 2, 0}}) {
        AnnunciatorPage grid(c.channels, c.rows, c.columns);
        grid.append(std::vector<double>(static_cast<std::size_t>(c.channels), kNaN));
        grid.page.render();
        grid.page.render(QSize(3, 1));
        const Annunciator& a = *grid.annunciator;
        EXPECT_EQ(a.cellCount(), c.cells) << c.rows << " x " << c.columns;
        int shown = 0;
        for (int cell = 0; cell < a.cellCount(); ++cell) {
            shown += a.channelOf(cell) >= 0 ? 1 : 0;
        }
        EXPECT_EQ(shown, c.shown) << c.rows << " x " << c.columns;

        DestroyDataset(grid.dataset);
        grid.page.render();
        for (int cell = 0; cell < a.cellCount(); ++cell) {
            EXPECT_EQ(a.channelOf(cell), -1);
            EXPECT_FALSE(a.cellFill(cell).isValid());
        }
    }
}

}  // namespace
}  // namespace vexa::toolkit
