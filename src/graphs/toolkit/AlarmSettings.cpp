#include "graphs/toolkit/AlarmSettings.h"

#include <cmath>
#include <utility>

namespace vexa::toolkit {

namespace {

bool isLevel(int level)
{
    return level >= kLevelNormal && level < kAlarmLevelCount;
}

double nonNegative(double value)
{
    return (std::isnan(value) || value < 0.0) ? 0.0 : value;
}

const std::string& emptyText()
{
    static const std::string empty;
    return empty;
}

}  // namespace

void AlarmSettings::setLevel(int level, double limit, bool enabled, std::string text)
{
    if (!isLevel(level)) {
        return;
    }
    m_texts[level] = std::move(text);
    // Enabling the normal state only asks indicators to show it in its
    // colour; it has no limit, and no channel ever enters or leaves it.
    m_enabled[level] = enabled;
    if (level != kLevelNormal) {
        m_limits[level] = limit;
    }
}

void AlarmSettings::setHysteresis(double lowHigh, double deviation)
{
    m_lowHigh = nonNegative(lowHigh);
    m_deviation = nonNegative(deviation);
}

bool AlarmSettings::isEnabled(int level) const
{
    return isLevel(level) && m_enabled[level];
}

double AlarmSettings::limit(int level) const
{
    return isLevel(level) ? m_limits[level] : 0.0;
}

const std::string& AlarmSettings::text(int level) const
{
    return isLevel(level) ? m_texts[level] : emptyText();
}

double AlarmSettings::lowHighHysteresis() const
{
    return m_lowHigh;
}

double AlarmSettings::deviationHysteresis() const
{
    return m_deviation;
}

}  // namespace vexa::toolkit
