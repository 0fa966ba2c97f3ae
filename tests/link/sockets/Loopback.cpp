#include "Loopback.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>

namespace vexa::test {

sockets::Socket ListenOnLoopback()
{
    sockets::Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = LoopbackAddress(0);
    EXPECT_EQ(::bind(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::listen(socket.fd(), SOMAXCONN), 0);
    EXPECT_NE(LocalPort(socket.fd()), 0);
    return socket;
}

sockets::Socket ConnectToLoopback(int port)
{
    sockets::Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = LoopbackAddress(port);
    if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        socket.reset();
    return socket;
}

sockets::Socket AcceptWithin(int listeningFd, int timeoutMs)
{
    pollfd watched{listeningFd, POLLIN, 0};
    if (::poll(&watched, 1, timeoutMs) != 1)
        return {};
    return sockets::Socket(::accept4(listeningFd, nullptr, nullptr, SOCK_CLOEXEC));
}

ConnectedPair ConnectLoopbackPair()
{
    const sockets::Socket listening = ListenOnLoopback();
    ConnectedPair pair;
    pair.client = ConnectToLoopback(LocalPort(listening.fd()));
    pair.server = AcceptWithin(listening.fd(), kWaitTimeoutMs);
    EXPECT_TRUE(pair.client.isValid());
    EXPECT_TRUE(pair.server.isValid());
    return pair;
}

bool SendAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void CloseWithReset(sockets::Socket& socket)
{
    const linger abort{1, 0};
    ::setsockopt(socket.fd(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    socket.reset();
}

}  // namespace vexa::test
