#include "SocketReceive.h"

#include "SocketErrors.h"
#include "platform/TerminationSignals.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <optional>

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace vexa::sockets {

namespace {

constexpr int kMillisecondsPerSecond = 1000;
constexpr long kNanosecondsPerMillisecond = 1000000;
/// No single sleep is longer than this, so that a change of the wall clock
/// is noticed within a second.
constexpr int kLongestSleepMs = 1000;

int g_waitLimitSeconds = kReceiveWaitLimitSeconds;

/// The moment of giving up, on the one-second clock: the first second at
/// which the clock shows more than the limit since \p start.
std::time_t GiveUpAt(std::time_t start)
{
    return start + g_waitLimitSeconds + 1;
}

/// Milliseconds until the one-second clock reaches \p giveUpAt, at least 1
/// (time() may trail the clock read here by a moment) and at most
/// kLongestSleepMs.
int MillisecondsUntil(std::time_t giveUpAt)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const long long remaining =
        static_cast<long long>(giveUpAt - now.tv_sec) * kMillisecondsPerSecond
        - now.tv_nsec / kNanosecondsPerMillisecond;
    return static_cast<int>(std::clamp<long long>(remaining, 1, kLongestSleepMs));
}

enum class WaitResult { Ready, GaveUp };

/// Sleeps until \p fd has bytes waiting or is readable for another reason
/// (end of stream, an error, a descriptor that cannot be asked), or until
/// \p giveUpAt. A termination signal ends the sleep at once: the program is
/// ending and must not sit out the wait first.
WaitResult WaitForBytes(int fd, std::time_t giveUpAt)
{
    for (;;) {
        int waiting = 0;
        if (::ioctl(fd, FIONREAD, &waiting) != 0 || waiting > 0)
            return WaitResult::Ready;
        if (std::time(nullptr) >= giveUpAt)
            return WaitResult::GaveUp;
        // poll() passes over the signal's entry while no descriptor is set up.
        pollfd watched[] = {{fd, POLLIN, 0}, {TerminationSignalDescriptor(), POLLIN, 0}};
        const int polled = ::poll(watched, 2, MillisecondsUntil(giveUpAt));
        if (polled > 0 && (watched[1].revents & POLLIN) != 0)
            return WaitResult::GaveUp;
        if (polled > 0)
            return WaitResult::Ready;
        if (polled < 0 && errno != EINTR)
            return WaitResult::Ready;   // the receive that follows reports it
    }
}

/// What a receive after a wait gives: a byte count (0 at the end of the
/// stream), a failure (-1, the last socket error set), or kNothingYet when the
/// wake-up was spurious and the wait goes on.
constexpr qint64 kNothingYet = -2;

qint64 ReceiveOnce(int fd, char* buffer, qint64 size)
{
    for (;;) {
        const ssize_t received =
            ::recv(fd, buffer, static_cast<std::size_t>(size), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (received >= 0)
            return received;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return kNothingYet;
        SetLastSocketErrorFromErrno(errno);
        return -1;
    }
}

/// Waits for bytes and receives them once; nullopt when the wait gives up.
std::optional<qint64> WaitAndReceive(int fd, char* buffer, qint64 size, std::time_t giveUpAt)
{
    for (;;) {
        if (WaitForBytes(fd, giveUpAt) == WaitResult::GaveUp)
            return std::nullopt;
        const qint64 received = ReceiveOnce(fd, buffer, size);
        if (received != kNothingYet)
            return received;
    }
}

bool IsValidRequest(const char* buffer, qint64 size)
{
    if (buffer != nullptr && size >= 0)
        return true;
    SetLastSocketError(buffer == nullptr ? kBadAddress : kInvalidArgument);
    return false;
}

}  // namespace

void SetReceiveWaitLimitSeconds(int seconds)
{
    g_waitLimitSeconds = std::max(seconds, 0);
}

int ReceiveWaitLimitSeconds()
{
    return g_waitLimitSeconds;
}

qint64 ReceiveWithWait(int fd, char* buffer, qint64 size)
{
    if (!IsValidRequest(buffer, size))
        return -1;
    const std::optional<qint64> received =
        WaitAndReceive(fd, buffer, size, GiveUpAt(std::time(nullptr)));
    if (!received)
        return 0;
    buffer[*received < 0 ? 0 : *received] = '\0';
    return *received;
}

qint64 ReceiveAllWithWait(int fd, char* buffer, qint64 size)
{
    if (!IsValidRequest(buffer, size))
        return -1;
    const std::time_t giveUpAt = GiveUpAt(std::time(nullptr));
    qint64 total = 0;
    while (total < size) {
        const std::optional<qint64> received =
            WaitAndReceive(fd, buffer + total, size - total, giveUpAt);
        if (received && *received < 0) {
            buffer[total] = '\0';
            return -1;
        }
        if (!received || *received == 0)
            break;
        total += *received;
    }
    buffer[total] = '\0';
    return total;
}

}  // namespace vexa::sockets
