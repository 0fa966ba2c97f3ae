#include "server/ServerSettings.h"

#include "document/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace vexa::server {
namespace {

TEST(ServerSettings, AbsentKeysReadAsTheirDefaults)
{
    test::ScratchDir dir;
    const ServerSettings settings(dir.path("VexaDisplay.ini"));
    EXPECT_EQ(settings.dataPath(), 109);
    EXPECT_EQ(settings.port(), 1000);
}

TEST(ServerSettings, ValuesAreReadFromTheServersOwnSection)
{
    test::ScratchDir dir;
    const std::string file = dir.path("VexaDisplay.ini");
    test::WriteFileBytes(file,
                         "[VEXA Display]\r\nDataPath=110\r\nPort=7\r\n"
                         "[vexa-com]\r\ndatapath = 5\r\nPORT=\"4100\"\r\n");
    const ServerSettings settings(file);
    EXPECT_EQ(settings.dataPath(), 5);
    EXPECT_EQ(settings.port(), 4100);
}

TEST(ServerSettings, WritesAreDecimalAndLeaveOtherSectionsAlone)
{
    test::ScratchDir dir;
    const std::string file = dir.path("VexaDisplay.ini");
    test::WriteFileBytes(file, "[VEXA Display]\r\nHost=localhost\r\n");
    ServerSettings settings(file);
    ASSERT_TRUE(settings.setDataPath(110));
    ASSERT_TRUE(settings.setPort(-25));
    EXPECT_EQ(test::ReadFileBytes(file),
              "[VEXA Display]\r\nHost=localhost\r\n\r\n[VEXA-Com]\r\nDataPath=110\r\nPort=-25\r\n");
    EXPECT_EQ(settings.dataPath(), 110);
    EXPECT_EQ(settings.port(), -25);
}

TEST(ServerSettings, AFileThatCannotBeWrittenIsReported)
{
    test::ScratchDir dir;
    ServerSettings settings(dir.path("missing/VexaDisplay.ini"));
    EXPECT_FALSE(settings.setDataPath(110));
    EXPECT_FALSE(settings.setPort(2000));
    EXPECT_EQ(settings.dataPath(), 109);
}

}  // namespace
}  // namespace vexa::server
