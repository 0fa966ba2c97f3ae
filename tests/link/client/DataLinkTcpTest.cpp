#include "LinkTestSupport.h"

#include "link/client/DataLink.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"
#include "link/sockets/Sockets.h"
#include "platform/TerminationSignals.h"
#include "support/TestSupport.h"

#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <limits>
#include <memory>
#include <vector>

namespace vexa::link::test {
namespace {

/// Long enough for a real server on this machine, short enough that a
/// missing answer does not hold the run up for the full ten seconds.
constexpr int kTestWaitSeconds = 2;
/// The shortest wait: it gives up at the next tick of the one-second clock.
constexpr int kShortestWait = 0;
/// A wait no test outlives: a test that enters it hangs and fails.
constexpr int kHangingWait = 3600;
/// Long enough for a signal raised in this process to reach the event loop.
constexpr int kSignalWaitMs = 5000;

const QString kFailure = QString::fromLatin1(DataLink::kFailureText);

class TcpLink : public LinkFixture {
protected:
    void SetUp() override { sockets::SetReceiveWaitLimitSeconds(kTestWaitSeconds); }
    void TearDown() override { sockets::SetReceiveWaitLimitSeconds(sockets::kReceiveWaitLimitSeconds); }

    void useEthernet(int port) { m_link.setSettings({kSourceEthernet, "localhost", std::uint16_t(port)}); }

    /// Sends a layout of \p names to the fake server and takes its connection.
    void connectFake(const QList<QByteArray>& names)
    {
        useEthernet(m_fake.port());
        SetLayout(m_link.layout(), "/data/plain.mvx", names);
        m_link.SendLayout();
        ASSERT_TRUE(m_link.isConnected());
        ASSERT_TRUE(m_fake.accept());
        ASSERT_EQ(m_fake.received(), BuildLayoutMessage(m_link.layout()));
    }

    /// The answer of the server at \p port to a request of its own: the
    /// request and the end of the stream are sent, and the server closes
    /// the connection once it has answered.
    static QByteArray ServerAnswer(int port)
    {
        RawTcpClient raw(port);
        if (!raw.send(BuildSampleRequest()))
            return {};
        raw.halfClose();
        return raw.receiveToEnd();
    }

    FakeTcpServer m_fake;
};

TEST_F(TcpLink, RealServerTakesTheLayoutAndAnswersEveryRequestWithItsValues)
{
    const int port = FreePort();
    ServerProcess server(port);
    ASSERT_TRUE(server.isServing());
    useEthernet(port);
    SetLayout(m_link.layout(), kSimulatePath, RandomNames(3));
    constexpr double kUntouched = 777.0;
    m_link.sample().setValue(3, kUntouched);

    m_link.SendLayout();
    ASSERT_TRUE(m_link.isConnected());
    EXPECT_EQ(m_host.connection(), QStringLiteral("Connected to ethernet server 'localhost:%1'").arg(port));
    EXPECT_EQ(m_host.reconnectStates, std::vector<bool>{false});
    EXPECT_EQ(m_link.expectedLength(), 32);
    // The server has three names in force: its answers are 8 + 3 x 8 bytes.
    EXPECT_EQ(ServerAnswer(port).size(), 32);

    for (int tick = 0; tick < 3; ++tick) {
        m_link.FetchSample();
        EXPECT_TRUE(m_host.sampleTime().startsWith(QStringLiteral("Remote Time: "))) << m_host.sampleTime().toStdString();
        EXPECT_TRUE(HasRandomValues(m_link.sample(), 3)) << "tick " << tick;
        EXPECT_EQ(m_link.sample().value(3), kUntouched);
    }
    EXPECT_EQ(m_host.sampleTimes.size(), 3);

    m_link.Disconnect();
    EXPECT_FALSE(m_link.isConnected());
    EXPECT_EQ(m_host.connection(), QString());
    EXPECT_TRUE(m_host.isReconnectEnabled());
    EXPECT_TRUE(m_messages.boxes().empty());
    EXPECT_FALSE(sockets::SocketsStarted());
}

TEST_F(TcpLink, KilledServerGivesOneFailureAndReconnectingResendsTheLayout)
{
    const int port = FreePort();
    auto server = std::make_unique<ServerProcess>(port);
    ASSERT_TRUE(server->isServing());
    useEthernet(port);
    SetLayout(m_link.layout(), kSimulatePath, RandomNames(3));
    m_link.SendLayout();
    m_link.FetchSample();
    ASSERT_TRUE(m_messages.boxes().empty());

    server->kill();
    m_link.FetchSample();
    expectOneFailureBox(QStringLiteral("Unable to read data packet from server."));
    // Timers keep firing on a closed link; they find nothing to do.
    m_link.FetchSample();
    EXPECT_EQ(m_messages.boxes().size(), 1u);
    m_messages.clear();

    server.reset();
    server = std::make_unique<ServerProcess>(port);
    ASSERT_TRUE(server->isServing());
    // A new server has no layout: its answers are the time alone.
    EXPECT_EQ(ServerAnswer(port).size(), 8);

    ASSERT_TRUE(m_link.Connect());
    EXPECT_FALSE(m_host.isReconnectEnabled());
    m_link.SendLayout();
    EXPECT_EQ(ServerAnswer(port).size(), 32);
    m_link.FetchSample();
    EXPECT_TRUE(HasRandomValues(m_link.sample(), 3));
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(TcpLink, NoServerShowsTheConnectFailureThenTheLayoutFailure)
{
    useEthernet(FreePort());
    SetLayout(m_link.layout(), kSimulatePath, RandomNames(2));
    m_link.SendLayout();

    const std::vector<MessageRequest> boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Unable to Initialize Ethernet communications"));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("VEXA Display"));
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(boxes[1].text,
              QStringLiteral("Unable to send measurement layout data to VEXA-Display server\n\n") + kFailure);
    EXPECT_EQ(boxes[1].icon, MessageIcon::Stop);
    EXPECT_FALSE(m_link.isConnected());
    // The user can try again, and nothing of the failed attempt is held.
    EXPECT_TRUE(m_host.isReconnectEnabled());
    EXPECT_FALSE(sockets::SocketsStarted());
}

TEST_F(TcpLink, TheTimeFieldIsShownAndReplacedWhenItIsNoTimeOfDay)
{
    connectFake({"X"});
    struct Case {
        double field;
        const char* text;  ///< nullptr: this computer's time
    };
    const std::vector<Case> cases = {
        {45296.5, "Remote Time: 12:34:56.500"},
        {-1.0, nullptr},
        {0.0, "Remote Time: 00:00:00.000"},
        {86400.0, nullptr},
        {std::numeric_limits<double>::quiet_NaN(), nullptr},
    };
    const QRegularExpression localText(QStringLiteral(R"(^PC Time: (\d\d):(\d\d):(\d\d)\.(\d\d\d)$)"));
    for (int i = 0; i < int(cases.size()); ++i) {
        const Case& c = cases[i];
        ASSERT_TRUE(m_fake.answer(SampleAnswer(c.field, {double(i)})));
        m_link.FetchSample();
        EXPECT_EQ(m_link.sample().value(0), double(i));
        EXPECT_EQ(m_fake.received(), BuildSampleRequest());
        const double stored = m_link.sample().timeOfDay();
        if (c.text != nullptr) {
            EXPECT_EQ(m_host.sampleTime(), QString::fromLatin1(c.text));
            EXPECT_EQ(stored, c.field);
            continue;
        }
        // The local time shown is the one written over the field.
        const QRegularExpressionMatch shown = localText.match(m_host.sampleTime());
        ASSERT_TRUE(shown.hasMatch()) << m_host.sampleTime().toStdString();
        ASSERT_TRUE(stored >= 0.0 && stored < 86400.0) << stored;
        const double shownSeconds = shown.captured(1).toInt() * 3600.0 + shown.captured(2).toInt() * 60.0 +
                                    shown.captured(3).toInt() + shown.captured(4).toInt() / 1000.0;
        EXPECT_NEAR(shownSeconds, stored, 0.0005);
    }
    EXPECT_EQ(m_host.sampleTimes.size(), qsizetype(cases.size()));
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(TcpLink, AnAnswerThatDoesNotComeInTimeIsReadAsTheNextAnswer)
{
    connectFake({"X"});
    sockets::SetReceiveWaitLimitSeconds(kShortestWait);
    m_link.sample().setTimeOfDay(45296.5);
    m_link.sample().setValue(0, 5.0);

    m_link.FetchSample();
    EXPECT_TRUE(m_link.isConnected());
    EXPECT_EQ(m_link.sample().value(0), 5.0);
    EXPECT_EQ(m_host.sampleTime(), QStringLiteral("Remote Time: 12:34:56.500"));

    ASSERT_TRUE(m_fake.answer(SampleAnswer(3661.25, {7.0})));
    m_link.FetchSample();
    EXPECT_EQ(m_link.sample().value(0), 7.0);
    EXPECT_EQ(m_host.sampleTime(), QStringLiteral("Remote Time: 01:01:01.250"));
    EXPECT_EQ(m_fake.received(), QByteArray("??"));
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(TcpLink, ThisComputersTimeStaysLabelledSoWhenNoAnswerCame)
{
    connectFake({"X"});
    sockets::SetReceiveWaitLimitSeconds(kShortestWait);
    ASSERT_TRUE(m_fake.answer(SampleAnswer(-1.0, {1.0})));
    m_link.FetchSample();
    ASSERT_TRUE(m_host.sampleTime().startsWith(QStringLiteral("PC Time: ")));

    m_link.FetchSample();
    EXPECT_EQ(m_host.sampleTimes.size(), 2);
    EXPECT_TRUE(m_host.sampleTime().startsWith(QStringLiteral("PC Time: "))) << m_host.sampleTime().toStdString();
    EXPECT_TRUE(m_link.isConnected());
}

TEST_F(TcpLink, AnAnswerThatStallsFailsTheLinkOnceAndLaterTicksDoNotWait)
{
    connectFake(RandomNames(3));
    sockets::SetReceiveWaitLimitSeconds(kShortestWait);
    m_link.sample().setValue(0, 1.0);
    const QByteArray answer = SampleAnswer(45296.5, {10.0, 20.0, 30.0});
    constexpr int kDelivered = 3;
    ASSERT_TRUE(m_fake.answer(answer.left(kDelivered)));

    m_link.FetchSample();
    expectOneFailureBox(QStringLiteral("Unable to read data packet from server."));
    EXPECT_EQ(QByteArray(m_link.sample().data(), kDelivered), answer.left(kDelivered));
    EXPECT_EQ(m_link.sample().value(0), 1.0);

    // The next ticks find the link closed: no wait, no request, no box.
    sockets::SetReceiveWaitLimitSeconds(kHangingWait);
    m_link.FetchSample();
    m_link.FetchSample();
    EXPECT_EQ(m_messages.boxes().size(), 1u);
    EXPECT_EQ(m_fake.received(), BuildSampleRequest()) << "only the first tick asked";
}

TEST_F(TcpLink, ATerminationSignalEndsTheWaitAtOnceWithoutABox)
{
    int arrived = 0;
    QObject owner;
    TerminationSignals termination([&arrived] { ++arrived; }, &owner);
    ASSERT_TRUE(termination.isInstalled());
    connectFake(RandomNames(3));
    // A wait the test would not outlive: only the signal can end it.
    sockets::SetReceiveWaitLimitSeconds(kHangingWait);

    for (const int delivered : {0, 3}) {
        SCOPED_TRACE(delivered);
        ASSERT_TRUE(m_fake.answer(SampleAnswer(10.0, {1.0, 2.0, 3.0}).left(delivered)));
        ASSERT_EQ(std::raise(SIGTERM), 0);
        m_link.FetchSample();
        EXPECT_TRUE(m_messages.boxes().empty());
        // The signal is still there for the event loop, which ends the program.
        EXPECT_TRUE(QTest::qWaitFor([&] { return arrived == (delivered == 0 ? 1 : 2); }, kSignalWaitMs));
    }
    // A cut answer closed the link, quietly: the program is ending anyway.
    EXPECT_FALSE(m_link.isConnected());
}

TEST_F(TcpLink, BytesBeyondTheExpectedLengthBeginTheNextAnswer)
{
    connectFake({"X"});
    // The server has two names in force where the link asked for one.
    ASSERT_TRUE(m_fake.answer(SampleAnswer(100.0, {1.0, 9.0}) + SampleAnswer(200.0, {2.0, 9.0})));

    m_link.FetchSample();
    EXPECT_EQ(m_link.sample().timeOfDay(), 100.0);
    EXPECT_EQ(m_link.sample().value(0), 1.0);
    EXPECT_EQ(m_link.sample().value(1), 0.0);

    m_link.FetchSample();
    EXPECT_EQ(m_link.sample().timeOfDay(), 9.0);
    EXPECT_EQ(m_link.sample().value(0), 200.0);
    EXPECT_EQ(m_host.sampleTime(), QStringLiteral("Remote Time: 00:00:09.000"));
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(TcpLink, AServerThatClosesInTheMiddleOfAnAnswerFailsTheLinkOnce)
{
    connectFake(RandomNames(3));
    const QByteArray answer = SampleAnswer(45296.5, {10.0, 20.0, 30.0});
    ASSERT_TRUE(m_fake.answer(answer.left(12)));
    m_fake.endStream();

    m_link.FetchSample();
    expectOneFailureBox(QStringLiteral("Unable to read data packet from server."));
    // What came before the end is taken, and its time shown.
    EXPECT_EQ(QByteArray(m_link.sample().data(), 12), answer.left(12));
    EXPECT_EQ(m_host.sampleTimes, QStringList{QStringLiteral("Remote Time: 12:34:56.500")});
}

TEST_F(TcpLink, AServerThatClosesBetweenRequestsFailsTheLinkOnce)
{
    connectFake({"X"});
    ASSERT_TRUE(m_fake.answer(SampleAnswer(10.0, {4.0})));
    m_link.FetchSample();
    ASSERT_TRUE(m_messages.boxes().empty());
    m_fake.endStream();

    m_link.FetchSample();
    expectOneFailureBox(QStringLiteral("Unable to read data packet from server."));
    EXPECT_EQ(m_link.sample().value(0), 4.0);
    m_link.FetchSample();
    EXPECT_EQ(m_messages.boxes().size(), 1u);
}

TEST_F(TcpLink, AResetStreamFailsTheRequestWithoutASecondBoxForTheClose)
{
    connectFake({"X"});
    ASSERT_TRUE(m_fake.reset());

    m_link.FetchSample();
    expectOneFailureBox(QStringLiteral("Unable to send command to data server."));
}

TEST_F(TcpLink, ClosingAResetStreamByHandTellsTheUser)
{
    connectFake({"X"});
    ASSERT_TRUE(m_fake.reset());

    m_link.Disconnect();
    const std::vector<MessageRequest> boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Unable to close ethernet connection"));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("VEXA Display"));
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(m_link.isConnected());
    EXPECT_FALSE(sockets::SocketsStarted());
}

TEST_F(TcpLink, OfflineSendsNothingAndLeavesTheSampleAsItIs)
{
    m_link.setSettings({kSourceNone, "localhost", std::uint16_t(m_fake.port())});
    SetLayout(m_link.layout(), kSimulatePath, RandomNames(2));
    m_link.sample().setValue(0, 3.5);

    m_link.SendLayout();
    ASSERT_TRUE(m_link.isConnected());
    EXPECT_EQ(m_host.connection(), QStringLiteral("Offline"));
    m_link.FetchSample();
    EXPECT_EQ(m_link.sample().value(0), 3.5);
    EXPECT_TRUE(m_host.sampleTimes.isEmpty());
    EXPECT_FALSE(m_fake.accept()) << "offline makes no connection";

    m_link.Disconnect();
    EXPECT_EQ(m_host.connection(), QString());
    // "Re-Connect To Data Server" means nothing offline and is left alone.
    EXPECT_TRUE(m_host.reconnectStates.empty());
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(TcpLink, AnUnknownSourceIsRefusedAtConnect)
{
    m_link.setSettings({7, "localhost", 1000});
    EXPECT_FALSE(m_link.Connect());
    const std::vector<MessageRequest> boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("ERROR: No Data Source selected. Please configure VEXA-Display"));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("VEXA Display"));
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(m_link.isConnected());
}

TEST_F(TcpLink, AnEmptyLayoutIsNeverSent)
{
    useEthernet(m_fake.port());
    m_link.SendLayout();
    EXPECT_FALSE(m_link.isConnected());
    EXPECT_FALSE(m_fake.accept());
    EXPECT_TRUE(m_messages.boxes().empty());
}

}  // namespace
}  // namespace vexa::link::test
