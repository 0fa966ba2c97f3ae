#include "GraphWindowsFixture.h"

#include "graphs/GraphWindow.h"
#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "link/client/NameList.h"

#include <QMdiArea>
#include <QPointer>
#include <QTest>

#include <string>
#include <vector>

namespace vexa::graphs::test {
namespace {

using Graphs = GraphWindowsFixture;

bool IsCleared(const GraphRecord& record)
{
    return record.window == nullptr && record.type == kNoGraphType && record.characteristic == kNoCharacteristic
           && record.updatePeriod == 0 && record.measurementCount == 0;
}

TEST_F(Graphs, RefusedGraphsBeepShowTheirReasonAndLeaveTheRecordCleared)
{
    struct Case {
        int index;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        // Names that differ in case, or are not listed at all, bind nothing.
        {2, GraphWindows::kNoMeasurementsText, GraphWindows::kNoMeasurementsCaption},
        {3, GraphWindows::kXyCountText, GraphWindows::kXyCountCaption},
        {4, GraphWindows::kXyCountText, GraphWindows::kXyCountCaption},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        m_messages.clear();
        EXPECT_EQ(m_windows->CreateGraphWindow(c.index, {}), nullptr);
        ASSERT_EQ(m_messages.calls().size(), 2u);
        EXPECT_TRUE(m_messages.calls()[0].isBeep);
        const MessageRequest& box = m_messages.calls()[1].request;
        EXPECT_EQ(box.text, QString::fromLatin1(c.text));
        EXPECT_EQ(box.caption, QString::fromLatin1(c.caption));
        EXPECT_EQ(box.icon, MessageIcon::Information);
        EXPECT_TRUE(IsCleared(m_graphs.record(c.index)));
        EXPECT_EQ(m_windows->currentGraph(), c.index);
    }
    EXPECT_TRUE(area().subWindowList().isEmpty());
    EXPECT_FALSE(m_windows->AnyGraphWindowOpen());
}

TEST_F(Graphs, RecordsTakeTheDefinitionAndBindListedNamesUpToTheFirstGap)
{
    struct Case {
        int index;
        int type;
        int characteristic;
        int updatePeriod;
        std::vector<int> nameIndexes;
    };
    const Case cases[] = {
        {0, kTimeHistory, kFixedCharacteristic, 500, {0, 1}},
        // M3 lies behind the gap at M2.
        {1, kFixedTabular, kProportionalCharacteristic, kDefaultUpdatePeriodMs, {0}},
        // An unlisted name is skipped, the next one still binds; a period
        // of 0 would tick without pause.
        {5, kTimeHistory, kIsotropicCharacteristic, kMinUpdatePeriodMs, {2}},
        // An unknown characteristic leaves the field clear.
        {7, kTimeHistory, kNoCharacteristic, kDefaultUpdatePeriodMs, {2, 1, 0}},
        {8, kXYPlot, kProportionalCharacteristic, kDefaultUpdatePeriodMs, {0, 2}},
        {9, kNoGraphType, kProportionalCharacteristic, kDefaultUpdatePeriodMs, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        GraphWindow& window = open(c.index);
        const GraphRecord& record = m_graphs.record(c.index);
        EXPECT_EQ(record.window, &window);
        // The window draws from the definition the record was filled from.
        EXPECT_EQ(window.resources().definition.type, record.type);
        EXPECT_EQ(window.resources().definition.measurements.size(), static_cast<std::size_t>(record.measurementCount));
        EXPECT_EQ(record.type, c.type);
        EXPECT_EQ(record.characteristic, c.characteristic);
        EXPECT_EQ(record.updatePeriod, c.updatePeriod);
        ASSERT_EQ(record.measurementCount, static_cast<int>(c.nameIndexes.size()));
        for (std::size_t j = 0; j < c.nameIndexes.size(); ++j)
            EXPECT_EQ(record.measurements[j].nameIndex, c.nameIndexes[j]) << "slot " << j;
        EXPECT_TRUE(window.isUpdating());
    }
    // The slot carries the measurement's definition.
    EXPECT_EQ(m_graphs.record(5).measurements[0].units, "degC");
    EXPECT_DOUBLE_EQ(m_graphs.record(5).measurements[0].maximum, 100.0);
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(Graphs, AWindowShowsItsTitleAndAChartPageNamedAfterItsGraph)
{
    GraphWindow& window = open(5);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Skipping"));
    EXPECT_TRUE(window.testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_TRUE(area().subWindowList().contains(&window));
    toolkit::ChartPage* page = window.resources().chartPage;
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(window.widget(), page);
    EXPECT_EQ(page->name(), QStringLiteral("PAGE5"));
    EXPECT_EQ(page->ownerWindow(), &window);
    EXPECT_EQ(page->characteristic(), toolkit::WindowCharacteristic::Isotropic);

    EXPECT_EQ(m_windows->FindGraphByWindow(&window), 5);
    EXPECT_EQ(m_windows->FindGraphByWindow(page), -1);
    EXPECT_EQ(m_windows->graphWindow(5), &window);
    EXPECT_EQ(m_windows->graphWindow(4), nullptr);

    // Opening an open graph again keeps its window and record.
    EXPECT_EQ(m_windows->CreateGraphWindow(5, {}), &window);
    EXPECT_EQ(area().subWindowList().size(), 1);
    EXPECT_EQ(m_graphs.record(5).window, &window);
}

TEST_F(Graphs, WindowsCreatedInARowEachBuildTheChartOfTheirOwnGraph)
{
    // As a view opens them: no event is handled between the creations.
    const std::vector<int> indexes = {0, 5, 7};
    std::vector<GraphWindow*> windows;
    for (int index : indexes)
        windows.push_back(&open(index));
    EXPECT_EQ(m_windows->currentGraph(), 7);
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        SCOPED_TRACE(indexes[i]);
        GraphWindow& window = *windows[i];
        ASSERT_TRUE(waitForChart(window));
        const GraphResources& resources = window.resources();
        EXPECT_EQ(resources.chartPage->name(), QStringLiteral("PAGE%1").arg(indexes[i]));
        EXPECT_EQ(&resources.chartWindow->page(), resources.chartPage.data());
        EXPECT_EQ(resources.chartWindow->pageOwner(), &window);
        // A time history keeps the measurements and the time difference.
        ASSERT_NE(resources.dataset, nullptr);
        EXPECT_EQ(resources.dataset->channelCount(), m_graphs.record(indexes[i]).measurementCount + 1);
        EXPECT_NE(TimeHistoryStateOf(resources), nullptr);
    }
}

class GraphTicks : public GraphWindowsFixture {
protected:
    /// Puts a sample into the link's buffer, as a fetch would.
    void sample(double timeOfDay, const std::vector<double>& raw)
    {
        m_link.sample().setTimeOfDay(timeOfDay);
        for (std::size_t i = 0; i < raw.size(); ++i)
            m_link.sample().setValue(static_cast<int>(i), raw[i]);
    }
    static int rows(const GraphWindow& window) { return window.resources().dataset->rowCount(); }
    static std::vector<double> newestRow(const toolkit::RealTimeDataset& dataset)
    {
        std::vector<double> row;
        for (int channel = 0; channel < dataset.channelCount(); ++channel)
            row.push_back(dataset.latest(channel));
        return row;
    }
};

TEST_F(GraphTicks, TicksAppendConvertedValuesAndTheTimeDifference)
{
    ASSERT_TRUE(m_link.Connect());
    GraphWindow& window = open(0);
    ASSERT_TRUE(waitForChart(window));
    const GraphResources& resources = window.resources();
    const int before = rows(window);

    // P1 converts by 1 + 2x, P2 is raw; the first difference is the whole
    // time of day.
    sample(100.0, {3.0, 4.0, 99.0});
    window.GraphTimerProc();
    EXPECT_EQ(rows(window), before + 1);
    EXPECT_EQ(newestRow(*resources.dataset), (std::vector<double>{7.0, 4.0, 100.0}));
    ASSERT_NE(TimeHistoryStateOf(resources)->currentValues, nullptr);
    EXPECT_EQ(newestRow(*TimeHistoryStateOf(resources)->currentValues), (std::vector<double>{7.0, 4.0}));
    EXPECT_FALSE(TimeHistoryStateOf(resources)->firstSamplePending);

    sample(100.5, {-1.0, 2.5});
    window.GraphTimerProc();
    EXPECT_EQ(rows(window), before + 2);
    EXPECT_EQ(newestRow(*resources.dataset), (std::vector<double>{-1.0, 2.5, 0.5}));
}

TEST_F(GraphTicks, TicksDoNothingWhileDisconnectedOrWhileTheLeftButtonIsDown)
{
    GraphWindow& window = open(5);
    ASSERT_TRUE(waitForChart(window));
    const int before = rows(window);

    sample(10.0, {0.0, 0.0, 100.0});
    window.GraphTimerProc();
    EXPECT_EQ(rows(window), before);

    ASSERT_TRUE(m_link.Connect());
    QTest::mousePress(area().viewport(), Qt::LeftButton);
    ASSERT_TRUE(QGuiApplication::mouseButtons() & Qt::LeftButton);
    window.GraphTimerProc();
    const int whilePressed = rows(window);
    QTest::mouseRelease(area().viewport(), Qt::LeftButton);
    EXPECT_EQ(whilePressed, before);
    EXPECT_TRUE(TimeHistoryStateOf(window.resources())->firstSamplePending);

    window.GraphTimerProc();
    EXPECT_EQ(rows(window), before + 1);
    // T1 converts by -40 + 1.8x.
    EXPECT_DOUBLE_EQ(window.resources().dataset->latest(0), 140.0);
}

TEST_F(Graphs, ClosingTheLastWindowEmptiesTheNameListAndNotBefore)
{
    struct Case {
        const char* how;
        void (*close)(QMdiArea& area, QMdiSubWindow& first, QMdiSubWindow& second);
    };
    const Case cases[] = {
        {"by the user",
         [](QMdiArea&, QMdiSubWindow& first, QMdiSubWindow& second) {
             first.close();
             second.close();
         }},
        {"with all others", [](QMdiArea& area, QMdiSubWindow&, QMdiSubWindow&) { area.closeAllSubWindows(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        m_host.closes = 0;
        QPointer<GraphWindow> first = &open(0);
        QPointer<GraphWindow> second = &open(1);

        first->close();
        EXPECT_TRUE(IsCleared(m_graphs.record(0)));
        EXPECT_FALSE(first->isUpdating());
        EXPECT_EQ(first->resources().dataset, nullptr);
        EXPECT_EQ(m_host.closes, 1);
        EXPECT_EQ(m_link.layout().count(), kListedNames.size());
        EXPECT_TRUE(m_windows->AnyGraphWindowOpen());

        c.close(area(), *first, *second);
        runDeferredDeletes();
        EXPECT_TRUE(first.isNull());
        EXPECT_TRUE(second.isNull());
        EXPECT_TRUE(IsCleared(m_graphs.record(1)));
        EXPECT_EQ(m_host.closes, 2);
        EXPECT_FALSE(m_windows->AnyGraphWindowOpen());
        EXPECT_EQ(m_link.layout().count(), 0);
        EXPECT_EQ(m_link.layout().path(), QByteArray::fromStdString(m_document.measurementPath()));

        listNames();
    }
}

TEST_F(Graphs, WindowsGoingWithTheirAreaReleaseOnceAndCallNobodyBack)
{
    QPointer<GraphWindow> window = &open(0);
    open(5);
    m_frame.reset();
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(m_windows->AnyGraphWindowOpen());
    EXPECT_EQ(m_link.layout().count(), 0);
    EXPECT_EQ(m_host.closes, 0);
}

TEST_F(Graphs, WindowsThatOutliveTheirManagerStopAndForgetIt)
{
    GraphWindow& window = open(0);
    ASSERT_TRUE(m_link.Connect());
    m_windows.reset();
    EXPECT_FALSE(window.isUpdating());
    EXPECT_TRUE(IsCleared(m_graphs.record(0)));
    const int moves = m_host.moves;
    window.move(window.pos() + QPoint(5, 5));
    window.GraphTimerProc();
    window.close();
    EXPECT_EQ(m_host.moves, moves);
    EXPECT_EQ(m_host.closes, 0);
}

TEST_F(Graphs, MovesResizesAndActivationsReachTheHost)
{
    GraphWindow& chart = open(0, {10, 10, 400, 300});
    GraphWindow& table = open(6, {200, 200, 400, 300});

    const int moves = m_host.moves;
    chart.move(chart.pos() + QPoint(15, 0));
    EXPECT_EQ(m_host.moves, moves + 1);
    chart.resize(chart.size() + QSize(40, 30));
    EXPECT_EQ(m_host.moves, moves + 2);
    // The page keeps filling the window.
    EXPECT_EQ(chart.widget()->geometry(), chart.contentsRect());

    m_host.activations.clear();
    area().setActiveSubWindow(&chart);
    ASSERT_FALSE(m_host.activations.empty());
    EXPECT_TRUE(m_host.activations.back());
    // A scrolling table offers no page commands, and the chart it replaced
    // gave them up.
    m_host.activations.clear();
    area().setActiveSubWindow(&table);
    EXPECT_EQ(m_host.activations, (std::vector<bool>{false, false}));
}

}  // namespace
}  // namespace vexa::graphs::test
