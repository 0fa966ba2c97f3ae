#pragma once

#include "document/AlarmEntry.h"
#include "document/DisplayFormat.h"
#include "document/FontSpec.h"
#include "document/MeasurementSlot.h"
#include "document/Placement.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vexa {

/// One alarm level of a graph as the graph shows it, from its entry
/// "A"(level + 1). The fields split as strtok splits them (a run of commas is
/// one separator, leading commas are ignored, so no field is empty); absent
/// fields take the entry's defaults.
struct GraphAlarm {
    /// The first field reads as a number other than 0.
    bool enabled = false;
    /// The stored entry begins with "1": what a graph's "has alarm" and its
    /// alarm indicator's levels ask, which is not quite the same question.
    bool flagged = false;
    int colour = 0;
    std::string text;  ///< at most kAlarmFieldLength characters
    /// The limit as stored (at most kAlarmFieldLength characters); none for
    /// the normal level and for an entry without one, whose limit is then
    /// taken from the graph's value range (AlarmLimitText).
    std::optional<std::string> limit;

    bool operator==(const GraphAlarm&) const = default;
};

/// An alarm's text and limit are read into buffers of 30 characters.
inline constexpr std::size_t kAlarmFieldLength = 29;
/// The alarm levels of a graph, indexed by level: entry "A"(level + 1).
using GraphAlarms = std::array<GraphAlarm, kAlarmEntryCount>;

/// The smallest minimum and the largest maximum of a graph's measurements;
/// both start from 0, so the range always contains 0.
struct GraphRange {
    double minimum = 0.0;
    double maximum = 0.0;
};

/// Everything a graph is drawn from, as one value: read once from its
/// section of the display file and from the measurement file, with the
/// defaults of absent keys, or filled by an editor from its controls. The
/// chart builders draw from nothing else.
struct GraphDefinition {
    std::string title;  ///< "T", at most 99 characters
    int type = kTimeHistory;  ///< "P"; kNoGraphType for a name that is no type
    int characteristic = kProportionalCharacteristic;  ///< "WC"; kNoCharacteristic for an unknown name
    int updatePeriod = kDefaultUpdatePeriodMs;  ///< "UP" as stored, in ms
    Placement placement;  ///< "R"
    /// "M1" … up to the first absent one, each with its measurement's
    /// definition; at most kMaxMeasurementsPerGraph.
    std::vector<MeasurementSlot> measurements;
    std::array<int, kMaxMeasurementsPerGraph> dataColours{};  ///< "DC1" … "DC8"
    int plotBackground = kDefaultPlotBackground;  ///< "PC"
    int windowBackground = kDefaultWindowBackground;  ///< "WB"
    FontSpec titleFont;  ///< "TF"
    FontSpec labelFont;  ///< "LF", with the defaults of LabelFontKind(type)
    FontSpec gridFont;   ///< "GF"
    GraphAlarms alarms{};
    /// "AH": the Low/High and the Deviation hysteresis, as texts.
    std::string lowHighHysteresis;
    std::string deviationHysteresis;
};

/// A definition as if its section were empty: every key at its default.
GraphDefinition DefaultGraphDefinition(int type = kTimeHistory);

/// The kind whose defaults the "LF" key of a graph of \p type takes: the
/// time history's (also for a type that is none of the ten, which is drawn
/// as one), the scrolling table's, or the other graphs' label font.
FontKind LabelFontKind(int type);

/// Reads graph section \p section of \p displayFile, and the definitions of
/// its measurements from \p measurementFile, key by key.
GraphDefinition ReadGraphDefinition(std::string_view section, const std::string& displayFile,
                                    const std::string& measurementFile);

/// The seven alarm levels of a graph section.
GraphAlarms ReadGraphAlarms(std::string_view section, const std::string& displayFile);

/// The Low/High and the Deviation hysteresis of "AH", as texts: the first
/// two blank-separated fields, each "0.1" and "0.0" when absent.
std::pair<std::string, std::string> ReadHysteresis(std::string_view section, const std::string& displayFile);

/// The value range of \p measurements.
GraphRange GraphValueRange(std::span<const MeasurementSlot> measurements);

/// The limit of alarm \p level as a text: the stored one, or for High and Low
/// the graph's range maximum and minimum ("%f", "0.0" for 0), "0.0" for the
/// other levels, and empty for the normal level.
std::string AlarmLimitText(const GraphDefinition& graph, int level);

/// True when an entry of the graph begins with "1": \p level alone, or any
/// of the seven when \p level is kAnyAlarmLevel.
inline constexpr int kAnyAlarmLevel = -1;
bool GraphHasAlarm(const GraphDefinition& graph, int level = kAnyAlarmLevel);

}  // namespace vexa
