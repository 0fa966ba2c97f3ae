#include "document/GraphTable.h"
#include "graphs/builders/ScrollingList.h"
#include "graphs/builders/ScrollingTable.h"
#include "graphs/toolkit/Toolkit.h"
#include "support/TestSupport.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vexa::graphs {
namespace {

GraphRecord RecordOf(const std::vector<std::string>& names)
{
    GraphRecord record;
    record.type = kScrollingTabular;
    for (std::size_t i = 0; i < names.size(); ++i)
        record.measurements[i].name = names[i];
    record.measurementCount = static_cast<int>(names.size());
    return record;
}

/// A list on a shown window, as a graph window holds it.
class ShownList {
public:
    explicit ShownList(const GraphRecord& record, const std::string& sectionKeys = {})
        : m_file(m_dir.path("VEXADSP.TMP"))
    {
        vexa::test::WriteFileBytes(m_file, "[W1]\r\nP=ScrollingTabular\r\n" + sectionKeys);
        m_list = CreateScrollingList(m_window, record, "W1", m_file);
        m_list->resize(kSize);
        m_window.resize(kSize);
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }
    ScrollingList& list() { return *m_list; }

    static constexpr QSize kSize{700, 300};

private:
    vexa::test::ScratchDir m_dir;
    std::string m_file;
    QWidget m_window;
    ScrollingList* m_list = nullptr;
};

/// What the list shows now: its lines are laid out as the event loop would
/// before they are painted.
QImage Grab(ScrollingList& list)
{
    list.doItemsLayout();
    return list.viewport()->grab().toImage();
}

TEST(ScrollingTable, ValuesShowWithTwoDecimalsAndNoBlanks)
{
    struct Case {
        double value;
        const char* shown;
    };
    const Case cases[] = {
        {3.14159, "3.14"},   {1234.567, "1234.57"},     {-0.004, "-0.00"}, {0.0, "0.00"},
        {-12.5, "-12.50"},   {123456789.0, "123456789.00"}, {1e-9, "0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatScrollingValue(c.value), QString::fromLatin1(c.shown)) << c.value;
}

TEST(ScrollingTable, LinesHoldTheTimeOfDayAndEachValueAfterATab)
{
    const GraphRecord record = RecordOf({"FLOW", "T"});
    EXPECT_EQ(ScrollingHeader(record), QStringLiteral("Time        \tFLOW\tT"));
    const std::vector<double> values = {3.14159, -0.004};
    EXPECT_EQ(ScrollingDataLine(3723.25, values), QStringLiteral("01:02:03.250\t3.14\t-0.00"));
    EXPECT_EQ(ScrollingDataLine(0.0, values), QStringLiteral("00:00:00.000\t3.14\t-0.00"));
    EXPECT_EQ(ScrollingDataLine(86399.5, {}), QStringLiteral("23:59:59.500"));
}

TEST(ScrollingTable, EveryColumnIsWideEnoughForItsNameAndAtLeastThirtySixUnits)
{
    struct Case {
        std::vector<std::string> names;
        std::vector<int> stops;
    };
    const Case cases[] = {
        {{}, {46}},
        {{"A"}, {46, 82}},
        // Five characters make 4 x 5 + 16 = 36 units, six make 40.
        {{"FLOW", "LEVEL", "HEATER"}, {46, 82, 118, 158}},
        {{std::string(32, 'n')}, {46, 46 + 4 * 32 + 16}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrollingTabStops(RecordOf(c.names)), c.stops) << c.names.size();
}

TEST(ScrollingTable, TheListIsNamedTwoHundredFiveAndKeepsTheHeaderAndTheTwoHundredNewestLines)
{
    const GraphRecord record = RecordOf({"FLOW"});
    ShownList shown(record);
    ScrollingList& list = shown.list();
    EXPECT_EQ(list.objectName(), QStringLiteral("205"));
    EXPECT_EQ(list.count(), 0);

    constexpr int kTicks = 250;
    for (int tick = 0; tick < kTicks; ++tick) {
        const std::vector<double> values = {double(tick)};
        AddScrollingRow(&list, record, values, tick);
        if (tick == 0) {
            EXPECT_EQ(list.lines(), (QStringList{ScrollingHeader(record), ScrollingDataLine(0.0, values)}));
        }
    }
    ASSERT_EQ(list.count(), 201);
    EXPECT_EQ(list.item(0)->text(), ScrollingHeader(record));
    for (int line = 1; line <= 200; ++line) {
        const int tick = kTicks - line;
        const std::vector<double> values = {double(tick)};
        ASSERT_EQ(list.item(line)->text(), ScrollingDataLine(tick, values)) << line;
    }
    // Without a list a row goes nowhere.
    AddScrollingRow(nullptr, record, std::vector<double>{1.0}, 1.0);
}

TEST(ScrollingTable, TheListTakesItsColoursFromTheLabelFontAndTheWindowBackground)
{
    struct Case {
        const char* keys;
        int text;
        int background;
    };
    const Case cases[] = {
        {"", 0, 7},
        {"LF=None,0,0,14\r\nWB=1\r\n", 14, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        ShownList shown(RecordOf({"FLOW"}), c.keys);
        ScrollingList& list = shown.list();
        EXPECT_EQ(list.palette().color(QPalette::Text), toolkit::PaletteColour(c.text));
        EXPECT_EQ(list.palette().color(QPalette::Base), toolkit::PaletteColour(c.background));
        AddScrollingRow(&list, RecordOf({"FLOW"}), std::vector<double>{1.5}, 10.0);
        const QImage image = Grab(list);
        const QColor background = toolkit::PaletteColour(c.background);
        EXPECT_EQ(image.pixelColor(image.width() - 5, image.height() - 5), background);
    }
}

/// Whether column \p x of the band \p top ... \p bottom of \p image holds a
/// pixel other than \p background.
bool HasText(const QImage& image, int x, int top, int bottom, const QColor& background)
{
    for (int y = std::max(top, 0); y <= std::min(bottom, image.height() - 1); ++y) {
        if (image.pixelColor(x, y) != background)
            return true;
    }
    return false;
}

/// The first column from \p from on that holds text, or -1.
int FirstTextFrom(const QImage& image, int from, int top, int bottom, const QColor& background)
{
    for (int x = std::max(from, 0); x < image.width(); ++x) {
        if (HasText(image, x, top, bottom, background))
            return x;
    }
    return -1;
}

TEST(ScrollingTable, ValuesStandUnderTheirNamesAtTheTabStops)
{
    const GraphRecord record = RecordOf({"A", "HEATER"});
    ShownList shown(record);
    ScrollingList& list = shown.list();
    // The widest time of day there is, before values of two widths.
    AddScrollingRow(&list, record, std::vector<double>{1234.567, -0.004}, 86399.5);

    const QList<qreal> stops = list.tabStopPixels();
    ASSERT_EQ(stops.size(), 3);
    const qreal unit = list.dialogUnitPixels();
    EXPECT_GE(unit, QFontMetricsF(list.font()).averageCharWidth() / 4);
    EXPECT_DOUBLE_EQ(stops[0], 46 * unit);
    EXPECT_DOUBLE_EQ(stops[1], 82 * unit);
    EXPECT_DOUBLE_EQ(stops[2], 122 * unit);

    const QImage image = Grab(list);
    const QColor background = list.palette().color(QPalette::Base);
    /// Glyphs may start a pixel or two into their place.
    constexpr int kBearing = 3;
    for (int line = 0; line < 2; ++line) {
        SCOPED_TRACE(line);
        const QRect band = list.visualItemRect(list.item(line));
        const int origin = FirstTextFrom(image, 0, band.top(), band.bottom(), background);
        ASSERT_GE(origin, 0);
        EXPECT_LT(origin, kBearing + 4);
        for (qsizetype column = 0; column < 2; ++column) {
            SCOPED_TRACE(column);
            const int stop = origin + static_cast<int>(std::lround(stops[column]));
            // Blank just before the stop, text starting at it.
            for (int x = stop - kBearing; x < stop - 1; ++x)
                EXPECT_FALSE(HasText(image, x, band.top(), band.bottom(), background)) << x;
            const int start = FirstTextFrom(image, stop - 1, band.top(), band.bottom(), background);
            EXPECT_GE(start, stop - 1);
            EXPECT_LE(start, stop + kBearing);
        }
    }
}

TEST(ScrollingTable, NoLineCanBeSelected)
{
    const GraphRecord record = RecordOf({"FLOW"});
    ShownList shown(record);
    ScrollingList& list = shown.list();
    for (int tick = 0; tick < 5; ++tick)
        AddScrollingRow(&list, record, std::vector<double>{double(tick)}, tick);

    list.doItemsLayout();
    const QPoint line = list.visualItemRect(list.item(2)).center();
    ASSERT_TRUE(list.viewport()->rect().contains(line));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, line);
    EXPECT_TRUE(list.selectedItems().isEmpty());
    EXPECT_EQ(list.currentRow(), -1);

    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_TRUE(list.selectedItems().isEmpty());
    EXPECT_EQ(list.currentRow(), -1);

    list.setCurrentRow(3);
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_TRUE(list.selectedItems().isEmpty());
}

}  // namespace
}  // namespace vexa::graphs
