#include "graphs/toolkit/LimitLines.h"

#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"

#include <QPainter>

#include <cmath>

namespace vexa::toolkit {

LimitLines::LimitLines(ChartWindow& chart, std::vector<LimitLine> lines)
    : ChartElement(chart)
    , m_lines(std::move(lines))
{
}

void LimitLines::paint(QPainter& painter)
{
    const PlotFrame& frame = chart().plotFrame();
    const QRectF& plot = frame.pixelRect();
    painter.setClipRect(plot);
    for (const LimitLine& line : m_lines) {
        const double y = frame.yMap().toPixel(line.value);
        if (!std::isfinite(y) || y < plot.top() || y > plot.bottom()) {
            continue;
        }
        painter.setPen(LinePen(LineStyle::Dashed, kThinLine, PaletteColour(line.colour)));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
}

}  // namespace vexa::toolkit
