#include "PagePainting.h"

#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/Palette.h"

#include <QPainter>

#include <algorithm>

namespace vexa::app::printing {

QSize OutputLayoutSize(const toolkit::ChartPage& page)
{
    return page.size().expandedTo(kLeastLayoutSize);
}

void PaintPage(toolkit::ChartPage& page, QPainter& painter, const QRectF& target)
{
    if (target.width() <= 0 || target.height() <= 0)
        return;
    const QSize onScreen = page.size();
    const QSize layout = OutputLayoutSize(page);
    if (layout != onScreen)
        page.resize(layout);
    page.layoutCharts();
    page.buildAll();

    const qreal scale = std::min(target.width() / layout.width(), target.height() / layout.height());
    painter.save();
    painter.translate(target.left() + (target.width() - layout.width() * scale) / 2.0, target.top());
    painter.scale(scale, scale);
    painter.setClipRect(QRect(QPoint(), layout));
    // Where no chart covers the page, the page's own grey shows.
    painter.fillRect(QRect(QPoint(), layout), toolkit::PaletteColour(toolkit::palette::kLightGray));
    page.setRendering(true);
    for (toolkit::ChartWindow* chart : page.findChildren<toolkit::ChartWindow*>(Qt::FindDirectChildrenOnly)) {
        if (chart->isHidden())
            continue;
        painter.save();
        painter.translate(chart->pos());
        painter.setClipRect(QRect(QPoint(), chart->size()), Qt::IntersectClip);
        chart->paintChart(painter);
        painter.restore();
    }
    page.setRendering(false);
    painter.restore();

    if (layout != onScreen) {
        page.resize(onScreen);
        page.layoutCharts();
    }
}

}  // namespace vexa::app::printing
