#include "graphs/toolkit/LinePlot.h"

#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/StaticDataset.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vexa::toolkit {

namespace {

/// Off-scale values are pulled this many plot sizes outside the plot, so
/// their slope still shows and the painter gets coordinates it can handle.
constexpr double kOffScaleMargin = 10.0;

void drawPoints(QPainter& painter, const std::vector<QPointF>& points)
{
    if (points.size() == 1) {
        painter.drawPoint(points.front());
    } else if (points.size() > 1) {
        painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
}

}  // namespace

LinePlot::LinePlot(ChartWindow& chart, const StaticDataset& dataset, const QPen& pen)
    : ChartElement(chart)
    , m_dataset(dataset)
    , m_datasetLifetime(dataset.lifetime())
    , m_pen(pen)
    , m_ascending(std::is_sorted(dataset.xValues().begin(), dataset.xValues().end()))
{
}

void LinePlot::flush(QPainter& painter, bool runs)
{
    if (runs) {
        m_rasteriser.breakLine();
    } else if (m_ascending) {
        drawPoints(painter, m_decimator.points());
        m_decimator.clear();
    } else {
        drawPoints(painter, m_points);
        m_points.clear();
    }
}

void LinePlot::paint(QPainter& painter)
{
    if (m_datasetLifetime.expired()) {
        return;
    }
    const PlotFrame& frame = chart().plotFrame();
    const QRectF& plot = frame.pixelRect();
    const auto clampX = [&](double x) {
        return std::clamp(x, plot.left() - kOffScaleMargin * plot.width(), plot.right() + kOffScaleMargin * plot.width());
    };
    const auto clampY = [&](double y) {
        return std::clamp(y, plot.top() - kOffScaleMargin * plot.height(),
                          plot.bottom() + kOffScaleMargin * plot.height());
    };
    painter.setClipRect(plot);
    // Solid lines along ascending x are filled as pixel runs on images and
    // the screen (fast for thousands of points); otherwise stroked.
    const bool runs = m_ascending && m_pen.style() == Qt::SolidLine && IsRasterTarget(painter);
    if (runs) {
        m_rasteriser.begin(static_cast<int>(std::floor(plot.left())), static_cast<int>(std::ceil(plot.right())),
                           m_pen.width());
    }
    painter.setPen(m_pen);
    m_decimator.clear();
    m_points.clear();
    const auto xs = m_dataset.xValues();
    const auto ys = m_dataset.yValues();
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) {
            flush(painter, runs);
            continue;
        }
        const double x = clampX(frame.xMap().toPixel(xs[i]));
        const double y = clampY(frame.yMap().toPixel(ys[i]));
        if (runs) {
            m_rasteriser.add(x, y);
        } else if (m_ascending) {
            m_decimator.add(x, y);
        } else {
            m_points.emplace_back(x, y);
        }
    }
    flush(painter, runs);
    if (runs) {
        const std::vector<QRect>& pixels = m_rasteriser.runs();
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_pen.color());
        painter.drawRects(pixels.data(), static_cast<int>(pixels.size()));
    }
}

}  // namespace vexa::toolkit
