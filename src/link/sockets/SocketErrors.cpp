#include "SocketErrors.h"

#include "platform/Messages.h"

#include <QCoreApplication>

#include <array>
#include <cerrno>
#include <utility>

#include <netdb.h>

namespace vexa::sockets {

namespace {

/// The program's path is shown with at most this many characters.
constexpr qsizetype kProgramPathLimit = 299;

/// Winsock's codes for the errno values that it knows.
constexpr auto kErrnoCodes = std::to_array<std::pair<int, int>>({
    {EINTR, kInterruptedCall},
    {EACCES, kAccessDenied},
    {EFAULT, kBadAddress},
    {EINVAL, kInvalidArgument},
    {EMFILE, kTooManyOpenSockets},
    {ENFILE, kTooManyOpenSockets},
    {EWOULDBLOCK, kWouldBlock},
    {EAGAIN, kWouldBlock},
    {EINPROGRESS, kInProgress},
    {EALREADY, kInProgress},
    {ENOTSOCK, kNotSocket},
    {EBADF, kNotSocket},
    {EDESTADDRREQ, kDestinationRequired},
    {EMSGSIZE, kMessageTooLong},
    {EPROTOTYPE, kWrongProtocolType},
    {ENOPROTOOPT, kOptionNotSupported},
    {EPROTONOSUPPORT, kProtocolNotSupported},
    {ESOCKTNOSUPPORT, kSocketTypeNotSupported},
    {EOPNOTSUPP, kOperationNotSupported},
    {EPFNOSUPPORT, kProtocolFamilyNotSupported},
    {EAFNOSUPPORT, kAddressFamilyNotSupported},
    {EADDRINUSE, kAddressInUse},
    {EADDRNOTAVAIL, kAddressNotAvailable},
    {ENETDOWN, kNetworkDown},
    {ENETUNREACH, kNetworkUnreachable},
    {ENETRESET, kNetworkReset},
    {ECONNABORTED, kConnectionAborted},
    {ECONNRESET, kConnectionReset},
    {ENOBUFS, kNoBufferSpace},
    {ENOMEM, kNoBufferSpace},
    {EISCONN, kAlreadyConnected},
    {ENOTCONN, kNotConnected},
    {ESHUTDOWN, kShutDown},
    {EPIPE, kShutDown},
    {ETOOMANYREFS, kTooManyReferences},
    {ETIMEDOUT, kTimedOut},
    {ECONNREFUSED, kConnectionRefused},
    {ELOOP, kNameLoop},
    {ENAMETOOLONG, kNameTooLong},
    {EHOSTDOWN, kHostDown},
    {EHOSTUNREACH, kHostUnreachable},
    {ENOTEMPTY, kDirectoryNotEmpty},
    {EUSERS, kTooManyUsers},
    {EDQUOT, kDiskQuotaExceeded},
    {ESTALE, kStaleHandle},
    {EREMOTE, kRemoteObject},
});

struct ErrorText {
    int code;
    const char* description;
};

constexpr auto kErrorTexts = std::to_array<ErrorText>({
    {kInterruptedCall, "The (blocking) call was canceled using WSACancelBlockingCall."},
    {kAccessDenied,
     "The requested address is a broadcast address, but the appropriate flag was not set."},
    {kBadAddress, "The namelen argument is not large enough."},
    {kInvalidArgument, "The socket has not been bound to an address with bind."},
    {kTooManyOpenSockets, "No more file descriptors are available."},
    {kWouldBlock, "The socket is marked as nonblocking and the requested operation would block."},
    {kInProgress, "A blocking Windows Sockets operation is in progress."},
    {kNotSocket, "The descriptor is not a socket."},
    {kDestinationRequired, "A destination address is required."},
    {kMessageTooLong,
     "The socket is of type SOCK_DGRAM, and the datagram is larger than the maximum supported "
     "by the Windows Sockets implementation."},
    {kOperationNotSupported, "MSG_OOB was specified, but the socket is not of type SOCK_STREAM."},
    {kAddressFamilyNotSupported, "Addresses in the specified family cannot be used with this socket."},
    {kAddressInUse,
     "The specified address is already in use. (See the SO_REUSEADDR socket option under "
     "setsockopt.)"},
    {kAddressNotAvailable, "The specified address is not available from the local computer."},
    {kNetworkDown,
     "The Windows Sockets implementation has detected that the network subsystem has failed."},
    {kNetworkUnreachable, "The network can't be reached from this host at this time."},
    {kNetworkReset,
     "The connection must be reset because the Windows Sockets implementation dropped it."},
    {kConnectionAborted, "The virtual circuit was aborted due to timeout or other failure."},
    {kConnectionReset, "The virtual circuit was reset by the remote side."},
    {kNoBufferSpace, "The Windows Sockets implementation reports a buffer deadlock."},
    {kAlreadyConnected, "The socket is already connected."},
    {kNotConnected, "The socket is not connected (SOCK_STREAM only)."},
    {kShutDown,
     "The socket has been shut down; it is not possible to sendto on a socket after shutdown "
     "has been invoked with how set to 1 or 2."},
    {kTimedOut, "Attempt to connect timed out without establishing a connection."},
    {kConnectionRefused, "The attempt to connect was forcefully rejected."},
    {kNotInitialised, "A successful WSAStartup must occur before using this function."},
});

int g_lastError = 0;
/// Held while a socket error box is open, so that errors meanwhile only beep.
bool g_reportBoxOpen = false;

/// Sets a flag for as long as it lives.
class FlagHolder {
public:
    explicit FlagHolder(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagHolder() { m_flag = false; }
    FlagHolder(const FlagHolder&) = delete;
    FlagHolder& operator=(const FlagHolder&) = delete;

private:
    bool& m_flag;
};

QString ProgramPath()
{
    return QCoreApplication::applicationFilePath().left(kProgramPathLimit);
}

}  // namespace

int WinsockCodeFromErrno(int err)
{
    for (const auto& [errnoValue, code] : kErrnoCodes) {
        if (errnoValue == err)
            return code;
    }
    return err;
}

int WinsockCodeFromLookup(int eaiCode, int err)
{
    switch (eaiCode) {
    case 0:
        return 0;
    case EAI_NONAME:
        return kHostNotFound;
    case EAI_AGAIN:
        return kTryAgain;
#ifdef EAI_NODATA
    case EAI_NODATA:
        return kNoData;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
        return kNoData;
#endif
    case EAI_MEMORY:
        return kNoBufferSpace;
    case EAI_SYSTEM:
        return err != 0 ? WinsockCodeFromErrno(err) : kNoRecovery;
    default:
        return kNoRecovery;
    }
}

std::optional<QString> SocketErrorDescription(int code)
{
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.code == code)
            return QString::fromLatin1(entry.description);
    }
    return std::nullopt;
}

int LastSocketError()
{
    return g_lastError;
}

void SetLastSocketError(int code)
{
    g_lastError = code;
}

void SetLastSocketErrorFromErrno(int err)
{
    g_lastError = WinsockCodeFromErrno(err);
}

void ReportSocketError(QWidget* window, const QString& text)
{
    const int code = LastSocketError();
    if (code == 0)
        return;
    Beep();
    if (g_reportBoxOpen)
        return;

    const QString path = ProgramPath();
    QString message;
    QString caption;
    if (const std::optional<QString> description = SocketErrorDescription(code)) {
        message = *description + QStringLiteral("\n\nCalled by: ") + path;
        caption = text;
    } else {
        message = text + QStringLiteral("\n\nUnknown error code: ") + QString::number(code)
                  + QStringLiteral(" (0x") + QString::number(static_cast<uint>(code), 16)
                  + QStringLiteral(")\n\nCalled by: ") + path;
        caption = QStringLiteral("Winsock Error");
    }
    const FlagHolder boxOpen(g_reportBoxOpen);
    ShowMessage(window, message, caption, MessageIcon::Information);
}

}  // namespace vexa::sockets
