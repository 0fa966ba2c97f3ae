#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/TraceDecimator.h"
#include "graphs/toolkit/TraceRasteriser.h"

#include <QPen>

#include <memory>
#include <vector>

namespace vexa::toolkit {

class StaticDataset;

/// A static dataset drawn as a line in the plot frame's scale, clipped to
/// the plot area. A gap (a value that is not a number) breaks the line.
class LinePlot : public ChartElement {
public:
    LinePlot(ChartWindow& chart, const StaticDataset& dataset, const QPen& pen);

    int traceWidth() const { return m_pen.width(); }
    void setTraceWidth(int width) { m_pen.setWidth(width); }

    void paint(QPainter& painter) override;

private:
    void flush(QPainter& painter, bool runs);

    const StaticDataset& m_dataset;
    std::weak_ptr<const int> m_datasetLifetime;
    QPen m_pen;
    bool m_ascending;  ///< x never decreases: columns can be thinned
    TraceDecimator m_decimator;
    TraceRasteriser m_rasteriser;
    std::vector<QPointF> m_points;
};

}  // namespace vexa::toolkit
