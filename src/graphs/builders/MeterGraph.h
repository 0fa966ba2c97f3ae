#pragma once

#include "graphs/toolkit/GaugeIndicators.h"

namespace vexa {
struct GraphDefinition;
}

namespace vexa::toolkit {
class ChartWindow;
class ChartContext;
}  // namespace vexa::toolkit

namespace vexa::graphs {

struct GraphResources;

/// The dial's ticks: a tenth of the first measurement's own range (the
/// dial's scale is the graph's value range, which may be wider).
double MeterTickInterval(const GraphDefinition& graph);

/// The colours of the normal, High and Low states: 10, 12 and 11, each
/// replaced by the colour of "A1", "A2" or "A3" while that level is enabled
/// (its entry begins with "1").
toolkit::DialAlarmColours MeterAlarmColours(const GraphDefinition& graph);

/// Builds the chart of a meter, an arc meter or a pie meter (\p type): a
/// framed face with the first measurement's name at the top and the dial of
/// the type on the graph's value range, showing its value in the colour of
/// its alarm state.
void BuildMeter(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph,
                GraphResources& resources, int type);

}  // namespace vexa::graphs
