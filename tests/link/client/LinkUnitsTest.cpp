#include "link/client/DdeClient.h"
#include "link/client/DdeErrors.h"
#include "link/client/LinkSettings.h"
#include "link/client/TimeField.h"
#include "document/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace vexa::link {
namespace {

constexpr double kAnyLocalTime = 45296.123;

TEST(TimeField, ServerTimesAreShownAsRemoteAndOthersAsThisComputersTime)
{
    struct Case {
        double field;
        const char* text;
    };
    const std::vector<Case> cases = {
        {45296.5, "Remote Time: 12:34:56.500"},
        {0.0, "Remote Time: 00:00:00.000"},
        {3661.25, "Remote Time: 01:01:01.250"},
        {86399.5, "Remote Time: 23:59:59.500"},
        // Anything that is no time of day gives way to the local time.
        {-1.0, "PC Time: 12:34:56.123"},
        {86400.0, "PC Time: 12:34:56.123"},
        {-0.5, "PC Time: 12:34:56.123"},
        {1e300, "PC Time: 12:34:56.123"},
        {std::numeric_limits<double>::quiet_NaN(), "PC Time: 12:34:56.123"},
        {std::numeric_limits<double>::infinity(), "PC Time: 12:34:56.123"},
    };
    for (const Case& c : cases) {
        const TimeReading reading = InterpretTimeField(c.field, kAnyLocalTime);
        EXPECT_EQ(TimeFieldText(reading), QString::fromLatin1(c.text)) << "field " << c.field;
        const bool remote = QString::fromLatin1(c.text).startsWith(QStringLiteral("Remote"));
        EXPECT_EQ(reading.remote, remote) << "field " << c.field;
        // The local time replaces the field; the server's own is kept.
        EXPECT_EQ(reading.secondsOfDay, remote ? c.field : kAnyLocalTime) << "field " << c.field;
    }
}

TEST(TimeField, LocalTimeOfDayLiesWithinTheDay)
{
    const double now = LocalSecondsOfDay();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, kSecondsPerDay);
    // Whole milliseconds, as the clock gives them.
    EXPECT_NEAR(now * 1000.0, std::round(now * 1000.0), 1e-3);
}

TEST(DdeErrors, EveryCodeOfTheTableHasItsNameAndOthersCountAsNoError)
{
    struct Case {
        unsigned code;
        const char* name;
    };
    const std::vector<Case> cases = {
        {0x0010, "Client Only Command"},
        {0x4000, "ADV Acknowledge Timeout"},
        {0x4001, "Busy"},
        {0x4002, "Data Acknowledge Timeout"},
        {0x4003, "DLL Not Initialized"},
        {0x4004, "DLL Usage"},
        {0x4005, "Exec Acknowledge Timeout"},
        {0x4006, "DDE Connection no longer valid, or invalid parameter passed to DDE"},
        {0x4007, "Low Memory"},
        {0x4008, "Memory Error"},
        {0x400A, "No Conversation Established"},
        {0x400B, "Poke Acknowledge Timeout"},
        {0x400C, "Post Message Failed"},
        {0x400D, "Reentrancy Error"},
        {0x400E, "Server Died"},
        {0x400F, "Sys Error"},
        {0x4010, "UNADVACKTimeout"},
        {0x4011, "Unfound Queue ID"},
        // Not an error on this platform.
        {0x4009, ""},
        {0, ""},
        {0x0011, ""},
        {0x3FFF, ""},
        {0x4012, ""},
        {0x14000, ""},
        {0xFFFFFFFF, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DdeErrorName(c.code), QString::fromLatin1(c.name)) << std::hex << "code 0x" << c.code;
}

TEST(DdeClientCalls, CallsWithoutBusOrConversationSetTheirErrorAndReadingResetsIt)
{
    DdeClient client;
    EXPECT_FALSE(client.poke(QStringLiteral("VEXAControl"), QByteArray(264, '\0')));
    EXPECT_EQ(client.lastError(), unsigned(kDdeDllNotInitialized));
    EXPECT_EQ(client.lastError(), unsigned(kDdeNoError));

    ASSERT_TRUE(client.initialize());
    EXPECT_FALSE(client.request(QStringLiteral("VEXAData")));
    EXPECT_EQ(client.lastError(), unsigned(kDdeInvalidParameter));
    EXPECT_FALSE(client.poke(QStringLiteral("VEXAControl"), QByteArray(264, '\0')));
    EXPECT_EQ(client.lastError(), unsigned(kDdeInvalidParameter));
    EXPECT_EQ(client.lastError(), unsigned(kDdeNoError));
}

class LinkSettingsFile : public ::testing::Test {
protected:
    void write(const std::string& contents)
    {
        vexa::test::WriteFileBytes(m_file, contents);
        profile::Flush(m_file);
    }
    vexa::test::ScratchDir m_dir;
    std::string m_file = m_dir.path("VexaDisplay.ini");
};

TEST_F(LinkSettingsFile, AnyValueInAnyKeyLoadsByTheRules)
{
    const std::string longHost(5000, 'h');
    struct Case {
        std::string contents;
        LinkSettings expected;
    };
    const std::vector<Case> cases = {
        {"", {kSourceDde, "localhost", 1000}},
        {"[VEXA Display]\r\nDataSource=7\r\n", {kSourceDde, "localhost", 1000}},
        {"[VEXA Display]\r\nDataSource=-250\r\n", {kSourceDde, "localhost", 1000}},
        {"[VEXA Display]\r\nDataSource=abc\r\n", {kSourceDde, "localhost", 1000}},
        {"[VEXA Display]\r\nDataSource=251\r\n", {kSourceNone, "localhost", 1000}},
        {"[vexa display]\r\ndatasource= 250 \r\n", {kSourceEthernet, "localhost", 1000}},
        // Host and port count only for Ethernet.
        {"[VEXA Display]\r\nDataSource=249\r\nHost=far\r\nPort=5\r\n", {kSourceDde, "localhost", 1000}},
        {"[VEXA Display]\r\nDataSource=250\r\nHost=far\r\nPort=2000\r\n", {kSourceEthernet, "far", 2000}},
        {"[VEXA Display]\r\nDataSource=250\r\nPort=abc\r\n", {kSourceEthernet, "localhost", 0}},
        {"[VEXA Display]\r\nDataSource=250\r\nPort=70000\r\n", {kSourceEthernet, "localhost", 4464}},
        {"[VEXA Display]\r\nDataSource=250\r\nPort=-1\r\n", {kSourceEthernet, "localhost", 65535}},
        {"[VEXA Display]\r\nDataSource=250\r\nPort=99999999999999\r\n", {kSourceEthernet, "localhost", 65535}},
        {"[VEXA Display]\r\nDataSource=250\r\nPort=\r\n", {kSourceEthernet, "localhost", 1000}},
        {"[VEXA Display]\r\nDataSource=250\r\nHost=" + longHost + "\r\n",
         {kSourceEthernet, std::string(49, 'h'), 1000}},
        {"[VEXA Display]\r\nDataSource=250\r\nHost=\"quoted\"\r\n", {kSourceEthernet, "quoted", 1000}},
    };
    for (const Case& c : cases) {
        write(c.contents);
        const LinkSettings loaded = LoadLinkSettings(m_file);
        EXPECT_EQ(loaded.source, c.expected.source) << c.contents.substr(0, 80);
        EXPECT_EQ(loaded.host, c.expected.host) << c.contents.substr(0, 80);
        EXPECT_EQ(loaded.port, c.expected.port) << c.contents.substr(0, 80);
    }
}

TEST_F(LinkSettingsFile, StoringWritesTheSourceAndForEthernetTheHostAndPort)
{
    write("[VEXA Display]\r\nOther=1\r\n");
    ASSERT_TRUE(StoreLinkSettings({kSourceNone, "ignored", 7}, m_file));
    EXPECT_EQ(profile::ListKeys(kLinkSection, m_file), (std::vector<std::string>{"Other", "DataSource"}));
    EXPECT_EQ(profile::ReadString(kLinkSection, "DataSource", "", m_file), "251");

    const LinkSettings ethernet{kSourceEthernet, "data-host", 4464};
    ASSERT_TRUE(StoreLinkSettings(ethernet, m_file));
    EXPECT_EQ(profile::ReadString(kLinkSection, "DataSource", "", m_file), "250");
    EXPECT_EQ(profile::ReadString(kLinkSection, "Port", "", m_file), "4464");
    EXPECT_EQ(profile::ReadString(kLinkSection, "Host", "", m_file), "data-host");
    EXPECT_EQ(LoadLinkSettings(m_file), ethernet);
}

TEST_F(LinkSettingsFile, StoringIntoAnUnwritablePlaceFails)
{
    EXPECT_FALSE(StoreLinkSettings({kSourceDde, "localhost", 1000}, m_dir.path("missing/dir/VexaDisplay.ini")));
}

}  // namespace
}  // namespace vexa::link
