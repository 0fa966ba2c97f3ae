#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace vexa::sockets {

/// Windows Sockets error codes. The socket routines of both programs speak
/// these codes, so that one table of texts serves them on every platform;
/// POSIX errno values are translated by WinsockCodeFromErrno().
constexpr int kInterruptedCall = 10004;
constexpr int kAccessDenied = 10013;
constexpr int kBadAddress = 10014;
constexpr int kInvalidArgument = 10022;
constexpr int kTooManyOpenSockets = 10024;
constexpr int kWouldBlock = 10035;
constexpr int kInProgress = 10036;
constexpr int kNotSocket = 10038;
constexpr int kDestinationRequired = 10039;
constexpr int kMessageTooLong = 10040;
constexpr int kWrongProtocolType = 10041;
constexpr int kOptionNotSupported = 10042;
constexpr int kProtocolNotSupported = 10043;
constexpr int kSocketTypeNotSupported = 10044;
constexpr int kOperationNotSupported = 10045;
constexpr int kProtocolFamilyNotSupported = 10046;
constexpr int kAddressFamilyNotSupported = 10047;
constexpr int kAddressInUse = 10048;
constexpr int kAddressNotAvailable = 10049;
constexpr int kNetworkDown = 10050;
constexpr int kNetworkUnreachable = 10051;
constexpr int kNetworkReset = 10052;
constexpr int kConnectionAborted = 10053;
constexpr int kConnectionReset = 10054;
constexpr int kNoBufferSpace = 10055;
constexpr int kAlreadyConnected = 10056;
constexpr int kNotConnected = 10057;
constexpr int kShutDown = 10058;
constexpr int kTooManyReferences = 10059;
constexpr int kTimedOut = 10060;
constexpr int kConnectionRefused = 10061;
constexpr int kNameLoop = 10062;
constexpr int kNameTooLong = 10063;
constexpr int kHostDown = 10064;
constexpr int kHostUnreachable = 10065;
constexpr int kDirectoryNotEmpty = 10066;
constexpr int kTooManyUsers = 10068;
constexpr int kDiskQuotaExceeded = 10069;
constexpr int kStaleHandle = 10070;
constexpr int kRemoteObject = 10071;
constexpr int kNotInitialised = 10093;
/// Name lookup failures (getaddrinfo's EAI_* answers).
constexpr int kHostNotFound = 11001;
constexpr int kTryAgain = 11002;
constexpr int kNoRecovery = 11003;
constexpr int kNoData = 11004;

/// The Windows Sockets code for a POSIX errno value; 0 for 0.
///
/// Every errno that Windows Sockets knows by a code of its own gets that code
/// (ECONNREFUSED 10061, EHOSTUNREACH 10065, ...); ENOMEM becomes 10055, the
/// code Windows Sockets gives for exhausted memory. Any other errno is passed
/// on unchanged: it lies far below the Windows Sockets range, so it never
/// names an entry of the description table and is reported as an unknown
/// code carrying the system's own number.
int WinsockCodeFromErrno(int err);

/// The Windows Sockets code for a getaddrinfo() failure (EAI_NONAME 11001,
/// EAI_AGAIN 11002, EAI_FAIL 11003, EAI_NODATA 11004; EAI_SYSTEM takes
/// \p err, the errno of the failed call; anything else 11003).
int WinsockCodeFromLookup(int eaiCode, int err);

/// The description of \p code from the error table; nullopt when the table
/// holds no entry for it.
std::optional<QString> SocketErrorDescription(int code);

/// The module's "last Windows Sockets error", 0 when none was set.
int LastSocketError();
/// Sets the last error. Every operation of the module that fails sets it;
/// callers may set it too before ReportSocketError().
void SetLastSocketError(int code);
/// Sets the last error from a POSIX errno value.
void SetLastSocketErrorFromErrno(int err);

/// Reports the last socket error to the user; does nothing when it is 0.
///
/// Otherwise it beeps and, unless another such box is open at the moment,
/// shows an information box owned by \p window. For a code of the table the
/// text is the description, then "\n\nCalled by: " and the running program's
/// path, and the caption is \p text. For any other code the caption is
/// "Winsock Error" and the text is \p text followed by the code in decimal and
/// hexadecimal and the program's path. Callers format \p text beforehand.
void ReportSocketError(QWidget* window, const QString& text);

}  // namespace vexa::sockets
