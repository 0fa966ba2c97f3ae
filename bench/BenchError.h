#pragma once

// What the benchmark programs report a failure with.

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace vexa::bench {

/// A failure that ends the benchmark: wrong answers, a refused connection,
/// a server that stopped answering.
class BenchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// \p what with the system's text of the last error.
inline std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

}  // namespace vexa::bench
