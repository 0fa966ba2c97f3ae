#pragma once

namespace vexa {
struct GraphDefinition;
}

namespace vexa::toolkit {
class ChartWindow;
class ChartContext;
enum class BarOrientation;
}  // namespace vexa::toolkit

namespace vexa::graphs {

struct GraphResources;

/// Builds the chart of a bar graph: one bar per measurement on the graph's
/// value range, across the chart or up it as \p orientation says, each in
/// its data colour and in the colour of its alarm state while it is in one.
/// The title, the names and the axes take the colours of the graph's stored
/// fonts; their faces are the indicator's own.
void BuildBarGraph(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                   GraphResources& resources, toolkit::BarOrientation orientation);

}  // namespace vexa::graphs
