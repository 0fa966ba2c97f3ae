#pragma once

#include <array>
#include <cstddef>

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

/// The order in which levels win when several apply, to one channel or
/// across the channels of a row: the limit pairs first, the outer ones
/// before the inner ones.
inline constexpr std::array<int, kAlarmLevelCount - 1> kAlarmPrecedence{
    kLevelHighHigh, kLevelLowLow, kLevelHigh, kLevelLow, kLevelRate, kLevelDeviation};

/// How \p level weighs against the others: the one that weighs more wins;
/// normal (and any number that is no level) weighs 0.
constexpr int AlarmWeight(int level)
{
    for (std::size_t place = 0; place < kAlarmPrecedence.size(); ++place) {
        if (kAlarmPrecedence[place] == level)
            return static_cast<int>(kAlarmPrecedence.size() - place);
    }
    return 0;
}

}  // namespace vexa::toolkit
