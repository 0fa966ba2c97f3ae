#include "server/inputs/MeasurementName.h"

#include <algorithm>

namespace vexa::server {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
/// The five bytes that Windows-1252 leaves without a character.
constexpr unsigned char kUnassigned[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
constexpr char kBlank = ' ';
constexpr char kComment = ';';

bool IsPrintable(unsigned char byte)
{
    return byte >= kFirstPrintable && byte != kDelete
        && std::find(std::begin(kUnassigned), std::end(kUnassigned), byte) == std::end(kUnassigned);
}

bool IsAllowed(char c)
{
    return IsPrintable(static_cast<unsigned char>(c)) && c != '[' && c != ']' && c != '=';
}

}  // namespace

bool IsValidMeasurementName(std::string_view name)
{
    return !name.empty() && name.size() <= kMaxMeasurementNameLength && name.front() != kComment
        && name.front() != kBlank && name.back() != kBlank && std::all_of(name.begin(), name.end(), IsAllowed);
}

}  // namespace vexa::server
