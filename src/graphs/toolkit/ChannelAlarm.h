#pragma once

#include "graphs/toolkit/AlarmLevels.h"

#include <array>

namespace vexa::toolkit {

class AlarmSettings;

/// The alarm state of one channel. Every level keeps its own in/out state,
/// so that a value inside a hysteresis band keeps whatever the level was:
///
/// - High, High High: in when value > limit, out again at value <= limit - h.
/// - Low, Low Low: in when value < limit, out again at value >= limit + h.
/// - Rate: |value - previous| / dt, with dt the seconds since the previous
///   value (or 1 per row without a time base); in above the limit, out at
///   or below it.
/// - Deviation: departure from the mean of up to the 10 previous values; in
///   when |value - mean| > limit, out at |value - mean| <= limit - d.
///
/// h and d are the dataset's Low/High and Deviation hysteresis. A disabled
/// level is out. Not-a-number values change nothing. The channel's state is
/// the first level that is in, in the order High High, Low Low, High, Low,
/// Rate, Deviation.
class ChannelAlarm {
public:
    /// How many previous values the Deviation reference averages.
    static constexpr int kReferenceValues = 10;

    /// Takes one value. \p seconds is the time since the previous row, or 0
    /// or less when there is no time base (the rate is then per row).
    void evaluate(double value, double seconds, const AlarmSettings& settings);
    /// The state after the newest value, under the current settings.
    int state(const AlarmSettings& settings) const;
    bool isIn(int level) const;
    /// Puts \p level out (when it is disabled).
    void clear(int level);

private:
    void updateUpper(int level, double value, double hysteresis, const AlarmSettings& settings);
    void updateLower(int level, double value, double hysteresis, const AlarmSettings& settings);
    void updateRate(double value, double seconds, const AlarmSettings& settings);
    void updateDeviation(double value, const AlarmSettings& settings);
    void remember(double value);

    std::array<bool, kAlarmLevelCount> m_in{};
    bool m_hasPrevious = false;
    double m_previous = 0.0;
    /// Time base gathered since the last number (rows skipped as not a
    /// number still count towards the next rate).
    double m_pendingSeconds = 0.0;
    std::array<double, kReferenceValues> m_recent{};
    int m_recentCount = 0;
    int m_recentNext = 0;
};

}  // namespace vexa::toolkit
