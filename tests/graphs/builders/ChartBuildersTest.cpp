#include "GraphPage.h"

#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/Annunciator.h"
#include "graphs/toolkit/BarIndicator.h"
#include "graphs/toolkit/Dial.h"
#include "graphs/toolkit/ValueTable.h"
#include "graphs/toolkit/XYPlot.h"

#include <gtest/gtest.h>

#include <string>

namespace vexa::graphs {
namespace {

using test::GraphPage;

/// How many indicators of each kind a chart holds.
struct Indicators {
    std::size_t xyPlots = 0;
    std::size_t tables = 0;
    std::size_t bars = 0;
    std::size_t dials = 0;
    std::size_t annunciators = 0;

    bool operator==(const Indicators&) const = default;
};

Indicators IndicatorsOf(const GraphPage& page)
{
    return {page.elements<toolkit::XYPlot>().size(), page.elements<toolkit::ValueTable>().size(),
            page.elements<toolkit::BarIndicator>().size(), page.elements<toolkit::Dial>().size(),
            page.elements<toolkit::Annunciator>().size()};
}

void PrintTo(const Indicators& found, std::ostream* os)
{
    *os << "{xy " << found.xyPlots << ", tables " << found.tables << ", bars " << found.bars << ", dials "
        << found.dials << ", annunciators " << found.annunciators << "}";
}

TEST(ChartBuilders, EachValueTypeDrawsItsIndicatorOnADatasetNamedAfterTheWindow)
{
    // 32 characters: a channel name keeps 31 of them.
    const std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    struct Case {
        int type;
        Indicators expected;
        const char* datasetName;
    };
    const Case cases[] = {
        {kFixedTabular, {0, 1, 0, 0, 0}, "Boiler pressure"},
        {kHorizontalBarGraph, {0, 0, 1, 0, 0}, "Boiler pressure"},
        {kVerticalBarGraph, {0, 0, 1, 0, 0}, "Boiler pressure"},
        {kMeter, {0, 0, 0, 1, 0}, "Boiler pressure"},
        {kArcMeter, {0, 0, 0, 1, 0}, "Boiler pressure"},
        {kPieMeter, {0, 0, 0, 1, 0}, "Boiler pressure"},
        {kAnnunciator, {0, 0, 0, 0, 1}, "Boiler pressure"},
        // The XY dataset has no name.
        {kXYPlot, {1, 0, 0, 0, 0}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        GraphPage page(c.type, {{longName, 0, 10}, {"HEAT", 0, 10}});
        ASSERT_FALSE(page.render().isNull());
        EXPECT_EQ(IndicatorsOf(page), c.expected);
        EXPECT_EQ(TimeHistoryStateOf(page.resources()), nullptr);
        const toolkit::RealTimeDataset* dataset = page.resources().dataset.get();
        ASSERT_NE(dataset, nullptr);
        EXPECT_EQ(dataset->name(), c.datasetName);
        EXPECT_EQ(dataset->channelCount(), 2);
        ASSERT_EQ(dataset->channelNames().size(), 2u);
        EXPECT_EQ(dataset->channelNames()[1], "HEAT");
        if (c.type != kXYPlot) {
            EXPECT_EQ(dataset->channelNames()[0], longName.substr(0, 31));
        }
    }
}

TEST(ChartBuilders, EveryOtherTypeGetsTheTimeHistory)
{
    // A scrolling table never has a chart; should one be asked for, it is
    // the time history like that of any type without a chart of its own.
    for (const int type : {int{kNoGraphType}, int{kTimeHistory}, int{kScrollingTabular}, kGraphTypeCount + 1}) {
        SCOPED_TRACE(type);
        GraphPage page(type, {{"FLOW", 0, 10}});
        page.render();
        EXPECT_NE(TimeHistoryStateOf(page.resources()), nullptr);
        EXPECT_EQ(IndicatorsOf(page), Indicators{});
    }
}

}  // namespace
}  // namespace vexa::graphs
