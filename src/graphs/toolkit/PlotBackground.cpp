#include "graphs/toolkit/PlotBackground.h"

#include "graphs/toolkit/ChartWindow.h"

#include <QPainter>

namespace vexa::toolkit {

namespace {

constexpr int kFrameDarkness = 160;  ///< QColor::darker factor of the frame

}  // namespace

PlotBackground::PlotBackground(ChartWindow& chart, const QColor& fill)
    : ChartElement(chart)
    , m_fill(fill)
{
}

void PlotBackground::paint(QPainter& painter)
{
    const QRectF& plot = chart().plotFrame().pixelRect();
    painter.fillRect(plot, m_fill);
    painter.setPen(m_fill.darker(kFrameDarkness));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
}

}  // namespace vexa::toolkit
