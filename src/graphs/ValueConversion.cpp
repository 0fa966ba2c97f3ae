#include "ValueConversion.h"

#include "document/AlarmEntry.h"
#include "document/DisplayFormat.h"
#include "document/ProfileStore.h"
#include "document/TextFields.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/RealTimeIndicators.h"

#include <array>
#include <cstdio>
#include <optional>
#include <vector>

namespace vexa::graphs {

namespace {

constexpr const char* kDefaultMinimum = "0.0";
constexpr const char* kDefaultMaximum = "100.0";
constexpr const char* kDefaultUnits = "?";
constexpr const char* kDefaultDescription = "?";
constexpr const char* kDefaultConversion = "Raw";
constexpr const char* kCoefficientsName = "Coefficients";
constexpr const char* kDefaultCoefficient = "0.0";

/// An alarm entry is read into a buffer of 125, its text and limit into 30.
constexpr std::size_t kAlarmEntryCapacity = 125;
constexpr std::size_t kAlarmFieldLength = 29;
constexpr std::size_t kHysteresisCapacity = 50;

constexpr const char* kDefaultHysteresis = "0.1 0.0";
constexpr const char* kDefaultLowHighHysteresis = "0.1";
constexpr const char* kDefaultDeviationHysteresis = "0.0";
constexpr const char* kZeroLimit = "0.0";

/// The text a disabled level passes with its limit, so that nothing shows.
constexpr const char* kDisabledText = " ";

/// The levels an alarm indicator can show.
constexpr int kFirstIndicatorLevel = toolkit::kLevelHigh;
constexpr int kLastIndicatorLevel = toolkit::kLevelLowLow;

enum AlarmField : std::size_t { kEnabledField, kColourField, kTextField, kLimitField };

bool IsLevel(int level)
{
    return level >= toolkit::kLevelNormal && level < toolkit::kAlarmLevelCount;
}

/// The fields of an entry split as strtok splits: a run of commas is one
/// separator and leading commas are ignored, so no field is empty.
std::vector<std::string> SplitAlarmFields(std::string_view value)
{
    std::vector<std::string> fields;
    for (std::string& field : SplitFields(value, ',')) {
        if (!field.empty())
            fields.push_back(std::move(field));
    }
    return fields;
}

/// The fields of level \p level as stored, with the defaults of colour and
/// text; the limit only when the entry has one.
struct StoredAlarm {
    bool enabled = false;
    int colour = 0;
    std::string text;
    std::optional<std::string> limit;
};

StoredAlarm ReadStoredAlarm(std::string_view section, int level, const std::string& displayFile)
{
    const int entry = level + 1;
    const AlarmEntry defaults = DefaultAlarmEntry(entry);
    StoredAlarm alarm{false, defaults.colour, defaults.text, std::nullopt};
    const std::vector<std::string> fields =
        SplitAlarmFields(profile::ReadString(section, AlarmKey(entry), "", displayFile, kAlarmEntryCapacity));
    if (fields.size() > kEnabledField)
        alarm.enabled = ParseLeadingInt(fields[kEnabledField]) != 0;
    if (fields.size() > kColourField)
        alarm.colour = ParseLeadingInt(fields[kColourField]);
    if (fields.size() > kTextField)
        alarm.text = fields[kTextField].substr(0, kAlarmFieldLength);
    if (level != toolkit::kLevelNormal && fields.size() > kLimitField)
        alarm.limit = fields[kLimitField].substr(0, kAlarmFieldLength);
    return alarm;
}

/// The record of graph section "W"n (n = 1 ... 60), or null for a section of
/// any other name.
const GraphRecord* RecordOfSection(std::string_view section, const GraphTable& graphs)
{
    if (section.size() < 2 || (section.front() != kGraphPrefix && section.front() != 'w'))
        return nullptr;
    int number = 0;
    for (const char c : section.substr(1)) {
        if (c < '0' || c > '9' || number > kMaxGraphs)
            return nullptr;
        number = number * 10 + (c - '0');
    }
    if (number < 1 || number > kMaxGraphs)
        return nullptr;
    return &graphs.record(number - 1);
}

/// A limit taken from the value range: "%f", or "0.0" for 0.
std::string RangeLimitText(double value)
{
    if (value == 0.0)
        return kZeroLimit;
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%f", value);
    return buffer.data();
}

std::string DefaultLimit(std::string_view section, int level, const GraphTable& graphs)
{
    if (level != toolkit::kLevelHigh && level != toolkit::kLevelLow)
        return kZeroLimit;
    double minimum = 0.0;
    double maximum = 0.0;
    if (const GraphRecord* record = RecordOfSection(section, graphs))
        GraphValueRange(*record, &minimum, &maximum);
    return RangeLimitText(level == toolkit::kLevelHigh ? maximum : minimum);
}

}  // namespace

void ReadMeasurementDefinition(const std::string& name, MeasurementSlot& slot, const std::string& measurementFile)
{
    slot.minimum = ParseLeadingDouble(profile::ReadString(name, "L", kDefaultMinimum, measurementFile));
    slot.maximum = ParseLeadingDouble(profile::ReadString(name, "H", kDefaultMaximum, measurementFile));
    slot.units = profile::ReadString(name, "U", kDefaultUnits, measurementFile, kUnitsLength + 1);
    slot.description = profile::ReadString(name, "D", kDefaultDescription, measurementFile, kDescriptionLength + 1);
    if (profile::ReadString(name, "E", kDefaultConversion, measurementFile) != kCoefficientsName) {
        slot.conversion = kRawConversion;
        return;
    }
    slot.conversion = kCoefficientConversion;
    for (int i = 0; i < kCoefficientCount; ++i) {
        slot.coefficients[static_cast<std::size_t>(i)] =
            ParseLeadingDouble(profile::ReadString(name, std::to_string(i), kDefaultCoefficient, measurementFile));
    }
}

double ConvertValue(const MeasurementSlot& slot, double raw)
{
    if (slot.conversion != kCoefficientConversion)
        return raw;
    // Horner's scheme from the sixth coefficient down.
    double y = slot.coefficients[kCoefficientCount - 1];
    for (int i = kCoefficientCount - 2; i >= 0; --i)
        y = y * raw + slot.coefficients[static_cast<std::size_t>(i)];
    return y;
}

void GraphValueRange(const GraphRecord& record, double* minimum, double* maximum)
{
    double low = 0.0;
    double high = 0.0;
    for (int i = 0; i < record.measurementCount && i < kMaxMeasurementsPerGraph; ++i) {
        const MeasurementSlot& slot = record.measurements[static_cast<std::size_t>(i)];
        if (slot.minimum < low)
            low = slot.minimum;
        if (slot.maximum > high)
            high = slot.maximum;
    }
    if (minimum != nullptr)
        *minimum = low;
    if (maximum != nullptr)
        *maximum = high;
}

bool ReadAlarmEntry(std::string_view section, int level, std::string* limitText, std::string* text, int* colour,
                    const std::string& displayFile, const GraphTable& graphs)
{
    if (!IsLevel(level))
        return false;
    const StoredAlarm alarm = ReadStoredAlarm(section, level, displayFile);
    if (text != nullptr)
        *text = alarm.text;
    if (colour != nullptr)
        *colour = alarm.colour;
    if (limitText != nullptr) {
        if (level == toolkit::kLevelNormal)
            limitText->clear();
        else
            *limitText = alarm.limit ? *alarm.limit : DefaultLimit(section, level, graphs);
    }
    return alarm.enabled;
}

std::pair<std::string, std::string> ReadHysteresis(std::string_view section, const std::string& displayFile)
{
    const std::string value =
        profile::ReadString(section, kHysteresisKey, kDefaultHysteresis, displayFile, kHysteresisCapacity);
    std::vector<std::string> numbers;
    for (std::string& field : SplitFields(value, ' ')) {
        if (!field.empty())
            numbers.push_back(std::move(field));
    }
    return {numbers.size() > 0 ? numbers[0] : kDefaultLowHighHysteresis,
            numbers.size() > 1 ? numbers[1] : kDefaultDeviationHysteresis};
}

bool GraphHasAlarm(std::string_view section, int key, const std::string& displayFile)
{
    return AnyAlarmEnabled(section, key, displayFile);
}

void AttachAlarms(toolkit::ChartWindow& chart, std::string_view section, toolkit::AlarmPart* part,
                  toolkit::RealTimeDataset& dataset, const std::string& displayFile, const GraphTable& graphs)
{
    const auto [lowHigh, deviation] = ReadHysteresis(section, displayFile);
    toolkit::SetAlarmHysteresis(dataset, ParseLeadingDouble(lowHigh), ParseLeadingDouble(deviation));
    for (int level = toolkit::kLevelNormal; level < toolkit::kAlarmLevelCount; ++level) {
        std::string limit;
        std::string text;
        int colour = 0;
        const bool enabled = ReadAlarmEntry(section, level, &limit, &text, &colour, displayFile, graphs);
        if (part != nullptr)
            toolkit::SetAlarmColour(chart, *part, colour, level);
        toolkit::SetAlarmLimit(dataset, level, ParseLeadingDouble(limit), enabled,
                               enabled ? text : std::string(kDisabledText));
    }
}

toolkit::AlarmIndicator* AttachAlarmIndicator(toolkit::ChartWindow& chart, toolkit::RealTimeDataset* dataset,
                                              std::string_view section, const std::string& displayFile)
{
    if (dataset == nullptr)
        return nullptr;
    toolkit::AlarmIndicator* indicator = toolkit::CreateAlarmIndicator(chart, *dataset);
    if (indicator == nullptr)
        return nullptr;
    for (int level = kFirstIndicatorLevel; level <= kLastIndicatorLevel; ++level)
        toolkit::EnableAlarmLevel(chart, indicator, level, GraphHasAlarm(section, level + 1, displayFile));
    // The readouts show a level in the colour the user chose for it.
    toolkit::AlarmPart& colours = toolkit::AlarmColours(indicator);
    for (int level = toolkit::kLevelNormal; level < toolkit::kAlarmLevelCount; ++level)
        toolkit::SetAlarmColour(chart, colours, ReadStoredAlarm(section, level, displayFile).colour, level);
    return indicator;
}

}  // namespace vexa::graphs
