#include "RawUdp.h"

#include "support/RawTcpClient.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vexa::test {

int FreeUdpPort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = LoopbackAddress(0);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    const int port = LocalPort(fd);
    ::close(fd);
    return port;
}

bool SendLoopbackDatagram(int port, const QByteArray& datagram)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = LoopbackAddress(port);
    const ssize_t sent = ::sendto(fd, datagram.constData(), static_cast<size_t>(datagram.size()), 0,
                                  reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(fd);
    return sent == datagram.size();
}

}  // namespace vexa::test
