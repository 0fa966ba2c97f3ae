#pragma once

namespace vexa::toolkit {

/// Maps scale values of one axis to pixel positions and back, linearly:
/// minimum to the first pixel position, maximum to the second. A range that
/// is empty or not finite is widened around its value, so that mapping
/// never divides by zero.
class ScaleMap {
public:
    ScaleMap();
    ScaleMap(double minimum, double maximum);

    void setRange(double minimum, double maximum);
    void setPixels(double first, double second);

    /// The range as given.
    double minimum() const;
    double maximum() const;
    /// The range that is mapped (the given one, widened when empty).
    double mappedMinimum() const;
    double mappedMaximum() const;

    double toPixel(double value) const;
    double toValue(double pixel) const;

private:
    void updateFactor();

    double m_minimum = 0.0;
    double m_maximum = 1.0;
    double m_mappedMinimum = 0.0;
    double m_mappedMaximum = 1.0;
    double m_firstPixel = 0.0;
    double m_secondPixel = 1.0;
    double m_factor = 1.0;
};

}  // namespace vexa::toolkit
