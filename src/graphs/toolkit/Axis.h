#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/ChartGeometry.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

#include <vector>

namespace vexa::toolkit {

class ScrollingPlot;

/// An axis of a chart window's plot frame: its line where the axes cross,
/// ticks every interval, and optionally numbers at the ticks and a title.
/// Its range is the plot frame's, so rescaling the frame moves it. A time
/// axis lies along the plot's bottom and its ticks move with the chart's
/// scrolling plot, so that they stay on round elapsed times.
class Axis : public ChartElement {
public:
    static constexpr double kTickLength = 5.0;
    /// Room between the ticks and their numbers, and between numbers and title.
    static constexpr double kLabelGap = 3.0;

    Axis(ChartWindow& chart, AxisOrientation direction, double interval, const QPen& pen, bool timeAxis);

    AxisOrientation direction() const;
    bool isTimeAxis() const;
    void setInterval(double interval);
    double interval() const;
    /// Ticks sit at anchor + k * interval.
    void setAnchor(double anchor);
    /// Numbers at the ticks, reading as \p labels says.
    void setLabels(AxisLabels labels, const QFont& font, const QColor& colour);
    /// The text of the label at \p value with \p decimals decimals (empty
    /// while the axis is not labelled).
    QString labelAt(double value, int decimals) const;
    void setTitle(const QString& text, AxisOrientation orientation, const QFont& font, const QColor& colour);
    const QFont& labelFont() const { return m_labelFont; }
    void setLabelFont(const QFont& font) { m_labelFont = font; }
    bool hasTitle() const { return !m_title.isEmpty(); }
    const QFont& titleFont() const { return m_titleFont; }
    void setTitleFont(const QFont& font) { m_titleFont = font; }
    /// The colour of the line, ticks and numbers.
    void setColour(const QColor& colour);
    void setScrollSource(const ScrollingPlot* plot);

    /// The elapsed time at the left edge of the chart's scrolling plot (0
    /// for an axis that does not scroll).
    double scrollOrigin() const;
    /// Fills \p ticks with the tick values shown now; returns the interval
    /// used (0: none) and sets \p anchor to the anchor used.
    double currentTicks(std::vector<double>& ticks, double& anchor) const;
    /// Where the axis line is, in pixels: its y when horizontal, else its x.
    double linePosition() const;

    void paint(QPainter& painter) override;
    /// A time axis moves with the scrolling plot; the others stay put.
    bool isSteady() const override { return !m_timeAxis; }

private:
    void paintLabels(QPainter& painter, double step, double anchor, double& labelExtent);
    void paintTitle(QPainter& painter, double labelExtent);
    QString labelText(double value, double step, int decimals) const;

    AxisOrientation m_direction;
    double m_interval;
    double m_anchor = 0.0;
    bool m_anchored = false;  ///< false: ticks count from the axis minimum
    QPen m_pen;
    bool m_timeAxis;
    bool m_labelled = false;
    AxisLabels m_labels = AxisLabels::PlainNumbers;
    QFont m_labelFont;
    QColor m_labelColour;
    QString m_title;
    AxisOrientation m_titleOrientation = AxisOrientation::Horizontal;
    QFont m_titleFont;
    QColor m_titleColour;
    const ScrollingPlot* m_scrollSource = nullptr;
    std::vector<double> m_ticks;  ///< reused from paint to paint
};

}  // namespace vexa::toolkit
