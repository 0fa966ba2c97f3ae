#include "ChartStyle.h"

#include "document/DisplayFormat.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "platform/AnsiText.h"

namespace vexa::graphs {

namespace {

/// A caption is shown from a buffer of 100 characters.
constexpr int kCaptionLength = 100;

}  // namespace

toolkit::ChartFont ChartFontOf(const FontSpec& font)
{
    return {font.face,
            font.size,
            (font.style & kFontBold) != 0,
            (font.style & kFontItalic) != 0,
            (font.style & kFontUnderline) != 0,
            font.colour};
}

toolkit::WindowCharacteristic PageCharacteristic(int characteristic)
{
    switch (characteristic) {
    case kFixedCharacteristic:
        return toolkit::WindowCharacteristic::Fixed;
    case kIsotropicCharacteristic:
        return toolkit::WindowCharacteristic::Isotropic;
    default:
        return toolkit::WindowCharacteristic::Proportional;
    }
}

void ApplyFont(toolkit::ChartContext& context, const FontSpec& font, toolkit::LineStyle lineStyle, int lineWidth)
{
    toolkit::SelectChartFont(context, ChartFontOf(font));
    toolkit::SetLineAttributes(context, {lineStyle, lineWidth, font.colour});
}

QString GraphCaption(const GraphDefinition& graph)
{
    return FromAnsi(graph.title).left(kCaptionLength);
}

void DrawGraphTitle(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph)
{
    ApplyFont(context, graph.titleFont, toolkit::LineStyle::Solid, toolkit::kThinLine);
    toolkit::DrawChartText(chart, context, GraphCaption(graph), kTitlePosition, toolkit::Justification::Centre);
}

}  // namespace vexa::graphs
