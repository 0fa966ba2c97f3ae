#include "link/sockets/Sockets.h"

#include "Loopback.h"
#include "support/TestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <fcntl.h>
#include <sys/socket.h>

#include <vector>

namespace vexa::sockets {
namespace {

using test::ConnectedPair;
using test::ConnectLoopbackPair;
using test::SendAll;

using test::kQuietPeriodMs;
using test::kWaitTimeoutMs;

struct Event {
    int fd;
    SocketEvent event;
    int errorCode;
    bool operator==(const Event&) const = default;
};

/// Records the events it is given.
struct EventLog {
    std::vector<Event> events;

    SocketEventHandler handler()
    {
        return [this](int fd, SocketEvent event, int errorCode) {
            events.push_back({fd, event, errorCode});
        };
    }
    bool waitFor(std::size_t count)
    {
        return QTest::qWaitFor([&] { return events.size() >= count; }, kWaitTimeoutMs);
    }
};

void PrintTo(const Event& e, std::ostream* out)
{
    *out << "{fd " << e.fd << ", event " << static_cast<int>(e.event) << ", code " << e.errorCode
         << "}";
}

class AsyncSelectionTest : public ::testing::Test {
protected:
    void SetUp() override { SetLastSocketError(0); }

    test::ScriptedMessages m_messages;
    AsyncSelection m_selection;
    EventLog m_log;
};

TEST_F(AsyncSelectionTest, AListeningSocketReportsAccept)
{
    Socket listening;
    ASSERT_TRUE(InitLstnSock(nullptr, 0, htonl(INADDR_LOOPBACK), listening, kSocketMessage,
                             m_selection, m_log.handler()));
    Socket client = test::ConnectToLoopback(test::LocalPort(listening.fd()));
    ASSERT_TRUE(client.isValid());

    ASSERT_TRUE(m_log.waitFor(1));
    EXPECT_EQ(m_log.events[0], (Event{listening.fd(), SocketEvent::Accept, 0}));
    Socket accepted(::accept4(listening.fd(), nullptr, nullptr, SOCK_CLOEXEC));
    EXPECT_TRUE(accepted.isValid());
    EXPECT_NE(::fcntl(listening.fd(), F_GETFL) & O_NONBLOCK, 0);
}

TEST_F(AsyncSelectionTest, AConnectedSocketReportsReadWhileBytesWait)
{
    ConnectedPair pair = ConnectLoopbackPair();
    const int fd = pair.server.fd();
    std::string received;
    ASSERT_TRUE(m_selection.select(fd, false, [&](int, SocketEvent event, int errorCode) {
        m_log.events.push_back({fd, event, errorCode});
        char buffer[4];
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
        if (count > 0)
            received.append(buffer, static_cast<std::size_t>(count));
    }));
    EXPECT_NE(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << "selected sockets do not block";

    // Ten bytes read four at a time: the rest is reported again.
    ASSERT_TRUE(SendAll(pair.client.fd(), "0123456789"));
    ASSERT_TRUE(m_log.waitFor(3));
    // And no fourth: a negative check, which can only watch for a while.
    QTest::qWait(kQuietPeriodMs);
    EXPECT_EQ(received, "0123456789");
    EXPECT_EQ(m_log.events,
              std::vector<Event>(3, Event{fd, SocketEvent::Read, 0}));
}

TEST_F(AsyncSelectionTest, APeerThatClosesOrResetsIsOneCloseEvent)
{
    struct Case {
        bool reset;
        int errorCode;
    };
    for (const Case c : {Case{false, 0}, Case{true, kConnectionReset}}) {
        EventLog log;
        ConnectedPair pair = ConnectLoopbackPair();
        ASSERT_TRUE(m_selection.select(pair.server.fd(), false, log.handler()));
        if (c.reset)
            test::CloseWithReset(pair.client);
        else
            pair.client.reset();

        ASSERT_TRUE(log.waitFor(1)) << "reset " << c.reset;
        // And no second: a negative check, which can only watch for a while.
        QTest::qWait(kQuietPeriodMs);
        EXPECT_EQ(log.events,
                  (std::vector<Event>{{pair.server.fd(), SocketEvent::Close, c.errorCode}}))
            << "reset " << c.reset;
        EXPECT_TRUE(m_selection.isSelected(pair.server.fd()));
        m_selection.stop(pair.server.fd());
    }
}

TEST_F(AsyncSelectionTest, AReadableSelectionLeavesTheEndOfTheStreamToTheHandlersOwnRead)
{
    ConnectedPair pair = ConnectLoopbackPair();
    const int fd = pair.server.fd();
    std::vector<ssize_t> reads;
    ASSERT_TRUE(m_selection.selectReadable(fd, [&](int, SocketEvent event, int errorCode) {
        m_log.events.push_back({fd, event, errorCode});
        char buffer[16];
        reads.push_back(::recv(fd, buffer, sizeof buffer, 0));
        if (reads.back() == 0)
            m_selection.stop(fd);  // the end of the stream, which stays readable
    }));
    EXPECT_NE(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << "selected sockets do not block";

    ASSERT_TRUE(SendAll(pair.client.fd(), "abc"));
    ASSERT_TRUE(m_log.waitFor(1));
    pair.client.reset();
    ASSERT_TRUE(m_log.waitFor(2));
    // Both are reported as reads; the handler's receive told them apart.
    EXPECT_EQ(m_log.events, std::vector<Event>(2, Event{fd, SocketEvent::Read, 0}));
    EXPECT_EQ(reads, (std::vector<ssize_t>{3, 0}));
    EXPECT_FALSE(m_selection.isSelected(fd));
}

TEST_F(AsyncSelectionTest, AHandlerMayCloseItsOwnSocket)
{
    ConnectedPair first = ConnectLoopbackPair();
    ConnectedPair second = ConnectLoopbackPair();
    int closedFd = first.server.fd();
    ASSERT_TRUE(m_selection.select(first.server.fd(), false, [&](int fd, SocketEvent event, int) {
        m_log.events.push_back({fd, event, 0});
        EXPECT_TRUE(CloseStream(nullptr, first.server));
        // Selecting another socket from inside a handler is fine too.
        EXPECT_TRUE(m_selection.select(second.server.fd(), false, m_log.handler()));
    }));

    ASSERT_TRUE(SendAll(first.client.fd(), "?"));
    ASSERT_TRUE(m_log.waitFor(1));
    EXPECT_FALSE(first.server.isValid());
    EXPECT_FALSE(m_selection.isSelected(closedFd));
    EXPECT_TRUE(m_selection.isSelected(second.server.fd()));

    ASSERT_TRUE(SendAll(second.client.fd(), "M"));
    ASSERT_TRUE(m_log.waitFor(2));
    EXPECT_EQ(m_log.events[1], (Event{second.server.fd(), SocketEvent::Read, 0}));
}

TEST_F(AsyncSelectionTest, StoppedSocketsReportNothing)
{
    ConnectedPair pair = ConnectLoopbackPair();
    ASSERT_TRUE(m_selection.select(pair.server.fd(), false, m_log.handler()));
    EXPECT_EQ(AsyncSelection::selectionOf(pair.server.fd()), &m_selection);
    m_selection.stop(pair.server.fd());
    EXPECT_FALSE(m_selection.isSelected(pair.server.fd()));
    EXPECT_EQ(AsyncSelection::selectionOf(pair.server.fd()), nullptr);

    ASSERT_TRUE(SendAll(pair.client.fd(), "?"));
    pair.client.reset();
    // Nothing at all: a negative check, which can only watch for a while.
    QTest::qWait(kQuietPeriodMs);
    EXPECT_TRUE(m_log.events.empty());
}

TEST_F(AsyncSelectionTest, OnlySocketsCanBeSelected)
{
    EXPECT_FALSE(m_selection.select(-1, false, m_log.handler()));
    EXPECT_EQ(LastSocketError(), kNotSocket);

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const Socket readEnd(pipeEnds[0]);
    const Socket writeEnd(pipeEnds[1]);
    EXPECT_FALSE(m_selection.select(readEnd.fd(), false, m_log.handler()));
    EXPECT_EQ(LastSocketError(), kNotSocket);
    EXPECT_FALSE(m_selection.isSelected(readEnd.fd()));
}

}  // namespace
}  // namespace vexa::sockets
