#include "ChartStyle.h"

#include "document/DisplayFormat.h"
#include "document/ProfileStore.h"
#include "graphs/GraphResources.h"
#include "graphs/toolkit/ChartDrawing.h"

#include <QWidget>

namespace vexa::graphs {

namespace {

/// A caption is read into a buffer of 100 characters.
constexpr int kCaptionLength = 100;

}  // namespace

void ApplyStoredFont(toolkit::ChartWindow& chart, toolkit::ChartContext& context, std::string_view section,
                     std::string_view key, FontKind kind, const std::string& displayFile, int lineStyle,
                     int lineWidth)
{
    const FontSpec font = ReadFontSpec(section, key, kind, displayFile);
    toolkit::SelectChartFont(context, font.colour, font.face, font.size, font.style);
    toolkit::SetLineAttributes(chart, context, lineStyle, lineWidth, font.colour);
}

int ReadDataColour(std::string_view section, int measurement, const std::string& displayFile)
{
    return profile::ReadInt(section, NumberedKey(kDataColourKeyStem, measurement), DefaultDataColour(measurement), displayFile);
}

std::array<int, kMaxMeasurementsPerGraph> ReadDataColours(std::string_view section, const std::string& displayFile)
{
    std::array<int, kMaxMeasurementsPerGraph> colours{};
    for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k)
        colours[static_cast<std::size_t>(k - 1)] = ReadDataColour(section, k, displayFile);
    return colours;
}

int ReadPlotBackground(std::string_view section, const std::string& displayFile)
{
    return profile::ReadInt(section, kPlotColourKey, kDefaultPlotBackground, displayFile);
}

int ReadWindowBackground(std::string_view section, const std::string& displayFile)
{
    return profile::ReadInt(section, kWindowBackgroundKey, kDefaultWindowBackground, displayFile);
}

QString GraphCaption(const GraphResources& resources)
{
    if (resources.graphWindow == nullptr)
        return {};
    return resources.graphWindow->windowTitle().left(kCaptionLength);
}

void DrawGraphTitle(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphResources& resources)
{
    ApplyStoredFont(chart, context, resources.section, kTitleFontKey, FontKind::Title, resources.displayFile, kSolidLine, 1);
    toolkit::DrawChartText(chart, context, GraphCaption(resources), kTitlePosition.x, kTitlePosition.y,
                           toolkit::kJustifyCentre);
}

}  // namespace vexa::graphs
