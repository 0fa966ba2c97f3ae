#include "AlarmEntry.h"

#include "DisplayFormat.h"
#include "ProfileStore.h"
#include "TextFields.h"

#include <algorithm>
#include <array>

namespace vexa {

namespace {

struct AlarmDefault {
    const char* text;
    int colour;
};

constexpr std::array<AlarmDefault, kAlarmEntryCount> kAlarmDefaults = {{
    {"OK", 10},
    {"High", 12},
    {"Low", 11},
    {"High High", 10},
    {"Low Low", 12},
    {"Rate", 1},
    {"Deviation", 1},
}};

enum AlarmField { kEnabled, kColour, kText, kLimit };

bool IsEntryNumber(int entry)
{
    return entry >= 1 && entry <= kAlarmEntryCount;
}

}  // namespace

std::string AlarmKey(int entry)
{
    return NumberedKey("A", entry);
}

AlarmEntry DefaultAlarmEntry(int entry)
{
    if (!IsEntryNumber(entry))
        return {};
    const AlarmDefault& defaults = kAlarmDefaults[entry - 1];
    return {false, defaults.colour, defaults.text, {}};
}

AlarmEntry ReadAlarmEntry(std::string_view section, int entry, const std::string& file)
{
    AlarmEntry alarm = DefaultAlarmEntry(entry);
    if (!IsEntryNumber(entry))
        return alarm;
    const std::string value = profile::ReadString(section, AlarmKey(entry), "", file);
    if (value.empty())
        return alarm;
    const std::vector<std::string> fields = SplitFields(value, ',');
    const std::size_t fieldCount = entry == kAlarmNormal ? kLimit : kLimit + 1;
    for (std::size_t i = 0; i < std::min(fields.size(), fieldCount); ++i) {
        const std::string& field = fields[i];
        if (field.empty())
            continue;
        switch (i) {
        case kEnabled:
            alarm.enabled = field.front() == '1';
            break;
        case kColour:
            alarm.colour = ParseLeadingInt(field);
            break;
        case kText:
            alarm.text = field;
            break;
        case kLimit:
            alarm.limit = field;
            break;
        default:
            break;
        }
    }
    return alarm;
}

std::string FormatAlarmEntry(int entry, const AlarmEntry& alarm)
{
    std::string text = alarm.text.empty() ? std::string(" ") : alarm.text;
    std::replace(text.begin(), text.end(), ',', ' ');
    std::string value = std::string(alarm.enabled ? "1" : "0") + "," + std::to_string(alarm.colour) + "," + text;
    if (entry != kAlarmNormal) {
        std::string limit = alarm.limit;
        std::replace(limit.begin(), limit.end(), ',', ' ');
        value += "," + limit;
    }
    return value;
}

bool AnyAlarmEnabled(std::string_view section, int entry, const std::string& file)
{
    const int first = entry == 0 ? 1 : entry;
    const int last = entry == 0 ? kAlarmEntryCount : entry;
    for (int i = first; i <= last; ++i) {
        if (profile::ReadString(section, AlarmKey(i), "", file).starts_with('1'))
            return true;
    }
    return false;
}

}  // namespace vexa
