#include "Socket.h"

#include <utility>

#include <unistd.h>

namespace vexa::sockets {

Socket::Socket(int fd) : m_fd(fd < 0 ? -1 : fd)
{
}

Socket::~Socket()
{
    reset();
}

Socket::Socket(Socket&& other) noexcept : m_fd(other.release())
{
}

Socket& Socket::operator=(Socket&& other) noexcept
{
    if (this != &other)
        reset(other.release());
    return *this;
}

int Socket::release()
{
    return std::exchange(m_fd, -1);
}

void Socket::reset(int fd)
{
    const int previous = std::exchange(m_fd, fd < 0 ? -1 : fd);
    if (previous >= 0 && previous != m_fd)
        ::close(previous);
}

}  // namespace vexa::sockets
