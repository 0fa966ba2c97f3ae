#include "RawTcpListener.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vexa::test {

namespace {

/// Tests accept each connection before the next is made.
constexpr int kBacklog = 1;

}  // namespace

int FreePort()
{
    return RawTcpListener().port();
}

RawTcpListener::RawTcpListener(int port, Address address)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    const sockaddr_in local = address == Address::Loopback ? LoopbackAddress(port) : AnyAddress(port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || ::listen(fd, kBacklog) != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
    m_port = LocalPort(fd);
}

RawTcpListener::~RawTcpListener()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

RawTcpClient RawTcpListener::accept(int timeoutMs, RawTcpClient::Peer peer)
{
    pollfd watched{m_fd, POLLIN, 0};
    if (m_fd < 0 || ::poll(&watched, 1, timeoutMs) != 1)
        return {};
    return RawTcpClient::Adopt(::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC), peer);
}

}  // namespace vexa::test
