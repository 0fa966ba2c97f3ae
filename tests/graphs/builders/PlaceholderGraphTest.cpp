#include "GraphPage.h"

#include "graphs/builders/PlaceholderGraph.h"
#include "graphs/builders/TimeHistoryGraph.h"
#include "graphs/toolkit/Toolkit.h"

#include <gtest/gtest.h>

namespace vexa::graphs {
namespace {

using test::CountPixelsNear;
using test::CountPixelsNotNear;
using test::GraphPage;

TEST(PlaceholderGraph, TypesStillToComeShowTheirTitleAndThatTheyAreNotAvailable)
{
    for (const int type : {int{kXYPlot}, int{kHorizontalBarGraph}, int{kMeter}, int{kAnnunciator}}) {
        GraphPage page(type, {{"FLOW", 0, 10}, {"HEAT", 0, 10}}, "TF=Liberation Sans,12,1,2\r\n");
        const QImage image = page.render();
        ASSERT_FALSE(image.isNull()) << type;
        EXPECT_GT(CountPixelsNear(image, 0.35, 0.0, 0.65, 0.08, toolkit::PaletteColour(2)), 20) << type;
        const QColor background = toolkit::PaletteColour(kDefaultWindowBackground);
        EXPECT_GT(CountPixelsNotNear(image, 0.3, 0.45, 0.7, 0.55, background), 20) << type;
        EXPECT_EQ(CountPixelsNotNear(image, 0.0, 0.6, 1.0, 1.0, background), 0) << type;
        EXPECT_EQ(page.resources().historyState, nullptr) << type;
        ASSERT_NE(page.resources().dataset, nullptr) << type;
        EXPECT_EQ(page.resources().dataset->channelCount(), 2) << type;
    }
}

TEST(PlaceholderGraph, EveryOtherTypeGetsTheTimeHistory)
{
    for (const int type : {int{kNoGraphType}, int{kTimeHistory}, kGraphTypeCount + 1}) {
        GraphPage page(type, {{"FLOW", 0, 10}});
        page.render();
        EXPECT_NE(page.resources().historyState, nullptr) << type;
    }
}

}  // namespace
}  // namespace vexa::graphs
