#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vexa {
struct GraphDefinition;
}

namespace vexa::toolkit {
class ChartWindow;
class RealTimeDataset;
struct AlarmPart;
}  // namespace vexa::toolkit

/// The dataset of the value graphs (the tables, bars, meters and the
/// annunciator): how it is named, created and given the graph's alarm
/// settings. The XY plot names its two channels itself.
namespace vexa::graphs {

struct GraphResources;

/// A channel name is held in a slot of 32 characters with its terminator.
inline constexpr std::size_t kChannelNameLength = 31;

/// The graph's measurement count, kept within the slots a graph has.
int MeasurementCount(const GraphDefinition& graph);

/// The names of the graph's measurements in slot order, each cut to
/// \p length characters.
std::vector<std::string> ChannelNames(const GraphDefinition& graph, std::size_t length = kChannelNameLength);

/// Creates the graph's dataset: named after its caption, one channel per
/// measurement named after it, no history. Stores it as the graph's
/// dataset and returns it; null when it could not be created.
toolkit::RealTimeDataset* CreateGraphDataset(const GraphDefinition& graph, GraphResources& resources);

/// Gives the graph's dataset the hysteresis and alarm levels of \p graph,
/// and \p part (when not null) the level colours. Nothing without a dataset.
void AttachGraphAlarms(toolkit::ChartWindow& chart, const GraphDefinition& graph, const GraphResources& resources,
                       toolkit::AlarmPart* part);

}  // namespace vexa::graphs
