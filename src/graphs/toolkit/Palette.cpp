#include "graphs/toolkit/Palette.h"

namespace vexa::toolkit {

namespace {

/// The colours, by index.
constexpr std::array<QRgb, palette::kSize> kPalette{
    qRgb(0, 0, 0),        // Black
    qRgb(0, 0, 150),      // Blue
    qRgb(0, 170, 0),      // Green
    qRgb(0, 160, 160),    // Cyan
    qRgb(255, 40, 40),    // Red
    qRgb(220, 0, 220),    // Magenta
    qRgb(190, 120, 40),   // Brown
    qRgb(200, 200, 200),  // Light Gray
    qRgb(128, 128, 128),  // Gray
    qRgb(90, 150, 255),   // Light Blue
    qRgb(100, 255, 100),  // Light Green
    qRgb(120, 255, 255),  // Light Cyan
    qRgb(255, 100, 100),  // Light Red
    qRgb(255, 120, 255),  // Light Magenta
    qRgb(255, 255, 0),    // Yellow
    qRgb(255, 255, 255),  // White
    qRgb(170, 205, 240),  // Pale Blue
    qRgb(195, 230, 195),  // Pale Green
    qRgb(60, 160, 90),    // Medium Green
    qRgb(250, 248, 238),  // Off-White
};

}  // namespace

QColor PaletteColour(PaletteIndex index)
{
    if (index < 0 || index >= palette::kSize) {
        return QColor(kPalette[palette::kBlack]);
    }
    return QColor(kPalette[static_cast<std::size_t>(index)]);
}

}  // namespace vexa::toolkit
