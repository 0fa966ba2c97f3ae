#pragma once

#include "document/GraphTable.h"

#include <string>
#include <string_view>
#include <utility>

namespace vexa::toolkit {
class ChartWindow;
class RealTimeDataset;
class AlarmIndicator;
struct AlarmPart;
}  // namespace vexa::toolkit

/// From the raw values the server sends to engineering values, and a
/// graph's alarm settings handed to its dataset and indicators.
namespace vexa::graphs {

/// Fills \p slot (all but its name index) from the measurement's section of
/// \p measurementFile.
void ReadMeasurementDefinition(const std::string& name, MeasurementSlot& slot, const std::string& measurementFile);

/// The engineering value of \p raw: the polynomial c0 + c1 x + ... + c6 x^6
/// for a measurement with coefficients, the raw value otherwise.
double ConvertValue(const MeasurementSlot& slot, double raw);

/// The smallest minimum and the largest maximum of the graph's measurements,
/// both starting from 0. Either output may be null.
void GraphValueRange(const GraphRecord& record, double* minimum, double* maximum);

/// Alarm level \p level (0 ... 6) of a graph section: returns whether it is
/// enabled and fills the outputs that are not null. A limit taken from the
/// value range is that of the graph the section belongs to.
bool ReadAlarmEntry(std::string_view section, int level, std::string* limitText, std::string* text, int* colour,
                    const std::string& displayFile, const GraphTable& graphs);

/// The Low/High and the Deviation hysteresis of "AH", as texts.
std::pair<std::string, std::string> ReadHysteresis(std::string_view section, const std::string& displayFile);

/// The key number of GraphHasAlarm that asks about every level.
inline constexpr int kAnyAlarmKey = 0;
/// True when "A"k begins with "1"; for \p key 0, when any of A1 ... A7 does.
bool GraphHasAlarm(std::string_view section, int key, const std::string& displayFile);

/// Gives \p dataset the section's hysteresis and seven levels, and \p part
/// (when not null) the level colours.
void AttachAlarms(toolkit::ChartWindow& chart, std::string_view section, toolkit::AlarmPart* part,
                  toolkit::RealTimeDataset& dataset, const std::string& displayFile, const GraphTable& graphs);

/// The alarm indicator of a time history graph; null when \p dataset is.
toolkit::AlarmIndicator* AttachAlarmIndicator(toolkit::ChartWindow& chart, toolkit::RealTimeDataset* dataset,
                                              std::string_view section, const std::string& displayFile);

}  // namespace vexa::graphs
