#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/LineAttributes.h"
#include "graphs/toolkit/TraceDecimator.h"
#include "graphs/toolkit/TraceRasteriser.h"

#include <QColor>
#include <QRectF>

#include <cstdint>

#include <memory>
#include <span>
#include <vector>

namespace vexa::toolkit {

class RealTimeDataset;

/// A strip chart of a real-time dataset whose last channel holds the
/// seconds since the previous row. Time counts from the first row ever
/// appended; the newest row is drawn at its elapsed time until that reaches
/// the scroll fraction of the plot's time span, and from then on stays
/// there while the older rows move left. Only rows inside the visible span
/// are read when painting.
class ScrollingPlot : public ChartElement {
public:
    /// \p traces: the lines of the channels in order; a channel past its
    /// end is drawn in a thin solid line of its default colour.
    ScrollingPlot(ChartWindow& chart, RealTimeDataset& dataset, double scrollFraction,
                  std::span<const LineAttributes> traces);

    /// The elapsed time drawn at the scale minimum: 0 until the plot
    /// scrolls.
    double scrollOrigin() const;
    /// How many channels are drawn (all but the time channel).
    int traceCount() const;

    /// A held row that the plot shows: its index among the held rows (0 the
    /// oldest) and its elapsed time.
    struct RowInView {
        int row = 0;
        double elapsed = 0.0;
    };
    /// The held rows inside the visible span, oldest first.
    std::vector<RowInView> rowsInView() const;
    QColor traceColour(int trace) const;
    /// The width of the first trace; setting it sets every trace's.
    int traceWidth() const;
    void setTraceWidth(int width);
    /// The x pixels and alarm states of the rows inside the visible span,
    /// newest first, for the chart as laid out now.
    void visibleAlarmLevels(std::vector<double>& x, std::vector<int>& levels);

    void paint(QPainter& painter) override;

private:
    double timeSpan() const;
    /// Collects the held rows inside the visible span, newest first, with
    /// their x pixels, unless nothing changed since the last time (the
    /// alarm shading asks first in the same paint).
    void collectVisibleRows();
    void paintTrace(QPainter& painter, const LineAttributes& trace, int channel, bool runs);

    RealTimeDataset& m_dataset;
    std::weak_ptr<const int> m_datasetLifetime;
    double m_scrollFraction;
    std::vector<LineAttributes> m_traces;
    // Reused from paint to paint, one entry per visible row, newest first:
    std::vector<const double*> m_rowCells;  ///< the row's values
    std::vector<int> m_rowSlots;            ///< its storage slot
    std::vector<double> m_rowX;             ///< its x pixel
    /// What the collected rows were collected for.
    struct Collected {
        std::int64_t appended = -1;
        int capacity = 0;
        QRectF plot;
        double xMinimum = 0.0;
        double xMaximum = 0.0;
        bool operator==(const Collected&) const = default;
    } m_collected;
    TraceDecimator m_decimator;      ///< reused: the points of one trace
    TraceRasteriser m_rasteriser;    ///< reused: the pixel runs of one trace
};

}  // namespace vexa::toolkit
