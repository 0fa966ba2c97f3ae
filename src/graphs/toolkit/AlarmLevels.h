#pragma once

namespace vexa::toolkit {

/// The alarm states a channel can be in, numbered as datasets and the alarm
/// entries A1 ... A7 number them (level L is entry L + 1).
enum AlarmLevel : int {
    kLevelNormal = 0,
    kLevelHigh = 1,
    kLevelLow = 2,
    kLevelHighHigh = 3,
    kLevelLowLow = 4,
    kLevelRate = 5,
    kLevelDeviation = 6,
};
inline constexpr int kAlarmLevelCount = 7;

}  // namespace vexa::toolkit
