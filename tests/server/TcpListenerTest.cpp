// The TCP transport in this process, so that its log lines, its error boxes
// and its connection records can be seen.

#include "TransportTestSupport.h"

#include "link/protocol/TcpMessages.h"
#include "link/sockets/Sockets.h"
#include "server/TcpListener.h"
#include "server/engine/DataPath.h"
#include "server/engine/SampleEngine.h"
#include "support/TestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

namespace vexa::server::test {
namespace {

using vexa::test::kWaitTimeoutMs;
using vexa::test::RawTcpListener;

/// The listener under test answers in this thread's event loop, which the
/// client's waits keep turning.
constexpr RawTcpClient::Peer kInProcess = RawTcpClient::Peer::ThisProcess;

class TcpListenerInProcess : public ::testing::Test {
protected:
    RecordingLog log;
    SampleEngine engine{log, kDataPathTcpIp};
    vexa::test::ScriptedMessages messages;
    TcpListener listener{engine, log, nullptr};
};

TEST_F(TcpListenerInProcess, StartingLogsTheHostAndPort)
{
    const int port = FreePort();
    ASSERT_TRUE(listener.start(port));
    EXPECT_EQ(QStringLiteral("Ethernet communications initialized"), log.texts.value(0));
    ASSERT_EQ(2, log.texts.size());
    EXPECT_TRUE(log.texts[1].startsWith(QStringLiteral("My HostName: ")));
    EXPECT_TRUE(log.texts[1].endsWith(QStringLiteral("\nMy Listen Port: %1").arg(port)));
    EXPECT_TRUE(messages.calls().empty());
}

TEST_F(TcpListenerInProcess, APortInUseIsReportedAndLogged)
{
    const int port = FreePort();
    {
        const RawTcpListener holder(port, RawTcpListener::Address::Any);
        ASSERT_TRUE(holder.isListening());
        EXPECT_FALSE(listener.start(port));
    }
    const std::vector<MessageRequest> boxes = messages.boxes();
    ASSERT_EQ(1u, boxes.size());
    const MessageRequest& box = boxes[0];
    EXPECT_EQ(QStringLiteral("Bind Error (Port %1)").arg(port), box.caption);
    EXPECT_TRUE(box.text.startsWith(
        QStringLiteral("The specified address is already in use. (See the SO_REUSEADDR socket option "
                       "under setsockopt.)\n\nCalled by: ")));
    EXPECT_EQ(MessageIcon::Information, box.icon);
    EXPECT_EQ(QStringList{QStringLiteral("ERROR: Unable to initialize TCP/IP communications")}, log.texts);
    EXPECT_FALSE(listener.isListening());
}

TEST_F(TcpListenerInProcess, ConnectionRecordsFollowTheConnections)
{
    const int port = FreePort();
    ASSERT_TRUE(listener.start(port));
    {
        RawTcpClient first(port, kInProcess);
        RawTcpClient second(port, kInProcess);
        EXPECT_TRUE(QTest::qWaitFor([&] { return listener.connectionCount() == 2; }, kWaitTimeoutMs));
        second.reset();  // a reset closes its record too
        EXPECT_TRUE(QTest::qWaitFor([&] { return listener.connectionCount() == 1; }, kWaitTimeoutMs));
        EXPECT_EQ(8, RequestSample(first, 0).size());
    }
    // Connecting and closing at once leaves no record behind.
    for (int i = 0; i < 20; ++i) {
        RawTcpClient brief(port, kInProcess);
        if (i % 2 == 0) {
            brief.reset();
        } else {
            brief.close();
        }
        // The listener accepts in this thread's event loop, and its backlog
        // is short: each connection is taken before the next is made.
        ASSERT_TRUE(brief.waitUntilAccepted()) << i;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.connectionCount() == 0; }, kWaitTimeoutMs));
    EXPECT_TRUE(messages.calls().empty());
}

TEST_F(TcpListenerInProcess, AVerboseLayoutLogsItsLengthAndItsNames)
{
    const int port = FreePort();
    ASSERT_TRUE(listener.start(port));
    engine.setVerbose(true);
    log.texts.clear();
    RawTcpClient client(port, kInProcess);
    ASSERT_TRUE(client.send(LayoutMessage("/data/plant.mvx", {"FLOW", "TEMP", "LEVEL"})));
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.layout().count() == 3; }, kWaitTimeoutMs));
    ASSERT_FALSE(log.texts.isEmpty());
    EXPECT_EQ(QStringLiteral("Bytes received: 364"), log.texts[0]);
    EXPECT_TRUE(log.contains(QStringLiteral("\nEthernet: Measurement list received from client:")));
    EXPECT_TRUE(log.contains(QStringLiteral("\tMVX File: /data/plant.mvx\n\tNumber Of Measurements: 3")));
    EXPECT_TRUE(log.contains(QStringLiteral("\t\t3:\tLEVEL")));
}

TEST_F(TcpListenerInProcess, ShutdownClosesEveryConnection)
{
    const int port = FreePort();
    ASSERT_TRUE(listener.start(port));
    RawTcpClient client(port, kInProcess);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listener.connectionCount() == 1; }, kWaitTimeoutMs));
    listener.shutdown();
    EXPECT_EQ(0, listener.connectionCount());
    EXPECT_FALSE(listener.isListening());
    EXPECT_TRUE(client.receive(1).isEmpty());  // the peer sees its end
    RawTcpClient late(port, kInProcess);
    EXPECT_FALSE(late.isConnected());
}

}  // namespace
}  // namespace vexa::server::test
