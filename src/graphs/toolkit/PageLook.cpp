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
    chart.setBackground(look.windowBackground);
    if (look.plotBackground.isValid()) {
        for (PlotBackground* plot : chart.elementsOf<PlotBackground>())
            plot->setFill(look.plotBackground);
    }
    for (GridLines* grid : chart.elementsOf<GridLines>())
        grid->setShown(look.grid);
    for (ScrollingPlot* plot : chart.elementsOf<ScrollingPlot>())
        plot->setTraceWidth(look.traceWidth);
    for (XYPlot* plot : chart.elementsOf<XYPlot>())
        plot->setTraceWidth(look.traceWidth);
    for (LinePlot* plot : chart.elementsOf<LinePlot>())
        plot->setTraceWidth(look.traceWidth);
    for (TextElement* text : chart.elementsOf<TextElement>())
        text->setFont(look.titleFont);
    for (Axis* axis : chart.elementsOf<Axis>()) {
        axis->setTitleFont(look.labelFont);
        axis->setLabelFont(look.gridFont);
    }
    for (Legend* legend : chart.elementsOf<Legend>())
        legend->setFont(look.labelFont);
    for (TimeLabels* times : chart.elementsOf<TimeLabels>())
        times->setFont(look.gridFont);
    chart.restyle();
}

}  // namespace vexa::toolkit
