#pragma once

#include <vector>

namespace vexa::editors {

/// Moving values for the preview, shaped like the data server's simulated
/// signals (cosine, sine, triangle, sawtooth, square): measurement k follows
/// shape k modulo five. Every value swings through a band that the caller
/// sets wider than the graph's scale and its alarm limits, so that the
/// preview shows each alarm state as well as the normal one.
class PreviewSignal {
public:
    /// How many shapes there are; measurement k follows shape k % kShapeCount.
    static constexpr int kShapeCount = 5;
    /// Steps in one cycle of the periodic shapes.
    static constexpr int kStepsPerCycle = 60;

    /// Swings the values through [\p low, \p high] and a fifth of the span
    /// beyond on either side. A band without width gets one of 1.
    void setBand(double low, double high);
    /// Moves every shape on by one step.
    void advance();
    /// The values of \p count measurements at the current step.
    std::vector<double> values(int count) const;

    double lowest() const { return m_centre - m_halfWidth; }
    double highest() const { return m_centre + m_halfWidth; }

private:
    /// Shape \p shape at the current step, between -1 and +1.
    double shapeValue(int shape) const;

    int m_step = 0;
    double m_centre = 0.0;
    double m_halfWidth = 1.0;
};

}  // namespace vexa::editors
