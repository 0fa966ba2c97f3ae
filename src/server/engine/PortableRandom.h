#pragma once

#include <cstdint>

namespace vexa::server {

/// The classic portable pseudo-random generator with numbers from 0 to
/// 32767. Its own small state keeps the simulated values reproducible for a
/// given seed, whatever else in the process draws random numbers.
class PortableRandom {
public:
    /// The largest number next() returns.
    static constexpr int kMax = 32767;
    /// A draw lies between -kDrawAmplitude and +kDrawAmplitude.
    static constexpr double kDrawAmplitude = 100.0;

    /// Starts the sequence for \p seed.
    void seed(unsigned seed) { m_state = seed; }
    /// The next number, 0 to 32767.
    int next();
    /// A value from -100 to +100 made from the next number k:
    /// ((32767 - k) / 32767 - 0.5) x 2 x 100.
    double draw();

private:
    /// The sequence a generator has before anyone seeds it.
    static constexpr std::uint32_t kUnseededState = 1;
    std::uint32_t m_state = kUnseededState;
};

}  // namespace vexa::server
