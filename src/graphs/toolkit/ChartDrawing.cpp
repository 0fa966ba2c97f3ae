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

#include "platform/InstalledFonts.h"

#include <QPointer>
#include <QPushButton>

#include <cmath>

namespace vexa::toolkit {

namespace {

/// A hint is the font's colour taken this far towards the background.
constexpr double kHintFade = 0.45;
/// The least brightness difference between a hint's colour and its
/// background before fading.
constexpr double kHintMinimumContrast = 100.0;
QColor faded(const QColor& colour, const QColor& background)
{
    return QColor::fromRgbF(static_cast<float>(colour.redF() + (background.redF() - colour.redF()) * kHintFade),
                            static_cast<float>(colour.greenF() + (background.greenF() - colour.greenF()) * kHintFade),
                            static_cast<float>(colour.blueF() + (background.blueF() - colour.blueF()) * kHintFade));
}

Axis* createAxis(ChartWindow& chart, ChartContext& context, AxisOrientation direction, double interval)
{
    Axis* axis = chart.addElement<Axis>(direction, interval, LinePen(context.line), false);
    chart.registerAxis(axis);
    return axis;
}

}  // namespace

void BeginChart(ChartWindow& chart, ChartContext& context)
{
    // A chart starts from the default drawing state and the full window.
    context = ChartContext();
    chart.plotFrame() = PlotFrame();
}

void SetPlotArea(ChartWindow& chart, ChartContext& context, const ChartRect& rect, PaletteIndex colour)
{
    context.plotArea = rect;
    chart.plotFrame().setArea(rect);
    chart.plotFrame().setFill(PaletteColour(colour));
    chart.addElement<PlotBackground>(PaletteColour(colour));
}

void SetScale(ChartWindow& chart, ChartContext& context, const ChartScale& scale)
{
    context.xMin = scale.x.minimum;
    context.yMin = scale.y.minimum;
    context.xMax = scale.x.maximum;
    context.yMax = scale.y.maximum;
    chart.plotFrame().setScale(scale.x.minimum, scale.y.minimum, scale.x.maximum, scale.y.maximum);
    chart.restyle();
}

void SetAxisCrossing(ChartWindow& chart, ChartContext& context, double x, double y)
{
    context.crossX = x;
    context.crossY = y;
    chart.plotFrame().setCrossing(x, y);
    chart.restyle();
}

Axis* CreateXAxis(ChartWindow& chart, ChartContext& context, double tickInterval)
{
    return createAxis(chart, context, AxisOrientation::Horizontal, tickInterval);
}

Axis* CreateYAxis(ChartWindow& chart, ChartContext& context, double tickInterval)
{
    return createAxis(chart, context, AxisOrientation::Vertical, tickInterval);
}

void LabelAxis(ChartWindow& chart, ChartContext& context, Axis* axis, AxisLabels labels)
{
    if (axis == nullptr) {
        return;
    }
    axis->setLabels(labels, context.font, PaletteColour(context.fontColour));
    chart.restyle();
}

void SetAxisRange(ChartWindow& chart, Axis* axis, const ValueRange& range)
{
    if (axis == nullptr) {
        return;
    }
    if (axis->direction() == AxisOrientation::Horizontal) {
        chart.plotFrame().setXRange(range.minimum, range.maximum);
    } else {
        chart.plotFrame().setYRange(range.minimum, range.maximum);
    }
    axis->setAnchor(range.minimum);
    chart.restyle();
}

void SetTickInterval(ChartWindow& chart, Axis* axis, double tickInterval)
{
    if (axis == nullptr) {
        return;
    }
    axis->setInterval(tickInterval);
    chart.restyle();
}

void SetAxisCross(ChartWindow& chart, Axis* axis, double value)
{
    if (axis == nullptr) {
        return;
    }
    // A horizontal axis sits at a y value, a vertical one at an x value.
    if (axis->direction() == AxisOrientation::Horizontal) {
        chart.plotFrame().setCrossY(value);
    } else {
        chart.plotFrame().setCrossX(value);
    }
    chart.restyle();
}

void DrawGrid(ChartWindow& chart, ChartContext& context, Axis* axis)
{
    if (axis != nullptr) {
        chart.addElement<GridLines>(*axis, LinePen(context.line));
    }
}

void SetLineAttributes(ChartContext& context, const LineAttributes& line)
{
    context.line = line;
}

void SelectChartFont(ChartContext& context, const ChartFont& font)
{
    const std::string& face = font.face;
    const bool installed = !face.empty() && IsUsableFontFace(face);
    QFont selected(installed ? QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size()))
                             : QString::fromLatin1(ChartContext::kDefaultFace));
    selected.setPointSizeF(font.pointSize > 0 ? font.pointSize : ChartContext::kDefaultPointSize);
    selected.setBold(font.bold);
    selected.setItalic(font.italic);
    selected.setUnderline(font.underline);
    context.font = selected;
    context.fontColour = font.colour;
}

void SelectStockFont(ChartContext& context, StockFont font, int pointSize)
{
    QFont selected(QString::fromLatin1(ChartContext::kDefaultFace));
    selected.setPointSizeF(pointSize > 0 ? pointSize : ChartContext::kDefaultPointSize);
    selected.setBold(font == StockFont::Bold);
    context.font = selected;
}

TextElement* DrawChartText(ChartWindow& chart, ChartContext& context, const QString& text, const ChartPoint& at,
                           Justification justification)
{
    return chart.addElement<TextElement>(text, at, justification, context.font, PaletteColour(context.fontColour));
}

TextElement* DrawHint(ChartWindow& chart, ChartContext& context, const QString& text, const ChartPoint& at,
                      Justification justification)
{
    // Lighter than a text, but never lost: a font colour close to the
    // background (a white grid font on a white page) gives way to one that
    // reads on it.
    const QColor background = chart.backgroundColour();
    QColor base = PaletteColour(context.fontColour);
    if (std::abs(Luminance(base) - Luminance(background)) < kHintMinimumContrast) {
        base = ContrastingColour(background);
    }
    return chart.addElement<TextElement>(text, at, justification, context.font, faded(base, background));
}

void SetAxisTitle(ChartWindow& chart, ChartContext& context, Axis* axis, AxisOrientation orientation,
                  const QString& text)
{
    if (axis == nullptr) {
        return;
    }
    axis->setTitle(text, orientation, context.font, PaletteColour(context.fontColour));
    chart.restyle();
}

void DrawChartTitle(ChartWindow& chart, ChartContext& context, const QString& title)
{
    constexpr ChartPoint kTitlePosition{0.5, 0.02};
    DrawChartText(chart, context, title, kTitlePosition, Justification::Centre);
}

void SetTextColour(ChartWindow& chart, TextElement* text, PaletteIndex colour)
{
    if (text == nullptr) {
        return;
    }
    text->setColour(PaletteColour(colour));
    chart.restyle();
}

void SetAxisColour(ChartWindow& chart, Axis* axis, PaletteIndex colour)
{
    if (axis == nullptr) {
        return;
    }
    axis->setColour(PaletteColour(colour));
    chart.restyle();
}

void DrawPanel(ChartWindow& chart, const ChartRect& rect, PaletteIndex border, QColor fill)
{
    chart.addElement<Panel>(rect, PaletteColour(border), fill);
}

std::unique_ptr<StaticDataset> CreateStaticDataset(std::span<const double> x, std::span<const double> y)
{
    return std::make_unique<StaticDataset>(x, y);
}

void PlotLine(ChartWindow& chart, ChartContext& context, const StaticDataset& dataset)
{
    chart.addElement<LinePlot>(dataset, LinePen(context.line));
}

void EnableDragZoom(ChartWindow& chart, Qt::MouseButton button)
{
    chart.enableDragZoom(button);
}

QPushButton* CreatePushButton(ChartWindow& chart, ButtonHandler handler, const ChartRect& rect, QColor face,
                              const QString& caption)
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

void AddChartMenuItem(ChartWindow& chart, const QString& text, ButtonHandler handler)
{
    QPointer<ChartWindow> target(&chart);
    chart.addContextAction(text, [target, handler = std::move(handler)] {
        if (!target.isNull() && !target->isClosing())
            handler(*target);
    });
}

}  // namespace vexa::toolkit
