#include "server/engine/PortableRandom.h"

namespace vexa::server {

namespace {
constexpr std::uint32_t kMultiplier = 1103515245u;
constexpr std::uint32_t kIncrement = 12345u;
/// The low 16 bits of the state are the least random ones and are dropped.
constexpr std::uint32_t kDroppedBits = 65536u;
constexpr std::uint32_t kRange = PortableRandom::kMax + 1;
constexpr double kHalf = 0.5;
constexpr double kBothSides = 2.0;
}  // namespace

int PortableRandom::next()
{
    m_state = m_state * kMultiplier + kIncrement;
    return int((m_state / kDroppedBits) % kRange);
}

double PortableRandom::draw()
{
    const int k = next();
    return (double(kMax - k) / double(kMax) - kHalf) * kBothSides * kDrawAmplitude;
}

}  // namespace vexa::server
