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

/// The whole of a chart window, or of a page.
inline constexpr ChartRect kWholeArea{0.0, 0.0, 1.0, 1.0};

/// The values from \p minimum to \p maximum, in scale units.
struct ValueRange {
    double minimum = 0.0;
    double maximum = 1.0;

    double span() const { return maximum - minimum; }
};

/// The scale of a plot area: the x values across, the y values up.
struct ChartScale {
    ValueRange x;
    ValueRange y;
};

/// Where a text stands against its anchor point: its bottom at the point's
/// height, centred on it or starting at it.
enum class Justification { Centre, Left };

/// Which way an axis runs, and which way an axis title reads.
enum class AxisOrientation { Horizontal, Vertical };

/// How the numbers at an axis's ticks read: plain numbers with the decimals
/// the tick interval needs, or clock times (seconds since midnight as
/// hh:mm:ss).
enum class AxisLabels { PlainNumbers, ClockTime };

}  // namespace vexa::toolkit
