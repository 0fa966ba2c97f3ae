#pragma once

#include <string>
#include <string_view>

namespace vexa {

/// Alarm entries `A1` … `A7`, one per alarm state.
enum AlarmEntryNumber : int {
    kAlarmNormal = 1,     ///< `A1`: no alarm
    kAlarmHigh = 2,
    kAlarmLow = 3,
    kAlarmHighHigh = 4,
    kAlarmLowLow = 5,
    kAlarmRate = 6,
    kAlarmDeviation = 7,  ///< `A7`
};
inline constexpr int kAlarmEntryCount = 7;

/// One alarm entry: whether it is enabled, the colour and text shown in the
/// state, and the limit as the user typed it (`A2` … `A7` only).
struct AlarmEntry {
    bool enabled = false;
    int colour = 0;
    std::string text;
    std::string limit;

    bool operator==(const AlarmEntry&) const = default;
};

/// "A1" … "A7".
std::string AlarmKey(int entry);

/// The defaults of an entry whose key or fields are absent.
AlarmEntry DefaultAlarmEntry(int entry);

/// Reads entry \p entry (1 … 7) of a graph section; absent or empty fields
/// take their defaults.
AlarmEntry ReadAlarmEntry(std::string_view section, int entry, const std::string& file);

/// The stored form: "enabled,colour,text" for `A1`, "enabled,colour,text,limit"
/// for the others. An empty text is stored as a single blank, so that the
/// field is never empty; commas, which would split the text, become blanks.
std::string FormatAlarmEntry(int entry, const AlarmEntry& alarm);

/// True when an entry of the range begins with "1": entry \p entry alone, or
/// all seven when \p entry is 0.
bool AnyAlarmEnabled(std::string_view section, int entry, const std::string& file);

}  // namespace vexa
