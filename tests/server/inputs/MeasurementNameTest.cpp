#include "server/inputs/MeasurementName.h"

#include <gtest/gtest.h>

#include <string>

namespace vexa::server {
namespace {

TEST(MeasurementName, PrintableTextUpToThirtyTwoCharactersIsUsedAsItStands)
{
    using namespace std::string_literals;
    struct Case {
        std::string name;
        bool valid;
    };
    const Case cases[] = {
        {"engine.rpm", true},
        {"A", true},
        {std::string(32, 'n'), true},
        {std::string(33, 'n'), false},
        {"", false},
        {"inner blank ok", true},
        {" leading", false},
        {"trailing ", false},
        {"x[1]", false},
        {"x]", false},
        {"a=b", false},
        {";comment", false},
        {"not;first", true},
        {"tab\there", false},
        {"nul\0inside"s, false},
        {"del\x7f", false},
        {"\xe9t\xe9", true},       // Windows-1252 letters
        {"\xff", true},            // y with diaeresis
        {"\x80 euro", true},
        {"\x81", false},           // a byte Windows-1252 leaves unassigned
        {"\x9d", false},
        {"\xa0nbsp", true},
        {"line\nbreak", false},
    };
    for (const Case& test : cases)
        EXPECT_EQ(IsValidMeasurementName(test.name), test.valid) << test.name;
}

}  // namespace
}  // namespace vexa::server
