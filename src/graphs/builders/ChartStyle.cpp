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

void ApplyStoredFont(toolkit::ChartContext& context, std::string_view section, std::string_view key, FontKind kind,
                     const std::string& displayFile, toolkit::LineStyle lineStyle, int lineWidth)
{
    const FontSpec font = ReadFontSpec(section, key, kind, displayFile);
    toolkit::SelectChartFont(context, ChartFontOf(font));
    toolkit::SetLineAttributes(context, {lineStyle, lineWidth, font.colour});
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
    ApplyStoredFont(context, resources.section, kTitleFontKey, FontKind::Title, resources.displayFile,
                    toolkit::LineStyle::Solid, toolkit::kThinLine);
    toolkit::DrawChartText(chart, context, GraphCaption(resources), kTitlePosition, toolkit::Justification::Centre);
}

}  // namespace vexa::graphs
