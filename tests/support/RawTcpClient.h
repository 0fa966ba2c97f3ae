#pragma once

#include "support/Waits.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

#include <netinet/in.h>

class QDeadlineTimer;

namespace vexa::test {

/// For the tests that handle sockets themselves: the IPv4 loopback address
/// at \p port.
sockaddr_in LoopbackAddress(int port);
/// Every local IPv4 address at \p port.
sockaddr_in AnyAddress(int port);
/// The local port of socket \p fd; 0 when it has none.
int LocalPort(int fd);

/// One plain TCP connection on the loopback interface, for a test that plays
/// the other end of a program byte by byte: a client of a server under test,
/// or the server's end of a connection that a test's own listener accepted.
///
/// Every wait is a poll() with a deadline (\p timeoutMs, kWaitTimeoutMs
/// unless given). Where the program at the other end runs decides how a wait
/// passes: for another process it sleeps in poll() alone; for this process
/// (a listener under test, served by this thread's event loop) it turns the
/// event loop between short poll() slices so that the peer can act.
///
/// Three waits ask the kernel what the program at the other end has done,
/// for the moments that program cannot tell: whether it has accepted the
/// connection, whether it has read all that was sent, and whether its end has
/// taken the close.
class RawTcpClient {
public:
    /// Where the program at the other end runs.
    enum class Peer { OtherProcess, ThisProcess };

    /// A client without a connection.
    RawTcpClient() = default;
    /// Connects to \p port on 127.0.0.1; isConnected() tells whether it did.
    explicit RawTcpClient(int port, Peer peer = Peer::OtherProcess);
    /// Takes over \p fd, a connected socket (the end a test's own listener
    /// accepted).
    static RawTcpClient Adopt(int fd, Peer peer = Peer::OtherProcess);
    /// Closes in order, if still open.
    ~RawTcpClient();

    RawTcpClient(RawTcpClient&& other) noexcept;
    RawTcpClient& operator=(RawTcpClient&& other) noexcept;
    RawTcpClient(const RawTcpClient&) = delete;
    RawTcpClient& operator=(const RawTcpClient&) = delete;

    bool isConnected() const { return m_fd >= 0; }

    /// Sends all of \p bytes, waiting while the peer's buffers are full; false
    /// when the connection fails or no room comes in time.
    bool send(QByteArrayView bytes, int timeoutMs = kWaitTimeoutMs);
    /// \p length bytes, or fewer when the peer ends the stream or the
    /// deadline comes first.
    QByteArray receive(qsizetype length, int timeoutMs = kWaitTimeoutMs);
    /// Everything until the peer ends the stream, or what came before the
    /// deadline.
    QByteArray receiveToEnd(int timeoutMs = kWaitTimeoutMs);
    /// What has arrived so far, without waiting.
    QByteArray receiveAvailable();
    /// True when no byte arrives within \p quietMs (a negative check; see
    /// kQuietPeriodMs).
    bool staysSilent(int quietMs = kQuietPeriodMs);

    /// Waits until the listener at the other end has accepted every
    /// connection made to it, this one included.
    bool waitUntilAccepted(int timeoutMs = kWaitTimeoutMs);
    /// Waits until the program at the other end has taken every byte sent so
    /// far off its socket, so that what is sent next reaches it in a read of
    /// its own.
    bool waitUntilPeerHasRead(int timeoutMs = kWaitTimeoutMs);
    /// After halfClose(), close() or reset(): waits until the other end of
    /// the connection has taken the end of the stream or the reset.
    bool waitUntilPeerSeesTheEnd(int timeoutMs = kWaitTimeoutMs);

    /// Ends the sending direction in order: the peer reads the end after what
    /// was sent, and this end can still receive.
    void halfClose();
    /// Closes in order.
    void close();
    /// Closes with a reset, as a program that ends with bytes unread does.
    void reset();

private:
    /// Makes \p fd this client's socket, not blocking, and notes its ports.
    void take(int fd);
    /// Waits until the socket is ready for \p events or the deadline passes.
    bool waitForSocket(short events, const QDeadlineTimer& deadline);
    /// Waits until \p condition holds or the deadline passes.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

    int m_fd = -1;
    Peer m_peer = Peer::OtherProcess;
    /// The connection's two ports, kept after closing for the waits that
    /// follow it.
    int m_localPort = 0;
    int m_peerPort = 0;
};

}  // namespace vexa::test
