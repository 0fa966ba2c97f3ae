#pragma once

#include "platform/FileDescriptor.h"

#include <QObject>
#include <QSocketDescriptor>

#include <sys/epoll.h>

#include <array>
#include <cstdint>
#include <functional>
#include <unordered_map>

class QSocketNotifier;

namespace vexa::sockets {

/// What a selected socket reports.
enum class SocketEvent { Read, Accept, Close };

/// Receives the events of a selected socket. \p errorCode is 0, or for a
/// Close event the Windows Sockets code of the error that ended the connection.
using SocketEventHandler = std::function<void(int fd, SocketEvent event, int errorCode)>;

/// Asynchronous selection: reports the events of its sockets through the
/// event loop of the one user-interface thread, so no handler ever waits on
/// the network.
///
/// For a listening socket, readability is an Accept event. For a connected
/// socket it is a Read event while bytes wait; when none wait, a peer that
/// has closed is a Close event with code 0, and a socket error is a Close
/// event with its code. A Close event comes once; the socket stays selected
/// until stop(). Read and Accept events come again for as long as bytes or
/// connections wait, so a handler reads (accepts) or stops the selection.
///
/// Handlers may close sockets and call select() and stop() for any socket,
/// their own included, from inside a handler. A socket's selection is stopped
/// before the socket is closed (CloseStream() does it), so that a later socket
/// that gets the same descriptor number is not reported to the old handler.
///
/// The selected sockets form one set of the system's (epoll), and the event
/// loop watches that set through one notifier: however many sockets are
/// selected, a turn of the loop looks at one descriptor, and one wake-up
/// serves every socket that is ready.
class AsyncSelection : public QObject {
    Q_OBJECT

public:
    explicit AsyncSelection(QObject* parent = nullptr);
    ~AsyncSelection() override;

    /// Makes \p fd non-blocking and reports its events to \p handler, in place
    /// of any handler it had. Fails, with the last socket error set, when
    /// \p fd is not a socket or cannot be made non-blocking.
    bool select(int fd, bool listening, SocketEventHandler handler);
    /// Like select() for a connected socket, but reports every readability as
    /// a Read event without first asking the socket why it is readable,
    /// which saves a system call per event. The handler's own receive tells
    /// bytes from the end of the stream (0) and from a failure, and the
    /// handler stops the selection at the end, or it is told again.
    bool selectReadable(int fd, SocketEventHandler handler);
    /// Stops the events of \p fd; nothing when it is not selected.
    void stop(int fd);
    bool isSelected(int fd) const;

    /// The living selection that has \p fd selected, nullptr when none has.
    static AsyncSelection* selectionOf(int fd);

private:
    /// What readability of a socket is reported as.
    enum class Kind { Listening, Connected, Readable };

    struct Entry {
        SocketEventHandler handler;
        Kind kind = Kind::Connected;
        /// Tells this selection of the descriptor from an earlier one, whose
        /// readiness may still be among those being served.
        std::uint32_t generation = 0;
    };
    /// The most ready sockets served per wake-up; any further ones are still
    /// ready at the next.
    static constexpr int kReadyPerWakeUp = 64;

    bool selectAs(int fd, Kind kind, SocketEventHandler handler);

    /// Serves the sockets of the set that are ready.
    void ServeReady();
    /// Serves socket \p fd, ready for the selection of \p generation.
    void Serve(int fd, std::uint32_t generation);

    FileDescriptor m_set;
    QSocketNotifier* m_notifier = nullptr;  ///< a child of this object
    std::unordered_map<int, Entry> m_entries;
    std::uint32_t m_lastGeneration = 0;
    std::array<epoll_event, kReadyPerWakeUp> m_ready{};
};

}  // namespace vexa::sockets
