// How faults are written: the forms of "PATTERN:KIND=ARGS" and their errors,
// the seed, the command-line options, and the name patterns.

#include "server/faults/Fault.h"
#include "server/faults/FaultOptions.h"
#include "server/faults/NamePattern.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vexa::server {
namespace {

Fault MakeFault(std::string pattern, FaultKind kind, double chance, double amount, double seconds)
{
    return Fault{std::move(pattern), kind, chance, amount, seconds};
}

TEST(FaultText, EveryFormIsReadAndWrittenBackInItsShortestForm)
{
    struct Case {
        const char* text;
        Fault expected;
        const char* written;
    };
    const Case cases[] = {
        {"SIN*:spike=0.05,50", MakeFault("SIN*", FaultKind::Spike, 0.05, 50, 0), "SIN*:spike=0.05,50"},
        {"*TEMP*:drift=-0.5", MakeFault("*TEMP*", FaultKind::Drift, 0, -0.5, 0), "*TEMP*:drift=-0.5"},
        {"RAN?:dropout=0.01,2.5", MakeFault("RAN?", FaultKind::Dropout, 0.01, 0, 2.5), "RAN?:dropout=0.01,2.5"},
        {"COS*:stuck=1,3", MakeFault("COS*", FaultKind::Stuck, 1, 0, 3), "COS*:stuck=1,3"},
        {"*:noise=0", MakeFault("*", FaultKind::Noise, 0, 0, 0), "*:noise=0"},
        // Blanks around the parts go; the kind may be in any case.
        {" SIN* : NOISE = 2 ", MakeFault("SIN*", FaultKind::Noise, 0, 2, 0), "SIN*:noise=2"},
        // The pattern runs to the last ":" before the "=".
        {"A:B:noise=1", MakeFault("A:B", FaultKind::Noise, 0, 1, 0), "A:B:noise=1"},
        {"x:spike=1e-3,-7.25", MakeFault("x", FaultKind::Spike, 0.001, -7.25, 0), "x:spike=0.001,-7.25"},
        {"x:dropout=0,86400", MakeFault("x", FaultKind::Dropout, 0, 0, 86400), "x:dropout=0,86400"},
        {"x:drift=0.1", MakeFault("x", FaultKind::Drift, 0, 0.1, 0), "x:drift=0.1"},
    };
    for (const Case& c : cases) {
        const FaultParse parsed = ParseFault(c.text);
        ASSERT_TRUE(parsed.fault.has_value()) << c.text << ": " << parsed.error.toStdString();
        EXPECT_TRUE(parsed.error.isEmpty()) << c.text;
        EXPECT_EQ(*parsed.fault, c.expected) << c.text;
        EXPECT_EQ(FaultText(*parsed.fault), c.written) << c.text;
        EXPECT_EQ(ParseFault(FaultText(*parsed.fault)).fault, parsed.fault) << c.text;
    }
}

TEST(FaultText, EachBadFormSaysWhatIsWrong)
{
    const std::pair<const char*, const char*> cases[] = {
        {"SIN*", R"(":KIND=" is missing)"},
        {"SIN*=spike", R"(":KIND=" is missing)"},
        {"", R"(":KIND=" is missing)"},
        {":noise=1", "the pattern is empty"},
        {"  :noise=1", "the pattern is empty"},
        {"SIN*:wobble=1", R"(the kind "wobble" is none of spike, drift, dropout, stuck and noise)"},
        {"SIN*:=1", R"(the kind "" is none of spike, drift, dropout, stuck and noise)"},
        {"SIN*:spike=0.5", "spike takes CHANCE,SIZE"},
        {"SIN*:drift=1,2", "drift takes UNITS_PER_SECOND"},
        {"SIN*:dropout=0.5", "dropout takes CHANCE,SECONDS"},
        {"SIN*:stuck=0.5,1,2", "stuck takes CHANCE,SECONDS"},
        {"SIN*:noise=1,", R"("" is not a number)"},
        {"SIN*:noise=abc", R"("abc" is not a number)"},
        {"SIN*:noise=", R"("" is not a number)"},
        {"SIN*:noise=1x", R"("1x" is not a number)"},
        {"SIN*:noise=inf", R"("inf" is not a number)"},
        {"SIN*:drift=nan", R"("nan" is not a number)"},
        {"SIN*:drift=1e999", R"("1e999" is not a number)"},
        {"SIN*:spike=1.5,1", "the chance must be from 0 to 1"},
        {"SIN*:dropout=-0.1,1", "the chance must be from 0 to 1"},
        {"SIN*:stuck=0.5,0", "the time must be more than 0 and at most 86400 seconds"},
        {"SIN*:dropout=0.5,86400.5", "the time must be more than 0 and at most 86400 seconds"},
        {"SIN*:noise=-1", "the standard deviation must not be negative"},
    };
    for (const auto& [text, error] : cases) {
        const FaultParse parsed = ParseFault(text);
        EXPECT_FALSE(parsed.fault.has_value()) << text;
        EXPECT_EQ(parsed.error.toStdString(), error) << text;
    }
}

TEST(FaultText, ASeedIsAWholeNumberThatAnIntHolds)
{
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"0", 0u},     {"1", 1u},  {"2147483647", 2147483647u}, {"2147483648", std::nullopt},
        {"-1", std::nullopt}, {"+1", std::nullopt}, {"", std::nullopt}, {"1.5", std::nullopt},
        {" 7", std::nullopt}, {"99999999999999999999999", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseFaultSeed(text), expected) << text;
}

TEST(FaultOptions, FaultsRepeatAndTheSeedIsTakenInBothForms)
{
    const FaultOptionsResult result = ParseFaultOptions(
        {"vexalink", "--minimized", "--fault", "SIN*:spike=0.05,50", "--line-udp", "8089",
         "--fault=*TEMP*:drift=0.5", "--fault-seed", "42"});
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    ASSERT_TRUE(result.overrides.faults.has_value());
    ASSERT_EQ(result.overrides.faults->size(), 2u);
    EXPECT_EQ(FaultText((*result.overrides.faults)[0]), "SIN*:spike=0.05,50");
    EXPECT_EQ(FaultText((*result.overrides.faults)[1]), "*TEMP*:drift=0.5");
    EXPECT_EQ(result.overrides.seed, 42u);
    EXPECT_EQ(ParseFaultOptions({"vexalink", "--fault-seed=7"}).overrides.seed, 7u);

    // Given faults replace the file's list; what is not given keeps the file's.
    FaultConfig file;
    file.faults = {MakeFault("COS*", FaultKind::Noise, 0, 1, 0)};
    file.seed = 9;
    const FaultConfig applied = result.overrides.AppliedTo(file);
    EXPECT_EQ(applied.faults, *result.overrides.faults);
    EXPECT_EQ(applied.seed, 42u);
    EXPECT_EQ(ParseFaultOptions({"vexalink", "--line-udp", "8089"}).overrides.AppliedTo(file), file);
}

TEST(FaultOptions, ABadOptionIsOneErrorNamingTheOptionAndTheForm)
{
    const std::pair<QStringList, const char*> cases[] = {
        {{"vexalink", "--fault"}, "--fault needs PATTERN:KIND=ARGS"},
        {{"vexalink", "--fault", "SIN*"}, R"(--fault needs PATTERN:KIND=ARGS, not "SIN*": ":KIND=" is missing)"},
        {{"vexalink", "--fault=SIN*:spike=2,5"},
         R"(--fault needs PATTERN:KIND=ARGS, not "SIN*:spike=2,5": the chance must be from 0 to 1)"},
        {{"vexalink", "--fault", "*:noise=1", "--fault", "*:hum=1"},
         R"(--fault needs PATTERN:KIND=ARGS, not "*:hum=1": the kind "hum" is none of spike, drift, dropout, stuck and noise)"},
        {{"vexalink", "--fault-seed"}, "--fault-seed needs a whole number from 0 to 2147483647"},
        {{"vexalink", "--fault-seed", "-3"}, R"(--fault-seed needs a whole number from 0 to 2147483647, not "-3")"},
        {{"vexalink", "--fault-seed=x"}, R"(--fault-seed needs a whole number from 0 to 2147483647, not "x")"},
    };
    for (const auto& [arguments, error] : cases)
        EXPECT_EQ(ParseFaultOptions(arguments).error.toStdString(), error) << arguments.join(' ').toStdString();
}

TEST(NamePattern, StarsAndQuestionMarksMatchLettersInEitherCase)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"SIN*", "SINE", true},
        {"SIN*", "sin_oil_temp", true},
        {"SIN*", "SIN", true},
        {"SIN*", "ASIN", false},
        {"SIN*", "SI", false},
        {"*TEMP*", "SIN_OIL_TEMP", true},
        {"*TEMP*", "temp", true},
        {"*TEMP*", "COS_COOLANT_TEMP", true},
        {"*TEMP*", "TEM", false},
        {"*TEMP*", "TEMPERATURE", true},
        {"SIN?", "SIN1", true},
        {"SIN?", "SIN", false},
        {"SIN?", "SIN12", false},
        {"?", "", false},
        {"*", "", true},
        {"*", "anything at all", true},
        {"PRESSURE", "pressure", true},
        {"PRESSURE", "PRESSURE2", false},
        // A later part must be found after an earlier one, trying each place.
        {"A*B*C", "AxxBxxC", true},
        {"A*B*C", "AxBxCxBxC", true},
        {"A*B*C", "AxxBxx", false},
        {"*AB", "AAB", true},
        {"**X**", "aXa", true},
        // Only A to Z fold; other bytes match only themselves.
        {"\xe9T*", "\xe9te", true},
        {"\xe9T*", "\xc9TE", false},
        {"[A]*", "[a]b", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesNamePattern(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

}  // namespace
}  // namespace vexa::server
