#include "link/sockets/Sockets.h"

#include "Loopback.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace vexa::sockets {
namespace {

using test::ConnectedPair;
using test::ConnectLoopbackPair;
using test::SendAll;

using test::kWaitTimeoutMs;

constexpr char kUntouched = '#';
constexpr std::uint32_t kBroadcast = 0xFFFFFFFFu;
/// How often a wait on what no descriptor signals looks again.
constexpr int kLookAgainMs = 1;

/// Waits until the bytes that wait on \p fd have been read, by this process
/// or by another that shares the socket.
bool WaitUntilTaken(int fd)
{
    const QDeadlineTimer deadline(kWaitTimeoutMs);
    int waiting = 0;
    while (::ioctl(fd, FIONREAD, &waiting) == 0 && waiting > 0 && !deadline.hasExpired())
        ::poll(nullptr, 0, kLookAgainMs);
    return waiting == 0;
}

QString CalledBy()
{
    return QStringLiteral("\n\nCalled by: ") + QCoreApplication::applicationFilePath();
}

class SocketsTest : public ::testing::Test {
protected:
    void SetUp() override { SetLastSocketError(0); }
    void TearDown() override
    {
        SetReceiveWaitLimitSeconds(kReceiveWaitLimitSeconds);
        SetLastSocketError(0);
    }

    /// A buffer of \p size + 1 bytes, each kUntouched.
    static std::string Buffer(std::size_t size) { return std::string(size + 1, kUntouched); }

    test::ScriptedMessages m_messages;
    QWidget m_window;
};

TEST_F(SocketsTest, StartingRecordsTheBufferSizeAndEachStartWantsOneStop)
{
    ASSERT_FALSE(SocketsStarted());
    EXPECT_TRUE(StartSockets(&m_window, 0));
    EXPECT_EQ(SocketBufferSize(), kDefaultBufferSize);
    EXPECT_TRUE(StartSockets(&m_window, 20064));
    EXPECT_EQ(SocketBufferSize(), 20064);
    EXPECT_TRUE(StartSockets(&m_window, -5));
    EXPECT_EQ(SocketBufferSize(), kDefaultBufferSize);

    EXPECT_TRUE(StopSockets(&m_window));
    EXPECT_TRUE(StopSockets(&m_window));
    EXPECT_TRUE(SocketsStarted());
    EXPECT_TRUE(StopSockets(&m_window));
    EXPECT_FALSE(SocketsStarted());
    EXPECT_TRUE(m_messages.calls().empty());

    EXPECT_FALSE(StopSockets(nullptr));
    EXPECT_TRUE(m_messages.calls().empty()) << "nothing is shown without a window";
    EXPECT_FALSE(StopSockets(&m_window));
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    EXPECT_EQ(m_messages.boxes()[0].caption, "WSACleanup Failed");
    EXPECT_EQ(m_messages.boxes()[0].text,
              "A successful WSAStartup must occur before using this function." + CalledBy());
}

TEST_F(SocketsTest, ResolveHostTakesAddressesAndNames)
{
    struct Case {
        QByteArray name;
        std::uint32_t address;   // network byte order
    };
    const std::vector<Case> cases{
        {"127.0.0.1", htonl(INADDR_LOOPBACK)},
        {"10.1.2.3", htonl(0x0A010203u)},
        {"255.255.255.255", kBroadcast},
        {"localhost", htonl(INADDR_LOOPBACK)},
        {"", 0},
        {"no-such-host.invalid", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveHost(c.name), c.address) << c.name.constData();
    EXPECT_NE(LastSocketError(), 0) << "the failed lookup leaves its error";
}

TEST_F(SocketsTest, ConnectStreamConnectsToAListeningPort)
{
    const Socket listening = test::ListenOnLoopback();
    Socket client = ConnectStream(&m_window, "127.0.0.1", test::LocalPort(listening.fd()));
    ASSERT_TRUE(client.isValid());
    Socket server = test::AcceptWithin(listening.fd(), kWaitTimeoutMs);
    ASSERT_TRUE(server.isValid());

    ASSERT_TRUE(SendAll(server.fd(), "answer"));
    std::string buffer = Buffer(16);
    EXPECT_EQ(ReceiveWithWait(client.fd(), buffer.data(), 16), 6);
    EXPECT_STREQ(buffer.c_str(), "answer");
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(SocketsTest, ConnectStreamReportsARefusedConnection)
{
    // A bound socket that does not listen: connecting to its port is refused.
    Socket bound(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(bound.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const int port = test::LocalPort(bound.fd());

    EXPECT_FALSE(ConnectStream(nullptr, "127.0.0.1", port).isValid());
    EXPECT_EQ(LastSocketError(), kConnectionRefused);
    EXPECT_TRUE(m_messages.calls().empty()) << "nothing is shown without a window";

    EXPECT_FALSE(ConnectStream(&m_window, "localhost", port).isValid());
    ASSERT_EQ(m_messages.calls().size(), 2u);
    EXPECT_TRUE(m_messages.calls()[0].isBeep);
    const MessageRequest& box = m_messages.calls()[1].request;
    EXPECT_EQ(box.caption, "Connect Failure");
    EXPECT_EQ(box.text, "The attempt to connect was forcefully rejected." + CalledBy());
    EXPECT_EQ(box.icon, MessageIcon::Information);
    EXPECT_EQ(box.owner, &m_window);
}

TEST_F(SocketsTest, ConnectStreamNamesAnUnknownHost)
{
    EXPECT_FALSE(ConnectStream(nullptr, "no-such-host.invalid", 4000).isValid());
    EXPECT_TRUE(m_messages.calls().empty());

    EXPECT_FALSE(ConnectStream(&m_window, "no-such-host.invalid", 4000).isValid());
    ASSERT_EQ(m_messages.calls().size(), 1u);
    const MessageRequest& box = m_messages.calls()[0].request;
    EXPECT_EQ(box.text, "no-such-host.invalid");
    EXPECT_EQ(box.caption, "Unknown Host Name");
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    EXPECT_EQ(box.owner, &m_window);
}

TEST_F(SocketsTest, ConnectStreamRefusesAPortOutOfRange)
{
    EXPECT_FALSE(ConnectStream(nullptr, "127.0.0.1", 70000).isValid());
    EXPECT_EQ(LastSocketError(), kInvalidArgument);
}

TEST_F(SocketsTest, ReceiveWithWaitReadsOnceAndEndsWithANul)
{
    ConnectedPair pair = ConnectLoopbackPair();
    ASSERT_TRUE(SendAll(pair.server.fd(), "abcdef"));

    std::string buffer = Buffer(4);
    buffer.append(2, kUntouched);
    EXPECT_EQ(ReceiveWithWait(pair.client.fd(), buffer.data(), 4), 4);
    EXPECT_EQ(buffer, std::string("abcd\0##", 7));

    buffer = Buffer(16);
    EXPECT_EQ(ReceiveWithWait(pair.client.fd(), buffer.data(), 16), 2);
    EXPECT_EQ(buffer.substr(0, 4), std::string("ef\0#", 4));
}

TEST_F(SocketsTest, ReceiveWithWaitReturnsAtOnceWhenThePeerHasClosed)
{
    ConnectedPair pair = ConnectLoopbackPair();
    pair.server.reset();

    // A wait that gave up would leave the buffer untouched; the closed
    // peer's empty receive writes its NUL at the start.
    std::string buffer = Buffer(8);
    EXPECT_EQ(ReceiveWithWait(pair.client.fd(), buffer.data(), 8), 0);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(SocketsTest, ReceiveWithWaitFailsAtOnceOnAResetOrABadDescriptor)
{
    ConnectedPair pair = ConnectLoopbackPair();
    test::CloseWithReset(pair.server);

    std::string buffer = Buffer(8);
    EXPECT_EQ(ReceiveWithWait(pair.client.fd(), buffer.data(), 8), -1);
    EXPECT_EQ(LastSocketError(), kConnectionReset);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], kUntouched);

    buffer = Buffer(8);
    EXPECT_EQ(ReceiveWithWait(-1, buffer.data(), 8), -1);
    EXPECT_EQ(LastSocketError(), kNotSocket);
}

TEST_F(SocketsTest, ReceiveWithWaitGivesUpWhenNothingComes)
{
    SetReceiveWaitLimitSeconds(1);
    ConnectedPair pair = ConnectLoopbackPair();

    std::string buffer = Buffer(8);
    EXPECT_EQ(ReceiveWithWait(pair.client.fd(), buffer.data(), 8), 0);
    EXPECT_EQ(buffer, Buffer(8)) << "a wait without data leaves the buffer as it was";
    EXPECT_EQ(LastSocketError(), 0);
}

TEST_F(SocketsTest, ReceiveAllWithWaitJoinsAMessageSentInTwoParts)
{
    ConnectedPair pair = ConnectLoopbackPair();
    ASSERT_TRUE(SendAll(pair.server.fd(), "first-"));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The second part goes once the receive has taken the first, so that
        // it has to wait for the rest.
        const bool firstTaken = WaitUntilTaken(pair.client.fd());
        const bool sent = SendAll(pair.server.fd(), "second");
        ::_exit(firstTaken && sent ? 0 : 1);
    }
    std::string buffer = Buffer(12);
    EXPECT_EQ(ReceiveAllWithWait(pair.client.fd(), buffer.data(), 12), 12);
    EXPECT_STREQ(buffer.c_str(), "first-second");
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
}

TEST_F(SocketsTest, ReceiveAllWithWaitReturnsWhatCameBeforeTheEnd)
{
    ConnectedPair pair = ConnectLoopbackPair();
    ASSERT_TRUE(SendAll(pair.server.fd(), "abc"));
    pair.server.reset();

    std::string buffer = Buffer(10);
    EXPECT_EQ(ReceiveAllWithWait(pair.client.fd(), buffer.data(), 10), 3);
    EXPECT_STREQ(buffer.c_str(), "abc");

    SetReceiveWaitLimitSeconds(1);
    ConnectedPair quiet = ConnectLoopbackPair();
    ASSERT_TRUE(SendAll(quiet.server.fd(), "xy"));
    buffer = Buffer(10);
    EXPECT_EQ(ReceiveAllWithWait(quiet.client.fd(), buffer.data(), 10), 2);
    EXPECT_STREQ(buffer.c_str(), "xy");
}

TEST_F(SocketsTest, SendMessageNeverBlocksNorRaisesSigpipe)
{
    ConnectedPair pair = ConnectLoopbackPair();
    EXPECT_EQ(SendMessage(pair.client.fd(), "?", 1), 1);
    std::string buffer = Buffer(4);
    EXPECT_EQ(ReceiveWithWait(pair.server.fd(), buffer.data(), 4), 1);
    EXPECT_EQ(buffer[0], '?');

    // A peer that reads nothing: the send buffer fills and the send would block.
    const std::vector<char> block(65536, 'x');
    qint64 sent = 0;
    for (int i = 0; i < 1000 && sent >= 0; ++i)
        sent = SendMessage(pair.client.fd(), block.data(), static_cast<qint64>(block.size()));
    EXPECT_EQ(sent, -1);
    EXPECT_EQ(LastSocketError(), kWouldBlock);

    // A peer that has gone: the sends fail instead of killing the program.
    ConnectedPair gone = ConnectLoopbackPair();
    gone.server.reset();
    sent = 0;
    const QDeadlineTimer deadline(kWaitTimeoutMs);
    while (sent >= 0 && !deadline.hasExpired()) {
        sent = SendMessage(gone.client.fd(), "?", 1);
        // The gone peer answers with a reset, which the next send meets.
        pollfd resetCome{gone.client.fd(), 0, 0};
        ::poll(&resetCome, 1, int(deadline.remainingTime()));
    }
    EXPECT_EQ(sent, -1);
    EXPECT_TRUE(LastSocketError() == kShutDown || LastSocketError() == kConnectionReset)
        << LastSocketError();
}

TEST_F(SocketsTest, SizeSocketBufferSetsBothBuffers)
{
    ConnectedPair pair = ConnectLoopbackPair();
    for (const int option : {SO_RCVBUF, SO_SNDBUF}) {
        const int size = SizeSocketBuffer(pair.server.fd(), option, 20064);
        int inForce = 0;
        socklen_t length = sizeof inForce;
        ASSERT_EQ(::getsockopt(pair.server.fd(), SOL_SOCKET, option, &inForce, &length), 0);
        EXPECT_GT(size, kSmallestBufferSize);
        EXPECT_EQ(size, inForce);
    }
    EXPECT_EQ(SizeSocketBuffer(pair.server.fd(), SO_RCVBUF, kSmallestBufferSize), 0);
    EXPECT_EQ(SizeSocketBuffer(-1, SO_RCVBUF, 20064), 0);
    EXPECT_EQ(LastSocketError(), kNotSocket);
}

TEST_F(SocketsTest, CloseStreamEndsTheStreamInOrder)
{
    ConnectedPair pair = ConnectLoopbackPair();
    AsyncSelection selection;
    ASSERT_TRUE(selection.select(pair.client.fd(), false, {}));
    ASSERT_TRUE(SendAll(pair.server.fd(), "left over"));
    const int fd = pair.client.fd();

    EXPECT_TRUE(CloseStream(&m_window, pair.client));
    EXPECT_FALSE(pair.client.isValid());
    EXPECT_FALSE(selection.isSelected(fd));
    EXPECT_TRUE(m_messages.calls().empty());

    // The peer sees the end of the stream.
    std::string buffer = Buffer(4);
    EXPECT_EQ(ReceiveWithWait(pair.server.fd(), buffer.data(), 4), 0);

    // Closing again, or closing nothing, does nothing.
    EXPECT_TRUE(CloseStream(&m_window, pair.client));
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(SocketsTest, CloseStreamReportsAFailureOnlyWithAWindow)
{
    for (QWidget* window : {static_cast<QWidget*>(nullptr), &m_window}) {
        m_messages.clear();
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        ::close(pipeEnds[1]);
        Socket notASocket(pipeEnds[0]);

        EXPECT_FALSE(CloseStream(window, notASocket));
        EXPECT_FALSE(notASocket.isValid());
        EXPECT_EQ(LastSocketError(), kNotSocket);
        if (window == nullptr) {
            EXPECT_TRUE(m_messages.calls().empty());
        } else {
            ASSERT_EQ(m_messages.boxes().size(), 1u);
            EXPECT_EQ(m_messages.boxes()[0].caption, "Error Closing Data Stream");
            EXPECT_EQ(m_messages.boxes()[0].text, "The descriptor is not a socket." + CalledBy());
        }
    }
}

TEST_F(SocketsTest, InitLstnSockRefusesMessageNumberZero)
{
    AsyncSelection selection;
    Socket listening;
    EXPECT_FALSE(InitLstnSock(&m_window, 0, INADDR_ANY, listening, 0, selection, {}));
    EXPECT_FALSE(listening.isValid());
    ASSERT_EQ(m_messages.calls().size(), 1u);
    const MessageRequest& box = m_messages.calls()[0].request;
    EXPECT_EQ(box.text, "Message number for message handler invalid");
    EXPECT_EQ(box.caption, "InitLstnSock() Failed");
    EXPECT_EQ(box.icon, MessageIcon::Information);
}

TEST_F(SocketsTest, InitLstnSockOnAPortInUseReportsTheBindError)
{
    // Another program listens on every local address at the port.
    Socket occupant(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(::bind(occupant.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(occupant.fd(), 1), 0);
    const int port = test::LocalPort(occupant.fd());

    AsyncSelection selection;
    Socket listening;
    EXPECT_FALSE(InitLstnSock(&m_window, port, INADDR_ANY, listening, kSocketMessage, selection,
                              {}));
    EXPECT_FALSE(listening.isValid());
    EXPECT_EQ(LastSocketError(), kAddressInUse);
    ASSERT_EQ(m_messages.calls().size(), 2u);
    EXPECT_TRUE(m_messages.calls()[0].isBeep);
    const MessageRequest& box = m_messages.calls()[1].request;
    EXPECT_EQ(box.caption, QString::asprintf("Bind Error (Port %d)", port));
    EXPECT_EQ(box.text,
              "The specified address is already in use. (See the SO_REUSEADDR socket option under "
              "setsockopt.)"
                  + CalledBy());
    EXPECT_EQ(box.icon, MessageIcon::Information);
}

TEST_F(SocketsTest, InitLstnSockBindsAgainAfterARestart)
{
    AsyncSelection selection;
    Socket listening;
    ASSERT_TRUE(InitLstnSock(&m_window, 0, htonl(INADDR_LOOPBACK), listening, kSocketMessage,
                             selection, {}));
    const int port = test::LocalPort(listening.fd());
    EXPECT_TRUE(selection.isSelected(listening.fd()));

    // A connection that the server closes first lingers in TIME_WAIT.
    Socket client = test::ConnectToLoopback(port);
    Socket accepted = test::AcceptWithin(listening.fd(), kWaitTimeoutMs);
    ASSERT_TRUE(accepted.isValid());
    EXPECT_TRUE(CloseStream(nullptr, accepted));
    std::string buffer = Buffer(4);
    EXPECT_EQ(ReceiveWithWait(client.fd(), buffer.data(), 4), 0);
    client.reset();
    selection.stop(listening.fd());
    listening.reset();

    EXPECT_TRUE(InitLstnSock(&m_window, port, htonl(INADDR_LOOPBACK), listening, kSocketMessage,
                             selection, {}));
    EXPECT_TRUE(listening.isValid());
    EXPECT_TRUE(m_messages.calls().empty());
}

}  // namespace
}  // namespace vexa::sockets
