#pragma once

#include <QColor>

#include <array>

/// The twenty named colours that charts are drawn in, by index.
namespace vexa::toolkit {

/// A colour of the palette by its index, 0 ... 19: how a graph's settings
/// name a colour.
using PaletteIndex = int;

/// The palette's colours by name.
namespace palette {
inline constexpr PaletteIndex kBlack = 0;
inline constexpr PaletteIndex kBlue = 1;
inline constexpr PaletteIndex kGreen = 2;
inline constexpr PaletteIndex kCyan = 3;
inline constexpr PaletteIndex kRed = 4;
inline constexpr PaletteIndex kMagenta = 5;
inline constexpr PaletteIndex kBrown = 6;
inline constexpr PaletteIndex kLightGray = 7;
inline constexpr PaletteIndex kGray = 8;
inline constexpr PaletteIndex kLightBlue = 9;
inline constexpr PaletteIndex kLightGreen = 10;
inline constexpr PaletteIndex kLightCyan = 11;
inline constexpr PaletteIndex kLightRed = 12;
inline constexpr PaletteIndex kLightMagenta = 13;
inline constexpr PaletteIndex kYellow = 14;
inline constexpr PaletteIndex kWhite = 15;
inline constexpr PaletteIndex kPaleBlue = 16;
inline constexpr PaletteIndex kPaleGreen = 17;
inline constexpr PaletteIndex kMediumGreen = 18;
inline constexpr PaletteIndex kOffWhite = 19;
/// How many colours the palette has.
inline constexpr int kSize = 20;
}  // namespace palette

/// The colour of \p index; out-of-range indexes give black.
QColor PaletteColour(PaletteIndex index);

/// The colours of a chart's channels when the caller gives none.
inline constexpr std::array<PaletteIndex, 8> kDefaultChannelColours{
    palette::kRed,       palette::kYellow, palette::kGreen,   palette::kGray,
    palette::kLightBlue, palette::kWhite,  palette::kMagenta, palette::kBrown};

}  // namespace vexa::toolkit
