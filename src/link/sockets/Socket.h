#pragma once

namespace vexa::sockets {

/// An owned socket descriptor, -1 when it holds none. It closes the
/// descriptor when it goes (a plain close, without the orderly shutdown of
/// CloseStream()). Movable, not copyable.
class Socket {
public:
    Socket() = default;
    /// Takes over \p fd (-1 for none).
    explicit Socket(int fd);
    ~Socket();

    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket(Socket&& other) noexcept;
    /// Closes the descriptor held so far and takes over \p other's.
    Socket& operator=(Socket&& other) noexcept;

    int fd() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    /// Gives the descriptor up without closing it; the socket is invalid afterwards.
    int release();
    /// Closes the descriptor held so far (unless it is \p fd) and takes over \p fd.
    void reset(int fd = -1);

private:
    int m_fd = -1;
};

}  // namespace vexa::sockets
