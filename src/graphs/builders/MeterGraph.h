#pragma once

#include "graphs/toolkit/GaugeIndicators.h"

#include <string>
#include <string_view>

namespace vexa {
class GraphTable;
struct GraphRecord;
}  // namespace vexa

namespace vexa::toolkit {
class ChartWindow;
class ChartContext;
}  // namespace vexa::toolkit

namespace vexa::graphs {

struct GraphResources;

/// The dial's ticks: a tenth of the first measurement's own range (the
/// dial's scale is the graph's value range, which may be wider).
double MeterTickInterval(const GraphRecord& record);

/// The colours of the normal, High and Low states: 10, 12 and 11, each
/// replaced by the colour of "A1", "A2" or "A3" while that level is enabled.
toolkit::DialAlarmColours MeterAlarmColours(std::string_view section, const std::string& displayFile,
                                            const GraphTable& graphs);

/// Builds the chart of a meter, an arc meter or a pie meter (\p type): a
/// framed face with the first measurement's name at the top and the dial of
/// the type on the graph's value range, showing its value in the colour of
/// its alarm state.
void BuildMeter(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                GraphResources& resources, int type);

}  // namespace vexa::graphs
