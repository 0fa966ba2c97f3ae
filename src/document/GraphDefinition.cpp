#include "GraphDefinition.h"

#include "ProfileStore.h"
#include "TextFields.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vexa {

namespace {

constexpr const char* kDefaultTitle = "??";
constexpr const char* kDefaultTypeName = "TimeHistory";

/// An alarm entry is read into a buffer of 125 characters, "AH" into 50.
constexpr std::size_t kAlarmEntryCapacity = 125;
constexpr std::size_t kHysteresisCapacity = 50;

constexpr const char* kDefaultHysteresis = "0.1 0.0";
constexpr const char* kDefaultLowHighHysteresis = "0.1";
constexpr const char* kDefaultDeviationHysteresis = "0.0";
constexpr const char* kZeroLimit = "0.0";

/// The levels whose absent limit comes from the value range, counted from 0
/// as the entries' levels are (entry "A"k holds level k - 1).
constexpr int kNormalLevel = kAlarmNormal - 1;
constexpr int kHighLevel = kAlarmHigh - 1;
constexpr int kLowLevel = kAlarmLow - 1;

enum AlarmField : std::size_t { kEnabledField, kColourField, kTextField, kLimitField };

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

GraphAlarm DefaultGraphAlarm(int level)
{
    const AlarmEntry defaults = DefaultAlarmEntry(level + 1);
    return {false, false, defaults.colour, defaults.text, std::nullopt};
}

GraphAlarm ReadGraphAlarm(std::string_view section, int level, const std::string& displayFile)
{
    GraphAlarm alarm = DefaultGraphAlarm(level);
    const std::string value = profile::ReadString(section, AlarmKey(level + 1), "", displayFile, kAlarmEntryCapacity);
    alarm.flagged = value.starts_with('1');
    const std::vector<std::string> fields = SplitAlarmFields(value);
    if (fields.size() > kEnabledField)
        alarm.enabled = ParseLeadingInt(fields[kEnabledField]) != 0;
    if (fields.size() > kColourField)
        alarm.colour = ParseLeadingInt(fields[kColourField]);
    if (fields.size() > kTextField)
        alarm.text = fields[kTextField].substr(0, kAlarmFieldLength);
    if (level != kNormalLevel && fields.size() > kLimitField)
        alarm.limit = fields[kLimitField].substr(0, kAlarmFieldLength);
    return alarm;
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

std::vector<MeasurementSlot> ReadGraphMeasurements(std::string_view section, const std::string& displayFile,
                                                   const std::string& measurementFile)
{
    std::vector<MeasurementSlot> measurements;
    for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k) {
        std::string name = profile::ReadString(section, NumberedKey(kMeasurementKeyStem, k), "", displayFile,
                                               kMeasurementNameCapacity);
        // A graph's measurements end at its first gap.
        if (name.empty())
            break;
        MeasurementSlot& slot = measurements.emplace_back();
        slot.name = std::move(name);
        ReadMeasurementDefinition(slot.name, slot, measurementFile);
    }
    return measurements;
}

}  // namespace

GraphDefinition DefaultGraphDefinition(int type)
{
    GraphDefinition graph;
    graph.type = type;
    for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k)
        graph.dataColours[static_cast<std::size_t>(k - 1)] = DefaultDataColour(k);
    graph.titleFont = DefaultFontSpec(FontKind::Title);
    graph.labelFont = DefaultFontSpec(LabelFontKind(type));
    graph.gridFont = DefaultFontSpec(FontKind::Grid);
    for (int level = 0; level < kAlarmEntryCount; ++level)
        graph.alarms[static_cast<std::size_t>(level)] = DefaultGraphAlarm(level);
    graph.lowHighHysteresis = kDefaultLowHighHysteresis;
    graph.deviationHysteresis = kDefaultDeviationHysteresis;
    return graph;
}

FontKind LabelFontKind(int type)
{
    switch (type) {
    case kXYPlot:
    case kFixedTabular:
    case kHorizontalBarGraph:
    case kVerticalBarGraph:
    case kMeter:
    case kArcMeter:
    case kPieMeter:
    case kAnnunciator:
        return FontKind::Label;
    case kScrollingTabular:
        return FontKind::ScrollingTabularLabel;
    default:
        return FontKind::TimeHistoryLabel;
    }
}

GraphDefinition ReadGraphDefinition(std::string_view section, const std::string& displayFile,
                                    const std::string& measurementFile)
{
    const int type = GraphTypeFromName(profile::ReadString(section, kTypeKey, kDefaultTypeName, displayFile));
    GraphDefinition graph = DefaultGraphDefinition(type);
    graph.title = profile::ReadString(section, kTitleKey, kDefaultTitle, displayFile, kTitleCapacity);
    graph.characteristic = CharacteristicFromName(
        profile::ReadString(section, kCharacteristicKey, kDefaultCharacteristicName, displayFile));
    graph.updatePeriod = profile::ReadInt(section, kUpdatePeriodKey, kDefaultUpdatePeriodMs, displayFile);
    graph.placement = ReadPlacement(section, kPlacementKey, kUseDefaultPlacement, displayFile);
    graph.measurements = ReadGraphMeasurements(section, displayFile, measurementFile);
    for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k) {
        graph.dataColours[static_cast<std::size_t>(k - 1)] =
            profile::ReadInt(section, NumberedKey(kDataColourKeyStem, k), DefaultDataColour(k), displayFile);
    }
    graph.plotBackground = profile::ReadInt(section, kPlotColourKey, kDefaultPlotBackground, displayFile);
    graph.windowBackground = profile::ReadInt(section, kWindowBackgroundKey, kDefaultWindowBackground, displayFile);
    graph.titleFont = ReadFontSpec(section, kTitleFontKey, FontKind::Title, displayFile);
    graph.labelFont = ReadFontSpec(section, kLabelFontKey, LabelFontKind(type), displayFile);
    graph.gridFont = ReadFontSpec(section, kGridFontKey, FontKind::Grid, displayFile);
    graph.alarms = ReadGraphAlarms(section, displayFile);
    std::tie(graph.lowHighHysteresis, graph.deviationHysteresis) = ReadHysteresis(section, displayFile);
    return graph;
}

GraphAlarms ReadGraphAlarms(std::string_view section, const std::string& displayFile)
{
    GraphAlarms alarms{};
    for (int level = 0; level < kAlarmEntryCount; ++level)
        alarms[static_cast<std::size_t>(level)] = ReadGraphAlarm(section, level, displayFile);
    return alarms;
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

GraphRange GraphValueRange(std::span<const MeasurementSlot> measurements)
{
    GraphRange range;
    // A graph shows no more measurements than it has slots for.
    const std::size_t count = std::min<std::size_t>(measurements.size(), kMaxMeasurementsPerGraph);
    for (const MeasurementSlot& slot : measurements.first(count)) {
        if (slot.minimum < range.minimum)
            range.minimum = slot.minimum;
        if (slot.maximum > range.maximum)
            range.maximum = slot.maximum;
    }
    return range;
}

std::string AlarmLimitText(const GraphDefinition& graph, int level)
{
    if (level < 0 || level >= kAlarmEntryCount || level == kNormalLevel)
        return {};
    const GraphAlarm& alarm = graph.alarms[static_cast<std::size_t>(level)];
    if (alarm.limit)
        return *alarm.limit;
    if (level != kHighLevel && level != kLowLevel)
        return kZeroLimit;
    const GraphRange range = GraphValueRange(graph.measurements);
    return RangeLimitText(level == kHighLevel ? range.maximum : range.minimum);
}

bool GraphHasAlarm(const GraphDefinition& graph, int level)
{
    if (level == kAnyAlarmLevel)
        return std::any_of(graph.alarms.begin(), graph.alarms.end(), [](const GraphAlarm& a) { return a.flagged; });
    return level >= 0 && level < kAlarmEntryCount && graph.alarms[static_cast<std::size_t>(level)].flagged;
}

}  // namespace vexa
