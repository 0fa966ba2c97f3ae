#include "RawTcpClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vexa::test {

namespace {

/// The longest one poll() lasts while this thread's event loop must keep
/// turning for a peer in this process, or while a condition that no
/// descriptor signals is looked at again.
constexpr int kSliceMs = 5;
constexpr std::size_t kReceiveChunk = 4096;

/// The kernel's table of IPv4 TCP sockets, and the states it shows.
constexpr const char* kTcpTable = "/proc/net/tcp";
constexpr int kStateEstablished = 0x01;
constexpr int kStateListen = 0x0A;

/// One socket of the kernel's table.
struct TcpTableEntry {
    int state = 0;
    unsigned long long sendQueue = 0;     ///< bytes sent and not yet acknowledged
    unsigned long long receiveQueue = 0;  ///< bytes not yet read; for a listener, connections not yet accepted
};

int PortOf(const std::string& addressAndPort)
{
    return std::stoi(addressAndPort.substr(addressAndPort.find(':') + 1), nullptr, 16);
}

/// The sockets of the table with local port \p localPort and remote port
/// \p remotePort (0 for a listener).
std::vector<TcpTableEntry> TcpTableEntries(int localPort, int remotePort)
{
    std::vector<TcpTableEntry> entries;
    std::ifstream table(kTcpTable);
    std::string line;
    std::getline(table, line);  // the column heads
    while (std::getline(table, line)) {
        // slot, local address:port, remote address:port, state, send:receive queue, …
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues;
        if (!(fields >> slot >> local >> remote >> state >> queues))
            continue;
        if (PortOf(local) != localPort || PortOf(remote) != remotePort)
            continue;
        const std::size_t colon = queues.find(':');
        entries.push_back({std::stoi(state, nullptr, 16), std::stoull(queues.substr(0, colon), nullptr, 16),
                           std::stoull(queues.substr(colon + 1), nullptr, 16)});
    }
    return entries;
}

int PeerPortOf(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    return ::getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 ? ntohs(address.sin_port) : 0;
}

int PendingError(int fd)
{
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 ? error : errno;
}

sockaddr_in Ipv4Address(std::uint32_t host, int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(host);
    return address;
}

}  // namespace

sockaddr_in LoopbackAddress(int port)
{
    return Ipv4Address(INADDR_LOOPBACK, port);
}

sockaddr_in AnyAddress(int port)
{
    return Ipv4Address(INADDR_ANY, port);
}

int LocalPort(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    return ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 ? ntohs(address.sin_port) : 0;
}

RawTcpClient::RawTcpClient(int port, Peer peer) : m_peer(peer)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    m_fd = fd;
    const sockaddr_in address = LoopbackAddress(port);
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
                           || (errno == EINPROGRESS && waitForSocket(POLLOUT, QDeadlineTimer(kWaitTimeoutMs))
                               && PendingError(fd) == 0);
    if (!connected) {
        close();
        return;
    }
    take(fd);
}

RawTcpClient RawTcpClient::Adopt(int fd, Peer peer)
{
    RawTcpClient client;
    client.m_peer = peer;
    if (fd >= 0)
        client.take(fd);
    return client;
}

void RawTcpClient::take(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_fd = fd;
    m_localPort = LocalPort(fd);
    m_peerPort = PeerPortOf(fd);
}

RawTcpClient::~RawTcpClient()
{
    close();
}

RawTcpClient::RawTcpClient(RawTcpClient&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_peer(other.m_peer),
      m_localPort(other.m_localPort),
      m_peerPort(other.m_peerPort)
{
}

RawTcpClient& RawTcpClient::operator=(RawTcpClient&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_peer = other.m_peer;
        m_localPort = other.m_localPort;
        m_peerPort = other.m_peerPort;
    }
    return *this;
}

bool RawTcpClient::send(QByteArrayView bytes, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_fd >= 0 && !bytes.isEmpty()) {
        const ssize_t sent = ::send(m_fd, bytes.data(), std::size_t(bytes.size()), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes = bytes.sliced(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || !waitForSocket(POLLOUT, deadline))
            return false;
    }
    return m_fd >= 0;
}

QByteArray RawTcpClient::receive(qsizetype length, int timeoutMs)
{
    QByteArray received;
    const QDeadlineTimer deadline(timeoutMs);
    char chunk[kReceiveChunk];
    while (m_fd >= 0 && received.size() < length) {
        const std::size_t wanted = std::min(sizeof chunk, std::size_t(length - received.size()));
        const ssize_t count = ::recv(m_fd, chunk, wanted, 0);
        if (count > 0) {
            received.append(chunk, count);
            continue;
        }
        if (count == 0)
            break;  // the peer ended the stream
        if (errno == EINTR)
            continue;
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || !waitForSocket(POLLIN, deadline))
            break;
    }
    return received;
}

QByteArray RawTcpClient::receiveToEnd(int timeoutMs)
{
    return receive(std::numeric_limits<qsizetype>::max(), timeoutMs);
}

QByteArray RawTcpClient::receiveAvailable()
{
    return receiveToEnd(0);
}

bool RawTcpClient::staysSilent(int quietMs)
{
    if (m_fd < 0 || !waitForSocket(POLLIN, QDeadlineTimer(quietMs)))
        return true;
    // Readable with no byte waiting is the end of the stream: nothing more
    // can come.
    int waiting = 0;
    return ::ioctl(m_fd, FIONREAD, &waiting) == 0 && waiting == 0;
}

bool RawTcpClient::waitUntilAccepted(int timeoutMs)
{
    return waitUntil(
        [this] {
            const std::vector<TcpTableEntry> listeners = TcpTableEntries(m_peerPort, 0);
            return std::any_of(listeners.begin(), listeners.end(), [](const TcpTableEntry& entry) {
                return entry.state == kStateListen && entry.receiveQueue == 0;
            });
        },
        timeoutMs);
}

bool RawTcpClient::waitUntilPeerHasRead(int timeoutMs)
{
    return waitUntil(
        [this] {
            // Acknowledged by the peer's end, and read from there.
            const std::vector<TcpTableEntry> own = TcpTableEntries(m_localPort, m_peerPort);
            const std::vector<TcpTableEntry> peer = TcpTableEntries(m_peerPort, m_localPort);
            return !own.empty() && !peer.empty()
                   && std::all_of(own.begin(), own.end(), [](const TcpTableEntry& e) { return e.sendQueue == 0; })
                   && std::all_of(peer.begin(), peer.end(), [](const TcpTableEntry& e) { return e.receiveQueue == 0; });
        },
        timeoutMs);
}

bool RawTcpClient::waitUntilPeerSeesTheEnd(int timeoutMs)
{
    return waitUntil(
        [this] {
            const std::vector<TcpTableEntry> peer = TcpTableEntries(m_peerPort, m_localPort);
            return std::none_of(peer.begin(), peer.end(),
                                [](const TcpTableEntry& entry) { return entry.state == kStateEstablished; });
        },
        timeoutMs);
}

void RawTcpClient::halfClose()
{
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_WR);
}

void RawTcpClient::close()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

void RawTcpClient::reset()
{
    if (m_fd < 0)
        return;
    const linger abortive{1, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    close();
}

bool RawTcpClient::waitForSocket(short events, const QDeadlineTimer& deadline)
{
    for (;;) {
        if (m_peer == Peer::ThisProcess)
            QCoreApplication::processEvents();
        const int remaining = int(deadline.remainingTime());
        const int slice = m_peer == Peer::ThisProcess ? std::min(remaining, kSliceMs) : remaining;
        pollfd watched{m_fd, events, 0};
        const int ready = ::poll(&watched, 1, slice);
        if (ready > 0)
            return true;
        if ((ready < 0 && errno != EINTR) || deadline.hasExpired())
            return false;
    }
}

bool RawTcpClient::waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (m_peer == Peer::ThisProcess)
            QCoreApplication::processEvents();
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        ::poll(nullptr, 0, std::min(int(deadline.remainingTime()), kSliceMs));
    }
}

}  // namespace vexa::test
