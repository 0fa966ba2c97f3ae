#include "graphs/toolkit/AxisTicks.h"

#include <algorithm>
#include <cmath>

namespace vexa::toolkit {

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;
constexpr int kMaxDecimals = 6;
/// How close to a whole number a scaled value must be to count as one.
constexpr double kWholeTolerance = 1e-6;
/// Ticks this close (in intervals) outside the range still count, so that
/// rounding does not drop the tick at an end of the axis.
constexpr double kEdgeTolerance = 1e-9;

bool isWhole(double value)
{
    return std::abs(value - std::round(value)) <= kWholeTolerance * std::max(1.0, std::abs(value));
}

}  // namespace

double NiceTickInterval(double span, int parts)
{
    span = std::abs(span);
    if (!std::isfinite(span) || span == 0.0 || parts <= 0) {
        return 0.0;
    }
    const double raw = span / parts;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double scaled = raw / magnitude;
    double nice = 10.0;
    if (scaled < 1.5) {
        nice = 1.0;
    } else if (scaled < 3.0) {
        nice = 2.0;
    } else if (scaled < 7.0) {
        nice = 5.0;
    }
    return nice * magnitude;
}

double EffectiveTickInterval(double span, double interval)
{
    span = std::abs(span);
    if (!std::isfinite(span) || span == 0.0) {
        return 0.0;
    }
    if (!std::isfinite(interval) || interval <= 0.0) {
        return NiceTickInterval(span, kAutomaticTickIntervals);
    }
    const double count = span / interval;
    if (!std::isfinite(count)) {
        return NiceTickInterval(span, kAutomaticTickIntervals);
    }
    if (count > kMaxTicks) {
        // Coarsen by the power of ten that brings the count under the cap.
        interval *= std::pow(10.0, std::ceil(std::log10(count / kMaxTicks)));
        if (span / interval > kMaxTicks) {
            interval *= 10.0;
        }
        if (!std::isfinite(interval) || span / interval > kMaxTicks) {
            return NiceTickInterval(span, kAutomaticTickIntervals);
        }
    }
    return interval;
}

double GenerateTicks(double minimum, double maximum, double anchor, double interval, std::vector<double>& ticks)
{
    ticks.clear();
    if (minimum > maximum) {
        std::swap(minimum, maximum);
    }
    const double step = EffectiveTickInterval(maximum - minimum, interval);
    if (step == 0.0) {
        return 0.0;
    }
    if (!std::isfinite(anchor)) {
        anchor = 0.0;
    }
    const double first = std::ceil((minimum - anchor) / step - kEdgeTolerance);
    const double last = std::floor((maximum - anchor) / step + kEdgeTolerance);
    if (!std::isfinite(first) || !std::isfinite(last) || last < first) {
        return step;
    }
    const double count = std::min(last - first + 1.0, static_cast<double>(kMaxTicks) + 1.0);
    for (int k = 0; k < static_cast<int>(count); ++k) {
        ticks.push_back(anchor + (first + k) * step);
    }
    return step;
}

int LabelStride(double labelWidth, double tickSpacing)
{
    if (!(tickSpacing > 0.0) || !std::isfinite(labelWidth) || labelWidth <= tickSpacing) {
        return 1;
    }
    return static_cast<int>(std::min(std::ceil(labelWidth / tickSpacing), static_cast<double>(kMaxTicks)));
}

long long TickNumber(double tick, double anchor, double step)
{
    if (!(step > 0.0)) {
        return 0;
    }
    const double number = std::round((tick - anchor) / step);
    return std::isfinite(number) ? static_cast<long long>(number) : 0;
}

int TickDecimals(double interval, double anchor)
{
    if (!std::isfinite(interval) || interval <= 0.0) {
        return 0;
    }
    // Enough decimals to tell neighbouring ticks apart, and those that the
    // interval and the anchor need to read exactly, within reason.
    const int needed = std::clamp(static_cast<int>(std::ceil(-std::log10(interval) - kWholeTolerance)), 0,
                                  kMaxDecimals);
    const int allowed = std::clamp(needed + 1, 0, kMaxDecimals);
    double scale = 1.0;
    for (int decimals = 0; decimals <= allowed; ++decimals) {
        if (isWhole(interval * scale) && (!std::isfinite(anchor) || isWhole(anchor * scale))) {
            return std::max(decimals, needed);
        }
        scale *= 10.0;
    }
    return allowed;
}

QString ClockTimeText(double seconds)
{
    if (!std::isfinite(seconds)) {
        seconds = 0.0;
    }
    double wrapped = std::fmod(std::floor(seconds + kWholeTolerance), kSecondsPerDay);
    if (wrapped < 0.0) {
        wrapped += kSecondsPerDay;
    }
    const int total = static_cast<int>(wrapped);
    const int hours = total / kSecondsPerHour;
    const int minutes = (total % kSecondsPerHour) / kSecondsPerMinute;
    const int secs = total % kSecondsPerMinute;
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(secs, 2, 10, QLatin1Char('0'));
}

}  // namespace vexa::toolkit
