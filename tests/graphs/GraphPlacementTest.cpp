#include "GraphWindowsFixture.h"

#include "graphs/GraphWindow.h"

#include <QMdiArea>

namespace vexa::graphs::test {
namespace {

class GraphPlacement : public GraphWindowsFixture {
protected:
    GraphPlacement()
    {
        // A thick frame around the area, so that the area's outer corner and
        // the corner its windows live in differ.
        area().setFrameStyle(QFrame::Box | QFrame::Plain);
        area().setLineWidth(kAreaFrame);
    }

    /// Where \p window sits and how large it is on the screen, measured
    /// without the placement arithmetic.
    Placement onScreen(const GraphWindow& window) const
    {
        const QPoint corner = window.mapToGlobal(QPoint(0, 0)) - area().mapToGlobal(QPoint(0, 0));
        return {corner.x(), corner.y(), window.frameGeometry().width(), window.frameGeometry().height()};
    }

    static constexpr int kAreaFrame = 3;
};

TEST_F(GraphPlacement, APlacementTakenFromAWindowRebuildsItAtTheSamePlaceAndSize)
{
    const Placement placements[] = {
        {0, 0, 320, 240},
        {10, 20, 400, 300},
        {150, 75, 517, 263},
    };
    const QRect userMoves[] = {{33, 41, 355, 287}, {0, 5, 640, 480}, {260, 190, 401, 333}};
    for (std::size_t i = 0; i < std::size(placements); ++i) {
        SCOPED_TRACE(i);
        GraphWindow& window = open(0, placements[i]);
        EXPECT_EQ(PlacementOf(window), placements[i]);
        EXPECT_EQ(onScreen(window), placements[i]);

        // As a drag of the caption and of a corner leaves it.
        window.setGeometry(userMoves[i]);
        const Placement saved = PlacementOf(window);
        EXPECT_EQ(saved, onScreen(window));
        EXPECT_EQ(saved.x, userMoves[i].x() + kAreaFrame);
        window.close();
        listNames();

        GraphWindow& rebuilt = open(0, saved);
        EXPECT_EQ(PlacementOf(rebuilt), saved);
        rebuilt.close();
        runDeferredDeletes();
        listNames();
    }
}

TEST_F(GraphPlacement, DefaultValuesLeaveTheChoiceToTheArea)
{
    const QSize viewport = area().viewport()->size();
    const QSize expected = QSize(viewport.width() * 2 / 3, viewport.height() * 2 / 3).expandedTo({320, 240});

    GraphWindow& first = open(0);
    GraphWindow& second = open(1);
    EXPECT_EQ(first.size(), expected);
    EXPECT_EQ(second.size(), expected);
    // The area places a new window away from those it already shows.
    EXPECT_NE(first.pos(), second.pos());

    // A default coordinate takes the area's choice, the other one is kept.
    GraphWindow& third = open(5, {kUseDefaultPlacement, 50, 330, kUseDefaultPlacement});
    const Placement placed = PlacementOf(third);
    EXPECT_EQ(placed.y, 50);
    EXPECT_EQ(placed.width, 330);
    EXPECT_EQ(placed.height, expected.height());
}

}  // namespace
}  // namespace vexa::graphs::test
