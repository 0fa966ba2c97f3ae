#pragma once

#include "graphs/toolkit/Palette.h"

#include <QColor>
#include <QFont>

namespace vexa::toolkit {

class ChartWindow;

/// How a chart looks, apart from what it shows: the colours behind it, its
/// grid, the width of its traces and the fonts of its texts. Read from a
/// built chart and applied to it again, for the life of its window; the
/// graph's definition is not involved.
struct ChartLook {
    PaletteIndex windowBackground = palette::kLightGray;
    QColor plotBackground;  ///< invalid: the chart has no plot area
    bool grid = true;
    int traceWidth = 1;
    QFont titleFont;  ///< the chart's texts: its title and headings
    QFont labelFont;  ///< axis titles and legends
    QFont gridFont;   ///< the numbers and times at the ticks

    bool operator==(const ChartLook&) const = default;
};

/// The look of \p chart as it is now (the first element of each kind
/// speaks for its kind).
ChartLook ReadChartLook(const ChartWindow& chart);

/// Gives \p chart \p look and redraws it.
void ApplyChartLook(ChartWindow& chart, const ChartLook& look);

}  // namespace vexa::toolkit
