#pragma once

#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/LineAttributes.h"
#include "graphs/toolkit/Palette.h"

#include <QFont>

namespace vexa::toolkit {

/// The drawing state a chart builder draws in: plot area, scale, axis
/// crossing, the current font with its colour and the line attributes.
/// Every element copies what it needs of it when it is created.
class ChartContext {
public:
    /// The face of the stock fonts, and of a chosen face that is not
    /// installed.
    static constexpr const char* kDefaultFace = "Liberation Sans";
    static constexpr double kDefaultPointSize = 10.0;

    ChartContext();

    ChartRect plotArea;
    double xMin = 0.0;
    double yMin = 0.0;
    double xMax = 1.0;
    double yMax = 1.0;
    double crossX = 0.0;
    double crossY = 0.0;
    QFont font;
    PaletteIndex fontColour = palette::kBlack;
    LineAttributes line;
};

}  // namespace vexa::toolkit
