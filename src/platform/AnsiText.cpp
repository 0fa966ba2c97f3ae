#include "AnsiText.h"

#include <QFile>

#include <array>
#include <cstdint>

namespace vexa {

namespace {

constexpr unsigned char kFirstSpecialByte = 0x80;
constexpr unsigned char kLastSpecialByte = 0x9F;
constexpr char kUnrepresentable = '?';

/// The code points of bytes 0x80 to 0x9F, the only range where Windows-1252
/// differs from Latin-1. The five bytes the code page leaves undefined map to
/// the C1 controls of the same number, so that every byte survives a round
/// trip through a QString.
constexpr std::array<char16_t, kLastSpecialByte - kFirstSpecialByte + 1> kSpecialCodePoints{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr char16_t kLastLatin1 = 0xFF;

/// The byte for one UTF-16 unit, or kUnrepresentable.
char AnsiByteFor(char16_t unit)
{
    const bool isLatin1Range = unit <= kLastLatin1;
    const bool isSpecialRange = unit >= kFirstSpecialByte && unit <= kLastSpecialByte;
    if (isLatin1Range && !isSpecialRange)
        return static_cast<char>(unit);
    for (std::size_t i = 0; i < kSpecialCodePoints.size(); ++i) {
        if (kSpecialCodePoints[i] == unit)
            return static_cast<char>(kFirstSpecialByte + i);
    }
    return kUnrepresentable;
}

}  // namespace

QString FromAnsi(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        const bool isSpecial = value >= kFirstSpecialByte && value <= kLastSpecialByte;
        *out++ = QChar(isSpecial ? kSpecialCodePoints[value - kFirstSpecialByte]
                                 : static_cast<char16_t>(value));
    }
    return text;
}

std::string ToAnsi(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        // A character outside the basic plane is one character, so one '?'.
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            bytes.push_back(kUnrepresentable);
            ++i;
            continue;
        }
        bytes.push_back(AnsiByteFor(unit.unicode()));
    }
    return bytes;
}

QString FromLocalPath(std::string_view path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string ToLocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace vexa
