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

/// The least room between two neighbouring numbers; a number that would
/// come closer to the one before is left out.
constexpr double kLabelSpacing = 6.0;
/// A tick value this close to 0 (in intervals) reads as 0, not "-0.0".
constexpr double kZeroTolerance = 1e-9;
constexpr double kQuarterTurn = -90.0;

}  // namespace

Axis::Axis(ChartWindow& chart, AxisOrientation direction, double interval, const QPen& pen, bool timeAxis)
    : ChartElement(chart)
    , m_direction(direction)
    , m_interval(interval)
    , m_pen(pen)
    , m_timeAxis(timeAxis)
    , m_labelColour(pen.color())
    , m_titleColour(pen.color())
{
}

AxisOrientation Axis::direction() const
{
    return m_direction;
}

bool Axis::isTimeAxis() const
{
    return m_timeAxis;
}

void Axis::setInterval(double interval)
{
    m_interval = interval;
}

double Axis::interval() const
{
    return m_interval;
}

void Axis::setAnchor(double anchor)
{
    m_anchor = anchor;
    m_anchored = true;
}

void Axis::setLabels(AxisLabels labels, const QFont& font, const QColor& colour)
{
    m_labelled = true;
    m_labels = labels;
    m_labelFont = font;
    m_labelColour = colour;
}

void Axis::setTitle(const QString& text, AxisOrientation orientation, const QFont& font, const QColor& colour)
{
    m_title = text;
    m_titleOrientation = orientation;
    m_titleFont = font;
    m_titleColour = colour;
}

void Axis::setColour(const QColor& colour)
{
    m_pen.setColor(colour);
    m_labelColour = colour;
}

void Axis::setScrollSource(const ScrollingPlot* plot)
{
    m_scrollSource = plot;
}

double Axis::scrollOrigin() const
{
    if (!m_timeAxis) {
        return 0.0;
    }
    const ScrollingPlot* source = m_scrollSource != nullptr ? m_scrollSource : chart().scrollingPlot();
    return source != nullptr ? source->scrollOrigin() : 0.0;
}

double Axis::currentTicks(std::vector<double>& ticks, double& anchor) const
{
    const PlotFrame& frame = chart().plotFrame();
    const ScaleMap& map = m_direction == AxisOrientation::Horizontal ? frame.xMap() : frame.yMap();
    const double minimum = std::min(map.mappedMinimum(), map.mappedMaximum());
    const double maximum = std::max(map.mappedMinimum(), map.mappedMaximum());
    if (m_timeAxis) {
        // Elapsed time 0 sits at the scale minimum until the plot scrolls;
        // the ticks move left with it.
        anchor = map.mappedMinimum() - scrollOrigin();
    } else {
        anchor = m_anchored ? m_anchor : map.mappedMinimum();
    }
    return GenerateTicks(minimum, maximum, anchor, m_interval, ticks);
}

double Axis::linePosition() const
{
    const PlotFrame& frame = chart().plotFrame();
    const QRectF& plot = frame.pixelRect();
    if (m_direction == AxisOrientation::Horizontal) {
        if (m_timeAxis) {
            return plot.bottom();
        }
        return std::clamp(frame.yMap().toPixel(frame.crossY()), plot.top(), plot.bottom());
    }
    return std::clamp(frame.xMap().toPixel(frame.crossX()), plot.left(), plot.right());
}

void Axis::paint(QPainter& painter)
{
    const PlotFrame& frame = chart().plotFrame();
    const QRectF& plot = frame.pixelRect();
    double anchor = 0.0;
    const double step = currentTicks(m_ticks, anchor);
    const double line = linePosition();

    painter.setPen(m_pen);
    if (m_direction == AxisOrientation::Horizontal) {
        painter.drawLine(QPointF(plot.left(), line), QPointF(plot.right(), line));
        for (double tick : m_ticks) {
            const double x = frame.xMap().toPixel(tick);
            painter.drawLine(QPointF(x, line), QPointF(x, line + kTickLength));
        }
    } else {
        painter.drawLine(QPointF(line, plot.top()), QPointF(line, plot.bottom()));
        for (double tick : m_ticks) {
            const double y = frame.yMap().toPixel(tick);
            painter.drawLine(QPointF(line - kTickLength, y), QPointF(line, y));
        }
    }
    double labelExtent = kTickLength;
    if (m_labelled) {
        paintLabels(painter, step, anchor, labelExtent);
    }
    if (!m_title.isEmpty()) {
        paintTitle(painter, labelExtent);
    }
}

QString Axis::labelAt(double value, int decimals) const
{
    return m_labelled ? labelText(value, 0.0, decimals) : QString();
}

QString Axis::labelText(double value, double step, int decimals) const
{
    if (std::abs(value) < step * kZeroTolerance) {
        value = 0.0;
    }
    if (m_labels == AxisLabels::ClockTime) {
        return ClockTimeText(value);
    }
    return QString::number(value, 'f', decimals);
}

void Axis::paintLabels(QPainter& painter, double step, double anchor, double& labelExtent)
{
    const PlotFrame& frame = chart().plotFrame();
    const QRectF bounds(QPointF(0, 0), QSizeF(chart().size()));
    const double line = linePosition();
    const int decimals = TickDecimals(step, anchor);
    painter.setFont(m_labelFont);
    painter.setPen(m_labelColour);
    const QFontMetricsF metrics(m_labelFont);

    if (m_direction == AxisOrientation::Horizontal) {
        const double top = line + kTickLength + kLabelGap;
        double widest = 0.0;
        for (double tick : m_ticks) {
            widest = std::max(widest, TextAdvance(m_labelFont, labelText(tick, step, decimals)));
        }
        const ScaleMap& x = frame.xMap();
        const int stride = LabelStride(widest + kLabelSpacing, std::abs(x.toPixel(anchor + step) - x.toPixel(anchor)));
        for (double tick : m_ticks) {
            if (TickNumber(tick, anchor, step) % stride != 0) {
                continue;
            }
            const QString text = labelText(tick, step, decimals);
            const double width = TextAdvance(m_labelFont, text);
            QRectF rect(x.toPixel(tick) - width / 2.0, top, width, metrics.height());
            rect.moveLeft(std::clamp(rect.left(), bounds.left(), std::max(bounds.left(), bounds.right() - width)));
            DrawChartLabel(painter, rect, Qt::AlignCenter, text);
        }
        labelExtent = kTickLength + kLabelGap + metrics.height();
        return;
    }
    const double right = line - kTickLength - kLabelGap;
    const ScaleMap& y = frame.yMap();
    const int stride =
        LabelStride(metrics.height() + kLabelSpacing / 2.0, std::abs(y.toPixel(anchor + step) - y.toPixel(anchor)));
    double widest = 0.0;
    for (double tick : m_ticks) {
        if (TickNumber(tick, anchor, step) % stride != 0) {
            continue;
        }
        const QString text = labelText(tick, step, decimals);
        const double width = TextAdvance(m_labelFont, text);
        const QRectF rect(right - width, y.toPixel(tick) - metrics.height() / 2.0, width, metrics.height());
        DrawChartLabel(painter, rect, Qt::AlignRight | Qt::AlignVCenter, text);
        widest = std::max(widest, width);
    }
    labelExtent = kTickLength + kLabelGap + widest;
}

void Axis::paintTitle(QPainter& painter, double labelExtent)
{
    const QRectF& plot = chart().plotFrame().pixelRect();
    const QRectF bounds(QPointF(0, 0), QSizeF(chart().size()));
    const double line = linePosition();
    painter.setFont(m_titleFont);
    painter.setPen(m_titleColour);
    const QFontMetricsF metrics(m_titleFont);
    const double width = TextAdvance(m_titleFont, m_title);

    if (m_direction == AxisOrientation::Vertical && m_titleOrientation == AxisOrientation::Vertical) {
        // Reads upwards, left of the numbers, centred on the plot's height.
        const double centreX = line - labelExtent - kLabelGap - metrics.height() / 2.0;
        painter.translate(std::max(centreX, metrics.height() / 2.0), plot.center().y());
        painter.rotate(kQuarterTurn);
        painter.drawText(QRectF(-width / 2.0, -metrics.height() / 2.0, width, metrics.height()), Qt::AlignCenter,
                         m_title);
        return;
    }
    QRectF rect;
    if (m_direction == AxisOrientation::Horizontal) {
        const double bottom = line + labelExtent + kLabelGap + metrics.height();
        rect = AnchoredTextRect(QSizeF(width, metrics.height()), QPointF(plot.center().x(), bottom),
                                Justification::Centre, bounds);
    } else {
        rect = AnchoredTextRect(QSizeF(width, metrics.height()), QPointF(line, plot.top() - kLabelGap),
                                Justification::Left, bounds);
    }
    DrawChartLabel(painter, rect, Qt::AlignCenter, m_title);
}

}  // namespace vexa::toolkit
