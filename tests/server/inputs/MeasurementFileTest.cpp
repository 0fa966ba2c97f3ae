#include "server/inputs/MeasurementFile.h"

#include "document/IniFile.h"
#include "server/inputs/ValueTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vexa::server {
namespace {

TEST(MeasurementFile, LimitsAreRoundedOutwardsToTheStepOfTheirSpan)
{
    struct Case {
        double lowest;
        double highest;
        const char* lower;
        const char* upper;
    };
    const Case cases[] = {
        {2.3, 97.8, "0", "100"},
        {-0.7, 0.2, "-0.7", "0.2"},
        {-0.73, 0.21, "-0.8", "0.3"},
        {0.1, 0.3, "0.1", "0.3"},
        {1013.2, 1013.9, "1013.2", "1013.9"},
        {3000, 3000, "2000", "4000"},
        {0, 0, "-1", "1"},
        {-0.0, -0.0, "-1", "1"},
        {-5, -5, "-6", "-4"},
        {1.1, 1.1, "1", "2"},
        {0.11, 0.19, "0.11", "0.19"},
        {0.004, 0.004, "0.003", "0.005"},
        {12345678, 98765432, "10000000", "100000000"},
        {-1e308, 1e308, "-1e+308", "1e+308"},
        {1.5e308, 1.7e308, "1.5e+308", "1.7e+308"},
    };
    for (const Case& test : cases) {
        const MeasurementLimits limits = RoundedLimits(test.lowest, test.highest);
        EXPECT_EQ(limits.lower, test.lower) << test.lowest << " " << test.highest;
        EXPECT_EQ(limits.upper, test.upper) << test.lowest << " " << test.highest;
    }
}

TEST(MeasurementFile, OneSectionPerNameInArrivalOrderAndNamesDifferingInCaseShareOne)
{
    ValueTable table;
    const double noTime = std::numeric_limits<double>::quiet_NaN();
    table.Store("engine.rpm", 800, noTime, 0, 0);
    table.Store("engine.rpm", 3100, noTime, 0, 0);
    table.Store("Tank level", 42, noTime, 0, 0);
    table.Store("\xe9t\xe9", 1, noTime, 0, 0);
    table.Store("ENGINE.RPM", 5500, noTime, 0, 0);
    table.Store("\xc9T\xc9", -1, noTime, 0, 0);

    const MeasurementFileText file = MeasurementFileFor(table);
    EXPECT_EQ(file.sections, 3u);
    EXPECT_EQ(file.merged, 2u);
    EXPECT_EQ(file.bytes, "[engine.rpm]\r\nL=0\r\nH=6000\r\n\r\n"
                          "[Tank level]\r\nL=40\r\nH=50\r\n\r\n"
                          "[\xe9t\xe9]\r\nL=-1\r\nH=1\r\n\r\n");

    // The file reads back through the profile format as written.
    const profile::IniFile ini(file.bytes);
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"engine.rpm", "Tank level", "\xe9t\xe9"}));
    EXPECT_EQ(ini.value("TANK LEVEL", "H"), "50");
}

}  // namespace
}  // namespace vexa::server
