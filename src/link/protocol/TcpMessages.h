#pragma once

#include "link/protocol/LayoutBlock.h"

#include <QByteArray>

#include <optional>

namespace vexa::link {

/// "M" followed by the bytes of the layout in force, written with one send.
QByteArray BuildLayoutMessage(const LayoutBlock& layout);
/// The one-byte sample request.
QByteArray BuildSampleRequest();
/// Length of the layout message for \p count names: (count + 8) x 33 + 1.
int LayoutMessageLength(int count);

/// One whole message taken off a TCP stream.
struct TcpMessage {
    enum class Kind { SampleRequest, Layout };
    Kind kind;
    /// The message as it arrived, command byte included. A layout whose
    /// count is out of range carries its header alone.
    QByteArray bytes;
};

/// Gathers the bytes of one connection into whole messages. Messages carry
/// no length of their own: a sample request is its one byte, and a layout
/// is whole once its header has come and then as many names as its count
/// announces. A layout whose count is below 0 or above the limit is handed
/// on with its header alone (the receiver refuses it) and the bytes that came
/// with it are dropped; bytes that begin no known message are dropped. The
/// gatherer never holds more than the longest message.
class TcpMessageFramer {
public:
    /// A framer that accepts layouts of up to \p maxNames names.
    explicit TcpMessageFramer(int maxNames);

    /// The most bytes that may be appended now.
    qint64 room() const;
    /// Appends received bytes; anything beyond room() is not taken.
    /// Returns the number of bytes taken.
    qint64 append(const char* bytes, qint64 length);
    /// The next whole message, if one has arrived.
    std::optional<TcpMessage> next();
    qint64 pending() const { return m_pending.size(); }
    void clear() { m_pending.clear(); }

    /// The longest message this framer can gather.
    qint64 capacity() const { return m_capacity; }

private:
    int m_maxNames;
    qint64 m_capacity;
    QByteArray m_pending;
};

}  // namespace vexa::link
