#include "VersionText.h"

#include <array>
#include <cstddef>

namespace vexa::app {

namespace {

/// Every byte of \p text complemented, computed while compiling, so that the
/// program file holds only the scrambled form.
template <std::size_t N>
constexpr std::array<char, N - 1> Scrambled(const char (&text)[N])
{
    std::array<char, N - 1> bytes{};
    for (std::size_t i = 0; i + 1 < N; ++i)
        bytes[i] = static_cast<char>(~static_cast<unsigned char>(text[i]));
    return bytes;
}

constexpr auto kLicenceLines = Scrambled(
    "Licensed for use at one site by the engineers who run it.\n"
    "Built for Linux desktops with Qt 6.");

constexpr const char* kNotice = "Copyright (c) 2001-2026 Quillmere Telemetry Works. All rights reserved.";

}  // namespace

QByteArray Unscramble(const QByteArray& scrambled)
{
    QByteArray plain(scrambled.size(), '\0');
    for (qsizetype i = 0; i < scrambled.size(); ++i)
        plain[i] = static_cast<char>(~static_cast<unsigned char>(scrambled.at(i)));
    return plain;
}

QString VersionText()
{
    // Restored once, on first use.
    static const QString licence = QString::fromLatin1(
        Unscramble(QByteArray(kLicenceLines.data(), static_cast<qsizetype>(kLicenceLines.size()))));
    QString text = QString::fromLatin1(kVersionHeading) + licence;
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    return text;
}

QString NoticeLine()
{
    return QString::fromLatin1(kNotice);
}

}  // namespace vexa::app
