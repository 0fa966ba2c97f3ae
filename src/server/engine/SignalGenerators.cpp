#include "server/engine/SignalGenerators.h"

#include <cmath>

namespace vexa::server {

namespace {
constexpr double kDegreeStep = 1.0;
constexpr double kFullTurn = 360.0;
/// The generators have always used this value for pi; keeping it keeps their
/// curves the same as before.
constexpr double kPi = 3.142857143;
constexpr double kHalfTurn = 180.0;
constexpr double kSawtoothStep = 2.0;
}  // namespace

void SignalGenerators::AdvanceFast(double randomDraw)
{
    m_angle += kDegreeStep;
    if (m_angle > kFullTurn)
        m_angle = 0.0;
    const double radians = m_angle * kPi / kHalfTurn;
    m_outputs[kCosine] = std::cos(radians) * kAmplitude;
    m_outputs[kSine] = std::sin(radians) * kAmplitude;

    m_outputs[kTriangle] += m_triangleStep;
    if (std::fabs(m_outputs[kTriangle]) >= kAmplitude)
        m_triangleStep = -m_triangleStep;

    if (m_outputs[kSawtooth] < kAmplitude)
        m_outputs[kSawtooth] += kSawtoothStep;
    else
        m_outputs[kSawtooth] = 0.0;

    m_outputs[kRandom] = randomDraw;
}

void SignalGenerators::ToggleSquare()
{
    m_outputs[kSquare] = m_outputs[kSquare] == 0.0 ? kAmplitude : 0.0;
}

double SignalGenerators::output(int generator) const
{
    if (generator < 0 || generator >= kCount)
        return 0.0;
    return m_outputs[size_t(generator)];
}

}  // namespace vexa::server
