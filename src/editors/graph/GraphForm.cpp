#include "GraphForm.h"

#include "document/FontSpec.h"
#include "document/MeasurementSlot.h"
#include "document/Placement.h"
#include "document/ProfileStore.h"
#include "document/TextFields.h"

#include <algorithm>
#include <cstdio>

namespace vexa::editors {

namespace {

constexpr const char* kEmptyTitleText = "Please enter a title before saving this graph.";
constexpr const char* kTitleInUseText =
    "Please select another title for this graph. This title is already in use by another graph window.";
constexpr const char* kNoTypeText = "Please select a Plot Type before exiting.";
constexpr const char* kNoCharacteristicText = "Please select a Window Characteristic before exiting.";
constexpr const char* kUpdateRateText =
    "Invalid Update Rate Entered. You must enter an update rate in milliseconds as a number greater than 10";
constexpr const char* kNoMeasurementsText = "Please assign one or more measurements to this graph.";
constexpr const char* kXYPlotCountText =
    "This is an XY Plot. You must have exactly two measurements assigned to it.";
constexpr const char* kTooManyMeasurementsFormat =
    "There are too many measurements defined for this graph. The maximum number that can be defined is %d.";
constexpr const char* kBadXText = "You must enter a valid initial window starting X location";
constexpr const char* kBadYText = "You must enter a valid initial window starting Y location";
constexpr const char* kBadWidthText = "You must enter a valid initial window WIDTH";
constexpr const char* kBadHeightText = "You must enter a valid initial window HEIGHT";

enum SizeField : std::size_t { kX, kY, kWidth, kHeight };

/// An alarm's text and limit are stored with at most this many characters.
constexpr std::size_t kAlarmFieldChars = kAlarmFieldLength;

int SizeValue(const GraphForm& form, SizeField field)
{
    return ParseLeadingInt(form.size[field]);
}

std::string JoinedSize(const GraphForm& form)
{
    return form.size[kX] + " " + form.size[kY] + " " + form.size[kWidth] + " " + form.size[kHeight];
}

/// Writes a colour key, or deletes it for a list without a selection.
bool WriteColour(std::string_view section, const std::string& key, int colour, const std::string& file)
{
    if (colour == kNoColour)
        return profile::DeleteKey(section, key, file);
    return profile::WriteString(section, key, std::to_string(colour), file);
}

bool WriteFont(std::string_view section, const char* key, const FontForm& font, const std::string& file)
{
    if (!font.enabled)
        return profile::DeleteKey(section, key, file);
    return WriteFontSpec(section, key, font.face, font.size, font.style, font.colour, file);
}

/// The entry as the editor stores it: the text and limit cut to 29
/// characters (a blank for an empty text).
AlarmEntry StoredAlarm(const AlarmRowForm& row)
{
    AlarmEntry alarm;
    alarm.enabled = row.checked;
    alarm.colour = row.colour;
    alarm.text = row.text.substr(0, kAlarmFieldChars);
    alarm.limit = row.value.substr(0, kAlarmFieldChars);
    return alarm;
}

FontSpec PreviewFont(const FontForm& font, FontKind kind)
{
    FontSpec spec = DefaultFontSpec(kind);
    if (!font.enabled)
        return spec;
    if (!font.face.empty())
        spec.face = font.face;
    if (!font.size.empty())
        spec.size = ParseLeadingInt(font.size);
    spec.style = font.style;
    spec.colour = font.colour;
    return spec;
}

/// The alarm of \p row as the entry FormatAlarmEntry() writes reads back.
GraphAlarm PreviewAlarm(const AlarmRowForm& row, const GraphAlarm& defaults, int entry)
{
    if (!row.enabled)
        return defaults;
    const AlarmEntry stored = StoredAlarm(row);
    // The stored form turns commas into blanks and an empty text into one.
    std::vector<std::string> fields;
    for (std::string& field : SplitFields(FormatAlarmEntry(entry, stored), ',')) {
        if (!field.empty())
            fields.push_back(std::move(field));
    }
    GraphAlarm alarm = defaults;
    alarm.enabled = row.checked;
    alarm.flagged = row.checked;
    alarm.colour = row.colour;
    if (fields.size() > 2)
        alarm.text = fields[2].substr(0, kAlarmFieldChars);
    if (entry != kAlarmNormal && fields.size() > 3)
        alarm.limit = fields[3].substr(0, kAlarmFieldChars);
    return alarm;
}

}  // namespace

int UpdateRateOf(const GraphForm& form)
{
    return ParseLeadingInt(form.updateRate);
}

std::string FirstSaveProblem(const GraphForm& form, bool titleChanged, const std::vector<std::string>& otherTitles)
{
    if (form.title.empty())
        return kEmptyTitleText;
    if (titleChanged && std::find(otherTitles.begin(), otherTitles.end(), form.title) != otherTitles.end())
        return kTitleInUseText;
    if (form.type == kNoGraphType)
        return kNoTypeText;
    if (form.characteristic == kNoCharacteristic)
        return kNoCharacteristicText;
    if (UpdateRateOf(form) < kMinUpdatePeriodMs)
        return kUpdateRateText;
    const int count = static_cast<int>(form.measurements.size());
    if (count == 0)
        return kNoMeasurementsText;
    if (form.type == kXYPlot && count != 2)
        return kXYPlotCountText;
    if (const int most = MostMeasurementsOfType(form.type); count > most) {
        std::array<char, 160> text{};
        std::snprintf(text.data(), text.size(), kTooManyMeasurementsFormat, most);
        return text.data();
    }
    if (SizeValue(form, kX) < 0)
        return kBadXText;
    if (SizeValue(form, kY) < 0)
        return kBadYText;
    if (SizeValue(form, kWidth) < 1)
        return kBadWidthText;
    if (SizeValue(form, kHeight) < 1)
        return kBadHeightText;
    return {};
}

bool WriteGraphSection(const GraphForm& form, std::string_view section, const std::string& displayFile)
{
    // The section reaches the disk in one write.
    profile::BeginDeferredWrites(displayFile);
    bool written = profile::DeleteSection(section, displayFile);
    const auto write = [&](const std::string& key, const std::string& value) {
        written = profile::WriteString(section, key, value, displayFile) && written;
    };
    const auto remove = [&](const std::string& key) {
        written = profile::DeleteKey(section, key, displayFile) && written;
    };

    write(kTitleKey, form.title);
    write(kTypeKey, std::string(GraphTypeName(form.type)));
    write(kCharacteristicKey, std::string(CharacteristicName(form.characteristic)));
    write(kUpdatePeriodKey, form.updateRate);

    if (form.hysteresisEnabled)
        write(kHysteresisKey, form.lowHighHysteresis + " " + form.deviationHysteresis);
    else
        remove(kHysteresisKey);
    for (int entry = 1; entry <= kAlarmEntryCount; ++entry) {
        const AlarmRowForm& row = form.alarms[static_cast<std::size_t>(entry - 1)];
        if (row.enabled)
            write(AlarmKey(entry), FormatAlarmEntry(entry, StoredAlarm(row)));
        else
            remove(AlarmKey(entry));
    }

    const int count = std::min<int>(static_cast<int>(form.measurements.size()), kMaxMeasurementsPerGraph);
    for (int k = 1; k <= count; ++k)
        write(NumberedKey(kMeasurementKeyStem, k), form.measurements[static_cast<std::size_t>(k - 1)]);

    write(kPlacementKey, JoinedSize(form));
    written = WriteColour(section, kWindowBackgroundKey, form.windowBackground, displayFile) && written;
    written = WriteColour(section, kPlotColourKey, form.plotBackground, displayFile) && written;
    written = WriteFont(section, kGridFontKey, form.gridFont, displayFile) && written;
    written = WriteFont(section, kLabelFontKey, form.labelFont, displayFile) && written;
    written = WriteFont(section, kTitleFontKey, form.titleFont, displayFile) && written;
    for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k) {
        written = WriteColour(section, NumberedKey(kDataColourKeyStem, k),
                              form.dataColours[static_cast<std::size_t>(k - 1)], displayFile)
                  && written;
    }
    return profile::EndDeferredWrites(displayFile) && written;
}

GraphDefinition PreviewDefinition(const GraphForm& form, const std::string& measurementFile)
{
    GraphDefinition graph = DefaultGraphDefinition(form.type);
    graph.title = form.title;
    graph.characteristic =
        form.characteristic == kNoCharacteristic ? kProportionalCharacteristic : form.characteristic;
    graph.updatePeriod = std::max(UpdateRateOf(form), kMinUpdatePeriodMs);
    graph.placement = ParsePlacement(JoinedSize(form), kEditorDefaultPlacement);
    const std::size_t count = std::min<std::size_t>(form.measurements.size(), kMaxMeasurementsPerGraph);
    for (std::size_t k = 0; k < count; ++k) {
        MeasurementSlot& slot = graph.measurements.emplace_back();
        slot.name = form.measurements[k];
        ReadMeasurementDefinition(slot.name, slot, measurementFile);
    }
    for (std::size_t k = 0; k < graph.dataColours.size(); ++k) {
        if (form.dataColours[k] != kNoColour)
            graph.dataColours[k] = form.dataColours[k];
    }
    if (form.windowBackground != kNoColour)
        graph.windowBackground = form.windowBackground;
    if (form.plotBackground != kNoColour)
        graph.plotBackground = form.plotBackground;
    graph.gridFont = PreviewFont(form.gridFont, FontKind::Grid);
    graph.labelFont = PreviewFont(form.labelFont, LabelFontKind(form.type));
    graph.titleFont = PreviewFont(form.titleFont, FontKind::Title);
    for (int entry = 1; entry <= kAlarmEntryCount; ++entry) {
        const auto index = static_cast<std::size_t>(entry - 1);
        graph.alarms[index] = PreviewAlarm(form.alarms[index], graph.alarms[index], entry);
    }
    if (form.hysteresisEnabled) {
        graph.lowHighHysteresis = form.lowHighHysteresis.empty() ? graph.lowHighHysteresis : form.lowHighHysteresis;
        graph.deviationHysteresis =
            form.deviationHysteresis.empty() ? graph.deviationHysteresis : form.deviationHysteresis;
    }
    return graph;
}

}  // namespace vexa::editors
