#pragma once

#include <vector>

namespace vexa::toolkit {

/// Where the values of a dial's scale sit on its circle. Angles are degrees
/// counter-clockwise from three o'clock. The scale runs clockwise from the
/// minimum's angle to the maximum's: a start angle of 315 and an end angle
/// of 225 put the minimum at the lower left and the maximum at the lower
/// right, over the top, in a sweep of 270 degrees. Plain arithmetic, no
/// painting.
class DialScale {
public:
    /// A sweep that ends where it starts goes once round the circle.
    static constexpr double kFullTurn = 360.0;

    DialScale(double minimum, double maximum, double startAngle, double endAngle);

    double minimum() const;
    double maximum() const;
    /// The angle of the minimum, in [0, 360).
    double minimumAngle() const;
    /// Degrees clockwise from the minimum to the maximum, in (0, 360].
    double sweep() const;

    /// How far along the scale \p value lies, 0 at the minimum and 1 at the
    /// maximum, held to that range (a dial's pointer stops at the ends);
    /// not a number for not a number. An empty scale puts every value at 0.
    double fractionOf(double value) const;
    /// The angle of \p value in [0, 360), held to the scale's ends; not a
    /// number for not a number.
    double angleOf(double value) const;
    /// The angle that lies \p fraction of the sweep clockwise from the
    /// minimum, in [0, 360).
    double angleAtFraction(double fraction) const;

    /// Fills \p ticks with minimum + k * interval up to the maximum. An
    /// interval that is zero, negative or not a number gives a round one;
    /// one that would make too many ticks is coarsened. Returns the interval
    /// used (0: no ticks).
    double ticks(double interval, std::vector<double>& ticks) const;

private:
    double m_minimum;
    double m_maximum;
    double m_minimumAngle;
    double m_sweep;
};

}  // namespace vexa::toolkit
