#include "link/client/ServerStarter.h"

#include "link/protocol/WireFormat.h"
#include "platform/PresenceMarker.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFileInfo>

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>

#include <optional>
#include <string>

namespace vexa::link {
namespace {

/// Only so that a server that will not go cannot hang the run.
constexpr int kServerExitWaitMs = 30000;
constexpr int kExitPollIntervalMs = 50;

/// Sets an environment variable for the lifetime of the object.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const QByteArray& value)
        : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_previous = qgetenv(name);
        qputenv(name, value);
    }
    ~EnvironmentOverride()
    {
        if (m_previous)
            qputenv(m_name, *m_previous);
        else
            qunsetenv(m_name);
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_previous;
};

QByteArray ServerDirectory()
{
    return QFileInfo(QString::fromUtf8(VEXALINK_PATH)).absolutePath().toLocal8Bit();
}

/// Ends a server this test started and waits until its marker is free.
void StopServer(qint64 pid)
{
    ASSERT_GT(pid, 0);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    const QDeadlineTimer deadline(kServerExitWaitMs);
    while (IsServerRunning() && !deadline.hasExpired())
        ::poll(nullptr, 0, kExitPollIntervalMs);
    EXPECT_FALSE(IsServerRunning());
}

class ServerStarterTest : public ::testing::Test {
protected:
    ServerStarterTest()
    {
        // A settings file of its own, so that the started server takes its
        // defaults whatever other tests stored.
        ::mkdir(m_scratch.path("config").c_str(), 0700);
    }

    void SetUp() override { ASSERT_FALSE(IsServerRunning()) << "a server is left from elsewhere"; }

    test::ScratchDir m_scratch;
    EnvironmentOverride m_path{"PATH", ServerDirectory()};
    EnvironmentOverride m_config{"XDG_CONFIG_HOME", QByteArray::fromStdString(m_scratch.path("config"))};
    test::ScriptedMessages m_messages;
};

TEST(ServerStartWanted, ForTheLocalPathAndForEthernetToLocalhost)
{
    const struct {
        int source;
        const char* host;
        bool wanted;
    } cases[] = {
        {kSourceDde, "plant7", true},          {kSourceEthernet, "localhost", true},
        {kSourceEthernet, "LOCALHOST", true},  {kSourceEthernet, "LocalHost", true},
        {kSourceEthernet, "127.0.0.1", false}, {kSourceEthernet, "localhost.", false},
        {kSourceEthernet, "plant7", false},    {kSourceNone, "localhost", false},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(IsServerStartWanted(LinkSettings{each.source, each.host, kDefaultPort}), each.wanted)
            << each.source << " " << each.host;
    }
}

TEST_F(ServerStarterTest, TheServerIsFoundOnThePath)
{
    EXPECT_EQ(ServerProgramPath(), QFileInfo(QString::fromUtf8(VEXALINK_PATH)).absoluteFilePath());
}

TEST_F(ServerStarterTest, StartsAServerWhenNoneRunsAndWaitsForIt)
{
    const LinkSettings cases[] = {
        {kSourceDde, kDefaultHost, kDefaultPort},
        {kSourceEthernet, "LOCALHOST", kDefaultPort},
    };
    for (const LinkSettings& settings : cases) {
        SCOPED_TRACE(settings.source);
        qint64 pid = 0;
        EXPECT_EQ(StartServerIfNeeded(nullptr, true, settings, &pid), ServerStart::Started);
        EXPECT_TRUE(IsServerRunning());
        StopServer(pid);
    }
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(ServerStarterTest, StartsNoServerWhenNotWanted)
{
    const struct {
        bool checked;
        LinkSettings settings;
    } cases[] = {
        {false, {kSourceDde, kDefaultHost, kDefaultPort}},
        {true, {kSourceEthernet, "127.0.0.1", kDefaultPort}},
        {true, {kSourceNone, kDefaultHost, kDefaultPort}},
    };
    for (const auto& each : cases) {
        qint64 pid = 0;
        EXPECT_EQ(StartServerIfNeeded(nullptr, each.checked, each.settings, &pid), ServerStart::NotWanted);
        EXPECT_EQ(pid, 0);
        EXPECT_FALSE(IsServerRunning());
    }
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(ServerStarterTest, StartsNoSecondServer)
{
    PresenceMarker running(kServerWindowTitle);
    ASSERT_TRUE(running.hold());
    qint64 pid = 0;
    EXPECT_EQ(StartServerIfNeeded(nullptr, true, LinkSettings{}, &pid), ServerStart::AlreadyRunning);
    EXPECT_EQ(pid, 0);
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(ServerStarterTest, AServerThatCannotBeStartedIsReported)
{
    const std::string empty = m_scratch.path("empty");
    ::mkdir(empty.c_str(), 0700);
    const EnvironmentOverride path("PATH", QByteArray::fromStdString(empty));
    ASSERT_TRUE(ServerProgramPath().isEmpty());

    EXPECT_EQ(StartServerIfNeeded(nullptr, true, LinkSettings{}), ServerStart::Failed);
    ASSERT_EQ(m_messages.calls().size(), 2u);
    EXPECT_TRUE(m_messages.calls()[0].isBeep);
    const MessageRequest& box = m_messages.calls()[1].request;
    EXPECT_EQ(box.text, QStringLiteral("vexalink"));
    EXPECT_EQ(box.caption, QStringLiteral("Error Starting Application"));
    EXPECT_EQ(box.icon, MessageIcon::Stop);
    EXPECT_FALSE(IsServerRunning());
}

}  // namespace
}  // namespace vexa::link
