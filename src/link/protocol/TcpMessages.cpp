#include "link/protocol/TcpMessages.h"

#include "link/protocol/WireFormat.h"

#include <algorithm>

namespace vexa::link {

namespace {
constexpr int kCommandBytes = 1;
constexpr int kLayoutHeaderMessageBytes = kCommandBytes + kLayoutHeaderBytes;
}  // namespace

QByteArray BuildLayoutMessage(const LayoutBlock& layout)
{
    return QByteArray(1, kLayoutCommand) + layout.wireBytes();
}

QByteArray BuildSampleRequest()
{
    // One constant byte, handed out without a copy: a server builds one for
    // every request it takes.
    static constexpr char kRequest = kSampleRequest;
    return QByteArray::fromRawData(&kRequest, 1);
}

int LayoutMessageLength(int count)
{
    return LayoutBytesFor(count) + kCommandBytes;
}

TcpMessageFramer::TcpMessageFramer(int maxNames)
    : m_maxNames(std::max(maxNames, 0)), m_capacity(LayoutMessageLength(m_maxNames))
{
}

qint64 TcpMessageFramer::room() const
{
    return m_capacity - m_pending.size();
}

qint64 TcpMessageFramer::append(const char* bytes, qint64 length)
{
    const qint64 taken = std::clamp<qint64>(length, 0, room());
    m_pending.append(bytes, taken);
    return taken;
}

std::optional<TcpMessage> TcpMessageFramer::next()
{
    if (m_pending.isEmpty()) {
        return std::nullopt;
    }
    switch (m_pending.front()) {
    case kSampleRequest:
        m_pending.remove(0, kCommandBytes);
        return TcpMessage{TcpMessage::Kind::SampleRequest, BuildSampleRequest()};
    case kLayoutCommand: {
        if (m_pending.size() < kLayoutHeaderMessageBytes) {
            return std::nullopt;
        }
        const std::int32_t count = ReadInt32(m_pending.constData() + kCommandBytes + kCountOffset);
        if (count < 0 || count > m_maxNames) {
            TcpMessage refused{TcpMessage::Kind::Layout, m_pending.left(kLayoutHeaderMessageBytes)};
            m_pending.clear();
            return refused;
        }
        const int length = LayoutMessageLength(count);
        if (m_pending.size() < length) {
            return std::nullopt;
        }
        TcpMessage layout{TcpMessage::Kind::Layout, m_pending.left(length)};
        m_pending.remove(0, length);
        return layout;
    }
    default:
        m_pending.clear();
        return std::nullopt;
    }
}

}  // namespace vexa::link
