#include "graphs/toolkit/ChartDrawing.h"

#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/ButtonRelay.h"
#include "graphs/toolkit/ChartContext.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/ChartWindow.h"
#include "graphs/toolkit/GridLines.h"
#include "graphs/toolkit/LinePlot.h"
#include "graphs/toolkit/Panel.h"
#include "graphs/toolkit/PlotBackground.h"
#include "graphs/toolkit/TextElement.h"

#include "document/FontSpec.h"
#include "platform/InstalledFonts.h"

#include <QPushButton>

#include <cmath>

namespace vexa::toolkit {

namespace {

constexpr int kStockBold = 4;
/// A hint is the font's colour taken this far towards the background.
constexpr double kHintFade = 0.45;
/// The least brightness difference between a hint's colour and its
/// background before fading.
constexpr double kHintMinimumContrast = 100.0;
/// The mouse messages of a button going down.
constexpr int kLeftButtonDown = 513;
constexpr int kMiddleButtonDown = 519;

QPen contextPen(const ChartContext& context)
{
    return LinePen(context.lineStyle, context.lineWidth, PaletteColour(context.lineColour));
}

QColor faded(const QColor& colour, const QColor& background)
{
    return QColor::fromRgbF(static_cast<float>(colour.redF() + (background.redF() - colour.redF()) * kHintFade),
                            static_cast<float>(colour.greenF() + (background.greenF() - colour.greenF()) * kHintFade),
                            static_cast<float>(colour.blueF() + (background.blueF() - colour.blueF()) * kHintFade));
}

Axis* createAxis(ChartWindow& chart, ChartContext& context, Axis::Direction direction, double interval,
                 bool timeAxis)
{
    Axis* axis = chart.addElement<Axis>(direction, interval, contextPen(context), timeAxis);
    chart.registerAxis(axis);
    return axis;
}

}  // namespace

void BeginChart(ChartWindow& chart, ChartContext& context, int /*flag*/)
{
    // A chart starts from the default drawing state and the full window.
    context = ChartContext();
    chart.plotFrame() = PlotFrame();
}

void SetPlotArea(ChartWindow& chart, ChartContext& context, const ChartRect& rect, int colour)
{
    context.plotArea = rect;
    chart.plotFrame().setArea(rect);
    chart.plotFrame().setFill(PaletteColour(colour));
    chart.addElement<PlotBackground>(PaletteColour(colour));
}

void SetScale(ChartWindow& chart, ChartContext& context, double xMin, double yMin, double xMax, double yMax)
{
    context.xMin = xMin;
    context.yMin = yMin;
    context.xMax = xMax;
    context.yMax = yMax;
    chart.plotFrame().setScale(xMin, yMin, xMax, yMax);
    chart.update();
}

void SetAxisCrossing(ChartWindow& chart, ChartContext& context, double x, double y)
{
    context.crossX = x;
    context.crossY = y;
    chart.plotFrame().setCrossing(x, y);
    chart.update();
}

Axis* CreateXAxis(ChartWindow& chart, ChartContext& context, double interval, int /*code1*/, int /*code2*/)
{
    return createAxis(chart, context, Axis::Direction::Horizontal, interval, false);
}

Axis* CreateYAxis(ChartWindow& chart, ChartContext& context, double interval, int /*code1*/, int /*code2*/)
{
    return createAxis(chart, context, Axis::Direction::Vertical, interval, false);
}

void LabelAxis(ChartWindow& chart, ChartContext& context, Axis* axis, int format, int code2, int /*code3*/,
               int /*code4*/, int /*code5*/)
{
    if (axis == nullptr) {
        return;
    }
    const bool clockTime = format == kClockTimeLabels && code2 == kClockTimeStyle;
    axis->setLabels(clockTime ? kClockTimeLabels : kPlainNumberLabels, context.font,
                    PaletteColour(context.fontColour));
    chart.update();
}

void SetAxisRange(ChartWindow& chart, Axis* axis, double minimum, double maximum, int /*flag*/)
{
    if (axis == nullptr) {
        return;
    }
    if (axis->direction() == Axis::Direction::Horizontal) {
        chart.plotFrame().setXRange(minimum, maximum);
    } else {
        chart.plotFrame().setYRange(minimum, maximum);
    }
    axis->setAnchor(minimum);
    chart.update();
}

void SetTickInterval(ChartWindow& chart, Axis* axis, double interval, int /*code1*/, int /*code2*/)
{
    if (axis == nullptr) {
        return;
    }
    axis->setInterval(interval);
    chart.update();
}

void SetAxisCross(ChartWindow& chart, Axis* axis, double value, int /*flag*/)
{
    if (axis == nullptr) {
        return;
    }
    // A horizontal axis sits at a y value, a vertical one at an x value.
    if (axis->direction() == Axis::Direction::Horizontal) {
        chart.plotFrame().setCrossY(value);
    } else {
        chart.plotFrame().setCrossX(value);
    }
    chart.update();
}

void DrawGrid(ChartWindow& chart, ChartContext& context, Axis* axis, int /*code*/)
{
    if (axis != nullptr) {
        chart.addElement<GridLines>(*axis, contextPen(context));
    }
}

void SetLineAttributes(ChartWindow& /*chart*/, ChartContext& context, int style, int width, int colour)
{
    context.lineStyle = style;
    context.lineWidth = width;
    context.lineColour = colour;
}

void SelectChartFont(ChartContext& context, int colour, const std::string& face, int pointSize, int style)
{
    const bool installed = !face.empty() && IsInstalledScalableFont(face);
    QFont font(installed ? QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size()))
                         : QString::fromLatin1(ChartContext::kDefaultFace));
    font.setPointSizeF(pointSize > 0 ? pointSize : ChartContext::kDefaultPointSize);
    font.setBold((style & kFontBold) != 0);
    font.setItalic((style & kFontItalic) != 0);
    font.setUnderline((style & kFontUnderline) != 0);
    context.font = font;
    context.fontColour = colour;
}

void SelectStockFont(ChartContext& context, int code1, int /*code2*/, int pointSize, int /*code4*/)
{
    QFont font(QString::fromLatin1(ChartContext::kDefaultFace));
    font.setPointSizeF(pointSize > 0 ? pointSize : ChartContext::kDefaultPointSize);
    font.setBold(code1 == kStockBold);
    context.font = font;
}

TextElement* DrawChartText(ChartWindow& chart, ChartContext& context, const QString& text, double x, double y,
                           int justification)
{
    return chart.addElement<TextElement>(text, x, y, justification, context.font, PaletteColour(context.fontColour));
}

TextElement* DrawHint(ChartWindow& chart, ChartContext& context, const QString& text, double x, double y,
                      int justification)
{
    // Lighter than a text, but never lost: a font colour close to the
    // background (a white grid font on a white page) gives way to one that
    // reads on it.
    const QColor background = chart.backgroundColour();
    QColor base = PaletteColour(context.fontColour);
    if (std::abs(Luminance(base) - Luminance(background)) < kHintMinimumContrast) {
        base = ContrastingColour(background);
    }
    return chart.addElement<TextElement>(text, x, y, justification, context.font, faded(base, background));
}

void SetAxisTitle(ChartWindow& chart, ChartContext& context, Axis* axis, int orientation, const QString& text)
{
    if (axis == nullptr) {
        return;
    }
    axis->setTitle(text, orientation, context.font, PaletteColour(context.fontColour));
    chart.update();
}

void DrawChartTitle(ChartWindow& chart, ChartContext& context, const QString& title)
{
    constexpr double kTitleX = 0.5;
    constexpr double kTitleY = 0.02;
    DrawChartText(chart, context, title, kTitleX, kTitleY, kJustifyCentre);
}

void SetTextColour(ChartWindow& chart, TextElement* text, int colour)
{
    if (text == nullptr) {
        return;
    }
    text->setColour(PaletteColour(colour));
    chart.update();
}

void SetAxisColour(ChartWindow& chart, Axis* axis, int colour, int /*code*/)
{
    if (axis == nullptr) {
        return;
    }
    axis->setColour(PaletteColour(colour));
    chart.update();
}

void DrawPanel(ChartWindow& chart, ChartContext& /*context*/, const ChartRect& rect, int border, int /*code1*/,
               int /*code2*/, QColor fill, int /*code3*/)
{
    chart.addElement<Panel>(rect, PaletteColour(border), fill);
}

std::unique_ptr<StaticDataset> CreateStaticDataset(int /*code*/, const double* x, const double* y, int count)
{
    return std::make_unique<StaticDataset>(x, y, count);
}

void PlotLine(ChartWindow& chart, ChartContext& context, const StaticDataset& dataset, int /*code1*/, int /*code2*/)
{
    chart.addElement<LinePlot>(dataset, contextPen(context));
}

void EnableDragZoom(ChartWindow& chart, int mouseMessage, int /*mode*/, int /*code*/)
{
    Qt::MouseButton button = Qt::RightButton;
    if (mouseMessage == kLeftButtonDown) {
        button = Qt::LeftButton;
    } else if (mouseMessage == kMiddleButtonDown) {
        button = Qt::MiddleButton;
    }
    chart.enableDragZoom(button);
}

QPushButton* CreatePushButton(ChartWindow& chart, ButtonHandler handler, int /*code1*/, int /*code2*/,
                              const ChartRect& rect, QColor face, const QString& caption, int /*code3*/)
{
    auto* button = new QPushButton(caption, &chart);
    button->setFont(chart.context().font);
    QPalette colours = button->palette();
    colours.setColor(QPalette::Button, face);
    colours.setColor(QPalette::ButtonText, ContrastingColour(face));
    button->setPalette(colours);
    button->setFocusPolicy(Qt::NoFocus);  // a chart has no keyboard focus to give
    new ButtonRelay(*button, chart, std::move(handler));
    chart.addButton(button, rect);
    return button;
}

}  // namespace vexa::toolkit
