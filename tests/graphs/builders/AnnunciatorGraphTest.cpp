#include "GraphPage.h"

#include "graphs/builders/AnnunciatorGraph.h"
#include "graphs/toolkit/Annunciator.h"
#include "graphs/toolkit/Toolkit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa::graphs {
namespace {

using namespace toolkit::palette;
using test::GraphPage;
using toolkit::Annunciator;

Annunciator* AnnunciatorOf(const GraphPage& page)
{
    const std::vector<Annunciator*> found = page.elements<Annunciator>();
    return found.size() == 1 ? found.front() : nullptr;
}

std::vector<test::TestMeasurement> Measurements(int count)
{
    std::vector<test::TestMeasurement> measurements;
    for (int i = 0; i < count; ++i)
        measurements.push_back({"M" + std::to_string(i + 1), 0, 100});
    return measurements;
}

TEST(AnnunciatorGraph, TheGridGrowsWithTheMeasurementCount)
{
    struct Case {
        int count;
        AnnunciatorGridSize grid;
    };
    const Case cases[] = {
        {-3, {1, 1}}, {0, {1, 1}}, {1, {1, 1}}, {2, {1, 2}}, {3, {1, 3}}, {4, {2, 2}},
        {5, {2, 3}},  {6, {2, 3}}, {7, {2, 4}}, {8, {2, 4}}, {9, {2, 4}},
    };
    for (const Case& c : cases) {
        const AnnunciatorGridSize grid = AnnunciatorGrid(c.count);
        EXPECT_EQ(grid.first, c.grid.first) << c.count;
        EXPECT_EQ(grid.second, c.grid.second) << c.count;
    }
}

TEST(AnnunciatorGraph, FiveMeasurementsFillTwoRowsOfThreeAndLeaveOneCellEmpty)
{
    GraphPage page(kAnnunciator, Measurements(5));
    page.render();
    Annunciator* lamps = AnnunciatorOf(page);
    ASSERT_NE(lamps, nullptr);
    EXPECT_EQ(lamps->rows(), 2);
    EXPECT_EQ(lamps->columns(), 3);
    EXPECT_EQ(lamps->cellCount(), 6);
    for (int cell = 0; cell < 5; ++cell)
        EXPECT_EQ(lamps->channelOf(cell), cell);
    EXPECT_EQ(lamps->channelOf(5), -1);
    EXPECT_FALSE(lamps->cellFill(5).isValid());
}

TEST(AnnunciatorGraph, LampsLightOnlyInTheColoursOfEnabledLevels)
{
    // Channel 0 goes above the High limit, channel 1 below the Low limit,
    // channel 2 stays between them. The cells stand on the grid font's
    // colour.
    const QColor cell = toolkit::PaletteColour(kCyan);
    struct Case {
        const char* keys;
        QColor high;
        QColor low;
    };
    const Case cases[] = {
        {"A2=0,13,High,60\r\nA3=1,12,Low,20\r\n", cell, toolkit::PaletteColour(kLightRed)},
        {"A2=1,13,High,60\r\nA3=0,12,Low,20\r\n", toolkit::PaletteColour(kLightMagenta), cell},
        {"A2=1,13,High,60\r\nA3=1,12,Low,20\r\n", toolkit::PaletteColour(kLightMagenta),
         toolkit::PaletteColour(kLightRed)},
        {"", cell, cell},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        GraphPage page(kAnnunciator, Measurements(3), std::string("GF=Arial,8,0,3\r\n") + c.keys);
        page.render();
        Annunciator* lamps = AnnunciatorOf(page);
        ASSERT_NE(lamps, nullptr);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(lamps->cellFill(i), cell) << "before the first sample, cell " << i;
        page.feed({90.0, 5.0, 40.0});
        page.render();
        EXPECT_EQ(lamps->cellFill(0), c.high);
        EXPECT_EQ(lamps->cellFill(1), c.low);
        EXPECT_EQ(lamps->cellFill(2), cell);
        // Back between the limits every lamp is on its cell colour again.
        page.feed({40.0, 40.0, 40.0});
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(lamps->cellFill(i), cell) << "after the return, cell " << i;
    }
}

}  // namespace
}  // namespace vexa::graphs
