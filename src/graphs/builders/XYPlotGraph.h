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

/// Builds the chart of an XY plot: the second measurement against the
/// first on a plot that spans both measurements' own ranges, with axes
/// crossing in the middle, a trace that gains a point per sample, and two
/// readouts with the measurements' names below the plot. The graph's
/// dataset has the two measurements as channels 0 (x) and 1 (y).
void BuildXYPlot(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                 GraphResources& resources);

}  // namespace vexa::graphs
