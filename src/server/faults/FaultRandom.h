#pragma once

#include <cstdint>
#include <string_view>

namespace vexa::server {

/// The random numbers of one fault on one name. Each such pair draws its own
/// sequence, made from the seed, the name (in upper case) and the fault's
/// place in the list, so that the misbehaviour a name shows depends on
/// nothing else: not on the other names of the layout, not on the
/// generators' own random draws.
class FaultRandom {
public:
    FaultRandom(std::uint32_t seed, std::string_view name, int faultIndex);

    /// A number from 0 up to, not including, 1, in steps of 2^-53.
    double uniform();
    /// A number of the standard normal distribution (mean 0, standard
    /// deviation 1).
    double gaussian();

private:
    std::uint64_t next();

    std::uint64_t m_state;
};

}  // namespace vexa::server
