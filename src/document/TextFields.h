#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Small parsers for the values of display-file keys.
namespace vexa {

/// Splits \p text at every \p separator; "a,,b" gives "a", "", "b".
std::vector<std::string> SplitFields(std::string_view text, char separator);

/// The decimal number at the start of \p text, as atoi reads it: leading
/// blanks, an optional sign, the digits that follow; 0 when there are none.
/// Values beyond the int range are clamped.
int ParseLeadingInt(std::string_view text);

/// The decimal number at the start of \p text, as atof reads it; 0 when there is none.
double ParseLeadingDouble(std::string_view text);

}  // namespace vexa
