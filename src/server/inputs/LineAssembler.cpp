#include "server/inputs/LineAssembler.h"

#include "server/inputs/LineProtocol.h"

namespace vexa::server {

std::uint64_t LineAssembler::Append(std::string_view bytes, const LinesHandler& onLines)
{
    std::uint64_t dropped = 0;
    while (!bytes.empty()) {
        const std::size_t lineEnd = bytes.find('\n');
        if (lineEnd == std::string_view::npos) {
            if (m_discarding)
                return dropped;
            if (m_partial.size() + bytes.size() > kMaxLineBytes) {
                ++dropped;
                m_discarding = true;
                std::string().swap(m_partial);
                return dropped;
            }
            m_partial.append(bytes);
            return dropped;
        }
        const std::string_view rest = bytes.substr(lineEnd + 1);
        if (m_discarding) {
            m_discarding = false;
        } else if (!m_partial.empty()) {
            if (m_partial.size() + lineEnd > kMaxLineBytes) {
                ++dropped;
            } else {
                m_partial.append(bytes.substr(0, lineEnd + 1));
                onLines(m_partial);
            }
            m_partial.clear();
        } else {
            // Every whole line of this read in one go, without a copy.
            const std::size_t lastEnd = bytes.rfind('\n');
            onLines(bytes.substr(0, lastEnd + 1));
            bytes = bytes.substr(lastEnd + 1);
            continue;
        }
        bytes = rest;
    }
    return dropped;
}

void LineAssembler::Finish(const LinesHandler& onLines)
{
    if (!m_discarding && !m_partial.empty())
        onLines(m_partial);
    std::string().swap(m_partial);
    m_discarding = false;
}

}  // namespace vexa::server
