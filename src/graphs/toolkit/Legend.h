#pragma once

#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/Palette.h"

#include <QFont>
#include <QString>

#include <vector>

namespace vexa::toolkit {

class ScrollingPlot;

/// A column of names stacked over a rectangle like the cells of a readout,
/// so that each name lines up with its value. Each name is drawn in the
/// colour of its trace, on the plot's own background so that it reads as
/// well as the trace does.
class Legend : public ChartElement {
public:
    Legend(ChartWindow& chart, const ChartRect& rect, std::vector<QString> names, const ScrollingPlot* plot,
           PaletteIndex background, const QFont& font, PaletteIndex fontColour);

    /// The slot of name \p index, in pixels of the chart.
    QRectF nameRect(int index) const;

    const QFont& font() const { return m_font; }
    void setFont(const QFont& font) { m_font = font; }

    void paint(QPainter& painter) override;
    bool isSteady() const override { return true; }
    bool standsApart() const override { return true; }

private:
    ChartRect m_rect;
    std::vector<QString> m_names;
    const ScrollingPlot* m_plot;
    PaletteIndex m_background;
    QFont m_font;
    PaletteIndex m_fontColour;
};

}  // namespace vexa::toolkit
