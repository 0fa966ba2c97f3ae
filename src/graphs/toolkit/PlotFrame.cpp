#include "graphs/toolkit/PlotFrame.h"

namespace vexa::toolkit {

PlotFrame::PlotFrame()
    : m_x(0.0, 1.0)
    , m_y(0.0, 1.0)
{
}

void PlotFrame::setArea(const ChartRect& area)
{
    m_area = area;
}

const ChartRect& PlotFrame::area() const
{
    return m_area;
}

void PlotFrame::setScale(double xMin, double yMin, double xMax, double yMax)
{
    m_x.setRange(xMin, xMax);
    m_y.setRange(yMin, yMax);
}

void PlotFrame::setXRange(double minimum, double maximum)
{
    m_x.setRange(minimum, maximum);
}

void PlotFrame::setYRange(double minimum, double maximum)
{
    m_y.setRange(minimum, maximum);
}

void PlotFrame::setFill(const QColor& fill)
{
    m_fill = fill;
}

const QColor& PlotFrame::fill() const
{
    return m_fill;
}

void PlotFrame::setCrossing(double x, double y)
{
    m_crossX = x;
    m_crossY = y;
}

void PlotFrame::setCrossX(double x)
{
    m_crossX = x;
}

void PlotFrame::setCrossY(double y)
{
    m_crossY = y;
}

double PlotFrame::crossX() const
{
    return m_crossX;
}

double PlotFrame::crossY() const
{
    return m_crossY;
}

void PlotFrame::layout(const QSizeF& size)
{
    const double left = m_area.left * size.width();
    const double right = m_area.right * size.width();
    const double top = m_area.top * size.height();
    const double bottom = m_area.bottom * size.height();
    m_pixelRect = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    m_x.setPixels(left, right);
    m_y.setPixels(bottom, top);  // values grow upwards
}

const QRectF& PlotFrame::pixelRect() const
{
    return m_pixelRect;
}

const ScaleMap& PlotFrame::xMap() const
{
    return m_x;
}

const ScaleMap& PlotFrame::yMap() const
{
    return m_y;
}

}  // namespace vexa::toolkit
