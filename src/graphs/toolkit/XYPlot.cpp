#include "graphs/toolkit/XYPlot.h"

#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/RealTimeDataset.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vexa::toolkit {

namespace {

constexpr int kXChannel = 0;
constexpr int kYChannel = 1;
/// Values far off the scale still draw their slope into the plot, without
/// handing the painter coordinates it cannot rasterise.
constexpr double kOffScaleMargin = 10.0;
/// The newest point's mark: a square this much wider than twice its width.
constexpr double kMarkBaseSide = 3.0;
constexpr double kMarkOutline = 1.0;
constexpr QRgb kTransparent = 0;

/// Cuts the segment \p a - \p b to \p bounds (Liang and Barsky); false when
/// nothing of it is inside.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& bounds)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double enter = 0.0;
    double leave = 1.0;
    const auto edge = [&](double p, double q) {
        if (p == 0.0) {
            return q >= 0.0;  // parallel to this edge: inside it or not at all
        }
        const double t = q / p;
        if (p < 0.0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
        return enter <= leave;
    };
    if (!edge(-dx, a.x() - bounds.left()) || !edge(dx, bounds.right() - a.x()) ||
        !edge(-dy, a.y() - bounds.top()) || !edge(dy, bounds.bottom() - a.y())) {
        return false;
    }
    const QPointF start = a;
    a = QPointF(start.x() + enter * dx, start.y() + enter * dy);
    b = QPointF(start.x() + leave * dx, start.y() + leave * dy);
    return true;
}

/// Visits the pixels of an unsmoothed line \p width pixels wide from \p a to
/// \p b, each once: the line's pixels of one step along its longer axis
/// are a run of \p width across it. The same segment always gives the
/// same pixels, which is what lets a picture take a segment away again.
template <typename Visit>
void rasteriseSegment(const QPoint& a, const QPoint& b, int width, Visit visit)
{
    const int dx = std::abs(b.x() - a.x());
    const int dy = std::abs(b.y() - a.y());
    const int sx = b.x() >= a.x() ? 1 : -1;
    const int sy = b.y() >= a.y() ? 1 : -1;
    const int before = (width - 1) / 2;
    const int after = width - 1 - before;
    int x = a.x();
    int y = a.y();
    if (dx >= dy) {
        int error = dx / 2;
        for (int step = 0; step <= dx; ++step) {
            for (int across = y - before; across <= y + after; ++across) {
                visit(x, across);
            }
            x += sx;
            error -= dy;
            if (error < 0) {
                y += sy;
                error += dx;
            }
        }
    } else {
        int error = dy / 2;
        for (int step = 0; step <= dy; ++step) {
            for (int across = x - before; across <= x + after; ++across) {
                visit(across, y);
            }
            y += sy;
            error -= dx;
            if (error < 0) {
                x += sx;
                error += dy;
            }
        }
    }
}

/// The whole pixels the plot area touches.
QRect pictureArea(const QRectF& plot)
{
    const int left = static_cast<int>(std::floor(plot.left()));
    const int top = static_cast<int>(std::floor(plot.top()));
    const int right = static_cast<int>(std::ceil(plot.right()));
    const int bottom = static_cast<int>(std::ceil(plot.bottom()));
    return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

/// True when the painter draws pixel for pixel into an image or the screen.
bool drawsPixelForPixel(QPainter& painter)
{
    return IsRasterTarget(painter) && painter.transform().type() <= QTransform::TxTranslate &&
           painter.device() != nullptr && painter.device()->devicePixelRatio() == 1.0;
}

}  // namespace

XYPlot::XYPlot(ChartWindow& chart, RealTimeDataset& dataset, int pointLimit, int traceWidth,
               PaletteIndex traceColour, int markWidth, PaletteIndex markColour)
    : ChartElement(chart)
    , m_dataset(dataset)
    , m_datasetLifetime(dataset.lifetime())
    , m_pointLimit(std::max(pointLimit, 1))
    , m_traceWidth(std::max(traceWidth, 1))
    , m_traceColour(PaletteColour(traceColour))
    , m_markWidth(std::max(markWidth, 1))
    , m_markColour(PaletteColour(markColour))
{
    // Every row is a point, whenever it comes: the dataset must hold them.
    dataset.reserveHistory(m_pointLimit);
}

bool XYPlot::hasData() const
{
    return !m_datasetLifetime.expired() && !chart().isClosing() && m_dataset.channelCount() > kYChannel;
}

int XYPlot::pointCount() const
{
    return hasData() ? std::min(m_dataset.rowCount(), m_pointLimit) : 0;
}

QPointF XYPlot::pixelOf(double x, double y) const
{
    PlotFrame frame = chart().plotFrame();
    frame.layout(QSizeF(chart().size()));
    return {frame.xMap().toPixel(x), frame.yMap().toPixel(y)};
}

QColor XYPlot::traceColour() const
{
    return m_traceColour;
}

QColor XYPlot::markColour() const
{
    return m_markColour;
}

QRectF XYPlot::markAround(const QPointF& centre) const
{
    const double side = kMarkBaseSide + 2.0 * m_markWidth;
    QRectF mark(0.0, 0.0, side, side);
    mark.moveCenter(centre);
    return mark;
}

QRectF XYPlot::markRect() const
{
    if (pointCount() == 0) {
        return {};
    }
    const double x = m_dataset.latest(kXChannel);
    const double y = m_dataset.latest(kYChannel);
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return {};
    }
    return markAround(pixelOf(x, y));
}

XYPlot::DrawnPoint XYPlot::pointOfRow(const PlotFrame& frame, int row) const
{
    const double x = m_dataset.value(row, kXChannel);
    const double y = m_dataset.value(row, kYChannel);
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return {};
    }
    const QRectF& plot = frame.pixelRect();
    const double px = std::clamp(frame.xMap().toPixel(x), plot.left() - kOffScaleMargin * plot.width(),
                                 plot.right() + kOffScaleMargin * plot.width());
    const double py = std::clamp(frame.yMap().toPixel(y), plot.top() - kOffScaleMargin * plot.height(),
                                 plot.bottom() + kOffScaleMargin * plot.height());
    return {QPoint(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py))), true};
}

void XYPlot::startPicture(const PictureKey& key)
{
    m_pictureKey = key;
    if (m_picture.size() != key.area.size()) {
        m_picture = QImage(key.area.size(), QImage::Format_ARGB32_Premultiplied);
    }
    m_cover.assign(static_cast<std::size_t>(key.area.width()) * static_cast<std::size_t>(key.area.height()), 0);
    m_drawn.clear();
    m_hasPicture = true;
}

void XYPlot::coverSegment(const QPoint& from, const QPoint& to, int delta, bool paintPixels)
{
    const int width = m_pictureKey.area.width();
    const int height = m_pictureKey.area.height();
    if (width <= 0 || height <= 0) {
        return;
    }
    // Cut to the picture (and the line's width around it) first: a point
    // far off the scale must not cost a walk along thousands of pixels.
    const double margin = m_traceWidth + 1.0;
    QPointF a = from - m_pictureKey.area.topLeft();
    QPointF b = to - m_pictureKey.area.topLeft();
    if (!clipSegment(a, b, QRectF(-margin, -margin, width + 2 * margin, height + 2 * margin))) {
        return;
    }
    const QPoint start(static_cast<int>(std::lround(a.x())), static_cast<int>(std::lround(a.y())));
    const QPoint end(static_cast<int>(std::lround(b.x())), static_cast<int>(std::lround(b.y())));
    if (!paintPixels) {
        // Counting only: the picture is painted from the counts afterwards.
        rasteriseSegment(start, end, m_traceWidth, [&](int x, int y) {
            if (static_cast<unsigned>(x) < static_cast<unsigned>(width) &&
                static_cast<unsigned>(y) < static_cast<unsigned>(height)) {
                ++m_cover[static_cast<std::size_t>(y) * width + x];
            }
        });
        return;
    }
    const QRgb colour = qPremultiply(m_traceColour.rgba());
    auto* pixels = reinterpret_cast<QRgb*>(m_picture.bits());
    const qsizetype stride = m_picture.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    rasteriseSegment(start, end, m_traceWidth, [&](int x, int y) {
        if (static_cast<unsigned>(x) >= static_cast<unsigned>(width) ||
            static_cast<unsigned>(y) >= static_cast<unsigned>(height)) {
            return;
        }
        std::uint32_t& cover = m_cover[static_cast<std::size_t>(y) * width + x];
        if (delta > 0) {
            if (cover++ == 0) {
                pixels[y * stride + x] = colour;
            }
        } else if (cover > 0 && --cover == 0) {
            pixels[y * stride + x] = kTransparent;
        }
    });
}

void XYPlot::paintFromCover()
{
    const int width = m_pictureKey.area.width();
    const QRgb colour = qPremultiply(m_traceColour.rgba());
    for (int y = 0; y < m_pictureKey.area.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_picture.scanLine(y));
        const std::uint32_t* cover = m_cover.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            line[x] = cover[x] > 0 ? colour : kTransparent;
        }
    }
}

void XYPlot::updatePicture(const PlotFrame& frame)
{
    const PictureKey key{pictureArea(frame.pixelRect()), frame.xMap().mappedMinimum(),
                         frame.xMap().mappedMaximum(), frame.yMap().mappedMinimum(), frame.yMap().mappedMaximum()};
    const std::int64_t appended = m_dataset.appendedRows();
    const std::int64_t oldestHeld = appended - m_dataset.rowCount();
    const std::int64_t first = appended - pointCount();
    // Drawn afresh when the plot moved or was rescaled, and when more rows
    // came than the picture can follow (drawing them all costs the same).
    const bool afresh = !m_hasPicture || key != m_pictureKey || m_drawnEnd > appended || m_drawnEnd < first;
    if (afresh) {
        startPicture(key);
        m_drawnEnd = first;
    }
    for (; m_drawnEnd < appended; ++m_drawnEnd) {
        const DrawnPoint point = pointOfRow(frame, static_cast<int>(m_drawnEnd - oldestHeld));
        if (point.valid) {
            coverSegment(point.pixel, point.pixel, 1, !afresh);
            if (!m_drawn.empty() && m_drawn.back().valid) {
                coverSegment(m_drawn.back().pixel, point.pixel, 1, !afresh);
            }
        }
        m_drawn.push_back(point);
    }
    if (afresh) {
        paintFromCover();
    }
    // The rows that dropped out take back exactly what they drew.
    while (static_cast<std::int64_t>(m_drawn.size()) > appended - first) {
        const DrawnPoint& oldest = m_drawn.front();
        if (oldest.valid) {
            coverSegment(oldest.pixel, oldest.pixel, -1, true);
            if (m_drawn.size() > 1 && m_drawn[1].valid) {
                coverSegment(oldest.pixel, m_drawn[1].pixel, -1, true);
            }
        }
        m_drawn.pop_front();
    }
}

void XYPlot::paintPicture(QPainter& painter, const PlotFrame& frame)
{
    updatePicture(frame);
    painter.drawImage(m_pictureKey.area.topLeft(), m_picture);
}

void XYPlot::paintStroked(QPainter& painter, const PlotFrame& frame)
{
    QPen pen = LinePen(LineStyle::Solid, m_traceWidth, m_traceColour);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const auto flush = [&] {
        if (m_points.size() == 1) {
            painter.drawPoint(m_points.front());
        } else if (m_points.size() > 1) {
            painter.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
        }
        m_points.clear();
    };
    m_points.clear();
    const int rows = m_dataset.rowCount();
    for (int row = rows - pointCount(); row < rows; ++row) {
        const DrawnPoint point = pointOfRow(frame, row);
        if (!point.valid) {
            flush();  // a gap in the trace
            continue;
        }
        m_points.emplace_back(point.pixel);
    }
    flush();
}

void XYPlot::paint(QPainter& painter)
{
    if (pointCount() == 0) {
        return;
    }
    const PlotFrame& frame = chart().plotFrame();
    painter.setClipRect(frame.pixelRect());
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (drawsPixelForPixel(painter)) {
        paintPicture(painter, frame);
    } else {
        paintStroked(painter, frame);
    }
    const QRectF mark = markRect();
    if (!mark.isEmpty()) {
        painter.setPen(QPen(ContrastingColour(m_markColour), kMarkOutline));
        painter.setBrush(m_markColour);
        painter.drawRect(mark);
    }
}

void XYPlot::setTraceWidth(int width)
{
    m_traceWidth = std::max(width, 1);
    m_hasPicture = false;  // the kept picture was drawn at the old width
}

}  // namespace vexa::toolkit
