#include "server/TcpListener.h"

#include "link/protocol/WireFormat.h"
#include "platform/Messages.h"
#include "server/StreamDispatch.h"
#include "server/engine/SampleEngine.h"
#include "server/engine/ServerLog.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <cerrno>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <new>

namespace vexa::server {

namespace {

/// Room for the name of the local host in the start-up lines.
constexpr int kHostNameLength = 100;
/// The most one connection brings in one read event; the rest waits for the
/// next event, so that a client that floods the server never keeps the
/// others waiting for long.
constexpr qint64 kReadBudgetPerEvent = link::kServerReadLimit;
/// How long accepting pauses after accept itself failed (out of descriptors,
/// say), so that a listener that stays readable does not spin.
constexpr int kAcceptPauseMs = 200;

/// Lets the server hold as many connections as the system allows the user.
void RaiseDescriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

/// A peer that went away while its bytes were read closes the connection
/// like its orderly close does; it is not an error to show.
bool IsPeerGone(int err)
{
    return err == ECONNRESET || err == ECONNABORTED || err == EPIPE || err == ENOTCONN;
}

}  // namespace

TcpListener::TcpListener(SampleEngine& engine, ServerLog& log, QWidget* window, QObject* parent)
    : QObject(parent), m_engine(engine), m_log(log), m_window(window), m_selection(this)
{
}

TcpListener::~TcpListener()
{
    shutdown();
}

bool TcpListener::start(int port)
{
    RaiseDescriptorLimit();
    m_socketsStarted = sockets::StartSockets(m_window, link::kServerLayoutBytes);
    const bool listening =
        m_socketsStarted &&
        sockets::InitLstnSock(m_window, port, htonl(INADDR_ANY), m_listening, sockets::kSocketMessage,
                              m_selection, [this](int fd, sockets::SocketEvent event, int errorCode) {
                                  onSocketEvent(fd, event, errorCode);
                              });
    if (!listening) {
        m_log.LogLine(QStringLiteral("ERROR: Unable to initialize TCP/IP communications"));
        return false;
    }
    m_log.LogLine(QStringLiteral("Ethernet communications initialized"));
    std::array<char, kHostNameLength + 1> host{};
    if (gethostname(host.data(), kHostNameLength) == 0) {
        m_log.LogLine(QString::asprintf("My HostName: %s\nMy Listen Port: %d", host.data(), port));
    }
    return true;
}

void TcpListener::shutdown()
{
    for (const auto& [fd, connection] : m_connections) {
        m_selection.stop(fd);
    }
    m_connections.clear();
    if (m_listening.isValid()) {
        m_selection.stop(m_listening.fd());
        m_listening.reset();
    }
    if (m_socketsStarted) {
        sockets::StopSockets(m_window);
        m_socketsStarted = false;
    }
}

void TcpListener::onSocketEvent(int fd, sockets::SocketEvent event, int errorCode)
{
    const bool isListener = m_listening.isValid() && fd == m_listening.fd();
    if (errorCode != 0 && !isListener) {
        if (Connection* connection = findConnection(fd)) {
            closeConnection(fd, connection->serial);
        }
        return;
    }
    switch (event) {
    case sockets::SocketEvent::Accept:
        if (isListener) {
            acceptConnections();
        }
        break;
    case sockets::SocketEvent::Close:
        if (!isListener) {
            if (Connection* connection = findConnection(fd)) {
                closeConnection(fd, connection->serial);
            }
        }
        break;
    case sockets::SocketEvent::Read:
        if (Connection* connection = findConnection(fd)) {
            readConnection(*connection);
        }
        break;
    }
}

void TcpListener::acceptConnections()
{
    for (;;) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const int fd = accept4(m_listening.fd(), reinterpret_cast<sockaddr*>(&peer), &length,
                               SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            const int err = errno;
            if (err == EINTR || err == ECONNABORTED) {
                continue;
            }
            if (err != EAGAIN && err != EWOULDBLOCK) {
                pauseAccepting();
                sockets::SetLastSocketErrorFromErrno(err);
                sockets::ReportSocketError(m_window, QStringLiteral("Accept Failure"));
            }
            return;
        }
        sockets::Socket socket(fd);
        // Each read tells bytes from the end of the stream itself, so the
        // selection need not ask the socket first.
        if (!m_selection.selectReadable(fd, [this](int eventFd, sockets::SocketEvent event, int errorCode) {
                onSocketEvent(eventFd, event, errorCode);
            })) {
            // A connection that would never be told of its data gets no record.
            sockets::ReportSocketError(m_window, QStringLiteral("WSAAsyncSelect Failure"));
            continue;
        }
        sockets::SizeSocketBuffer(fd, SO_RCVBUF, link::kServerLayoutBytes);
        sockets::SizeSocketBuffer(fd, SO_SNDBUF, link::kServerLayoutBytes);
        // An answer goes out as soon as it is made, never held back to be
        // joined with a later one.
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        try {
            m_connections.insert_or_assign(fd, Connection{std::move(socket), peer, ++m_lastSerial,
                                                          link::TcpMessageFramer(link::kServerLayoutNames)});
        } catch (const std::bad_alloc&) {
            m_selection.stop(fd);
            ShowMessage(m_window, QStringLiteral("Unable allocate memory for connection"),
                        QStringLiteral("LocalAlloc() Error"), MessageIcon::Information);
        }
    }
}

void TcpListener::pauseAccepting()
{
    const int fd = m_listening.fd();
    m_selection.stop(fd);
    QTimer::singleShot(kAcceptPauseMs, this, [this, fd] {
        if (m_listening.isValid() && m_listening.fd() == fd && !m_selection.isSelected(fd)) {
            m_selection.select(fd, true, [this](int eventFd, sockets::SocketEvent event, int errorCode) {
                onSocketEvent(eventFd, event, errorCode);
            });
        }
    });
}

void TcpListener::readConnection(Connection& connection)
{
    const int fd = connection.socket.fd();
    const quint64 serial = connection.serial;
    std::array<char, link::kServerReadLimit> buffer;
    qint64 taken = 0;
    while (taken < kReadBudgetPerEvent) {
        const qint64 room = std::min<qint64>(connection.framer.room(), qint64(buffer.size()));
        const ssize_t received = recv(fd, buffer.data(), size_t(room), MSG_DONTWAIT);
        if (received > 0) {
            connection.framer.append(buffer.data(), received);
            taken += received;
            DispatchMessages(connection.framer, m_engine, m_log, [fd](QByteArrayView answer) {
                return sockets::SendMessage(fd, answer.constData(), answer.size()) == answer.size();
            });
            if (received < room) {
                return;  // nothing more was waiting; the next bytes bring a new event
            }
            continue;
        }
        if (received == 0) {
            closeConnection(fd, serial);  // the peer closed
            return;
        }
        const int err = errno;
        if (err == EINTR) {
            continue;
        }
        if (err == EAGAIN || err == EWOULDBLOCK) {
            return;
        }
        if (!IsPeerGone(err)) {
            sockets::SetLastSocketErrorFromErrno(err);
            // The box runs its own event loop, in which this connection may
            // go; it is found again by its serial number afterwards.
            sockets::ReportSocketError(m_window, QStringLiteral("Error Reading Packet"));
        }
        closeConnection(fd, serial);
        return;
    }
}

void TcpListener::closeConnection(int fd, quint64 serial)
{
    const auto it = m_connections.find(fd);
    if (it == m_connections.end() || it->second.serial != serial) {
        return;
    }
    m_selection.stop(fd);
    m_connections.erase(it);
}

TcpListener::Connection* TcpListener::findConnection(int fd)
{
    const auto it = m_connections.find(fd);
    return it == m_connections.end() ? nullptr : &it->second;
}

}  // namespace vexa::server
