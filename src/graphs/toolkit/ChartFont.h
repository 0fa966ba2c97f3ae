#pragma once

#include "graphs/toolkit/Palette.h"

#include <string>

namespace vexa::toolkit {

/// A font that texts and labels are drawn in, with their colour.
struct ChartFont {
    /// The face; one that is empty or not installed gives the default face.
    std::string face;
    /// The size in points; 0 or less gives the default size.
    int pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    PaletteIndex colour = palette::kBlack;
};

/// The built-in fonts: the default face, plain or bold.
enum class StockFont { Plain, Bold };

}  // namespace vexa::toolkit
