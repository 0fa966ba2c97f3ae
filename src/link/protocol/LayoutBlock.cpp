#include "link/protocol/LayoutBlock.h"

#include "link/protocol/WireFormat.h"

#include <algorithm>
#include <cstring>

namespace vexa::link {

LayoutBlock::LayoutBlock(int capacity)
    : m_capacity(std::max(capacity, 0)), m_bytes(size_t(LayoutBytesFor(m_capacity)), '\0')
{
}

void LayoutBlock::clear()
{
    std::fill(m_bytes.begin(), m_bytes.end(), '\0');
}

QByteArray LayoutBlock::path() const
{
    return ReadTextField(m_bytes.data(), kPathBytes);
}

void LayoutBlock::setPath(const QByteArray& path)
{
    WriteTextField(m_bytes.data(), kPathBytes, path);
}

std::int32_t LayoutBlock::count() const
{
    return ReadInt32(m_bytes.data() + kCountOffset);
}

void LayoutBlock::setCount(std::int32_t count)
{
    WriteInt32(m_bytes.data() + kCountOffset, count);
}

bool LayoutBlock::isCountValid() const
{
    const std::int32_t n = count();
    return n >= 0 && n <= m_capacity;
}

QByteArray LayoutBlock::name(int index) const
{
    if (index < 0 || index >= m_capacity) {
        return {};
    }
    return ReadTextField(m_bytes.data() + kLayoutHeaderBytes + index * kNameBytes, kNameBytes);
}

void LayoutBlock::setName(int index, const QByteArray& name)
{
    if (index < 0 || index >= m_capacity) {
        return;
    }
    WriteTextField(m_bytes.data() + kLayoutHeaderBytes + index * kNameBytes, kNameBytes, name);
}

void LayoutBlock::assign(const char* bytes, qint64 length)
{
    const size_t taken = size_t(std::clamp<qint64>(length, 0, qint64(m_bytes.size())));
    if (taken > 0) {
        std::memcpy(m_bytes.data(), bytes, taken);
    }
    std::fill(m_bytes.begin() + qsizetype(taken), m_bytes.end(), '\0');
}

QByteArray LayoutBlock::wireBytes() const
{
    const int names = isCountValid() ? count() : 0;
    return QByteArray(m_bytes.data(), LayoutBytesFor(names));
}

}  // namespace vexa::link
