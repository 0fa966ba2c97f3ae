#include "graphs/toolkit/GridLines.h"

#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/ChartWindow.h"

#include <QPainter>

#include <cmath>

namespace vexa::toolkit {

namespace {

/// A grid line this close to the plot's frame would only thicken it.
constexpr double kAxisClearance = 1.0;

}  // namespace

GridLines::GridLines(ChartWindow& chart, const Axis& axis, const QPen& pen)
    : ChartElement(chart)
    , m_axis(axis)
    , m_pen(pen)
{
}

void GridLines::paint(QPainter& painter)
{
    if (!m_shown) {
        return;
    }
    double anchor = 0.0;
    m_axis.currentTicks(m_ticks, anchor);
    const PlotFrame& frame = chart().plotFrame();
    const QRectF& plot = frame.pixelRect();
    painter.setClipRect(plot);
    painter.setPen(m_pen);
    const bool vertical = m_axis.direction() == AxisOrientation::Horizontal;  // lines across a horizontal axis
    for (double tick : m_ticks) {
        const double position = vertical ? frame.xMap().toPixel(tick) : frame.yMap().toPixel(tick);
        const double low = vertical ? plot.left() : plot.top();
        const double high = vertical ? plot.right() : plot.bottom();
        if (std::abs(position - low) < kAxisClearance || std::abs(position - high) < kAxisClearance) {
            continue;
        }
        if (vertical) {
            painter.drawLine(QPointF(position, plot.top()), QPointF(position, plot.bottom()));
        } else {
            painter.drawLine(QPointF(plot.left(), position), QPointF(plot.right(), position));
        }
    }
}

}  // namespace vexa::toolkit
