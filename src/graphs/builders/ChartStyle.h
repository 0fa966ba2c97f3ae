#pragma once

#include "document/DisplayFormat.h"
#include "document/FontSpec.h"
#include "graphs/toolkit/ChartFont.h"
#include "graphs/toolkit/ChartGeometry.h"
#include "graphs/toolkit/LineAttributes.h"
#include "graphs/toolkit/Toolkit.h"

#include <QString>

#include <array>
#include <string>
#include <string_view>

namespace vexa::toolkit {
class ChartWindow;
class ChartContext;
}  // namespace vexa::toolkit

/// What every chart builder takes from a graph's section: its stored fonts,
/// its colours, its window's caption and characteristic.
namespace vexa::graphs {

struct GraphResources;

/// Where a chart's title stands: centred at the top.
inline constexpr toolkit::ChartPoint kTitlePosition{0.5, 0.02};

/// The drawing layer's font of a stored font: its face, size, style bits
/// and colour.
toolkit::ChartFont ChartFontOf(const FontSpec& font);

/// How the page of a graph follows its window: "Fixed", "Isotropic" or,
/// for any other stored characteristic, "Proportional".
toolkit::WindowCharacteristic PageCharacteristic(int characteristic);

/// Selects the stored font \p key of the graph (the default of \p kind when
/// absent) and sets the line attributes to \p lineStyle, \p lineWidth in
/// the font's colour.
void ApplyStoredFont(toolkit::ChartContext& context, std::string_view section, std::string_view key, FontKind kind,
                     const std::string& displayFile, toolkit::LineStyle lineStyle, int lineWidth);

/// Colour "DC"\p measurement (1 ... 8) of the graph, or its default.
int ReadDataColour(std::string_view section, int measurement, const std::string& displayFile);
/// "DC1" ... "DC8" of the graph in order, each or its default.
std::array<int, kMaxMeasurementsPerGraph> ReadDataColours(std::string_view section, const std::string& displayFile);
/// "PC" and "WB" of the graph, or their defaults.
int ReadPlotBackground(std::string_view section, const std::string& displayFile);
int ReadWindowBackground(std::string_view section, const std::string& displayFile);

/// The caption of the graph window (the graph's title), as a chart shows it.
QString GraphCaption(const GraphResources& resources);

/// Draws the caption at the top centre of the chart in the graph's title
/// font.
void DrawGraphTitle(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphResources& resources);

}  // namespace vexa::graphs
