#include "graphs/toolkit/TraceRasteriser.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vexa::toolkit {

namespace {

constexpr double kUncovered = std::numeric_limits<double>::infinity();

}  // namespace

void TraceRasteriser::begin(int firstColumn, int lastColumn, int width)
{
    m_firstColumn = firstColumn;
    m_lastColumn = std::max(lastColumn, firstColumn - 1);
    m_width = std::max(width, 1);
    m_hasPoint = false;
    const auto columns = static_cast<std::size_t>(m_lastColumn - m_firstColumn + 1);
    m_low.assign(columns, kUncovered);
    m_high.assign(columns, -kUncovered);
}

void TraceRasteriser::breakLine()
{
    m_hasPoint = false;
}

void TraceRasteriser::add(double x, double y)
{
    if (!m_hasPoint) {
        m_hasPoint = true;
        m_x = x;
        m_y = y;
        const double column = std::floor(x);
        if (column >= m_firstColumn && column <= m_lastColumn) {
            cover(static_cast<int>(column), y, y);
        }
        return;
    }
    const double x0 = m_x;
    const double y0 = m_y;
    m_x = x;
    m_y = y;
    const double left = std::min(x0, x);
    const double right = std::max(x0, x);
    const double first = std::max(std::floor(left), static_cast<double>(m_firstColumn));
    const double last = std::min(std::floor(right), static_cast<double>(m_lastColumn));
    if (first > last) {
        return;  // wholly outside the clip range
    }
    if (first == last) {
        // Within one column (the common case of a dense trace).
        cover(static_cast<int>(first), std::min(y0, y), std::max(y0, y));
        return;
    }
    // Across columns: each gets the part of the segment above it.
    const double slope = (y - y0) / (x - x0);
    for (int column = static_cast<int>(first); column <= static_cast<int>(last); ++column) {
        const double a = std::max(left, static_cast<double>(column));
        const double b = std::min(right, static_cast<double>(column) + 1.0);
        const double ya = y0 + (a - x0) * slope;
        const double yb = y0 + (b - x0) * slope;
        cover(column, std::min(ya, yb), std::max(ya, yb));
    }
}

void TraceRasteriser::cover(int column, double low, double high)
{
    const auto index = static_cast<std::size_t>(column - m_firstColumn);
    m_low[index] = std::min(m_low[index], low);
    m_high[index] = std::max(m_high[index], high);
}

const std::vector<QRect>& TraceRasteriser::runs()
{
    // Widen: a line of width w covers w pixels around its centre both ways,
    // so column c takes the rows of the centre columns c - after ... c + before.
    const int columns = m_lastColumn - m_firstColumn + 1;
    const int before = (m_width - 1) / 2;
    const int after = m_width - 1 - before;
    m_top.assign(static_cast<std::size_t>(columns), std::numeric_limits<int>::max());
    m_bottom.assign(static_cast<std::size_t>(columns), std::numeric_limits<int>::min());
    for (int centre = 0; centre < columns; ++centre) {
        const auto index = static_cast<std::size_t>(centre);
        if (m_low[index] > m_high[index]) {
            continue;
        }
        const int top = static_cast<int>(std::floor(m_low[index])) - before;
        const int bottom = static_cast<int>(std::floor(m_high[index])) + after;
        for (int column = std::max(centre - before, 0); column <= std::min(centre + after, columns - 1); ++column) {
            const auto target = static_cast<std::size_t>(column);
            m_top[target] = std::min(m_top[target], top);
            m_bottom[target] = std::max(m_bottom[target], bottom);
        }
    }
    m_runs.clear();
    for (int column = 0; column < columns;) {
        const int top = m_top[static_cast<std::size_t>(column)];
        const int bottom = m_bottom[static_cast<std::size_t>(column)];
        int end = column + 1;
        while (end < columns && m_top[static_cast<std::size_t>(end)] == top &&
               m_bottom[static_cast<std::size_t>(end)] == bottom) {
            ++end;  // a flat stretch is one rectangle
        }
        if (top <= bottom) {
            m_runs.emplace_back(m_firstColumn + column, top, end - column, bottom - top + 1);
        }
        column = end;
    }
    return m_runs;
}

}  // namespace vexa::toolkit
