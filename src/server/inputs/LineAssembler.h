#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vexa::server {

/// Cuts a byte stream into whole lines, however the reads split it. Only the
/// unfinished end of the last read is kept between reads, and never more
/// than the line limit of it: a line that grows beyond kMaxLineBytes across
/// reads is dropped, up to and including its line end, and counted. Lines
/// that come whole within one read are handed on as they are, without a
/// copy; the line protocol parser drops those that are too long itself.
class LineAssembler {
public:
    /// Receives runs of whole lines, each ended by LF.
    using LinesHandler = std::function<void(std::string_view lines)>;

    /// Takes the next \p bytes of the stream and hands every line they
    /// complete to \p onLines, in order. Returns how many lines it dropped
    /// as too long.
    std::uint64_t Append(std::string_view bytes, const LinesHandler& onLines);

    /// Ends the stream: an unfinished last line that is not too long is
    /// handed to \p onLines as a line of its own.
    void Finish(const LinesHandler& onLines);

    /// Bytes of an unfinished line held for the next read.
    std::size_t pendingBytes() const { return m_partial.size(); }

private:
    std::string m_partial;
    bool m_discarding = false;  ///< inside a line already dropped as too long
};

}  // namespace vexa::server
