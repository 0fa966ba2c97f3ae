#pragma once

#include "graphs/toolkit/ChartElement.h"

#include <QColor>
#include <QFont>

#include <vector>

namespace vexa::toolkit {

class Axis;
class ScrollingPlot;

/// Clock times ("hh:mm:ss") under the ticks of a time axis: the start time
/// plus the scale time under the tick plus the scroll origin of the linked
/// plot. Until started they count from midnight (00:00:00).
class TimeLabels : public ChartElement {
public:
    TimeLabels(ChartWindow& chart, Axis& axis, const QFont& font, const QColor& colour);

    void start(double startTime);
    bool isStarted() const;
    /// The clock time, in seconds since midnight, of the first row.
    double startTime() const;
    void link(const ScrollingPlot* plot);
    /// The clock time, in seconds since midnight, of tick value \p tick.
    double clockTimeAt(double tick) const;

    const QFont& font() const { return m_font; }
    void setFont(const QFont& font) { m_font = font; }

    void paint(QPainter& painter) override;

private:
    double scrollOrigin() const;

    Axis& m_axis;
    QFont m_font;
    QColor m_colour;
    /// The widest label and the line height, of m_font, which the labels keep.
    double m_widest;
    double m_lineHeight;
    double m_startTime = 0.0;
    bool m_started = false;
    const ScrollingPlot* m_plot = nullptr;
    std::vector<double> m_ticks;  ///< reused from paint to paint
};

}  // namespace vexa::toolkit
