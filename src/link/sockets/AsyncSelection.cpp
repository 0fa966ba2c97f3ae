#include "AsyncSelection.h"

#include "Sockets.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

#include <sys/ioctl.h>
#include <sys/socket.h>

namespace vexa::sockets {

namespace {

/// Every living selection, so that CloseStream() can stop a socket's events
/// before its descriptor is closed and reused.
std::vector<AsyncSelection*>& LivingSelections()
{
    static std::vector<AsyncSelection*> selections;
    return selections;
}

struct Readiness {
    SocketEvent event = SocketEvent::Read;
    int errorCode = 0;
    bool report = false;
};

/// What readability of a connected socket means.
Readiness ConnectedReadiness(int fd)
{
    // Waiting bytes are the common case and are read first; an error that
    // came after them is met by the read itself.
    int waiting = 0;
    if (::ioctl(fd, FIONREAD, &waiting) != 0)
        return {SocketEvent::Close, WinsockCodeFromErrno(errno), true};
    if (waiting > 0)
        return {SocketEvent::Read, 0, true};

    int pendingError = 0;
    socklen_t length = sizeof pendingError;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &pendingError, &length) != 0)
        return {SocketEvent::Close, WinsockCodeFromErrno(errno), true};
    if (pendingError != 0)
        return {SocketEvent::Close, WinsockCodeFromErrno(pendingError), true};

    char byte = 0;
    const ssize_t peeked = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT | MSG_NOSIGNAL);
    if (peeked > 0)
        return {SocketEvent::Read, 0, true};
    if (peeked == 0)
        return {SocketEvent::Close, 0, true};
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return {};
    return {SocketEvent::Close, WinsockCodeFromErrno(errno), true};
}

/// Where a descriptor and the generation of its selection travel with its
/// readiness.
std::uint64_t ReadinessKey(int fd, std::uint32_t generation)
{
    return (std::uint64_t(generation) << 32) | std::uint32_t(fd);
}

}  // namespace

AsyncSelection::AsyncSelection(QObject* parent)
    : QObject(parent), m_set(::epoll_create1(EPOLL_CLOEXEC))
{
    LivingSelections().push_back(this);
    if (m_set.isOpen()) {
        m_notifier = new QSocketNotifier(m_set.get(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &AsyncSelection::ServeReady);
    }
}

AsyncSelection::~AsyncSelection()
{
    auto& selections = LivingSelections();
    selections.erase(std::remove(selections.begin(), selections.end(), this), selections.end());
}

bool AsyncSelection::select(int fd, bool listening, SocketEventHandler handler)
{
    return selectAs(fd, listening ? Kind::Listening : Kind::Connected, std::move(handler));
}

bool AsyncSelection::selectReadable(int fd, SocketEventHandler handler)
{
    return selectAs(fd, Kind::Readable, std::move(handler));
}

bool AsyncSelection::selectAs(int fd, Kind kind, SocketEventHandler handler)
{
    int type = 0;
    socklen_t length = sizeof type;
    if (fd < 0 || ::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0) {
        SetLastSocketErrorFromErrno(fd < 0 ? EBADF : errno);
        return false;
    }
    if (!SetNonBlocking(fd))
        return false;
    if (!m_set.isOpen()) {
        SetLastSocketErrorFromErrno(EMFILE);
        return false;
    }

    stop(fd);
    const std::uint32_t generation = ++m_lastGeneration;
    epoll_event watched{};
    watched.events = EPOLLIN;
    watched.data.u64 = ReadinessKey(fd, generation);
    if (::epoll_ctl(m_set.get(), EPOLL_CTL_ADD, fd, &watched) != 0) {
        SetLastSocketErrorFromErrno(errno);
        return false;
    }
    m_entries[fd] = Entry{std::move(handler), kind, generation};
    return true;
}

void AsyncSelection::stop(int fd)
{
    const auto found = m_entries.find(fd);
    if (found == m_entries.end())
        return;
    ::epoll_ctl(m_set.get(), EPOLL_CTL_DEL, fd, nullptr);
    m_entries.erase(found);
}

bool AsyncSelection::isSelected(int fd) const
{
    return m_entries.contains(fd);
}

AsyncSelection* AsyncSelection::selectionOf(int fd)
{
    for (AsyncSelection* selection : LivingSelections()) {
        if (selection->isSelected(fd))
            return selection;
    }
    return nullptr;
}

void AsyncSelection::ServeReady()
{
    const int ready = ::epoll_wait(m_set.get(), m_ready.data(), int(m_ready.size()), 0);
    for (int i = 0; i < ready; ++i) {
        const std::uint64_t key = m_ready[std::size_t(i)].data.u64;
        Serve(int(std::uint32_t(key)), std::uint32_t(key >> 32));
    }
}

void AsyncSelection::Serve(int fd, std::uint32_t generation)
{
    // An earlier handler of this wake-up may have stopped the socket, or
    // closed it and selected a new one under the same number.
    const auto found = m_entries.find(fd);
    if (found == m_entries.end() || found->second.generation != generation)
        return;
    Entry& entry = found->second;

    Readiness readiness;
    switch (entry.kind) {
    case Kind::Listening:
        readiness = {SocketEvent::Accept, 0, true};
        break;
    case Kind::Connected:
        readiness = ConnectedReadiness(fd);
        break;
    case Kind::Readable:
        readiness = {SocketEvent::Read, 0, true};
        break;
    }
    if (!readiness.report)
        return;

    // A closed connection stays readable for good; like the notification it
    // stands in for, its Close event comes only once. It leaves the set (a
    // socket in it is always watched for hang-ups and errors) but stays
    // selected until stop().
    if (readiness.event == SocketEvent::Close)
        ::epoll_ctl(m_set.get(), EPOLL_CTL_DEL, fd, nullptr);

    // The handler may stop or replace this entry, so it runs from a copy.
    const SocketEventHandler handler = entry.handler;
    if (handler)
        handler(fd, readiness.event, readiness.errorCode);
}

}  // namespace vexa::sockets
