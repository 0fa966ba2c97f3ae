#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vexa {
struct GraphDefinition;
}

namespace vexa::toolkit {
class ChartWindow;
class ChartContext;
}  // namespace vexa::toolkit

namespace vexa::graphs {

struct GraphResources;

/// A row text is held in a slot of 42 characters with its terminator.
inline constexpr std::size_t kRowTextLength = 41;

/// The fixed table's row texts: each measurement's description, cut to
/// fit its slot.
std::vector<std::string> FixedTableRowTexts(const GraphDefinition& graph);

/// Builds the chart of a fixed table: one row per measurement with its name,
/// description and newest value in its data colour, each value shown in the
/// colour (and, when the graph has alarms, with the text) of its alarm state.
void BuildFixedTable(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                     GraphResources& resources);

}  // namespace vexa::graphs
