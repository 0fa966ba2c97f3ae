#include "graphs/toolkit/TraceDecimator.h"

#include <cmath>

namespace vexa::toolkit {

void TraceDecimator::clear()
{
    m_points.clear();
    m_columnOpen = false;
    m_columnPoints = 0;
}

void TraceDecimator::add(double x, double y)
{
    const auto column = static_cast<long long>(std::floor(x));
    const QPointF point(x, y);
    if (m_columnOpen && column == m_column) {
        if (y < m_low.y()) {
            m_low = point;
            m_lowOrder = m_columnPoints;
        }
        if (y > m_high.y()) {
            m_high = point;
            m_highOrder = m_columnPoints;
        }
        m_last = point;
        ++m_columnPoints;
        return;
    }
    flushColumn();
    m_columnOpen = true;
    m_column = column;
    m_first = m_low = m_high = m_last = point;
    m_columnPoints = 1;
    m_lowOrder = 0;
    m_highOrder = 0;
}

void TraceDecimator::flushColumn()
{
    if (!m_columnOpen) {
        return;
    }
    m_points.push_back(m_first);
    if (m_columnPoints > 1) {
        // Extremes in the order they came, so the line runs through both.
        const bool lowFirst = m_lowOrder <= m_highOrder;
        const QPointF& a = lowFirst ? m_low : m_high;
        const QPointF& b = lowFirst ? m_high : m_low;
        if (a != m_first) {
            m_points.push_back(a);
        }
        if (b != a && b != m_first) {
            m_points.push_back(b);
        }
        if (m_last != b) {
            m_points.push_back(m_last);
        }
    }
    m_columnOpen = false;
    m_columnPoints = 0;
}

const std::vector<QPointF>& TraceDecimator::points()
{
    flushColumn();
    return m_points;
}

bool TraceDecimator::isEmpty() const
{
    return m_points.empty() && !m_columnOpen;
}

}  // namespace vexa::toolkit
