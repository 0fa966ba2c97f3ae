#pragma once

namespace vexa::toolkit {

/// A point as fractions of a chart window's width and height, measured from
/// its top-left corner.
struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
};

/// A rectangle in fractions of the chart window: (left, top)-(right, bottom).
struct ChartRect {
    double left = 0.0;
    double top = 0.0;
    double right = 1.0;
    double bottom = 1.0;
};

/// Text justification of DrawChartText and DrawHint.
inline constexpr int kJustifyCentre = 6;  ///< centred at x
inline constexpr int kJustifyLeft = 8;    ///< left-aligned at x

}  // namespace vexa::toolkit
