#pragma once

#include <optional>
#include <string_view>

namespace vexa::server {

/// The double nearest to \p text, a decimal number in the form
/// [-]digits[.digits][(e|E)[+|-]digits] or with the digits before or after
/// the point left out (".5", "5."). Plain decimals only: "inf", "nan", hex
/// and a leading "+" are refused, and so is a number too large for a double
/// (1e400). A number too small for one becomes zero of its sign.
std::optional<double> ReadDecimal(std::string_view text);

}  // namespace vexa::server
