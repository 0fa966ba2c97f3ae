#include "GraphPage.h"

#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/Toolkit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace vexa::graphs {
namespace {

using test::GraphPage;

constexpr double kSampleSeconds = 0.05;
const std::string kAlarmKeys = "A2=1,12,High,6\r\nA3=1,11,Low,2\r\nA4=1,14,High High,9\r\n";

/// Rows in and out of every alarm level from the first on; 441 of them
/// scroll a strip chart.
void FeedRows(GraphPage& page, int rows)
{
    double time = 36000.0;
    for (int i = 0; i < rows; ++i) {
        const double value = 5.0 + 5.0 * std::sin(i * 0.05 + 1.0);
        page.feed({value, 10.0 - value}, time);
        time += kSampleSeconds;
    }
}

/// The chart as the screen gets it: painted into a pixmap as the window
/// system would, through the chart's backdrop.
QImage OnScreen(toolkit::ChartWindow& chart)
{
    return chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Rendered(GraphPage& page)
{
    return page.render().convertToFormat(QImage::Format_RGB32);
}

TEST(ChartBackdrop, OnScreenEveryChartTypeLooksExactlyAsWhenDrawnElementByElement)
{
    for (int type = kTimeHistory; type <= kAnnunciator; ++type) {
        if (type == kScrollingTabular)
            continue;  // a list, not a chart
        SCOPED_TRACE(type);
        GraphPage page(type, {{"FLOW", 0, 10}, {"HEAT", 0, 10}}, kAlarmKeys);
        page.render();
        ASSERT_NE(page.chart(), nullptr);
        for (const int rows : {1, 400, 40}) {
            FeedRows(page, rows);
            const QImage direct = Rendered(page);
            const QImage screen = OnScreen(*page.chart());
            ASSERT_EQ(screen.size(), direct.size());
            EXPECT_TRUE(screen == direct) << "after " << rows << " more rows";
        }
    }
}

TEST(ChartBackdrop, IsDrawnOncePerSizeAndStyleNotOncePerRow)
{
    GraphPage page(kTimeHistory, {{"FLOW", 0, 10}}, kAlarmKeys);
    page.render();
    toolkit::ChartWindow& chart = *page.chart();
    const QImage first = OnScreen(chart);
    const int backdrops = chart.backdropPaints();
    EXPECT_GE(backdrops, 1);

    FeedRows(page, 100);
    const QImage later = OnScreen(chart);
    EXPECT_FALSE(later == first) << "the trace moved";
    EXPECT_EQ(chart.backdropPaints(), backdrops);

    // A zoom rescales the axes: a new backdrop, which then holds again.
    chart.enableDragZoom(Qt::RightButton);
    chart.zoomTo(QRectF(QPointF(200, 100), QPointF(500, 400)));
    const QImage zoomed = OnScreen(chart);
    EXPECT_EQ(chart.backdropPaints(), backdrops + 1);
    EXPECT_TRUE(zoomed == Rendered(page)) << "the zoomed axes, not the old ones";
    FeedRows(page, 10);
    OnScreen(chart);
    EXPECT_EQ(chart.backdropPaints(), backdrops + 1);

    // So does a new size.
    chart.resize(chart.size() - QSize(100, 50));
    OnScreen(chart);
    EXPECT_EQ(chart.backdropPaints(), backdrops + 2);
}

/// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

TEST(ChartBackdrop, ARowRepaintsTheChartButNotItsButtons)
{
    constexpr int kPaintWaitMs = 5000;
    GraphPage page(kTimeHistory, {{"FLOW", 0, 10}}, kAlarmKeys);
    page.render();
    page.window().show();
    toolkit::ChartWindow& chart = *page.chart();
    QPushButton* history = test::FindButton(chart, QStringLiteral("History"));
    ASSERT_NE(history, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return history->isVisible() && chart.paintCount() > 0; }, kPaintWaitMs));
    QCoreApplication::processEvents();

    PaintCounter buttonPaints;
    history->installEventFilter(&buttonPaints);
    const int chartPaints = chart.paintCount();
    FeedRows(page, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chart.paintCount() > chartPaints; }, kPaintWaitMs));
    EXPECT_EQ(buttonPaints.count, 0);
    history->removeEventFilter(&buttonPaints);
}

TEST(ChartBackdrop, APageRenderedToPdfHoldsNoPictureOnlyLinesAndText)
{
    for (const int type : {int{kTimeHistory}, int{kHorizontalBarGraph}, int{kMeter}}) {
        SCOPED_TRACE(type);
        GraphPage page(type, {{"FLOW", 0, 10}, {"HEAT", 0, 10}}, kAlarmKeys);
        page.render();
        FeedRows(page, 300);
        // Painted on screen first, so that a backdrop exists to be misused.
        OnScreen(*page.chart());
        // Push buttons are the style's business and draw through its pixmap
        // cache; a printed page leaves them out.
        for (QPushButton* button : page.chart()->findChildren<QPushButton*>())
            button->hide();

        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            QPainter painter(&writer);
            toolkit::RenderPage(*page.resources().chartPage, painter);
        }
        const QByteArray bytes = pdf.data();
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_FALSE(bytes.contains("/Subtype /Image")) << "a raster image in the page";
        EXPECT_TRUE(bytes.contains("/FontFile")) << "the texts stay text";
    }
}

}  // namespace
}  // namespace vexa::graphs
