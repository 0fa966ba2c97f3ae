#include "graphs/toolkit/PageLook.h"

#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/GridLines.h"
#include "graphs/toolkit/Legend.h"
#include "graphs/toolkit/LinePlot.h"
#include "graphs/toolkit/PlotBackground.h"
#include "graphs/toolkit/ScrollingPlot.h"
#include "graphs/toolkit/TextElement.h"
#include "graphs/toolkit/TimeLabels.h"
#include "graphs/toolkit/XYPlot.h"

#include <algorithm>

namespace vexa::toolkit {

namespace {

/// The first of \p elements, or null.
template <typename Element>
Element* FirstOf(const std::vector<Element*>& elements)
{
    return elements.empty() ? nullptr : elements.front();
}

}  // namespace

ChartLook ReadChartLook(const ChartWindow& chart)
{
    ChartLook look;
    look.windowBackground = chart.background();
    if (const PlotBackground* plot = FirstOf(chart.elementsOf<PlotBackground>()))
        look.plotBackground = plot->fill();
    if (const GridLines* grid = FirstOf(chart.elementsOf<GridLines>()))
        look.grid = grid->isShown();
    if (const ScrollingPlot* plot = FirstOf(chart.elementsOf<ScrollingPlot>()))
        look.traceWidth = plot->traceWidth();
    else if (const XYPlot* xy = FirstOf(chart.elementsOf<XYPlot>()))
        look.traceWidth = xy->traceWidth();
    else if (const LinePlot* line = FirstOf(chart.elementsOf<LinePlot>()))
        look.traceWidth = line->traceWidth();

    look.titleFont = chart.font();
    look.labelFont = chart.font();
    look.gridFont = chart.font();
    if (const TextElement* text = FirstOf(chart.elementsOf<TextElement>()))
        look.titleFont = text->font();
    const std::vector<Axis*> axes = chart.elementsOf<Axis>();
    const auto titled = std::find_if(axes.begin(), axes.end(), [](const Axis* axis) { return axis->hasTitle(); });
    if (titled != axes.end())
        look.labelFont = (*titled)->titleFont();
    else if (const Legend* legend = FirstOf(chart.elementsOf<Legend>()))
        look.labelFont = legend->font();
    if (const TimeLabels* times = FirstOf(chart.elementsOf<TimeLabels>()))
        look.gridFont = times->font();
    else if (const Axis* axis = FirstOf(axes))
        look.gridFont = axis->labelFont();
    return look;
}

void ApplyChartLook(ChartWindow& chart, const ChartLook& look)
{
    const ChartLook now = ReadChartLook(chart);
    if (look.windowBackground != now.windowBackground)
        chart.setBackground(look.windowBackground);
    if (look.plotBackground.isValid() && look.plotBackground != now.plotBackground) {
        for (PlotBackground* plot : chart.elementsOf<PlotBackground>())
            plot->setFill(look.plotBackground);
    }
    if (look.grid != now.grid) {
        for (GridLines* grid : chart.elementsOf<GridLines>())
            grid->setShown(look.grid);
    }
    if (look.traceWidth != now.traceWidth) {
        for (ScrollingPlot* plot : chart.elementsOf<ScrollingPlot>())
            plot->setTraceWidth(look.traceWidth);
        for (XYPlot* plot : chart.elementsOf<XYPlot>())
            plot->setTraceWidth(look.traceWidth);
        for (LinePlot* plot : chart.elementsOf<LinePlot>())
            plot->setTraceWidth(look.traceWidth);
    }
    if (look.titleFont != now.titleFont) {
        for (TextElement* text : chart.elementsOf<TextElement>())
            text->setFont(look.titleFont);
    }
    if (look.labelFont != now.labelFont) {
        for (Axis* axis : chart.elementsOf<Axis>())
            axis->setTitleFont(look.labelFont);
        for (Legend* legend : chart.elementsOf<Legend>())
            legend->setFont(look.labelFont);
    }
    if (look.gridFont != now.gridFont) {
        for (Axis* axis : chart.elementsOf<Axis>())
            axis->setLabelFont(look.gridFont);
        for (TimeLabels* times : chart.elementsOf<TimeLabels>())
            times->setFont(look.gridFont);
    }
    chart.restyle();
}

namespace {

/// Walks every setting SavedChartLook holds, in one fixed order, handing
/// each to \p visit with the element it belongs to.
template <typename Chart, typename Visitor>
void VisitLook(Chart& chart, Visitor&& visit)
{
    for (auto* plot : chart.template elementsOf<PlotBackground>())
        visit.fill(*plot);
    for (auto* grid : chart.template elementsOf<GridLines>())
        visit.grid(*grid);
    for (auto* plot : chart.template elementsOf<ScrollingPlot>())
        visit.width(*plot);
    for (auto* plot : chart.template elementsOf<XYPlot>())
        visit.width(*plot);
    for (auto* plot : chart.template elementsOf<LinePlot>())
        visit.width(*plot);
    for (auto* text : chart.template elementsOf<TextElement>())
        visit.font(*text, &TextElement::font, &TextElement::setFont);
    for (auto* axis : chart.template elementsOf<Axis>()) {
        visit.font(*axis, &Axis::titleFont, &Axis::setTitleFont);
        visit.font(*axis, &Axis::labelFont, &Axis::setLabelFont);
    }
    for (auto* legend : chart.template elementsOf<Legend>())
        visit.font(*legend, &Legend::font, &Legend::setFont);
    for (auto* times : chart.template elementsOf<TimeLabels>())
        visit.font(*times, &TimeLabels::font, &TimeLabels::setFont);
}

struct Saver {
    SavedChartLook& saved;
    void fill(const PlotBackground& plot) { saved.plotFills.push_back(plot.fill()); }
    void grid(const GridLines& grid) { saved.grids.push_back(grid.isShown()); }
    template <typename Plot>
    void width(const Plot& plot)
    {
        saved.traceWidths.push_back(plot.traceWidth());
    }
    template <typename Element, typename Getter, typename Setter>
    void font(const Element& element, Getter get, Setter /*set*/)
    {
        saved.fonts.push_back((element.*get)());
    }
};

struct Restorer {
    const SavedChartLook& saved;
    std::size_t fills = 0, grids = 0, widths = 0, fonts = 0;
    void fill(PlotBackground& plot)
    {
        if (fills < saved.plotFills.size())
            plot.setFill(saved.plotFills[fills++]);
    }
    void grid(GridLines& grid)
    {
        if (grids < saved.grids.size())
            grid.setShown(saved.grids[grids++]);
    }
    template <typename Plot>
    void width(Plot& plot)
    {
        if (widths < saved.traceWidths.size())
            plot.setTraceWidth(saved.traceWidths[widths++]);
    }
    template <typename Element, typename Getter, typename Setter>
    void font(Element& element, Getter /*get*/, Setter set)
    {
        if (fonts < saved.fonts.size())
            (element.*set)(saved.fonts[fonts++]);
    }
};

}  // namespace

SavedChartLook SaveChartLook(const ChartWindow& chart)
{
    SavedChartLook saved;
    saved.windowBackground = chart.background();
    VisitLook(chart, Saver{saved});
    return saved;
}

void RestoreChartLook(ChartWindow& chart, const SavedChartLook& saved)
{
    chart.setBackground(saved.windowBackground);
    VisitLook(chart, Restorer{saved});
    chart.restyle();
}

}  // namespace vexa::toolkit
