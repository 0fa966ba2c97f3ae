#include "PreviewSignal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vexa::editors {

namespace {

enum Shape : int { kCosine, kSine, kTriangle, kSawtooth, kSquare };

/// The band reaches this share of its span beyond the given limits.
constexpr double kOvershoot = 0.2;

}  // namespace

void PreviewSignal::setBand(double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0.0;
        high = 1.0;
    }
    if (high < low)
        std::swap(low, high);
    double span = high - low;
    if (span <= 0.0 || !std::isfinite(span))
        span = 1.0;
    m_centre = low / 2.0 + high / 2.0;
    m_halfWidth = span / 2.0 + span * kOvershoot;
}

void PreviewSignal::advance()
{
    m_step = (m_step + 1) % kStepsPerCycle;
}

double PreviewSignal::shapeValue(int shape) const
{
    const double phase = static_cast<double>(m_step) / kStepsPerCycle;  // 0 … 1
    switch (shape) {
    case kCosine:
        return std::cos(2.0 * std::numbers::pi * phase);
    case kSine:
        return std::sin(2.0 * std::numbers::pi * phase);
    case kTriangle:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case kSawtooth:
        return 2.0 * phase - 1.0;
    default:
        return phase < 0.5 ? 1.0 : -1.0;
    }
}

std::vector<double> PreviewSignal::values(int count) const
{
    std::vector<double> result;
    result.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int k = 0; k < count; ++k)
        result.push_back(m_centre + m_halfWidth * shapeValue(k % kShapeCount));
    return result;
}

}  // namespace vexa::editors
