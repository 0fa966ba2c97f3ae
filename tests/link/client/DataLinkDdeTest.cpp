#include "LinkTestSupport.h"

#include "link/client/DataLink.h"
#include "link/client/DdeClient.h"
#include "link/client/DdeErrors.h"
#include "link/protocol/WireFormat.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vexa::link::test {
namespace {

constexpr int kAnswerWaitMs = 5000;
constexpr double kUntouched = 777.0;

const QString kFailure = QString::fromLatin1(DataLink::kFailureText);
const QString kNoServerText =
    QStringLiteral("ERROR: Communications failure. Unable to connect to VEXA-Display Data Server.");

bool IsServerOnTheBus()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(QString(kBusName)).value();
}

class DdeLink : public LinkFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "the tests need a session bus";
        m_link.setSettings({kSourceDde, "localhost", 1000});
        SetLayout(m_link.layout(), kSimulatePath, RandomNames(3));
    }

    /// Asks for a sample and waits until its answer has been taken.
    bool fetchAndWait()
    {
        QSignalSpy arrived(&m_link, &DataLink::sampleArrived);
        m_link.FetchSample();
        // An answer that is in before the request call returns is taken at
        // once, so the signal may already have come.
        return QTest::qWaitFor([&arrived] { return !arrived.isEmpty(); }, kAnswerWaitMs);
    }

};

TEST_F(DdeLink, WithoutAServerNoConversationIsEstablished)
{
    ASSERT_FALSE(IsServerOnTheBus());
    EXPECT_FALSE(m_link.Connect());
    EXPECT_EQ(DdeErrorName(m_link.ddeClient().lastError()), QStringLiteral("No Conversation Established"));
    std::vector<MessageRequest> boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kNoServerText);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("VEXA Display"));
    EXPECT_EQ(boxes[0].icon, MessageIcon::Stop);
    EXPECT_FALSE(m_link.isConnected());
    EXPECT_TRUE(m_host.isReconnectEnabled());
    EXPECT_FALSE(m_link.ddeClient().isInitialized()) << "a failed connect holds nothing";

    m_messages.clear();
    m_link.SendLayout();
    boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, kNoServerText);
    EXPECT_EQ(boxes[1].text,
              QStringLiteral("Unable to send measurement layout data to VEXA-Display server\n\n") + kFailure);
}

TEST_F(DdeLink, RealServerTakesTheLayoutAndAnswersWithAtMostTheExpectedLength)
{
    ServerProcess server(0);
    ASSERT_TRUE(server.isServing());
    m_link.sample().setValue(3, kUntouched);
    m_link.sample().setValue(4, kUntouched);

    m_link.SendLayout();
    ASSERT_TRUE(m_link.isConnected());
    EXPECT_EQ(m_host.connection(), QStringLiteral("Connected to DDE server"));
    EXPECT_EQ(m_host.reconnectStates, std::vector<bool>{false});
    {
        BusClient bus;
        const LayoutBlock served = ServerLayout(bus);
        EXPECT_EQ(served.path(), QByteArray(kSimulatePath));
        ASSERT_EQ(served.count(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(served.name(i), RandomNames(3)[i]);
    }

    ASSERT_TRUE(fetchAndWait());
    EXPECT_TRUE(m_host.sampleTime().startsWith(QStringLiteral("Remote Time: "))) << m_host.sampleTime().toStdString();
    EXPECT_TRUE(HasRandomValues(m_link.sample(), 3));
    EXPECT_EQ(m_link.sample().value(3), kUntouched);

    {
        // Another client gives the server five names; the link still takes
        // only the three it asked for.
        BusClient bus;
        LayoutBlock five(kDisplayLayoutNames);
        SetLayout(five, kSimulatePath, RandomNames(5));
        bus.poke(bus.connect(), QString(kControlItem), five.wireBytes());
        ASSERT_EQ(ServerLayout(bus).count(), 5);
    }
    ASSERT_TRUE(fetchAndWait());
    EXPECT_TRUE(HasRandomValues(m_link.sample(), 3));
    EXPECT_EQ(m_link.sample().value(3), kUntouched);
    EXPECT_EQ(m_link.sample().value(4), kUntouched);

    m_link.Disconnect();
    EXPECT_FALSE(m_link.isConnected());
    EXPECT_EQ(m_host.connection(), QString());
    EXPECT_TRUE(m_host.isReconnectEnabled());
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(DdeLink, FetchesWhileARequestIsOnItsWayShareItsAnswer)
{
    ServerProcess server(0);
    ASSERT_TRUE(server.isServing());
    m_link.SendLayout();
    ASSERT_TRUE(m_link.isConnected());

    // Ticks that fall together: the first asks, the others wait for its
    // answer (a busy machine may hold this test up once between two ticks).
    QSignalSpy arrived(&m_link, &DataLink::sampleArrived);
    constexpr int kTicks = 5;
    for (int tick = 0; tick < kTicks; ++tick)
        m_link.FetchSample();
    ASSERT_TRUE(QTest::qWaitFor([&arrived] { return !arrived.isEmpty(); }, kAnswerWaitMs));
    QTest::qWait(vexa::test::kQuietPeriodMs);
    EXPECT_LE(arrived.size(), 2);

    // Once it is in, the next tick asks again.
    ASSERT_TRUE(fetchAndWait());
    EXPECT_TRUE(HasRandomValues(m_link.sample(), 3));
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(DdeLink, APendingErrorFailsTheNextFetchWithItsName)
{
    ServerProcess server(0);
    ASSERT_TRUE(server.isServing());
    m_link.SendLayout();
    ASSERT_TRUE(m_link.isConnected());

    m_link.ddeClient().setLastError(kDdeServerDied);
    m_link.FetchSample();
    expectOneFailureBox(QStringLiteral("Server Died"));

    // A successful reconnect grays "Re-Connect To Data Server" again.
    m_messages.clear();
    ASSERT_TRUE(m_link.Connect());
    EXPECT_FALSE(m_host.isReconnectEnabled());
    m_link.SendLayout();
    ASSERT_TRUE(fetchAndWait());
    EXPECT_TRUE(HasRandomValues(m_link.sample(), 3));
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(DdeLink, AKilledServerDiesOnceAndReconnectingResendsTheLayout)
{
    auto server = std::make_unique<ServerProcess>(0);
    ASSERT_TRUE(server->isServing());
    m_link.SendLayout();
    ASSERT_TRUE(fetchAndWait());

    server->kill();
    // A request already on its way when the server goes fails with it.
    m_link.FetchSample();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_link.ddeClient().hasConversation(); }, kAnswerWaitMs));
    m_link.FetchSample();
    expectOneFailureBox(QStringLiteral("Server Died"));
    // A fetch on the closed link asks nothing, so nothing comes of it later
    // through the event loop either; only watching for a while can show that.
    m_link.FetchSample();
    QTest::qWait(vexa::test::kQuietPeriodMs);
    EXPECT_EQ(m_messages.boxes().size(), 1u);
    m_messages.clear();

    server.reset();
    server = std::make_unique<ServerProcess>(0);
    ASSERT_TRUE(server->isServing());
    {
        BusClient bus;
        ASSERT_EQ(ServerLayout(bus).count(), 0) << "a new server starts without a layout";
    }
    ASSERT_TRUE(m_link.Connect());
    m_link.SendLayout();
    {
        BusClient bus;
        EXPECT_EQ(ServerLayout(bus).count(), 3);
    }
    ASSERT_TRUE(fetchAndWait());
    EXPECT_TRUE(HasRandomValues(m_link.sample(), 3));
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(DdeLink, CallsOnAForgottenConversationFailAtTheNextFetch)
{
    ServerProcess server(0);
    ASSERT_TRUE(server.isServing());
    m_link.SendLayout();
    ASSERT_TRUE(m_link.isConnected());

    m_link.ddeClient().disconnectConversation();
    // The layout's poke is not examined; its error waits for the fetch.
    m_link.SendLayout();
    EXPECT_TRUE(m_messages.boxes().empty());
    m_link.FetchSample();
    expectOneFailureBox(
        QStringLiteral("DDE Connection no longer valid, or invalid parameter passed to DDE"));
}

}  // namespace
}  // namespace vexa::link::test
