#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/ChartGeometry.h"

#include <QColor>

namespace vexa::toolkit {

/// A filled rectangle with a border, in fractions of the chart window.
class Panel : public ChartElement {
public:
    Panel(ChartWindow& chart, const ChartRect& rect, const QColor& border, const QColor& fill);

    void paint(QPainter& painter) override;
    bool isSteady() const override { return true; }

private:
    ChartRect m_rect;
    QColor m_border;
    QColor m_fill;
};

}  // namespace vexa::toolkit
