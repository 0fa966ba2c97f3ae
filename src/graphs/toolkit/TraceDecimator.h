#pragma once

#include <QPointF>

#include <vector>

namespace vexa::toolkit {

/// Builds a polyline from points whose x advances monotonically, keeping
/// per pixel column only the first, lowest, highest and last point. Without
/// antialiasing that draws the same pixels as every point would, while a
/// trace never costs more than a few points per column however many rows
/// it holds. The point buffer is reused from one trace to the next.
class TraceDecimator {
public:
    /// Starts a new trace; keeps the buffer's memory.
    void clear();
    void add(double x, double y);
    /// The points so far (closes the current column).
    const std::vector<QPointF>& points();
    bool isEmpty() const;

private:
    void flushColumn();

    std::vector<QPointF> m_points;
    bool m_columnOpen = false;
    long long m_column = 0;
    QPointF m_first;
    QPointF m_low;
    QPointF m_high;
    QPointF m_last;
    int m_columnPoints = 0;
    int m_lowOrder = 0;   ///< arrival order of m_low within the column
    int m_highOrder = 0;  ///< arrival order of m_high within the column
};

}  // namespace vexa::toolkit
