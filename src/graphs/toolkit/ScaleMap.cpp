#include "graphs/toolkit/ScaleMap.h"

#include <cmath>

namespace vexa::toolkit {

namespace {

/// Half the width given to a range of one value.
constexpr double kEmptyRangeHalfWidth = 1.0;

}  // namespace

ScaleMap::ScaleMap()
{
    updateFactor();
}

ScaleMap::ScaleMap(double minimum, double maximum)
{
    setRange(minimum, maximum);
}

void ScaleMap::setRange(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    if (std::isfinite(minimum) && std::isfinite(maximum) && minimum != maximum) {
        m_mappedMinimum = minimum;
        m_mappedMaximum = maximum;
    } else {
        const double centre = std::isfinite(minimum) ? minimum : (std::isfinite(maximum) ? maximum : 0.0);
        m_mappedMinimum = centre - kEmptyRangeHalfWidth;
        m_mappedMaximum = centre + kEmptyRangeHalfWidth;
    }
    updateFactor();
}

void ScaleMap::setPixels(double first, double second)
{
    m_firstPixel = first;
    m_secondPixel = second;
    updateFactor();
}

void ScaleMap::updateFactor()
{
    m_factor = (m_secondPixel - m_firstPixel) / (m_mappedMaximum - m_mappedMinimum);
}

double ScaleMap::minimum() const
{
    return m_minimum;
}

double ScaleMap::maximum() const
{
    return m_maximum;
}

double ScaleMap::mappedMinimum() const
{
    return m_mappedMinimum;
}

double ScaleMap::mappedMaximum() const
{
    return m_mappedMaximum;
}

double ScaleMap::toPixel(double value) const
{
    return m_firstPixel + (value - m_mappedMinimum) * m_factor;
}

double ScaleMap::toValue(double pixel) const
{
    if (m_factor == 0.0) {
        return m_mappedMinimum;  // no pixels to map from
    }
    return m_mappedMinimum + (pixel - m_firstPixel) / m_factor;
}

}  // namespace vexa::toolkit
