#include "graphs/toolkit/ScrollingPlot.h"

#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"
#include "graphs/toolkit/Toolkit.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vexa::toolkit {

namespace {

constexpr double kWholeSpan = 1.0;
constexpr double kOffScaleMargin = 10.0;

}  // namespace

ScrollingPlot::ScrollingPlot(ChartWindow& chart, RealTimeDataset& dataset, double scrollFraction,
                             std::span<const LineAttributes> traces)
    : ChartElement(chart)
    , m_dataset(dataset)
    , m_datasetLifetime(dataset.lifetime())
    , m_scrollFraction(std::isfinite(scrollFraction) && scrollFraction > 0.0 ? std::min(scrollFraction, kWholeSpan)
                                                                             : kWholeSpan)
{
    // The dataset's last channel is its time base, also for the rates of
    // its alarms.
    dataset.setTimeChannel(dataset.channelCount() - 1);
    const auto channels = static_cast<std::size_t>(std::max(dataset.channelCount() - 1, 0));
    for (std::size_t index = 0; index < channels; ++index) {
        if (index < traces.size()) {
            m_traces.push_back(traces[index]);
        } else {
            const PaletteIndex colour = kDefaultChannelColours[index % kDefaultChannelColours.size()];
            m_traces.push_back({LineStyle::Solid, kThinLine, colour});
        }
    }
}

double ScrollingPlot::timeSpan() const
{
    const ScaleMap& x = chart().plotFrame().xMap();
    return std::abs(x.mappedMaximum() - x.mappedMinimum());
}

double ScrollingPlot::scrollOrigin() const
{
    if (m_datasetLifetime.expired()) {
        return 0.0;
    }
    return std::max(0.0, m_dataset.elapsedTime() - m_scrollFraction * timeSpan());
}

int ScrollingPlot::traceCount() const
{
    return static_cast<int>(m_traces.size());
}

QColor ScrollingPlot::traceColour(int trace) const
{
    if (trace < 0 || trace >= traceCount()) {
        return PaletteColour(palette::kBlack);
    }
    return PaletteColour(m_traces[static_cast<std::size_t>(trace)].colour);
}

std::vector<ScrollingPlot::RowInView> ScrollingPlot::rowsInView() const
{
    std::vector<RowInView> shown;
    if (m_datasetLifetime.expired() || m_dataset.timeChannel() < 0) {
        return shown;
    }
    const RowRing& rows = m_dataset.rows();
    const double origin = scrollOrigin();
    const double end = origin + timeSpan();
    // Back from the newest row, which sits at the elapsed time, as painting
    // walks them.
    double time = m_dataset.elapsedTime();
    for (int row = rows.size() - 1; row >= 0 && time >= origin; --row) {
        if (time <= end) {
            shown.push_back({row, time});
        }
        const double step = rows.row(row)[m_dataset.timeChannel()];
        time -= std::isfinite(step) ? step : 0.0;
    }
    std::reverse(shown.begin(), shown.end());
    return shown;
}

void ScrollingPlot::collectVisibleRows()
{
    const ScaleMap& map = chart().plotFrame().xMap();
    const Collected wanted{m_dataset.appendedRows(), m_dataset.rows().capacity(), chart().plotFrame().pixelRect(),
                           map.mappedMinimum(), map.mappedMaximum()};
    if (wanted == m_collected) {
        return;
    }
    m_collected = wanted;
    m_rowCells.clear();
    m_rowSlots.clear();
    m_rowX.clear();
    const RowRing& rows = m_dataset.rows();
    const int timeChannel = m_dataset.timeChannel();
    if (rows.size() == 0 || timeChannel < 0) {
        return;
    }
    const ScaleMap& x = chart().plotFrame().xMap();
    const double origin = scrollOrigin();
    // Scale x of elapsed time t: the scale minimum plus t - origin.
    const double offset = x.mappedMinimum() - origin;
    // Walk back from the newest row, which sits at the elapsed time; each
    // row's difference is the step back to the row before it.
    double time = m_dataset.elapsedTime();
    int slot = rows.slotOf(rows.size() - 1);
    for (int left = rows.size() - 1;; --left) {
        const double* cells = rows.slotCells(slot);
        m_rowCells.push_back(cells);
        m_rowSlots.push_back(slot);
        m_rowX.push_back(x.toPixel(offset + time));
        if (time < origin || left == 0) {
            break;  // the first row left of the plot still draws the line to the edge
        }
        const double step = cells[timeChannel];
        time -= std::isfinite(step) ? step : 0.0;
        slot = slot == 0 ? rows.capacity() - 1 : slot - 1;
    }
}

void ScrollingPlot::visibleAlarmLevels(std::vector<double>& x, std::vector<int>& levels)
{
    x.clear();
    levels.clear();
    if (m_datasetLifetime.expired()) {
        return;
    }
    collectVisibleRows();
    const RowRing& rowLevels = m_dataset.rowAlarmLevels();
    x.assign(m_rowX.begin(), m_rowX.end());
    levels.reserve(m_rowSlots.size());
    for (const int slot : m_rowSlots) {
        levels.push_back(static_cast<int>(rowLevels.slotCells(slot)[0]));
    }
}

void ScrollingPlot::paint(QPainter& painter)
{
    if (m_datasetLifetime.expired() || m_traces.empty()) {
        return;
    }
    collectVisibleRows();
    if (m_rowCells.empty()) {
        return;
    }
    painter.setClipRect(chart().plotFrame().pixelRect());
    const bool rasterTarget = IsRasterTarget(painter);
    // Trace i is channel i: the time channel is the last one.
    for (int trace = 0; trace < traceCount(); ++trace) {
        const LineAttributes& line = m_traces[static_cast<std::size_t>(trace)];
        paintTrace(painter, line, trace, rasterTarget && line.style == LineStyle::Solid);
    }
}

void ScrollingPlot::paintTrace(QPainter& painter, const LineAttributes& trace, int channel, bool runs)
{
    const PlotFrame& frame = chart().plotFrame();
    const ScaleMap& yMap = frame.yMap();
    // Values far off the scale still draw their slope into the plot, without
    // handing the painter coordinates it cannot rasterise.
    const QRectF& plot = frame.pixelRect();
    const double lowest = plot.top() - kOffScaleMargin * plot.height();
    const double highest = plot.bottom() + kOffScaleMargin * plot.height();
    const QColor colour = PaletteColour(trace.colour);

    if (runs) {
        m_rasteriser.begin(static_cast<int>(std::floor(plot.left())), static_cast<int>(std::ceil(plot.right())),
                           trace.width);
    } else {
        painter.setPen(LinePen(trace.style, trace.width, colour));
        m_decimator.clear();
    }
    const auto flush = [&] {
        if (runs) {
            m_rasteriser.breakLine();
            return;
        }
        const std::vector<QPointF>& points = m_decimator.points();
        if (points.size() == 1) {
            painter.drawPoint(points.front());
        } else if (points.size() > 1) {
            painter.drawPolyline(points.data(), static_cast<int>(points.size()));
        }
        m_decimator.clear();
    };
    const std::size_t rows = m_rowCells.size();
    for (std::size_t i = 0; i < rows; ++i) {
        const double value = m_rowCells[i][channel];
        if (!std::isfinite(value)) {
            flush();  // a gap in the trace
            continue;
        }
        const double y = std::clamp(yMap.toPixel(value), lowest, highest);
        if (runs) {
            m_rasteriser.add(m_rowX[i], y);
        } else {
            m_decimator.add(m_rowX[i], y);
        }
    }
    flush();
    if (runs) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        const std::vector<QRect>& pixels = m_rasteriser.runs();
        painter.drawRects(pixels.data(), static_cast<int>(pixels.size()));
    }
}

int ScrollingPlot::traceWidth() const
{
    return m_traces.empty() ? kThinLine : m_traces.front().width;
}

void ScrollingPlot::setTraceWidth(int width)
{
    for (LineAttributes& trace : m_traces) {
        trace.width = std::max(width, kThinLine);
    }
}

}  // namespace vexa::toolkit
