#include "graphs/toolkit/Panel.h"

#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"

#include <QPainter>

namespace vexa::toolkit {

Panel::Panel(ChartWindow& chart, const ChartRect& rect, const QColor& border, const QColor& fill)
    : ChartElement(chart)
    , m_rect(rect)
    , m_border(border)
    , m_fill(fill)
{
}

void Panel::paint(QPainter& painter)
{
    const QRectF rect = PixelRect(m_rect, QSizeF(chart().size()));
    painter.fillRect(rect, m_fill);
    painter.setPen(m_border);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
}

}  // namespace vexa::toolkit
