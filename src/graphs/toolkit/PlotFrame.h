#pragma once

#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/ScaleMap.h"

#include <QColor>
#include <QRectF>
#include <QSizeF>

namespace vexa::toolkit {

/// The plot area of a chart window with its scale: where the plot sits (in
/// fractions of the window), the x and y ranges shown in it and where the
/// axes cross. Elements that draw in scale values map through it; a rescale
/// (zoom, SetAxisRange) changes it once for all of them.
class PlotFrame {
public:
    PlotFrame();

    void setArea(const ChartRect& area);
    const ChartRect& area() const;
    void setScale(double xMin, double yMin, double xMax, double yMax);
    void setXRange(double minimum, double maximum);
    void setYRange(double minimum, double maximum);
    /// The plot area's fill (invalid: none).
    void setFill(const QColor& fill);
    const QColor& fill() const;
    void setCrossing(double x, double y);
    void setCrossX(double x);
    void setCrossY(double y);
    double crossX() const;
    double crossY() const;

    /// Fits the pixel mapping to a chart window of \p size.
    void layout(const QSizeF& size);
    /// The plot area in pixels, after layout.
    const QRectF& pixelRect() const;
    const ScaleMap& xMap() const;
    const ScaleMap& yMap() const;

private:
    ChartRect m_area;
    ScaleMap m_x;
    ScaleMap m_y;
    double m_crossX = 0.0;
    double m_crossY = 0.0;
    QColor m_fill;
    QRectF m_pixelRect;
};

}  // namespace vexa::toolkit
