#pragma once

#include <array>
#include <cstdint>

namespace vexa::server {

/// The six built-in signal generators of simulate mode. The fast ones advance
/// on every 100 ms tick, the square wave on every one-second tick; their
/// state survives the end of simulate mode, so a new simulate period
/// continues where the last one stopped.
class SignalGenerators {
public:
    /// The generators, numbered as the source indexes that pick them.
    enum Generator : int {
        kCosine = 0,
        kSine = 1,
        kSquare = 2,
        kTriangle = 3,
        kSawtooth = 4,
        kRandom = 5,
    };
    static constexpr int kCount = 6;
    /// Every output swings between -kAmplitude and +kAmplitude (the square
    /// wave and the sawtooth between 0 and +kAmplitude).
    static constexpr double kAmplitude = 100.0;

    /// One fast tick: the angle moves on by a degree (back to 0 after 360),
    /// cosine and sine follow it, the triangle and the sawtooth take a step
    /// and the random output takes \p randomDraw.
    void AdvanceFast(double randomDraw);
    /// One slow tick: the square wave flips between 0 and 100.
    void ToggleSquare();

    /// The current output of \p generator; 0 for any other number.
    double output(int generator) const;
    /// The angle in degrees that cosine and sine were last computed for.
    double angle() const { return m_angle; }

private:
    std::array<double, kCount> m_outputs{};
    double m_angle = 0.0;
    std::int32_t m_triangleStep = 2;
};

}  // namespace vexa::server
