#pragma once

#include <QtGlobal>

namespace vexa::sockets {

/// How long a receive waits for the first bytes, counted on the one-second
/// clock: it gives up once that clock shows more than this many seconds
/// since the call began.
constexpr int kReceiveWaitLimitSeconds = 10;

/// Changes the wait limit (tests shorten it); a value below 0 counts as 0.
void SetReceiveWaitLimitSeconds(int seconds);
int ReceiveWaitLimitSeconds();

/// Waits until bytes wait on \p fd, or the peer has closed, or the socket has
/// failed, sleeping meanwhile; gives up and returns 0 when the wait limit
/// passes first, or a termination signal arrives (IsTerminationPending()
/// tells), leaving \p buffer as it was. Then makes one receive of at
/// most \p size bytes into \p buffer, which holds \p size + 1 bytes, and puts
/// a NUL after the bytes received, or at buffer[0] when the receive fails.
/// Returns the receive's result: the byte count, 0 when the peer has closed,
/// -1 on failure with the last socket error set.
qint64 ReceiveWithWait(int fd, char* buffer, qint64 size);

/// Like ReceiveWithWait(), but goes on receiving until \p size bytes have
/// come, the peer has closed, or the same deadline has passed (or a
/// termination signal has arrived), and puts a NUL after what has come.
/// Returns the number of bytes received (0 or more), or -1 when a receive
/// fails, with the last socket error set.
qint64 ReceiveAllWithWait(int fd, char* buffer, qint64 size);

}  // namespace vexa::sockets
