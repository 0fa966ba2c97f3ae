#pragma once

#include "document/GraphDefinition.h"
#include "graphs/toolkit/LimitLines.h"

#include <vector>

namespace vexa::toolkit {
class AlarmIndicator;
class ChartWindow;
class RealTimeDataset;
struct AlarmPart;
}  // namespace vexa::toolkit

/// A graph's alarm settings handed to its dataset and indicators.
namespace vexa::graphs {

/// Gives \p dataset the graph's hysteresis and its seven levels (a disabled
/// level keeps its limit and shows no text), and \p part (when not null) the
/// level colours.
void AttachAlarms(toolkit::ChartWindow& chart, const GraphDefinition& graph, toolkit::AlarmPart* part,
                  toolkit::RealTimeDataset& dataset);

/// The alarm indicator that lets the readouts of \p dataset's channels show
/// their states in the graph's level colours, High to Low Low each as the
/// graph has it; null when \p dataset is.
/// Gives \p part the graph's colours of all seven levels.
void AttachAlarmColours(toolkit::ChartWindow& chart, const GraphDefinition& graph, toolkit::AlarmPart& part);

/// The graph's enabled limits that lie on its value scale (High, Low,
/// High High, Low Low), each in its level's colour.
std::vector<toolkit::LimitLine> AlarmLimitLines(const GraphDefinition& graph);

toolkit::AlarmIndicator* AttachAlarmIndicator(toolkit::ChartWindow& chart, toolkit::RealTimeDataset* dataset,
                                              const GraphDefinition& graph);

}  // namespace vexa::graphs
