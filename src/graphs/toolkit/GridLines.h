#pragma once

#include "graphs/toolkit/ChartElement.h"

#include <QPen>

#include <vector>

namespace vexa::toolkit {

class Axis;

/// Lines across the plot at the ticks of an axis. On a time axis they move
/// with the scrolling plot, since the axis's ticks do.
class GridLines : public ChartElement {
public:
    GridLines(ChartWindow& chart, const Axis& axis, const QPen& pen);

    bool isShown() const { return m_shown; }
    void setShown(bool shown) { m_shown = shown; }

    void paint(QPainter& painter) override;

private:
    const Axis& m_axis;
    QPen m_pen;
    bool m_shown = true;
    std::vector<double> m_ticks;  ///< reused from paint to paint
};

}  // namespace vexa::toolkit
