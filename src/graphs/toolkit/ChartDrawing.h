#pragma once

#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/StaticDataset.h"

#include <QColor>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

/// Axis orientation codes.
inline constexpr int kHorizontalAxis = 0;
inline constexpr int kVerticalAxis = 1;

/// Starts the chart; the first call of every builder.
void BeginChart(ChartWindow& chart, ChartContext& context, int flag);
/// The plot area in the chart window, filled with palette colour \p colour.
void SetPlotArea(ChartWindow& chart, ChartContext& context, const ChartRect& rect, int colour);
/// The scale of the plot area: x from xMin to xMax, y from yMin to yMax.
void SetScale(ChartWindow& chart, ChartContext& context, double xMin, double yMin, double xMax, double yMax);
/// Where the axes cross, in scale values.
void SetAxisCrossing(ChartWindow& chart, ChartContext& context, double x, double y);
/// Axes with ticks every \p interval scale units. Return the axis.
Axis* CreateXAxis(ChartWindow& chart, ChartContext& context, double interval, int code1, int code2);
Axis* CreateYAxis(ChartWindow& chart, ChartContext& context, double interval, int code1, int code2);
/// Numbers at the axis's ticks, in the current font. \p format 6 with
/// \p code2 3 reads them as clock times (seconds since midnight as
/// hh:mm:ss); every other pair as plain numbers with the decimals the tick
/// interval needs.
void LabelAxis(ChartWindow& chart, ChartContext& context, Axis* axis, int format, int code2, int code3,
               int code4, int code5);
inline constexpr int kClockTimeLabels = 6;
inline constexpr int kClockTimeStyle = 3;
inline constexpr int kPlainNumberLabels = 0;
/// Rescales an axis to \p minimum ... \p maximum (flag 1 repaints).
void SetAxisRange(ChartWindow& chart, Axis* axis, double minimum, double maximum, int flag);
void SetTickInterval(ChartWindow& chart, Axis* axis, double interval, int code1, int code2);
/// Moves where \p axis crosses the other one, in the other axis's units.
void SetAxisCross(ChartWindow& chart, Axis* axis, double value, int flag);
/// Grid lines at the axis's ticks, in the current line attributes.
void DrawGrid(ChartWindow& chart, ChartContext& context, Axis* axis, int code);
/// Line style (0 solid, 1 dashed, 2 dotted), width in pixels and palette colour.
void SetLineAttributes(ChartWindow& chart, ChartContext& context, int style, int width, int colour);
/// The font of later texts and labels. A face that is not installed falls
/// back to the default face. \p style holds the FontSpec style bits.
void SelectChartFont(ChartContext& context, int colour, const std::string& face, int pointSize, int style);
/// One of the built-in fonts: \p code1 0 the plain sans face, 4 the bold one;
/// \p pointSize its size.
void SelectStockFont(ChartContext& context, int code1, int code2, int pointSize, int code4);
/// A text at (x, y) of the chart window in the current font.
TextElement* DrawChartText(ChartWindow& chart, ChartContext& context, const QString& text, double x, double y,
                           int justification);
/// A hint text: as DrawChartText, in a lighter colour.
TextElement* DrawHint(ChartWindow& chart, ChartContext& context, const QString& text, double x, double y,
                      int justification);
void SetAxisTitle(ChartWindow& chart, ChartContext& context, Axis* axis, int orientation, const QString& text);
void DrawChartTitle(ChartWindow& chart, ChartContext& context, const QString& title);
void SetTextColour(ChartWindow& chart, TextElement* text, int colour);
void SetAxisColour(ChartWindow& chart, Axis* axis, int colour, int code);
/// A framed panel filled with \p fill.
void DrawPanel(ChartWindow& chart, ChartContext& context, const ChartRect& rect, int border, int code1, int code2,
               QColor fill, int code3);

/// A static dataset: a copy of \p count x and y values.
std::unique_ptr<StaticDataset> CreateStaticDataset(int code, const double* x, const double* y, int count);
/// Draws the dataset as a line in the current line attributes. The dataset
/// must outlive the chart window.
void PlotLine(ChartWindow& chart, ChartContext& context, const StaticDataset& dataset, int code1, int code2);
/// Dragging a rectangle with the mouse button of \p mouseMessage (516: the
/// right button) rescales both axes of the chart to it.
void EnableDragZoom(ChartWindow& chart, int mouseMessage, int mode, int code);
/// The mouse message of a right-button press.
inline constexpr int kRightButtonDown = 516;

/// A button's handler: the button's chart window, an ignored value, the
/// pressed flag (nonzero on a click) and an ignored value. Returns 0.
using ButtonHandler = std::function<int(ChartWindow& chart, int, int pressed, int)>;
/// A push button in \p rect with \p caption on face colour \p face. The
/// handler runs once per click with pressed 1; the window that owns the
/// chart's page (ChartWindow::pageOwner) tells it which graph it serves.
QPushButton* CreatePushButton(ChartWindow& chart, ButtonHandler handler, int code1, int code2, const ChartRect& rect,
                              QColor face, const QString& caption, int code3);

}  // namespace vexa::toolkit
