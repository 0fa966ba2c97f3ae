#pragma once

#include "link/sockets/Socket.h"
#include "support/RawTcpClient.h"

#include <string_view>

/// Both ends of loopback connections as the socket module's own sockets, for
/// the tests of that module, which hand them to the calls under test.
namespace vexa::test {

/// A TCP socket listening on 127.0.0.1 at a port the system chose.
sockets::Socket ListenOnLoopback();
/// A plain blocking connect to 127.0.0.1 at \p port; invalid when it fails.
sockets::Socket ConnectToLoopback(int port);
/// Accepts one connection on \p listeningFd, waiting up to \p timeoutMs.
sockets::Socket AcceptWithin(int listeningFd, int timeoutMs);

/// Both ends of one loopback connection.
struct ConnectedPair {
    sockets::Socket client;
    sockets::Socket server;
};
ConnectedPair ConnectLoopbackPair();

/// Sends all of \p bytes on \p fd (blocking); false when a send fails.
bool SendAll(int fd, std::string_view bytes);
/// Closes \p socket so that its peer sees a reset instead of an orderly end.
void CloseWithReset(sockets::Socket& socket);

}  // namespace vexa::test
