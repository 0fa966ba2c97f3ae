#include "graphs/toolkit/Legend.h"

#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/ScrollingPlot.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace vexa::toolkit {

namespace {

constexpr double kChipLines = 1.6;
constexpr double kChipMargin = 2.0;
constexpr double kTextPadding = 4.0;
constexpr double kChipRounding = 3.0;

}  // namespace

Legend::Legend(ChartWindow& chart, const ChartRect& rect, std::vector<QString> names, const ScrollingPlot* plot,
               PaletteIndex background, const QFont& font, PaletteIndex fontColour)
    : ChartElement(chart)
    , m_rect(rect)
    , m_names(std::move(names))
    , m_plot(plot)
    , m_background(background)
    , m_font(font)
    , m_fontColour(fontColour)
{
}

QRectF Legend::nameRect(int index) const
{
    const QRectF area = PixelRect(m_rect, QSizeF(chart().size()));
    const QRectF slot = ColumnSlot(area, index, static_cast<int>(m_names.size()));
    const QFontMetricsF metrics(m_font);
    const double height = std::max(std::min(metrics.height() * kChipLines, slot.height() - 2 * kChipMargin), 1.0);
    QRectF chip(slot.left() + kChipMargin, 0.0, std::max(slot.width() - 2 * kChipMargin, 1.0), height);
    chip.moveCenter(QPointF(chip.center().x(), slot.center().y()));
    return chip;
}

void Legend::paint(QPainter& painter)
{
    const QRectF area = PixelRect(m_rect, QSizeF(chart().size()));
    painter.fillRect(area, PaletteColour(m_background));
    const QColor plotFill = chart().plotFrame().fill();
    const QColor chipFill = plotFill.isValid() ? plotFill : PaletteColour(m_background);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int index = 0; index < static_cast<int>(m_names.size()); ++index) {
        const QRectF chip = nameRect(index);
        painter.setPen(Qt::NoPen);
        painter.setBrush(chipFill);
        painter.drawRoundedRect(chip, kChipRounding, kChipRounding);
        const bool traced = m_plot != nullptr && index < m_plot->traceCount();
        painter.setPen(traced ? m_plot->traceColour(index) : PaletteColour(m_fontColour));
        const QString& name = m_names[static_cast<std::size_t>(index)];
        const QRectF textRect = chip.adjusted(kTextPadding, 0, -kTextPadding, 0);
        painter.setFont(FittedFont(m_font, name, textRect.size()));
        DrawFittedText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
}

}  // namespace vexa::toolkit
