#pragma once

namespace vexa {
struct GraphDefinition;
}

namespace vexa::toolkit {
class ChartWindow;
class ChartContext;
}  // namespace vexa::toolkit

namespace vexa::graphs {

struct GraphResources;

/// The two dimensions of an annunciator's grid; their product is its
/// number of cells.
struct AnnunciatorGridSize {
    int first = 1;
    int second = 1;

    bool operator==(const AnnunciatorGridSize&) const = default;
};

/// The grid for \p count measurements (1 ... 8; a count outside is taken
/// as the nearest of them).
AnnunciatorGridSize AnnunciatorGrid(int count);

/// Builds the chart of an annunciator: a grid of lamps, one per measurement,
/// each on the grid font's colour that turns to the High or Low colour (of
/// "A2" and "A3" while enabled) while its value is in that state.
void BuildAnnunciator(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                      GraphResources& resources);

}  // namespace vexa::graphs
