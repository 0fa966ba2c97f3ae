#include "AlarmAttachment.h"

#include "document/TextFields.h"
#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/RealTimeIndicators.h"

namespace vexa::graphs {

namespace {

/// The text a disabled level passes with its limit, so that nothing shows.
constexpr const char* kDisabledText = " ";

/// The levels the alarm indicator can show, which are also the levels
/// whose limits are values on the graph's scale.
constexpr int kFirstIndicatorLevel = toolkit::kLevelHigh;
constexpr int kLastIndicatorLevel = toolkit::kLevelLowLow;

const GraphAlarm& AlarmOf(const GraphDefinition& graph, int level)
{
    return graph.alarms[static_cast<std::size_t>(level)];
}

}  // namespace

void AttachAlarms(toolkit::ChartWindow& chart, const GraphDefinition& graph, toolkit::AlarmPart* part,
                  toolkit::RealTimeDataset& dataset)
{
    toolkit::SetAlarmHysteresis(dataset, ParseLeadingDouble(graph.lowHighHysteresis),
                                ParseLeadingDouble(graph.deviationHysteresis));
    for (int level = toolkit::kLevelNormal; level < toolkit::kAlarmLevelCount; ++level) {
        const GraphAlarm& alarm = AlarmOf(graph, level);
        if (part != nullptr)
            toolkit::SetAlarmColour(chart, *part, alarm.colour, level);
        toolkit::SetAlarmLimit(dataset, level, ParseLeadingDouble(AlarmLimitText(graph, level)), alarm.enabled,
                               alarm.enabled ? alarm.text : std::string(kDisabledText));
    }
}

toolkit::AlarmIndicator* AttachAlarmIndicator(toolkit::ChartWindow& chart, toolkit::RealTimeDataset* dataset,
                                              const GraphDefinition& graph)
{
    if (dataset == nullptr)
        return nullptr;
    toolkit::AlarmIndicator* indicator = toolkit::CreateAlarmIndicator(chart, *dataset);
    if (indicator == nullptr)
        return nullptr;
    for (int level = kFirstIndicatorLevel; level <= kLastIndicatorLevel; ++level)
        toolkit::EnableAlarmLevel(chart, indicator, level, GraphHasAlarm(graph, level));
    // The readouts show a level in the colour the user chose for it.
    AttachAlarmColours(chart, graph, toolkit::AlarmColours(indicator));
    return indicator;
}

void AttachAlarmColours(toolkit::ChartWindow& chart, const GraphDefinition& graph, toolkit::AlarmPart& part)
{
    for (int level = toolkit::kLevelNormal; level < toolkit::kAlarmLevelCount; ++level)
        toolkit::SetAlarmColour(chart, part, AlarmOf(graph, level).colour, level);
}

std::vector<toolkit::LimitLine> AlarmLimitLines(const GraphDefinition& graph)
{
    std::vector<toolkit::LimitLine> lines;
    for (int level = kFirstIndicatorLevel; level <= kLastIndicatorLevel; ++level) {
        const GraphAlarm& alarm = AlarmOf(graph, level);
        if (alarm.enabled)
            lines.push_back({ParseLeadingDouble(AlarmLimitText(graph, level)), alarm.colour});
    }
    return lines;
}

}  // namespace vexa::graphs
