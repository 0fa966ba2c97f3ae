#include "AsyncSelection.h"

#include "Sockets.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
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

}  // namespace

AsyncSelection::AsyncSelection(QObject* parent) : QObject(parent)
{
    LivingSelections().push_back(this);
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

    stop(fd);
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &AsyncSelection::onActivated);
    m_entries[fd] = Entry{notifier, std::move(handler), kind};
    return true;
}

void AsyncSelection::stop(int fd)
{
    const auto found = m_entries.find(fd);
    if (found == m_entries.end())
        return;
    retire(found->second.notifier);
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

void AsyncSelection::retire(QSocketNotifier* notifier)
{
    notifier->setEnabled(false);
    notifier->disconnect();
    notifier->deleteLater();
}

void AsyncSelection::onActivated(QSocketDescriptor socket)
{
    const int fd = static_cast<int>(socket);
    const auto found = m_entries.find(fd);
    if (found == m_entries.end())
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
    // stands in for, its Close event comes only once.
    if (readiness.event == SocketEvent::Close)
        entry.notifier->setEnabled(false);

    // The handler may stop or replace this entry, so it runs from a copy.
    const SocketEventHandler handler = entry.handler;
    if (handler)
        handler(fd, readiness.event, readiness.errorCode);
}

}  // namespace vexa::sockets
