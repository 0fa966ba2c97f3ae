#pragma once

namespace vexa {
struct GraphRecord;
}

namespace vexa::toolkit {
class ChartWindow;
class ChartContext;
}  // namespace vexa::toolkit

namespace vexa::graphs {

struct GraphResources;

/// Builds the chart of a bar graph: one bar per measurement on the graph's
/// value range, across the chart (toolkit::kHorizontalBars) or up it
/// (toolkit::kVerticalBars), each in its data colour and in the colour of
/// its alarm state while it is in one. The title, the names and the axes
/// take the colours of the graph's stored fonts; their faces are the
/// indicator's own.
void BuildBarGraph(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                   GraphResources& resources, int orientation);

}  // namespace vexa::graphs
