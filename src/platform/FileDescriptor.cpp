#include "FileDescriptor.h"

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace vexa {

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.take();
    }
    return *this;
}

int FileDescriptor::take()
{
    return std::exchange(m_fd, -1);
}

int FileDescriptor::close()
{
    const int result = ::close(take());
    return result == 0 ? 0 : errno;
}

int FileDescriptor::writeAll(std::string_view bytes) const
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace vexa
