#include "InputTestSupport.h"

#include "support/ServerProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <ostream>

namespace vexa::server::test {

bool SunkValue::operator==(const SunkValue& other) const
{
    const bool sameTime = sourceTime == other.sourceTime || (std::isnan(sourceTime) && std::isnan(other.sourceTime));
    return name == other.name && DoubleBytes(value) == DoubleBytes(other.value) && sameTime;
}

void PrintTo(const SunkValue& value, std::ostream* os)
{
    *os << "{\"" << value.name << "\", " << value.value << (std::signbit(value.value) ? " (negative)" : "") << ", "
        << value.sourceTime << "}";
}

void RecordingSink::Value(std::string_view name, double value, double sourceTime)
{
    values.push_back(SunkValue{std::string(name), value, sourceTime});
}

QByteArray DoubleBytes(double value)
{
    QByteArray bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

bool SendDatagram(int port, const QByteArray& datagram)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = vexa::test::LoopbackAddress(port);
    const ssize_t sent = ::sendto(fd, datagram.constData(), size_t(datagram.size()), 0,
                                  reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(fd);
    return sent == datagram.size();
}

int FreeUdpPort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = vexa::test::LoopbackAddress(0);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

}  // namespace vexa::server::test
