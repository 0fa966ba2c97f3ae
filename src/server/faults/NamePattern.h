#pragma once

#include <string_view>

namespace vexa::server {

/// True when \p name matches \p pattern: "*" stands for any run of
/// characters (also none), "?" for exactly one, and every other character
/// for itself, the letters A to Z in either case (names pick their
/// generator without regard to case too). "SIN*" matches "sine" and "SIN";
/// "*TEMP*" matches every name holding "temp".
bool MatchesNamePattern(std::string_view pattern, std::string_view name);

}  // namespace vexa::server
