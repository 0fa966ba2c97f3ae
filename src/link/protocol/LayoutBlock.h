#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace vexa::link {

/// The layout block: the measurement file path, the count and the names in the
/// order of the values of every later data sample. Each program keeps one
/// block of its own capacity; only its first (count + 8) x 33 bytes travel.
class LayoutBlock {
public:
    /// A zeroed block with room for \p capacity names.
    explicit LayoutBlock(int capacity);

    int capacity() const { return m_capacity; }
    /// The whole block's size in bytes.
    int size() const { return int(m_bytes.size()); }
    const char* data() const { return m_bytes.data(); }

    /// Empty path, count 0, every name empty.
    void clear();

    QByteArray path() const;
    /// Sets the path, cut at 259 characters.
    void setPath(const QByteArray& path);

    /// The count as it stands in the block, which a received block may
    /// carry out of range.
    std::int32_t count() const;
    void setCount(std::int32_t count);
    /// True when the count lies between 0 and the capacity.
    bool isCountValid() const;

    /// Name \p index, cut at 32 characters; empty outside the block.
    QByteArray name(int index) const;
    /// Sets name \p index (cut at 32 characters); ignored outside the block.
    void setName(int index, const QByteArray& name);

    /// Replaces the contents with \p length received bytes: at most the
    /// block's size is taken, and the bytes not received are zeroed.
    void assign(const char* bytes, qint64 length);

    /// The bytes that travel for the count in force: (count + 8) x 33. A
    /// count out of range sends the header alone.
    QByteArray wireBytes() const;

private:
    int m_capacity;
    std::vector<char> m_bytes;
};

}  // namespace vexa::link
