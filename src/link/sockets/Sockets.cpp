#include "Sockets.h"

#include "platform/AnsiText.h"
#include "platform/Messages.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vexa::sockets {

namespace {

constexpr int kHighestPort = 65535;

int g_startCount = 0;
int g_bufferSize = kDefaultBufferSize;

/// Fails on a port number that does not fit a TCP port.
bool IsValidPort(int port)
{
    if (port >= 0 && port <= kHighestPort)
        return true;
    SetLastSocketError(kInvalidArgument);
    return false;
}

sockaddr_in AddressOf(std::uint32_t address, int port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = address;
    result.sin_port = htons(static_cast<std::uint16_t>(port));
    return result;
}

/// A new TCP socket that is not handed to programs this one starts;
/// invalid, with the last socket error set, when none can be made.
Socket NewStreamSocket()
{
    Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket.isValid())
        SetLastSocketErrorFromErrno(errno);
    return socket;
}

/// Connects \p fd, completing a connect that a signal interrupted.
bool ConnectTo(int fd, std::uint32_t address, int port)
{
    if (!IsValidPort(port))
        return false;
    const sockaddr_in peer = AddressOf(address, port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return true;
    if (errno != EINTR) {
        SetLastSocketErrorFromErrno(errno);
        return false;
    }
    pollfd watched{fd, POLLOUT, 0};
    while (::poll(&watched, 1, -1) < 0) {
        if (errno != EINTR) {
            SetLastSocketErrorFromErrno(errno);
            return false;
        }
    }
    int result = 0;
    socklen_t length = sizeof result;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length) != 0)
        result = errno;
    if (result == 0)
        return true;
    SetLastSocketErrorFromErrno(result);
    return false;
}

/// Reads and drops the bytes that wait on \p fd, \p chunk at a time, until
/// none wait or a read fails.
void DiscardWaiting(int fd, int chunk)
{
    char scrap[kConnectDiscardChunk > kCloseDiscardChunk ? kConnectDiscardChunk
                                                         : kCloseDiscardChunk];
    const auto length = static_cast<std::size_t>(std::min<int>(chunk, sizeof scrap));
    int waiting = 0;
    while (::ioctl(fd, FIONREAD, &waiting) == 0 && waiting > 0) {
        if (::recv(fd, scrap, length, MSG_DONTWAIT | MSG_NOSIGNAL) <= 0)
            return;
    }
}

}  // namespace

bool StartSockets(QWidget* window, int bufferSize)
{
    g_bufferSize = bufferSize > 0 ? bufferSize : kDefaultBufferSize;
    // Nothing needs starting on this system, but a stack that cannot give
    // out a TCP socket is as unusable as one that would not start.
    if (!NewStreamSocket().isValid()) {
        if (window != nullptr)
            ReportSocketError(window, QStringLiteral("Unable To Initialize Communications"));
        return false;
    }
    ++g_startCount;
    return true;
}

int SocketBufferSize()
{
    return g_bufferSize;
}

bool StopSockets(QWidget* window)
{
    if (g_startCount == 0) {
        SetLastSocketError(kNotInitialised);
        if (window != nullptr)
            ReportSocketError(window, QStringLiteral("WSACleanup Failed"));
        return false;
    }
    --g_startCount;
    return true;
}

bool SocketsStarted()
{
    return g_startCount > 0;
}

std::uint32_t ResolveHost(const QByteArray& name)
{
    if (name.isEmpty()) {
        SetLastSocketError(kHostNotFound);
        return 0;
    }
    in_addr dotted{};
    if (::inet_aton(name.constData(), &dotted) != 0) {
        if (dotted.s_addr == 0)
            SetLastSocketError(kAddressNotAvailable);
        return dotted.s_addr;
    }

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* answer = nullptr;
    const int failure = ::getaddrinfo(name.constData(), nullptr, &hints, &answer);
    if (failure != 0 || answer == nullptr) {
        SetLastSocketError(failure != 0 ? WinsockCodeFromLookup(failure, errno) : kNoData);
        return 0;
    }
    const std::uint32_t address =
        reinterpret_cast<const sockaddr_in*>(answer->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(answer);
    return address;
}

Socket ConnectStream(QWidget* window, const QByteArray& host, int port)
{
    Socket socket = NewStreamSocket();
    if (!socket.isValid()) {
        if (window != nullptr)
            ReportSocketError(window, QStringLiteral("Socket Failure"));
        return {};
    }
    const std::uint32_t address = ResolveHost(host);
    if (address == 0) {
        if (window != nullptr) {
            ShowMessage(window, FromAnsi(std::string_view(host.constData(), host.size())),
                        QStringLiteral("Unknown Host Name"), MessageIcon::Exclamation);
        }
        return {};
    }
    if (!ConnectTo(socket.fd(), address, port)) {
        socket.reset();
        if (window != nullptr)
            ReportSocketError(window, QStringLiteral("Connect Failure"));
        return {};
    }
    DiscardWaiting(socket.fd(), kConnectDiscardChunk);
    return socket;
}

bool CloseStream(QWidget* window, Socket& socket, AsyncSelection* selection)
{
    if (!socket.isValid())
        return true;
    const int fd = socket.fd();

    // Notifications stop before the descriptor goes, also without a window:
    // a notifier left on a closed descriptor would report the next socket
    // that gets the same number to the old handler.
    if (selection != nullptr)
        selection->stop(fd);
    while (AsyncSelection* registered = AsyncSelection::selectionOf(fd))
        registered->stop(fd);

    DiscardWaiting(fd, kCloseDiscardChunk);

    bool closed = true;
    if (::shutdown(fd, SHUT_WR) != 0) {
        SetLastSocketErrorFromErrno(errno);
        closed = false;
        if (window != nullptr)
            ReportSocketError(window, QStringLiteral("Error Closing Data Stream"));
    }
    // The descriptor is gone after close() whatever it answers.
    if (::close(socket.release()) != 0) {
        SetLastSocketErrorFromErrno(errno);
        closed = false;
        if (window != nullptr)
            ReportSocketError(window, QStringLiteral("Error Closing Data Stream"));
    }
    return closed;
}

bool CloseStream(QWidget* window, Socket& socket)
{
    return CloseStream(window, socket, nullptr);
}

bool InitLstnSock(QWidget* window, int port, std::uint32_t address, Socket& listening,
                  int message, AsyncSelection& selection, SocketEventHandler handler)
{
    if (listening.isValid()) {
        selection.stop(listening.fd());
        listening.reset();
    }
    if (message == 0) {
        ShowMessage(window, QStringLiteral("Message number for message handler invalid"),
                    QStringLiteral("InitLstnSock() Failed"), MessageIcon::Information);
        return false;
    }

    Socket socket = NewStreamSocket();
    if (!socket.isValid()) {
        ReportSocketError(window, QStringLiteral("Socket Failure"));
        return false;
    }
    const int fd = socket.fd();
    auto fail = [&](const QString& text) {
        selection.stop(fd);
        socket.reset();
        ReportSocketError(window, text);
        return false;
    };

    if (!selection.select(fd, true, std::move(handler)))
        return fail(QStringLiteral("WSAAsyncSelect"));

    // A restarted server binds again while connections of the last run linger
    // in TIME_WAIT; a port that another program listens on still fails.
    const int reuse = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    const QString bindError = QString::asprintf("Bind Error (Port %d)", port);
    if (!IsValidPort(port))
        return fail(bindError);
    const sockaddr_in local = AddressOf(address, port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        SetLastSocketErrorFromErrno(errno);
        return fail(bindError);
    }
    if (::listen(fd, kListenBacklog) != 0) {
        SetLastSocketErrorFromErrno(errno);
        return fail(QStringLiteral("Listen Error"));
    }
    listening = std::move(socket);
    return true;
}

int SizeSocketBuffer(int fd, int option, int size)
{
    for (int tried = size; tried > kSmallestBufferSize; tried /= 2) {
        if (::setsockopt(fd, SOL_SOCKET, option, &tried, sizeof tried) == 0) {
            int inForce = 0;
            socklen_t length = sizeof inForce;
            if (::getsockopt(fd, SOL_SOCKET, option, &inForce, &length) == 0)
                return inForce;
            SetLastSocketErrorFromErrno(errno);
            return tried;
        }
        SetLastSocketErrorFromErrno(errno);
        if (LastSocketError() == kOptionNotSupported || LastSocketError() == kInvalidArgument)
            return 0;
    }
    return 0;
}

bool SetNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
        SetLastSocketErrorFromErrno(errno);
        return false;
    }
    return true;
}

qint64 SendMessage(int fd, const char* data, qint64 size)
{
    if (data == nullptr || size < 0) {
        SetLastSocketError(data == nullptr ? kBadAddress : kInvalidArgument);
        return -1;
    }
    for (;;) {
        const ssize_t sent =
            ::send(fd, data, static_cast<std::size_t>(size), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0)
            return sent;
        if (errno != EINTR) {
            SetLastSocketErrorFromErrno(errno);
            return -1;
        }
    }
}

}  // namespace vexa::sockets
