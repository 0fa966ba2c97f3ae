#pragma once

#include "server/faults/Fault.h"

#include <cstdint>
#include <vector>

namespace vexa::server {

/// The faults written in \p texts (each a sound "PATTERN:KIND=ARGS") with
/// \p seed.
inline FaultConfig FaultsOf(const std::vector<const char*>& texts, std::uint32_t seed)
{
    FaultConfig config;
    config.seed = seed;
    for (const char* text : texts)
        config.faults.push_back(*ParseFault(text).fault);
    return config;
}

}  // namespace vexa::server
