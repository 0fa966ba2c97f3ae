#include "GraphPage.h"

#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/Toolkit.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace vexa::graphs {
namespace {

using namespace toolkit::palette;
using test::CountPixelsNear;
using test::CountPixelsNotNear;
using test::FindButton;
using test::GraphPage;

const QString kHistory = QStringLiteral("History");
const QString kRestore = QStringLiteral("Restore (Zoom out)");
const QString kNewSamples = QStringLiteral("Get New Data Samples");

class HistoryWindow : public ::testing::Test {
protected:
    HistoryWindow() { m_page.render(); }

    TimeHistoryState& state() { return *TimeHistoryStateOf(m_page.resources()); }
    toolkit::ChartPage* history() { return state().historyWindow.data(); }

    /// Samples 50 ms apart from 10:00 on, with values from \p values.
    void feed(std::initializer_list<double> values)
    {
        for (const double value : values) {
            m_page.feed({value}, m_time);
            m_time += 0.05;
        }
    }

    void press(QWidget& parent, const QString& caption)
    {
        QPushButton* button = FindButton(parent, caption);
        ASSERT_NE(button, nullptr) << caption.toStdString();
        button->click();
    }

    void openHistory()
    {
        ASSERT_NE(m_page.resources().chartWindow, nullptr);
        press(*m_page.resources().chartWindow, kHistory);
        ASSERT_NE(history(), nullptr);
    }

    QImage renderHistory() { return toolkit::RenderPageImage(*history(), {GraphPage::kWidth, GraphPage::kHeight}); }

    vexa::test::ScriptedMessages m_messages;
    GraphPage m_page{kTimeHistory, {{"PRESSURE", 0, 100}}};
    double m_time = 36000.0;
};

TEST_F(HistoryWindow, OpensOnceAndASecondPressSaysItIsActive)
{
    feed({10, 20});
    ASSERT_NO_FATAL_FAILURE(openHistory());
    toolkit::ChartPage* first = history();
    EXPECT_EQ(first->name(), "PAGE3Z");
    EXPECT_EQ(first->ownerWindow(), &m_page.window());
    EXPECT_TRUE(first->isWindow());
    EXPECT_TRUE(m_messages.boxes().empty());

    press(*m_page.resources().chartWindow, kHistory);
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    const MessageRequest box = m_messages.boxes()[0];
    EXPECT_EQ(box.text, "Time History playback already active");
    EXPECT_EQ(box.caption, "Time History");
    EXPECT_EQ(box.icon, MessageIcon::Information);
    EXPECT_EQ(history(), first);

    // Once the user has closed it, the button opens a new one.
    first->close();
    QTRY_VERIFY_WITH_TIMEOUT(!toolkit::PageExists(state().historyWindow), 5000);
    press(*m_page.resources().chartWindow, kHistory);
    EXPECT_TRUE(toolkit::PageExists(state().historyWindow));
    EXPECT_EQ(m_messages.boxes().size(), 1u);
}

TEST_F(HistoryWindow, WithOneSampleShowsOnlyTheNoDataText)
{
    feed({50});
    ASSERT_NO_FATAL_FAILURE(openHistory());
    const QImage image = renderHistory();
    ASSERT_FALSE(image.isNull());
    const QColor white = toolkit::PaletteColour(kWhite);
    EXPECT_GT(CountPixelsNotNear(image, 0.3, 0.0, 0.7, 0.08, white), 20);
    EXPECT_EQ(CountPixelsNotNear(image, 0.1, 0.2, 0.9, 0.8, white), 0);
    EXPECT_EQ(state().historyDatasets[0], nullptr);
    EXPECT_EQ(FindButton(*history(), kRestore), nullptr);
}

TEST_F(HistoryWindow, WithTwoSamplesDrawsALine)
{
    feed({20, 80});
    ASSERT_NO_FATAL_FAILURE(openHistory());
    const QImage image = renderHistory();
    ASSERT_NE(state().historyDatasets[0], nullptr);
    EXPECT_DOUBLE_EQ(state().historyValueMinimum, 20.0);
    EXPECT_DOUBLE_EQ(state().historyValueMaximum, 80.0);
    EXPECT_GT(CountPixelsNear(image, 0.1, 0.05, 0.95, 0.85, toolkit::PaletteColour(kRed)), 50);
    EXPECT_NE(FindButton(*history(), kRestore), nullptr);
    EXPECT_NE(FindButton(*history(), kNewSamples), nullptr);
}

TEST_F(HistoryWindow, GetNewDataSamplesShowsRowsThatArrivedAfterOpening)
{
    feed({20, 30});
    ASSERT_NO_FATAL_FAILURE(openHistory());
    renderHistory();
    const double before = state().historyTimeMaximum;
    feed({40, 95});
    renderHistory();
    EXPECT_EQ(state().historyTimeMaximum, before) << "the open chart keeps what it was built from";

    press(*history(), kNewSamples);
    const QImage image = renderHistory();
    EXPECT_NEAR(state().historyTimeMaximum, before + 0.1, 1e-6);
    EXPECT_DOUBLE_EQ(state().historyValueMaximum, 95.0);
    // The top of the new line reaches the top of the plot area.
    EXPECT_GT(CountPixelsNear(image, 0.5, 0.03, 0.96, 0.12, toolkit::PaletteColour(kRed)), 5);
}

TEST_F(HistoryWindow, RestoreReturnsToTheFullExtentAfterAZoom)
{
    feed({10, 60, 30, 90, 20, 70, 40});
    ASSERT_NO_FATAL_FAILURE(openHistory());
    const QImage full = renderHistory();
    toolkit::ChartWindow* chart = state().historyChart.data();
    ASSERT_NE(chart, nullptr);

    QTest::mousePress(chart, Qt::RightButton, {}, QPoint(chart->width() / 3, chart->height() / 4));
    QTest::mouseMove(chart, QPoint(chart->width() / 2, chart->height() / 2));
    QTest::mouseRelease(chart, Qt::RightButton, {}, QPoint(chart->width() / 2, chart->height() / 2));
    const QImage zoomed = renderHistory();
    EXPECT_NE(zoomed, full);

    press(*history(), kRestore);
    EXPECT_EQ(renderHistory(), full);
}

TEST_F(HistoryWindow, ClosesWithTheGraph)
{
    feed({10, 20});
    ASSERT_NO_FATAL_FAILURE(openHistory());
    QPointer<toolkit::ChartPage> page = history();
    m_page.resources().release();
    EXPECT_FALSE(toolkit::PageExists(page));
}

}  // namespace
}  // namespace vexa::graphs
