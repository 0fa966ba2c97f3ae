#pragma once

#include "graphs/toolkit/Palette.h"

namespace vexa::toolkit {

/// How a line is drawn.
enum class LineStyle { Solid, Dashed, Dotted };

/// The narrowest line, one pixel wide; narrower widths draw as this.
inline constexpr int kThinLine = 1;

/// A line's style, width in pixels and colour: what axes, grids, traces and
/// frames are drawn with.
struct LineAttributes {
    LineStyle style = LineStyle::Solid;
    int width = kThinLine;
    PaletteIndex colour = palette::kBlack;
};

}  // namespace vexa::toolkit
