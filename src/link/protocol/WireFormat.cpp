#include "link/protocol/WireFormat.h"

#include <QString>

#include <bit>
#include <cstring>

namespace vexa::link {

namespace {

std::uint32_t LoadLittle32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}

void StoreLittle32(char* bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

std::int32_t ReadInt32(const char* bytes)
{
    return std::bit_cast<std::int32_t>(LoadLittle32(bytes));
}

void WriteInt32(char* bytes, std::int32_t value)
{
    StoreLittle32(bytes, std::bit_cast<std::uint32_t>(value));
}

double ReadDouble(const char* bytes)
{
    const std::uint64_t low = LoadLittle32(bytes);
    const std::uint64_t high = LoadLittle32(bytes + 4);
    return std::bit_cast<double>(low | high << 32);
}

void WriteDouble(char* bytes, double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    StoreLittle32(bytes, std::uint32_t(bits & 0xFFFFFFFFu));
    StoreLittle32(bytes + 4, std::uint32_t(bits >> 32));
}

QByteArray ReadTextField(const char* field, int width)
{
    const int limit = width - 1;
    int length = 0;
    while (length < limit && field[length] != '\0') {
        ++length;
    }
    return QByteArray(field, length);
}

void WriteTextField(char* field, int width, const QByteArray& text)
{
    std::memset(field, 0, size_t(width));
    const int length = std::min<int>(int(text.size()), width - 1);
    std::memcpy(field, text.constData(), size_t(length));
}

bool SameDdeName(const QString& a, QLatin1StringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace vexa::link
