#include "graphs/core/ValueConversion.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace vexa::graphs {
namespace {

using test::ScratchDir;
using test::WriteFileBytes;

TEST(ValueConversion, MeasurementDefinitionsConvertByTheirCoefficientsOnlyWhenSpelledExactly)
{
    ScratchDir dir;
    const std::string file = dir.path("VEXAMVX.TMP");
    WriteFileBytes(file,
                   "[Double]\r\nE=Coefficients\r\n1=2\r\n"
                   "[Fahrenheit]\r\nE=Coefficients\r\n0=-40\r\n1=1.8\r\n"
                   "[LowerCase]\r\nE=coefficients\r\n0=5\r\n1=2\r\n"
                   "[Raw]\r\nE=Raw\r\n0=5\r\n1=2\r\n"
                   "[Absent]\r\n"
                   "[Polynomial]\r\nE=Coefficients\r\n0=1\r\n1=2\r\n2=3\r\n3=4\r\n4=5\r\n5=6\r\n6=7\r\n");
    struct Case {
        const char* name;
        double raw;
        double expected;
        int conversion;
    };
    const Case cases[] = {
        {"Double", 3.0, 6.0, kCoefficientConversion},
        {"Fahrenheit", 100.0, 140.0, kCoefficientConversion},
        {"LowerCase", 3.0, 3.0, kRawConversion},
        {"Raw", 3.0, 3.0, kRawConversion},
        {"Absent", -7.5, -7.5, kRawConversion},
        // 1 + 2*2 + 3*4 + 4*8 + 5*16 + 6*32 + 7*64: every coefficient has its own power.
        {"Polynomial", 2.0, 769.0, kCoefficientConversion},
        {"Polynomial", -1.0, 4.0, kCoefficientConversion},
    };
    for (const Case& c : cases) {
        MeasurementSlot slot;
        ReadMeasurementDefinition(c.name, slot, file);
        EXPECT_EQ(slot.conversion, c.conversion) << c.name;
        EXPECT_DOUBLE_EQ(ConvertValue(slot, c.raw), c.expected) << c.name << " at " << c.raw;
    }
}

}  // namespace
}  // namespace vexa::graphs
