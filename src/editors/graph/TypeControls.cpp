#include "TypeControls.h"

#include "document/DisplayFormat.h"
#include "document/GraphDefinition.h"

#include <algorithm>

namespace vexa::editors {

namespace {

constexpr FontGroupUse kGridFont{true, FontKind::Grid, true, true};
constexpr FontGroupUse kTitleFont{true, FontKind::Title, true, true};
constexpr FontGroupUse kNoFont{};

std::array<AlarmRowUse, kAlarmEntryCount> AllAlarmRows()
{
    std::array<AlarmRowUse, kAlarmEntryCount> rows{};
    rows.fill(kWholeAlarmRow);
    return rows;
}

AlarmRowUse& Row(TypeControls& controls, int entry)
{
    return controls.alarms[static_cast<std::size_t>(entry - 1)];
}

}  // namespace

TypeControls ControlsForType(int type)
{
    TypeControls controls;
    controls.alarms = AllAlarmRows();
    const FontGroupUse label{true, LabelFontKind(type), true, true};
    switch (type) {
    case kTimeHistory:
    case kXYPlot:
    case kHorizontalBarGraph:
    case kVerticalBarGraph:
    case kMeter:
    case kArcMeter:
    case kPieMeter:
        controls.plotBackground = type == kTimeHistory || type == kXYPlot;
        controls.grid = kGridFont;
        controls.label = label;
        controls.title = kTitleFont;
        controls.dataColours = DataColoursOfType(type);
        if (MostMeasurementsOfType(type) == 1) {
            // A meter shows one value: its normal colour, and Low and High
            // without texts of their own.
            controls.alarms = {};
            Row(controls, kAlarmNormal) = {true, false, false, true};
            Row(controls, kAlarmLow) = {true, true, false, true};
            Row(controls, kAlarmHigh) = {true, true, false, true};
        }
        break;
    case kFixedTabular:
        controls.title = kTitleFont;
        controls.dataColours = kMaxMeasurementsPerGraph;
        break;
    case kScrollingTabular:
        // Only the colour of its list text: the kind has no face and no size.
        controls.label = {true, FontKind::ScrollingTabularLabel, false, false};
        controls.alarms = {};
        break;
    case kAnnunciator:
        controls.grid = {true, FontKind::Grid, false, true};
        controls.label = kNoFont;
        controls.title = kTitleFont;
        controls.dataColours = kMaxMeasurementsPerGraph;
        controls.alarms = {};
        Row(controls, kAlarmNormal) = {true, false, false, false};
        Row(controls, kAlarmLow) = kWholeAlarmRow;
        Row(controls, kAlarmHigh) = kWholeAlarmRow;
        break;
    default:
        break;
    }
    controls.hysteresis = std::all_of(controls.alarms.begin(), controls.alarms.end(),
                                      [](const AlarmRowUse& row) { return row == kWholeAlarmRow; });
    return controls;
}

}  // namespace vexa::editors
