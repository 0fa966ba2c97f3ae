// The faults' keys in section "VEXA-Com" of the settings file: written and
// read back, only what changed written, and unusable keys reported.

#include "server/faults/FaultSettings.h"

#include "support/TestSupport.h"
#include "FaultTestSupport.h"

#include <gtest/gtest.h>

namespace vexa::server {
namespace {

TEST(FaultSettings, FaultsAndSeedRoundTripAndOnlyWhatChangedIsWritten)
{
    test::ScratchDir dir;
    const std::string file = dir.path("VexaDisplay.ini");
    test::WriteFileBytes(file, "[VEXA-Com]\r\nDataPath=110\r\n");
    const FaultSettings settings(file);
    EXPECT_EQ(settings.Read(), FaultConfig()) << "no faults, seed 1";

    const FaultConfig three =
        FaultsOf({"SIN*:spike=0.05,50", "*TEMP*:drift=-0.25", "RAN?:dropout=0.01,2.5"}, FaultConfig::kDefaultSeed);
    ASSERT_TRUE(settings.WriteChanges(FaultConfig(), three));
    EXPECT_EQ(test::ReadFileBytes(file),
              "[VEXA-Com]\r\nDataPath=110\r\nFault1=SIN*:spike=0.05,50\r\nFault2=*TEMP*:drift=-0.25\r\n"
              "Fault3=RAN?:dropout=0.01,2.5\r\n")
        << "the seed did not change, so it is not written";
    EXPECT_EQ(settings.Read(), three);

    const FaultConfig one = FaultsOf({"COS*:stuck=1,3"}, 42);
    ASSERT_TRUE(settings.WriteChanges(three, one));
    EXPECT_EQ(test::ReadFileBytes(file), "[VEXA-Com]\r\nDataPath=110\r\nFault1=COS*:stuck=1,3\r\nFaultSeed=42\r\n");
    EXPECT_EQ(settings.Read(), one);

    const FaultConfig reseeded = FaultsOf({"COS*:stuck=1,3"}, 0);
    ASSERT_TRUE(settings.WriteChanges(one, reseeded));
    EXPECT_EQ(settings.Read(), reseeded);
    ASSERT_TRUE(settings.WriteChanges(reseeded, FaultsOf({}, 0)));
    EXPECT_EQ(test::ReadFileBytes(file), "[VEXA-Com]\r\nDataPath=110\r\nFaultSeed=0\r\n");
}

TEST(FaultSettings, UnusableKeysAreLeftOutAndSaidSo)
{
    test::ScratchDir dir;
    const std::string file = dir.path("VexaDisplay.ini");
    test::WriteFileBytes(file,
                         "[vexa-com]\r\nfault1 = \"SIN*:noise=2\"\r\nFault2=junk\r\nFault3=*:spike=3,1\r\n"
                         "Fault4=COS*:drift=1\r\nFault6=RAN*:noise=1\r\nFaultSeed=-5\r\n");
    QStringList problems;
    const FaultConfig config = FaultSettings(file).Read(&problems);
    // Reading stops at the first absent number: Fault6 is not read.
    EXPECT_EQ(config, FaultsOf({"SIN*:noise=2", "COS*:drift=1"}, FaultConfig::kDefaultSeed));
    EXPECT_EQ(problems,
              (QStringList{
                  R"(The setting Fault2=junk cannot be used (":KIND=" is missing); it is left out.)",
                  "The setting Fault3=*:spike=3,1 cannot be used (the chance must be from 0 to 1); it is left out.",
                  "The setting FaultSeed=-5 cannot be used (a seed is a whole number from 0 to 2147483647); it is "
                  "left at its default.",
              }));
}

TEST(FaultSettings, AFileThatCannotBeWrittenIsReported)
{
    test::ScratchDir dir;
    const FaultSettings settings(dir.path("missing/VexaDisplay.ini"));
    EXPECT_FALSE(settings.WriteChanges(FaultConfig(), FaultsOf({"*:noise=1"}, 3)));
}

}  // namespace
}  // namespace vexa::server
