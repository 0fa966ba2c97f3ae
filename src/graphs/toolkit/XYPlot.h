#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/Palette.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace vexa::toolkit {

class PlotFrame;
class RealTimeDataset;

/// A trace of channel 1 (y) against channel 0 (x) of a real-time dataset:
/// the newest rows joined in the order they came, in the plot area and
/// scale of the chart window (the same frame its axes and grid draw in, so
/// a rescale moves them together), with a mark on the newest point.
///
/// On images and the screen the trace is kept as a picture of the plot
/// area in which each pixel counts the segments covering it: a new row
/// draws its one segment and the row that drops out takes its own away, so
/// a paint costs the same however wild the points are. Other targets
/// (printers) get the trace stroked as lines.
class XYPlot : public ChartElement {
public:
    /// \p pointLimit: how many of the newest rows are points.
    XYPlot(ChartWindow& chart, RealTimeDataset& dataset, int pointLimit, int traceWidth,
           PaletteIndex traceColour, int markWidth, PaletteIndex markColour);

    /// How many points the plot draws now (rows held, up to its limit).
    int pointCount() const;
    /// The chart pixel of scale point (\p x, \p y) at the chart's size.
    QPointF pixelOf(double x, double y) const;
    /// The mark of the newest point, in chart pixels; empty while there is
    /// none to draw.
    QRectF markRect() const;
    QColor traceColour() const;
    int traceWidth() const { return m_traceWidth; }
    void setTraceWidth(int width);
    QColor markColour() const;

    void paint(QPainter& painter) override;

private:
    /// A point as drawn: its pixel, or none for a row that is not a number
    /// (a gap in the trace).
    struct DrawnPoint {
        QPoint pixel;
        bool valid = false;
    };
    /// What the kept picture was drawn for; any change redraws it.
    struct PictureKey {
        QRect area;
        double xMin = 0.0;
        double xMax = 0.0;
        double yMin = 0.0;
        double yMax = 0.0;
        bool operator==(const PictureKey&) const = default;
    };

    bool hasData() const;
    QRectF markAround(const QPointF& centre) const;
    /// The pixel of held row \p row in \p frame.
    DrawnPoint pointOfRow(const PlotFrame& frame, int row) const;
    /// Brings the kept picture up to the rows held now.
    void updatePicture(const PlotFrame& frame);
    void startPicture(const PictureKey& key);
    /// Adds (\p delta 1) or takes away (-1) the segment from \p from to
    /// \p to; with \p paintPixels the picture follows at once.
    void coverSegment(const QPoint& from, const QPoint& to, int delta, bool paintPixels);
    /// Paints the whole picture from the counts.
    void paintFromCover();
    void paintPicture(QPainter& painter, const PlotFrame& frame);
    void paintStroked(QPainter& painter, const PlotFrame& frame);

    RealTimeDataset& m_dataset;
    std::weak_ptr<const int> m_datasetLifetime;
    int m_pointLimit;
    int m_traceWidth;
    QColor m_traceColour;
    int m_markWidth;
    QColor m_markColour;

    // The kept picture (raster targets).
    PictureKey m_pictureKey;
    QImage m_picture;                    ///< the trace over a transparent plot area
    std::vector<std::uint32_t> m_cover;  ///< per pixel: segments covering it
    std::deque<DrawnPoint> m_drawn;      ///< the points in the picture, oldest first
    std::int64_t m_drawnEnd = 0;         ///< the row number after the newest drawn
    bool m_hasPicture = false;
    // Reused from paint to paint by the stroked trace.
    std::vector<QPointF> m_points;
};

}  // namespace vexa::toolkit
