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

/// The text a graph of a type without a chart of its own shows.
inline constexpr const char* kGraphTypeNotAvailable = "Graph type not available";

/// Builds the chart of a graph type that cannot be drawn yet: the graph's
/// title at the top and "Graph type not available" in the middle. It gives
/// the graph a dataset, so that the window's samples have somewhere to go.
void BuildPlaceholderChart(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                           GraphResources& resources);

}  // namespace vexa::graphs
