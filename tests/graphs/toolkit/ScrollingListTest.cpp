#include "graphs/toolkit/Palette.h"
#include "graphs/toolkit/ScrollingList.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vexa::toolkit {
namespace {

/// A list on a shown window, in the colours a scrolling table gives it by
/// default.
class ShownList {
public:
    ShownList() : m_list(new ScrollingList(&m_window))
    {
        m_list->setColours(PaletteColour(palette::kBlack), PaletteColour(palette::kLightGray));
        m_list->resize(kSize);
        m_window.resize(kSize);
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }
    ScrollingList& list() { return *m_list; }

    static constexpr QSize kSize{700, 300};

private:
    QWidget m_window;
    ScrollingList* m_list;
};

/// What the list shows now: its lines are laid out as the event loop would
/// before they are painted.
QImage Grab(ScrollingList& list)
{
    list.doItemsLayout();
    return list.viewport()->grab().toImage();
}

TEST(ScrollingList, IsNamedTwoHundredFiveAndKeepsTheHeaderAndTheTwoHundredNewestLines)
{
    ShownList shown;
    ScrollingList& list = shown.list();
    EXPECT_EQ(list.objectName(), QStringLiteral("205"));
    EXPECT_EQ(list.count(), 0);

    constexpr int kLines = 250;
    const QString header = QStringLiteral("Time        \tFLOW");
    for (int line = 0; line < kLines; ++line) {
        list.addLine(header, QString::number(line));
        if (line == 0) {
            EXPECT_EQ(list.lines(), (QStringList{header, QStringLiteral("0")}));
        }
    }
    ASSERT_EQ(list.count(), 201);
    EXPECT_EQ(list.item(0)->text(), header);
    for (int line = 1; line <= 200; ++line) {
        ASSERT_EQ(list.item(line)->text(), QString::number(kLines - line)) << line;
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

TEST(ScrollingList, ValuesStandUnderTheirNamesAtTheTabStops)
{
    ShownList shown;
    ScrollingList& list = shown.list();
    // The stops of the names "A" and "HEATER"; the widest time of day there
    // is, before values of two widths.
    list.setTabStops({46, 82, 122});
    list.addLine(QStringLiteral("Time        \tA\tHEATER"), QStringLiteral("23:59:59.500\t1234.57\t-0.00"));

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

TEST(ScrollingList, NoLineCanBeSelected)
{
    ShownList shown;
    ScrollingList& list = shown.list();
    for (int line = 0; line < 5; ++line)
        list.addLine(QStringLiteral("Time        \tFLOW"), QString::number(line));

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
}  // namespace vexa::toolkit
