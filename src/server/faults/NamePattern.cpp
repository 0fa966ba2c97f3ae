#include "server/faults/NamePattern.h"

#include <cstddef>

namespace vexa::server {

namespace {

constexpr char kAnyRun = '*';
constexpr char kAnyOne = '?';

char FoldAscii(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

}  // namespace

bool MatchesNamePattern(std::string_view pattern, std::string_view name)
{
    // One pass with a single point to go back to: the last "*" seen and the
    // place in the name it has been stretched to. Linear in practice, and
    // never worse than the pattern's length times the name's.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == kAnyRun) {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == kAnyOne || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == kAnyRun)
        ++p;
    return p == pattern.size();
}

}  // namespace vexa::server
