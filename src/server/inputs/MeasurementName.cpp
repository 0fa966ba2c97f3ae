#include "server/inputs/MeasurementName.h"

#include <algorithm>
#include <array>

namespace vexa::server {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
/// The five bytes that Windows-1252 leaves without a character.
constexpr unsigned char kUnassigned[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
constexpr char kBlank = ' ';
constexpr char kComment = ';';

constexpr bool IsPrintable(unsigned char byte)
{
    return byte >= kFirstPrintable && byte != kDelete
        && std::find(std::begin(kUnassigned), std::end(kUnassigned), byte) == std::end(kUnassigned);
}

constexpr bool IsAllowedByte(unsigned char byte)
{
    return IsPrintable(byte) && byte != '[' && byte != ']' && byte != '=';
}

/// Whether each byte may stand in a name, looked up rather than worked out,
/// since every value of every input passes here.
constexpr std::array<bool, 256> kAllowedBytes = [] {
    std::array<bool, 256> allowed{};
    for (int byte = 0; byte < 256; ++byte)
        allowed[std::size_t(byte)] = IsAllowedByte(static_cast<unsigned char>(byte));
    return allowed;
}();

bool IsAllowed(char c)
{
    return kAllowedBytes[static_cast<unsigned char>(c)];
}

}  // namespace

bool IsValidMeasurementName(std::string_view name)
{
    return !name.empty() && name.size() <= kMaxMeasurementNameLength && name.front() != kComment
        && name.front() != kBlank && name.back() != kBlank && std::all_of(name.begin(), name.end(), IsAllowed);
}

}  // namespace vexa::server
