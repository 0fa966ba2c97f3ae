#include "graphs/toolkit/AlarmShading.h"

#include "graphs/toolkit/ChartWindow.h"

#include <QPainter>

namespace vexa::toolkit {

namespace {

constexpr double kFrameWidth = 1.0;

}  // namespace

AlarmShading::AlarmShading(ChartWindow& chart, SpanSource source)
    : ChartElement(chart)
    , m_source(std::move(source))
{
}

AlarmPart& AlarmShading::colours()
{
    return m_colours;
}

void AlarmShading::paint(QPainter& painter)
{
    m_spans.clear();
    if (m_source) {
        m_source(m_spans);
    }
    if (m_spans.empty()) {
        return;
    }
    // Inside the plot's frame, clear of the axes along it.
    const QRectF plot = chart().plotFrame().pixelRect().adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
    painter.setClipRect(plot);
    for (const AlarmSpan& span : m_spans) {
        if (span.level <= kLevelNormal || span.level >= kAlarmLevelCount) {
            continue;
        }
        const QColor colour = PaletteColour(m_colours.colours[static_cast<std::size_t>(span.level)]);
        painter.fillRect(QRectF(span.left, plot.top(), span.right - span.left, plot.height()), colour);
    }
}

}  // namespace vexa::toolkit
