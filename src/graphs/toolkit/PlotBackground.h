#pragma once

#include "graphs/toolkit/ChartElement.h"

#include <QColor>

namespace vexa::toolkit {

/// The plot area's fill and frame.
class PlotBackground : public ChartElement {
public:
    PlotBackground(ChartWindow& chart, const QColor& fill);

    const QColor& fill() const { return m_fill; }
    void setFill(const QColor& fill) { m_fill = fill; }

    void paint(QPainter& painter) override;
    bool isSteady() const override { return true; }

private:
    QColor m_fill;
};

}  // namespace vexa::toolkit
