#pragma once

#include <cstddef>
#include <string_view>

namespace vexa {

/// A POSIX file descriptor that closes itself when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor();

    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.take()) {}
    /// Closes the descriptor held so far and takes over \p other's.
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    /// Gives the descriptor up without closing it.
    int take();
    /// Closes now, so that the error of close() can be seen; 0 or errno.
    int close();
    /// Writes all of \p bytes, going on after interrupted and short writes; 0 or errno.
    int writeAll(std::string_view bytes) const;

private:
    int m_fd;
};

}  // namespace vexa
