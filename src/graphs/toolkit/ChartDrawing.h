#pragma once

#include "graphs/toolkit/ChartFont.h"
#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/LineAttributes.h"
#include "graphs/toolkit/Palette.h"
#include "graphs/toolkit/StaticDataset.h"

#include <QColor>
#include <QString>

#include <functional>
#include <memory>
#include <span>

class QPushButton;

/// The operations a chart builder draws with. Each creates an element of
/// the chart window, which paints it from then on, in the drawing state
/// (plot area, scale, font, line attributes) that the context holds at the
/// time of the call.
namespace vexa::toolkit {

class ChartWindow;
class ChartContext;
class Axis;
class TextElement;
class StaticDataset;

/// Starts the chart from the default drawing state; the first call of
/// every builder.
void BeginChart(ChartWindow& chart, ChartContext& context);
/// The plot area in the chart window, filled with \p colour.
void SetPlotArea(ChartWindow& chart, ChartContext& context, const ChartRect& rect, PaletteIndex colour);
/// The scale of the plot area.
void SetScale(ChartWindow& chart, ChartContext& context, const ChartScale& scale);
/// Where the axes cross, in scale values.
void SetAxisCrossing(ChartWindow& chart, ChartContext& context, double x, double y);
/// Axes with ticks every \p tickInterval scale units. Return the axis.
Axis* CreateXAxis(ChartWindow& chart, ChartContext& context, double tickInterval);
Axis* CreateYAxis(ChartWindow& chart, ChartContext& context, double tickInterval);
/// Numbers at the axis's ticks, in the current font, reading as \p labels
/// says.
void LabelAxis(ChartWindow& chart, ChartContext& context, Axis* axis, AxisLabels labels);
/// Rescales an axis to \p range and repaints.
void SetAxisRange(ChartWindow& chart, Axis* axis, const ValueRange& range);
void SetTickInterval(ChartWindow& chart, Axis* axis, double tickInterval);
/// Moves where \p axis crosses the other one, in the other axis's units.
void SetAxisCross(ChartWindow& chart, Axis* axis, double value);
/// Grid lines at the axis's ticks, in the current line attributes.
void DrawGrid(ChartWindow& chart, ChartContext& context, Axis* axis);
/// The line attributes of later axes, grids and lines.
void SetLineAttributes(ChartContext& context, const LineAttributes& line);
/// The font and text colour of later texts and labels.
void SelectChartFont(ChartContext& context, const ChartFont& font);
/// One of the built-in fonts at \p pointSize points (0 or less: the
/// default size); the text colour stays.
void SelectStockFont(ChartContext& context, StockFont font, int pointSize);
/// A text anchored at \p at of the chart window in the current font.
TextElement* DrawChartText(ChartWindow& chart, ChartContext& context, const QString& text, const ChartPoint& at,
                           Justification justification);
/// A hint text: as DrawChartText, in a lighter colour.
TextElement* DrawHint(ChartWindow& chart, ChartContext& context, const QString& text, const ChartPoint& at,
                      Justification justification);
/// The title of \p axis, reading as \p orientation says.
void SetAxisTitle(ChartWindow& chart, ChartContext& context, Axis* axis, AxisOrientation orientation,
                  const QString& text);
void DrawChartTitle(ChartWindow& chart, ChartContext& context, const QString& title);
void SetTextColour(ChartWindow& chart, TextElement* text, PaletteIndex colour);
/// The colour of the axis's line, ticks and numbers.
void SetAxisColour(ChartWindow& chart, Axis* axis, PaletteIndex colour);
/// A panel in \p rect with a \p border frame, filled with \p fill.
void DrawPanel(ChartWindow& chart, const ChartRect& rect, PaletteIndex border, QColor fill);

/// A static dataset: a copy of the points (x[i], y[i]) that both spans
/// have.
std::unique_ptr<StaticDataset> CreateStaticDataset(std::span<const double> x, std::span<const double> y);
/// Draws the dataset as a line in the current line attributes. The dataset
/// must outlive the chart window.
void PlotLine(ChartWindow& chart, ChartContext& context, const StaticDataset& dataset);
/// Dragging a rectangle with \p button rescales both axes of the chart to
/// it.
void EnableDragZoom(ChartWindow& chart, Qt::MouseButton button);

/// A button's handler, run once per click with the button's chart window;
/// the window that owns the chart's page (ChartWindow::pageOwner) tells it
/// which graph it serves.
using ButtonHandler = std::function<void(ChartWindow& chart)>;
/// A push button in \p rect with \p caption on face colour \p face, in the
/// current font.
QPushButton* CreatePushButton(ChartWindow& chart, ButtonHandler handler, const ChartRect& rect, QColor face,
                              const QString& caption);
/// Adds \p text to the chart's right-click menu; \p handler runs with the
/// chart when it is chosen.
void AddChartMenuItem(ChartWindow& chart, const QString& text, ButtonHandler handler);

}  // namespace vexa::toolkit
