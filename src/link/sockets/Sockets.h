#pragma once

// The socket support module that both programs use: starting and stopping,
// name resolution, the display program's blocking stream connection, the
// server's listening socket, and the error reports of SocketErrors.h.

#include "link/sockets/AsyncSelection.h"
#include "link/sockets/Socket.h"
#include "link/sockets/SocketErrors.h"
#include "link/sockets/SocketReceive.h"

#include <QByteArray>

#include <cstdint>

#include <sys/socket.h>

class QWidget;

namespace vexa::sockets {

/// The buffer size recorded when StartSockets() is given none.
constexpr int kDefaultBufferSize = 1024;
/// The number of the socket notification message (the first user message + 1).
constexpr int kSocketMessage = 1025;
/// The TCP port both programs use when their settings name none.
constexpr std::uint16_t kDefaultPort = 1000;
/// Connections the listening socket holds before they are accepted. The
/// system's own limit, not the five of old socket layers: with five, a crowd
/// of clients connecting at once waits for the retries of the dropped ones,
/// a second and more each.
constexpr int kListenBacklog = SOMAXCONN;
/// The buffer sizing rule tries no size at or below this (one TCP segment).
constexpr int kSmallestBufferSize = 1460;
/// Bytes read at a time when ConnectStream() discards what waits.
constexpr int kConnectDiscardChunk = 100;
/// Bytes read at a time when CloseStream() discards what waits.
constexpr int kCloseDiscardChunk = 50;

/// Starts the use of sockets and records \p bufferSize (kDefaultBufferSize
/// when it is not positive). Each successful start wants one StopSockets().
/// A failure is reported ("Unable To Initialize Communications") when
/// \p window is given.
bool StartSockets(QWidget* window, int bufferSize);
/// The buffer size recorded by the latest StartSockets().
int SocketBufferSize();
/// Ends one use begun by StartSockets(). Without a matching start it fails
/// with 10093, reported ("WSACleanup Failed") when \p window is given.
bool StopSockets(QWidget* window);
/// True while more starts than stops have been made.
bool SocketsStarted();

/// The IPv4 address of \p name in network byte order, 0 when \p name is empty
/// or cannot be resolved (the last socket error is then set). A dotted
/// address is used directly ("255.255.255.255" included); any other name is
/// looked up, and the first address of the answer is used.
std::uint32_t ResolveHost(const QByteArray& name);

/// Connects a blocking TCP socket to \p host at \p port, then reads and
/// discards any bytes already waiting. Returns the socket, invalid on
/// failure. Only when \p window is given, failures are shown: "Socket
/// Failure", the host's name in a box captioned "Unknown Host Name", and
/// "Connect Failure".
Socket ConnectStream(QWidget* window, const QByteArray& host, int port);

/// Closes a stream socket in order: stops its notifications (the given
/// \p selection, or whichever selection has it), reads and discards what
/// still waits, shuts down sending and closes. Nothing for an invalid socket.
/// The socket is invalid afterwards, also after a failure; failures are
/// shown ("Error Closing Data Stream") only when \p window is given.
bool CloseStream(QWidget* window, Socket& socket, AsyncSelection* selection);
bool CloseStream(QWidget* window, Socket& socket);

/// Creates the server's listening socket: refuses \p message 0 with its own
/// box, then creates a TCP socket, selects it for Accept events, binds it to
/// \p address (network byte order; INADDR_ANY for every local address) at
/// \p port and listens. Each failure is reported through ReportSocketError()
/// ("Socket Failure", "WSAAsyncSelect", "Bind Error (Port %d)", "Listen
/// Error"); after one, \p listening is invalid and false is returned.
bool InitLstnSock(QWidget* window, int port, std::uint32_t address, Socket& listening,
                  int message, AsyncSelection& selection, SocketEventHandler handler);

/// Sets the buffer of \p option (SO_RCVBUF or SO_SNDBUF) of \p fd: tries
/// \p size and halves it after each refusal, for as long as it is above
/// kSmallestBufferSize; gives up at once when the option or the value is not
/// supported. Returns the size in force, as read back, or 0 when none was set.
int SizeSocketBuffer(int fd, int option, int size);

/// Makes \p fd non-blocking; on failure the last socket error is set.
bool SetNonBlocking(int fd);

/// Sends \p size bytes in one non-blocking send, which never raises SIGPIPE.
/// Returns the send's result: the number of bytes taken, or -1 with the last
/// socket error set (10035 when the send would block).
qint64 SendMessage(int fd, const char* data, qint64 size);

}  // namespace vexa::sockets
