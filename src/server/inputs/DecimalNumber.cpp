#include "server/inputs/DecimalNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace vexa::server {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// Skips the digits from \p at; returns how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& at)
{
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at - start;
}

bool IsDecimalText(std::string_view text)
{
    std::size_t at = 0;
    if (at < text.size() && text[at] == '-')
        ++at;
    std::size_t digits = SkipDigits(text, at);
    if (at < text.size() && text[at] == '.') {
        ++at;
        digits += SkipDigits(text, at);
    }
    if (digits == 0)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        if (SkipDigits(text, at) == 0)
            return false;
    }
    return at == text.size();
}

/// True when \p text, a decimal number out of a double's range, is too
/// small for one rather than too large: when its first significant digit
/// stands below the units place.
bool IsBelowRange(std::string_view text)
{
    constexpr long kExponentCap = 1000000000;
    const std::size_t e = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, e);
    long exponent = 0;
    if (e != std::string_view::npos) {
        std::size_t at = e + 1;
        const bool negative = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        for (; at < text.size(); ++at)
            exponent = std::min(kExponentCap, exponent * 10 + (text[at] - '0'));
        if (negative)
            exponent = -exponent;
    }
    long integerDigits = 0;
    long firstSignificant = -1;
    long digit = 0;
    bool afterPoint = false;
    for (char c : mantissa) {
        if (c == '.') {
            afterPoint = true;
        } else if (IsDigit(c)) {
            if (!afterPoint)
                ++integerDigits;
            if (firstSignificant < 0 && c != '0')
                firstSignificant = digit;
            ++digit;
        }
    }
    return integerDigits - firstSignificant - 1 + exponent < 0;
}

}  // namespace

std::optional<double> ReadDecimal(std::string_view text)
{
    if (!IsDecimalText(text))
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size())
        return value;
    if (error == std::errc::result_out_of_range && IsBelowRange(text))
        return std::copysign(0.0, text.front() == '-' ? -1.0 : 1.0);
    return std::nullopt;
}

}  // namespace vexa::server
