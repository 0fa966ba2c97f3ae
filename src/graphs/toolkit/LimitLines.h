#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/Palette.h"

#include <vector>

namespace vexa::toolkit {

/// A value marked across a plot: an alarm limit in its level's colour.
struct LimitLine {
    double value = 0.0;
    PaletteIndex colour = palette::kBlack;
};

/// Dashed lines across the plot at fixed values of its y scale; a value
/// outside the scale shown draws nothing.
class LimitLines : public ChartElement {
public:
    LimitLines(ChartWindow& chart, std::vector<LimitLine> lines);

    void paint(QPainter& painter) override;

private:
    std::vector<LimitLine> m_lines;
};

}  // namespace vexa::toolkit
