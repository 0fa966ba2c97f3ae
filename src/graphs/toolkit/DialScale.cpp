#include "graphs/toolkit/DialScale.h"

#include "graphs/toolkit/AxisTicks.h"

#include <algorithm>
#include <cmath>

namespace vexa::toolkit {

namespace {

/// The geometry a dial falls back to when it is given angles that are not
/// numbers: the minimum at the lower left, the maximum at the lower right.
constexpr double kDefaultStartAngle = 315.0;
constexpr double kDefaultEndAngle = 225.0;

double normalised(double angle)
{
    double wrapped = std::fmod(angle, DialScale::kFullTurn);
    if (wrapped < 0.0) {
        wrapped += DialScale::kFullTurn;
    }
    // fmod of a tiny negative angle can round up to a whole turn.
    return wrapped >= DialScale::kFullTurn ? 0.0 : wrapped;
}

}  // namespace

DialScale::DialScale(double minimum, double maximum, double startAngle, double endAngle)
    : m_minimum(minimum)
    , m_maximum(maximum)
{
    if (!std::isfinite(startAngle) || !std::isfinite(endAngle)) {
        startAngle = kDefaultStartAngle;
        endAngle = kDefaultEndAngle;
    }
    m_minimumAngle = normalised(endAngle);
    m_sweep = normalised(endAngle - startAngle);
    if (m_sweep == 0.0) {
        m_sweep = kFullTurn;
    }
}

double DialScale::minimum() const
{
    return m_minimum;
}

double DialScale::maximum() const
{
    return m_maximum;
}

double DialScale::minimumAngle() const
{
    return m_minimumAngle;
}

double DialScale::sweep() const
{
    return m_sweep;
}

double DialScale::fractionOf(double value) const
{
    if (std::isnan(value)) {
        return value;
    }
    const double span = m_maximum - m_minimum;
    if (!std::isfinite(span) || span == 0.0) {
        return 0.0;
    }
    const double fraction = (value - m_minimum) / span;
    if (std::isnan(fraction)) {
        return 0.0;  // an infinite scale end
    }
    return std::clamp(fraction, 0.0, 1.0);
}

double DialScale::angleOf(double value) const
{
    return angleAtFraction(fractionOf(value));
}

double DialScale::angleAtFraction(double fraction) const
{
    if (std::isnan(fraction)) {
        return fraction;
    }
    return normalised(m_minimumAngle - fraction * m_sweep);
}

double DialScale::ticks(double interval, std::vector<double>& ticks) const
{
    // Ticks count from the minimum, so the first one marks the scale's start.
    return GenerateTicks(m_minimum, m_maximum, m_minimum, interval, ticks);
}

}  // namespace vexa::toolkit
