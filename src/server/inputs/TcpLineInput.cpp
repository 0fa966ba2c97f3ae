#include "server/inputs/TcpLineInput.h"

#include "server/inputs/LineProtocol.h"

#include <QTimer>

#include <sys/socket.h>

#include <cerrno>
#include <utility>

namespace vexa::server {

namespace {

/// Parses the lines it is handed into \p feed, counting in \p parsed.
LineAssembler::LinesHandler ParsingInto(ValueSink& feed, ParseCounts& parsed)
{
    return [&feed, &parsed](std::string_view lines) { parsed += ParseLineProtocol(lines, feed); };
}

}  // namespace

TcpLineInput::TcpLineInput(QString name, int index, ValueTable& table, ServerLog& log, QObject* parent)
    : ListeningInput(std::move(name), index, &InputsConfig::lineTcpPort, table, log, parent), m_selection(this)
{
}

TcpLineInput::~TcpLineInput()
{
    Close();
}

bool TcpLineInput::Listen(QString* failure)
{
    sockets::Socket socket = OpenBoundSocket(SOCK_STREAM, failure);
    if (!socket.isValid())
        return false;
    if (::listen(socket.fd(), SOMAXCONN) != 0) {
        *failure = SystemFailure(QStringLiteral("cannot listen"), errno);
        return false;
    }
    m_listening = std::move(socket);
    m_buffer.resize(kReadChunkBytes);
    SelectListener();
    return true;
}

void TcpLineInput::SelectListener()
{
    m_selection.select(m_listening.fd(), true, [this](int fd, sockets::SocketEvent event, int errorCode) {
        onSocketEvent(fd, event, errorCode);
    });
}

void TcpLineInput::Close()
{
    for (auto& [fd, connection] : m_connections)
        m_selection.stop(fd);
    m_connections.clear();
    if (m_listening.isValid()) {
        m_selection.stop(m_listening.fd());
        m_listening.reset();
    }
    std::vector<char>().swap(m_buffer);
    counters().clients = 0;
}

void TcpLineInput::onSocketEvent(int fd, sockets::SocketEvent event, int errorCode)
{
    if (m_listening.isValid() && fd == m_listening.fd()) {
        if (event == sockets::SocketEvent::Accept)
            AcceptConnections();
        return;
    }
    if (event == sockets::SocketEvent::Read && errorCode == 0)
        ReadConnection(fd);
    else
        CloseConnection(fd, errorCode == 0);
}

void TcpLineInput::AcceptConnections()
{
    for (;;) {
        const int fd = accept4(m_listening.fd(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            const int err = errno;
            if (err == EINTR || err == ECONNABORTED)
                continue;
            if (err != EAGAIN && err != EWOULDBLOCK) {
                // Out of descriptors, say: try again a little later.
                const int listening = m_listening.fd();
                m_selection.stop(listening);
                QTimer::singleShot(kAcceptPauseMs, this, [this, listening] {
                    if (m_listening.isValid() && m_listening.fd() == listening && !m_selection.isSelected(listening))
                        SelectListener();
                });
            }
            return;
        }
        sockets::Socket socket(fd);
        // Each read tells bytes from the end of the stream itself.
        if (!m_selection.selectReadable(fd, [this](int eventFd, sockets::SocketEvent event, int errorCode) {
                onSocketEvent(eventFd, event, errorCode);
            }))
            continue;  // a connection that would never be told of its data is not kept
        m_connections.emplace(fd, Connection{std::move(socket), LineAssembler()});
        counters().clients = int(m_connections.size());
    }
}

void TcpLineInput::ReadConnection(int fd)
{
    const auto found = m_connections.find(fd);
    if (found == m_connections.end())
        return;
    Connection& connection = found->second;
    Feed feed(*this);
    ParseCounts parsed;
    const LineAssembler::LinesHandler parse = ParsingInto(feed, parsed);
    std::uint64_t bytes = 0;
    bool ended = false;
    bool orderly = false;
    while (bytes < std::uint64_t(kReadBudgetBytes)) {
        const ssize_t received = recv(fd, m_buffer.data(), m_buffer.size(), MSG_DONTWAIT);
        if (received > 0) {
            bytes += std::uint64_t(received);
            parsed.oversize += connection.lines.Append(std::string_view(m_buffer.data(), std::size_t(received)), parse);
            if (std::size_t(received) < m_buffer.size())
                break;  // nothing more waits; the next bytes bring a new event
            continue;
        }
        if (received < 0 && errno == EINTR)
            continue;
        if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // The peer closed, or the connection failed.
        ended = true;
        orderly = received == 0;
        break;
    }
    if (bytes > 0)
        CountReceived(bytes);
    CountParse(parsed);
    if (ended)
        CloseConnection(fd, orderly);
}

void TcpLineInput::CloseConnection(int fd, bool orderly)
{
    const auto found = m_connections.find(fd);
    if (found == m_connections.end())
        return;
    if (orderly) {
        // A stream that ended in order ends its last line too.
        Feed feed(*this);
        ParseCounts parsed;
        found->second.lines.Finish(ParsingInto(feed, parsed));
        CountParse(parsed);
    }
    m_selection.stop(fd);
    m_connections.erase(found);
    counters().clients = int(m_connections.size());
}

}  // namespace vexa::server
