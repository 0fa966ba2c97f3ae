#include "graphs/toolkit/ChannelAlarm.h"

#include "graphs/toolkit/AlarmSettings.h"

#include <algorithm>
#include <cmath>

namespace vexa::toolkit {

namespace {

/// The rate's time base of one row without a time channel.
constexpr double kSecondsPerRowWithoutTime = 1.0;

}  // namespace

void ChannelAlarm::evaluate(double value, double seconds, const AlarmSettings& settings)
{
    m_pendingSeconds += (seconds > 0.0 && std::isfinite(seconds)) ? seconds : kSecondsPerRowWithoutTime;
    if (std::isnan(value)) {
        return;
    }
    const double h = settings.lowHighHysteresis();
    updateUpper(kLevelHigh, value, h, settings);
    updateUpper(kLevelHighHigh, value, h, settings);
    updateLower(kLevelLow, value, h, settings);
    updateLower(kLevelLowLow, value, h, settings);
    updateRate(value, m_pendingSeconds, settings);
    updateDeviation(value, settings);
    remember(value);
    m_pendingSeconds = 0.0;
}

void ChannelAlarm::updateUpper(int level, double value, double hysteresis, const AlarmSettings& settings)
{
    if (!settings.isEnabled(level)) {
        m_in[level] = false;
        return;
    }
    const double limit = settings.limit(level);
    if (value > limit) {
        m_in[level] = true;
    } else if (value <= limit - hysteresis) {
        m_in[level] = false;
    }
}

void ChannelAlarm::updateLower(int level, double value, double hysteresis, const AlarmSettings& settings)
{
    if (!settings.isEnabled(level)) {
        m_in[level] = false;
        return;
    }
    const double limit = settings.limit(level);
    if (value < limit) {
        m_in[level] = true;
    } else if (value >= limit + hysteresis) {
        m_in[level] = false;
    }
}

void ChannelAlarm::updateRate(double value, double seconds, const AlarmSettings& settings)
{
    if (!settings.isEnabled(kLevelRate)) {
        m_in[kLevelRate] = false;
        return;
    }
    if (!m_hasPrevious) {
        return;  // the first value has no rate
    }
    const double rate = std::abs(value - m_previous) / seconds;
    const double limit = settings.limit(kLevelRate);
    if (rate > limit) {
        m_in[kLevelRate] = true;
    } else if (rate <= limit) {
        m_in[kLevelRate] = false;
    }
}

void ChannelAlarm::updateDeviation(double value, const AlarmSettings& settings)
{
    if (!settings.isEnabled(kLevelDeviation)) {
        m_in[kLevelDeviation] = false;
        return;
    }
    if (m_recentCount == 0) {
        return;  // no reference yet
    }
    double sum = 0.0;
    for (int i = 0; i < m_recentCount; ++i) {
        sum += m_recent[i];
    }
    const double departure = std::abs(value - sum / m_recentCount);
    const double limit = settings.limit(kLevelDeviation);
    if (departure > limit) {
        m_in[kLevelDeviation] = true;
    } else if (departure <= limit - settings.deviationHysteresis()) {
        m_in[kLevelDeviation] = false;
    }
}

void ChannelAlarm::remember(double value)
{
    m_previous = value;
    m_hasPrevious = true;
    m_recent[m_recentNext] = value;
    m_recentNext = (m_recentNext + 1) % kReferenceValues;
    m_recentCount = std::min(m_recentCount + 1, kReferenceValues);
}

int ChannelAlarm::state(const AlarmSettings& settings) const
{
    for (int level : kAlarmPrecedence) {
        if (m_in[level] && settings.isEnabled(level)) {
            return level;
        }
    }
    return kLevelNormal;
}

bool ChannelAlarm::isIn(int level) const
{
    return level > kLevelNormal && level < kAlarmLevelCount && m_in[level];
}

void ChannelAlarm::clear(int level)
{
    if (level > kLevelNormal && level < kAlarmLevelCount) {
        m_in[level] = false;
    }
}

}  // namespace vexa::toolkit
