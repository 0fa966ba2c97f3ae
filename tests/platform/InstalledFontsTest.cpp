#include "platform/InstalledFonts.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

TEST(InstalledFonts, MatchesInstalledOutlineFamiliesExactly)
{
    const struct {
        const char* family;
        bool installed;
    } cases[] = {
        {"Liberation Sans", true},
        {"Liberation Serif", true},
        {"liberation sans", false},
        {"Liberation Sans ", false},
        {"Liberation", false},
        {"None", false},
        {"", false},
    };
    for (const auto& each : cases)
        EXPECT_EQ(IsInstalledScalableFont(each.family), each.installed) << '"' << each.family << '"';
}

}  // namespace
}  // namespace vexa
