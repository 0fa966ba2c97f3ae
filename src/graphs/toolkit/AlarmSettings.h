#pragma once

#include "graphs/toolkit/AlarmLevels.h"

#include <array>
#include <string>

namespace vexa::toolkit {

/// The alarm limits of a dataset: per level whether it is enabled, its limit
/// and its text, and the two hysteresis values. Level 0 (normal) has no
/// limit; its text is what a channel shows when no level applies, and
/// enabling it asks indicators to show the normal state too.
class AlarmSettings {
public:
    /// Levels outside 0 ... 6 are ignored; level 0 keeps no limit.
    void setLevel(int level, double limit, bool enabled, std::string text);
    /// Negative or not-a-number values count as 0.
    void setHysteresis(double lowHigh, double deviation);

    bool isEnabled(int level) const;
    double limit(int level) const;
    const std::string& text(int level) const;
    double lowHighHysteresis() const;
    double deviationHysteresis() const;

private:
    std::array<bool, kAlarmLevelCount> m_enabled{};
    std::array<double, kAlarmLevelCount> m_limits{};
    std::array<std::string, kAlarmLevelCount> m_texts;
    double m_lowHigh = 0.0;
    double m_deviation = 0.0;
};

}  // namespace vexa::toolkit
