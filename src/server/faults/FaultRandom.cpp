#include "server/faults/FaultRandom.h"

#include <cmath>
#include <numbers>

namespace vexa::server {

namespace {

// SplitMix64: a full-period 64-bit sequence whose outputs pass the usual
// statistical batteries, with eight bytes of state.
constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kMix1 = 0xBF58476D1CE4E5B9ull;
constexpr std::uint64_t kMix2 = 0x94D049BB133111EBull;
constexpr int kShift1 = 30;
constexpr int kShift2 = 27;
constexpr int kShift3 = 31;
// FNV-1a over the name's bytes.
constexpr std::uint64_t kFnvOffset = 0xCBF29CE484222325ull;
constexpr std::uint64_t kFnvPrime = 0x100000001B3ull;
/// A double has 53 bits of mantissa; the top 53 bits of a draw fill it.
constexpr int kUnusedBits = 11;
constexpr double kUnit = 1.0 / 9007199254740992.0;  // 2^-53

std::uint64_t Mix(std::uint64_t z)
{
    z = (z ^ (z >> kShift1)) * kMix1;
    z = (z ^ (z >> kShift2)) * kMix2;
    return z ^ (z >> kShift3);
}

std::uint64_t NameHash(std::string_view name)
{
    std::uint64_t hash = kFnvOffset;
    for (const char c : name) {
        const char upper = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        hash = (hash ^ static_cast<unsigned char>(upper)) * kFnvPrime;
    }
    return hash;
}

}  // namespace

FaultRandom::FaultRandom(std::uint32_t seed, std::string_view name, int faultIndex)
    : m_state(Mix(Mix(seed) ^ NameHash(name)) ^ Mix(std::uint64_t(faultIndex) + kGolden))
{
}

std::uint64_t FaultRandom::next()
{
    m_state += kGolden;
    return Mix(m_state);
}

double FaultRandom::uniform()
{
    return double(next() >> kUnusedBits) * kUnit;
}

double FaultRandom::gaussian()
{
    // Box-Muller, written out so that the sequence is the same with every
    // standard library; the first factor's draw is kept away from 0.
    const double radius = std::sqrt(-2.0 * std::log(1.0 - uniform()));
    return radius * std::cos(2.0 * std::numbers::pi * uniform());
}

}  // namespace vexa::server
