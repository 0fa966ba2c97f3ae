#include "graphs/toolkit/DragZoom.h"

namespace vexa::toolkit {

DragZoom::DragZoom(Qt::MouseButton button)
    : m_button(button)
{
}

Qt::MouseButton DragZoom::button() const
{
    return m_button;
}

void DragZoom::start(const QPointF& position)
{
    m_dragging = true;
    m_start = position;
    m_current = position;
}

void DragZoom::move(const QPointF& position)
{
    if (m_dragging) {
        m_current = position;
    }
}

bool DragZoom::finish(const QPointF& position, QRectF& dragged)
{
    if (!m_dragging) {
        return false;
    }
    m_current = position;
    m_dragging = false;
    dragged = band();
    return dragged.width() >= kMinDragPixels && dragged.height() >= kMinDragPixels;
}

void DragZoom::cancel()
{
    m_dragging = false;
}

bool DragZoom::isDragging() const
{
    return m_dragging;
}

QRectF DragZoom::band() const
{
    return QRectF(m_start, m_current).normalized();
}

}  // namespace vexa::toolkit
