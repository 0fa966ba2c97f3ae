#pragma once

#include "support/RawTcpClient.h"

namespace vexa::test {

/// A TCP port on the loopback interface that nothing uses at the time of
/// asking.
int FreePort();

/// A listening TCP socket, for a test that plays a server or keeps a port
/// taken. Closed when it goes.
class RawTcpListener {
public:
    /// The address it listens on: the loopback interface, or every local
    /// address (as another program holding the port would).
    enum class Address { Loopback, Any };

    /// Listens at \p port, or at one the system picks when \p port is 0;
    /// isListening() tells whether it does.
    explicit RawTcpListener(int port = 0, Address address = Address::Loopback);
    ~RawTcpListener();
    RawTcpListener(const RawTcpListener&) = delete;
    RawTcpListener& operator=(const RawTcpListener&) = delete;

    bool isListening() const { return m_fd >= 0; }
    int port() const { return m_port; }

    /// The next connection made to it, waiting up to \p timeoutMs for one (0:
    /// only one that waits already); not connected when none came.
    RawTcpClient accept(int timeoutMs = 0, RawTcpClient::Peer peer = RawTcpClient::Peer::OtherProcess);

private:
    int m_fd = -1;
    int m_port = 0;
};

}  // namespace vexa::test
