#pragma once

#include <string_view>

namespace vexa::server {

/// The longest measurement name: what a name field of the layout holds.
constexpr std::size_t kMaxMeasurementNameLength = 32;

/// True when \p name can be a measurement name as it stands: 1 to 32
/// printable Windows-1252 characters, none of them "[", "]" or "=", not
/// beginning with ";", and no blank at either end (the measurement file
/// trims those, so such a name could never be asked for). Names from the
/// inputs are used as they arrive or refused; they are never cut or mended.
bool IsValidMeasurementName(std::string_view name);

}  // namespace vexa::server
