#include "graphs/toolkit/TimeLabels.h"

#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/AxisTicks.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/ScrollingPlot.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vexa::toolkit {

namespace {

constexpr double kLabelSpacing = 6.0;

}  // namespace

TimeLabels::TimeLabels(ChartWindow& chart, Axis& axis, const QFont& font, const QColor& colour)
    : ChartElement(chart)
    , m_axis(axis)
    , m_font(font)
    , m_colour(colour)
    , m_widest(TextAdvance(font, ClockTimeText(0.0)))
    , m_lineHeight(QFontMetricsF(font).height())
{
}

void TimeLabels::start(double startTime)
{
    m_startTime = startTime;
    m_started = true;
}

bool TimeLabels::isStarted() const
{
    return m_started;
}

double TimeLabels::startTime() const
{
    return m_startTime;
}

void TimeLabels::link(const ScrollingPlot* plot)
{
    m_plot = plot;
    m_axis.setScrollSource(plot);  // the ticks move with the same plot
}

double TimeLabels::scrollOrigin() const
{
    return m_plot != nullptr ? m_plot->scrollOrigin() : m_axis.scrollOrigin();
}

double TimeLabels::clockTimeAt(double tick) const
{
    const double scaleMinimum = chart().plotFrame().xMap().mappedMinimum();
    return m_startTime + (tick - scaleMinimum) + scrollOrigin();
}

void TimeLabels::paint(QPainter& painter)
{
    double anchor = 0.0;
    const double step = m_axis.currentTicks(m_ticks, anchor);
    if (m_ticks.empty()) {
        return;
    }
    const ScaleMap& x = chart().plotFrame().xMap();
    const double top = m_axis.linePosition() + Axis::kTickLength + Axis::kLabelGap;
    const double right = chart().width();
    // Every stride-th tick is labelled when they all do not fit; counted on
    // the tick's own number, so that the labels shown stay put as they scroll.
    const int stride = LabelStride(m_widest + kLabelSpacing, std::abs(x.toPixel(anchor + step) - x.toPixel(anchor)));
    painter.setFont(m_font);
    painter.setPen(m_colour);
    for (double tick : m_ticks) {
        if (TickNumber(tick, anchor, step) % stride != 0) {
            continue;
        }
        const QString text = ClockTimeText(clockTimeAt(tick));
        const double width = TextAdvance(m_font, text);
        QRectF rect(x.toPixel(tick) - width / 2.0, top, width, m_lineHeight);
        rect.moveLeft(std::clamp(rect.left(), 0.0, std::max(0.0, right - width)));
        DrawChartLabel(painter, rect, Qt::AlignCenter, text);
    }
}

}  // namespace vexa::toolkit
