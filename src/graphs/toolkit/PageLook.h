#pragma once

#include "graphs/toolkit/Palette.h"

#include <QColor>
#include <QFont>

#include <vector>

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

/// Gives \p chart \p look and redraws it. Only what differs from the look
/// the chart has now is changed: applying the look just read changes
/// nothing, not even texts whose fonts differ from the first text's.
void ApplyChartLook(ChartWindow& chart, const ChartLook& look);

/// What ApplyChartLook can change on a chart, element by element, so that
/// it can be put back exactly.
struct SavedChartLook {
    PaletteIndex windowBackground = palette::kLightGray;
    std::vector<QColor> plotFills;
    std::vector<bool> grids;
    std::vector<int> traceWidths;  ///< scrolling plots, XY plots, line plots
    std::vector<QFont> fonts;      ///< texts, axis titles and numbers, legends, time labels

    bool operator==(const SavedChartLook&) const = default;
};
SavedChartLook SaveChartLook(const ChartWindow& chart);
void RestoreChartLook(ChartWindow& chart, const SavedChartLook& saved);

}  // namespace vexa::toolkit
