#pragma once

#include "document/FontSpec.h"
#include "document/GraphDefinition.h"
#include "graphs/toolkit/ChartFont.h"
#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/LineAttributes.h"
#include "graphs/toolkit/Toolkit.h"

#include <QString>


namespace vexa::toolkit {
class ChartWindow;
class ChartContext;
}  // namespace vexa::toolkit

/// How every chart builder turns a graph's definition into the drawing
/// layer's terms: its fonts, its caption and its characteristic.
namespace vexa::graphs {

/// Where a chart's title stands: centred at the top.
inline constexpr toolkit::ChartPoint kTitlePosition{0.5, 0.02};

/// The drawing layer's font of a stored font: its face, size, style bits
/// and colour.
toolkit::ChartFont ChartFontOf(const FontSpec& font);

/// How the page of a graph follows its window: "Fixed", "Isotropic" or,
/// for any other stored characteristic, "Proportional".
toolkit::WindowCharacteristic PageCharacteristic(int characteristic);

/// Selects \p font for later texts and sets the line attributes to
/// \p lineStyle, \p lineWidth in the font's colour.
void ApplyFont(toolkit::ChartContext& context, const FontSpec& font, toolkit::LineStyle lineStyle, int lineWidth);

/// The graph's title as its window's caption shows it, and its charts.
QString GraphCaption(const GraphDefinition& graph);

/// Draws the caption at the top centre of the chart in the graph's title
/// font.
void DrawGraphTitle(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphDefinition& graph);

}  // namespace vexa::graphs
