#include "GraphWindowsFixture.h"

#include "document/ProfileStore.h"
#include "graphs/GraphWindow.h"
#include "graphs/builders/ScrollingTable.h"
#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/ScrollingList.h"
#include "graphs/toolkit/Toolkit.h"

#include <QMdiArea>
#include <QPointer>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vexa::graphs::test {
namespace {

using namespace toolkit::palette;

/// The fixture's scrolling table: graph W7, showing T1 (-40 + 1.8 x).
constexpr int kTableGraph = 6;
/// The fixture's other charts: a time history (W1) and the XY plot (W9).
constexpr int kTimeHistoryGraph = 0;
constexpr int kXYGraph = 8;

class GraphTypeWindows : public GraphWindowsFixture {
protected:
    /// Adds graph section \p number with \p keys (key, value) to the display
    /// file the windows read.
    void defineGraph(int number, const std::vector<std::pair<std::string, std::string>>& keys)
    {
        for (const auto& [key, value] : keys)
            ASSERT_TRUE(profile::WriteString(GraphSectionName(number), key, value, m_document.workingDisplayCopy()));
    }
    /// Puts a sample into the link's buffer, as a fetch would.
    void sample(double timeOfDay, const std::vector<double>& raw)
    {
        m_link.sample().setTimeOfDay(timeOfDay);
        for (std::size_t i = 0; i < raw.size(); ++i)
            m_link.sample().setValue(static_cast<int>(i), raw[i]);
    }
};

TEST_F(GraphTypeWindows, AScrollingTableFillsItsWindowWithItsListAndNoChart)
{
    GraphWindow& window = open(kTableGraph, {20, 20, 500, 300});
    const GraphResources& resources = window.resources();
    toolkit::ScrollingList* list = resources.scrollingList;
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(window.widget(), list);
    EXPECT_EQ(window.findChild<toolkit::ScrollingList*>(QStringLiteral("205")), list);
    EXPECT_EQ(resources.chartPage, nullptr);
    EXPECT_EQ(resources.chartWindow, nullptr);
    EXPECT_EQ(resources.dataset, nullptr);
    EXPECT_EQ(list->tabStops(), (std::vector<int>{46, 82}));
    EXPECT_EQ(list->palette().color(QPalette::Base), toolkit::PaletteColour(kDefaultWindowBackground));
    EXPECT_EQ(list->palette().color(QPalette::Text), toolkit::PaletteColour(kBlack));

    EXPECT_EQ(list->geometry(), window.contentsRect());
    window.resize(window.size() + QSize(60, 40));
    EXPECT_EQ(list->geometry(), window.contentsRect());
}

TEST_F(GraphTypeWindows, EachTickOfAScrollingTableAddsALineOfConvertedValues)
{
    ASSERT_TRUE(m_link.Connect());
    GraphWindow& window = open(kTableGraph);
    toolkit::ScrollingList* list = window.resources().scrollingList;
    ASSERT_NE(list, nullptr);

    sample(3723.25, {0.0, 0.0, 50.0});
    window.GraphTimerProc();
    sample(3724.5, {0.0, 0.0, 100.0});
    window.GraphTimerProc();
    EXPECT_EQ(list->lines(), (QStringList{QStringLiteral("Time        \tT1"), QStringLiteral("01:02:04.500\t140.00"),
                                          QStringLiteral("01:02:03.250\t50.00")}));

    // Disconnected, the table stands still.
    m_link.Disconnect();
    window.GraphTimerProc();
    EXPECT_EQ(list->count(), 3);
}

TEST_F(GraphTypeWindows, PageCommandsAreGrayedWhileAScrollingTableIsActive)
{
    GraphWindow& chart = open(kTimeHistoryGraph, {10, 10, 400, 300});
    GraphWindow& table = open(kTableGraph, {200, 200, 400, 300});
    // The table opened last and is active already.
    area().setActiveSubWindow(&chart);
    for (int round = 0; round < 2; ++round) {
        m_host.activations.clear();
        area().setActiveSubWindow(&table);
        ASSERT_FALSE(m_host.activations.empty());
        EXPECT_FALSE(m_host.activations.back());
        m_host.activations.clear();
        area().setActiveSubWindow(&chart);
        ASSERT_FALSE(m_host.activations.empty());
        EXPECT_TRUE(m_host.activations.back());
    }
}

TEST_F(GraphTypeWindows, ClosingAScrollingTableTakesItsListAlongAndClearsTheGraph)
{
    QPointer<GraphWindow> window = &open(kTableGraph);
    QPointer<toolkit::ScrollingList> list = window->resources().scrollingList.data();
    ASSERT_FALSE(list.isNull());
    window->close();
    EXPECT_EQ(window->resources().scrollingList, nullptr);
    EXPECT_FALSE(m_graphs.isOpen(kTableGraph));
    runDeferredDeletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(list.isNull());
}

TEST_F(GraphTypeWindows, TicksReachTheDatasetOfEveryChartType)
{
    defineGraph(11, {{"T", "Bars across"}, {"P", "HorizontalBarGraph"}, {"M1", "P1"}, {"M2", "T1"}});
    defineGraph(12, {{"T", "Bars up"}, {"P", "VerticalBarGraph"}, {"M1", "P2"}});
    defineGraph(13, {{"T", "Gauge"}, {"P", "Meter"}, {"M1", "P1"}});
    defineGraph(14, {{"T", "Arc"}, {"P", "Arc Meter"}, {"M1", "T1"}});
    defineGraph(15, {{"T", "Pie"}, {"P", "Pie Meter"}, {"M1", "P2"}});
    defineGraph(16, {{"T", "Lamps"}, {"P", "Annunciator"}, {"M1", "P1"}, {"M2", "P2"}, {"M3", "T1"}});
    struct Case {
        int index;
        int type;
        /// The converted values of the sample below: P1 1 + 2 x, P2 raw,
        /// T1 -40 + 1.8 x.
        std::vector<double> row;
    };
    const std::vector<Case> cases = {
        {kXYGraph, kXYPlot, {7.0, 50.0}},
        {1, kFixedTabular, {7.0}},
        {10, kHorizontalBarGraph, {7.0, 50.0}},
        {11, kVerticalBarGraph, {-2.0}},
        {12, kMeter, {7.0}},
        {13, kArcMeter, {50.0}},
        {14, kPieMeter, {-2.0}},
        {15, kAnnunciator, {7.0, -2.0, 50.0}},
    };
    ASSERT_TRUE(m_link.Connect());
    std::vector<GraphWindow*> windows;
    for (const Case& c : cases)
        windows.push_back(&open(c.index));
    constexpr int kTicks = 3;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].index);
        GraphWindow& window = *windows[i];
        EXPECT_EQ(m_graphs.record(cases[i].index).type, cases[i].type);
        ASSERT_TRUE(waitForChart(window));
        const toolkit::RealTimeDataset* dataset = window.resources().dataset.get();
        ASSERT_NE(dataset, nullptr);
        EXPECT_EQ(TimeHistoryStateOf(window.resources()), nullptr);
        const std::int64_t before = dataset->appendedRows();
        for (int tick = 0; tick < kTicks; ++tick) {
            // The same time stamp each time: only a time history drops such samples.
            sample(100.0, {3.0, -2.0, 50.0});
            window.GraphTimerProc();
        }
        EXPECT_EQ(dataset->appendedRows(), before + kTicks);
        std::vector<double> newest;
        for (int channel = 0; channel < dataset->channelCount(); ++channel)
            newest.push_back(dataset->latest(channel));
        EXPECT_EQ(newest, cases[i].row);
    }
}

}  // namespace
}  // namespace vexa::graphs::test
