#pragma once

#include <QRect>

#include <vector>

namespace vexa::toolkit {

/// Turns a polyline into the pixels an unsmoothed line of some width covers,
/// as one vertical run per pixel column, and hands them back as rectangles
/// to fill. A dense trace (thousands of rows over a few hundred columns)
/// then costs one small fill per column instead of one stroked segment per
/// row, and a sparse one still draws as a line. Meant for traces whose
/// x only advances (one run per column is then exact). Only columns inside
/// the clip range are produced; the buffers are reused from trace to trace.
class TraceRasteriser {
public:
    /// Starts a trace clipped to columns [\p firstColumn, \p lastColumn] and
    /// drawn \p width pixels wide.
    void begin(int firstColumn, int lastColumn, int width);
    void add(double x, double y);
    /// Ends the current run of points (a gap in the data); the next point
    /// starts a new one.
    void breakLine();
    /// The covered pixels: one rectangle per run of columns covering the
    /// same rows.
    const std::vector<QRect>& runs();

private:
    void cover(int column, double low, double high);

    int m_firstColumn = 0;
    int m_lastColumn = -1;
    int m_width = 1;
    bool m_hasPoint = false;
    double m_x = 0.0;
    double m_y = 0.0;
    /// Per column from m_firstColumn: the lowest and highest y the line's
    /// centre takes there (low > high: not covered).
    std::vector<double> m_low;
    std::vector<double> m_high;
    std::vector<int> m_top;     ///< per column: first covered row after widening
    std::vector<int> m_bottom;  ///< per column: last covered row after widening
    std::vector<QRect> m_runs;
};

}  // namespace vexa::toolkit
