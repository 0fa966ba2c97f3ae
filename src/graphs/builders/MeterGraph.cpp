#include "MeterGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphTable.h"
#include "graphs/GraphResources.h"
#include "graphs/ValueConversion.h"
#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/Toolkit.h"
#include "platform/AnsiText.h"

#include <array>

namespace vexa::graphs {

namespace {

constexpr double kTickShare = 0.1;

// The face: a frame filled with "Medium Green".
constexpr toolkit::ChartRect kFaceRect{0.01, 0.01, 0.99, 0.99};
constexpr toolkit::PaletteIndex kFaceColour = toolkit::palette::kMediumGreen;

// The dial: the same geometry for all three types.
constexpr toolkit::DialGeometry kDialGeometry{
    .centre = {0.5, 0.55}, .radius = 0.6, .startAngle = 315.0, .endAngle = 225.0};
constexpr int kFirstChannel = 0;
constexpr toolkit::NeedleHub kHub{.colour = toolkit::palette::kRed, .size = 0.08, .needleWidth = 0.02};
constexpr double kArcBandWidth = 0.15;

/// The states whose colours a dial shows, in the order it takes them.
constexpr std::array<int, 3> kDialLevels = {toolkit::kLevelNormal, toolkit::kLevelHigh, toolkit::kLevelLow};
constexpr toolkit::DialAlarmColours kDefaultDialColours = {toolkit::palette::kLightGreen, toolkit::palette::kLightRed,
                                                           toolkit::palette::kLightCyan};

}  // namespace

double MeterTickInterval(const GraphRecord& record)
{
    if (MeasurementCount(record) == 0)
        return 0.0;
    const MeasurementSlot& first = record.measurements[0];
    return (first.maximum - first.minimum) * kTickShare;
}

toolkit::DialAlarmColours MeterAlarmColours(std::string_view section, const std::string& displayFile,
                                            const GraphTable& graphs)
{
    toolkit::DialAlarmColours colours = kDefaultDialColours;
    for (std::size_t i = 0; i < kDialLevels.size(); ++i) {
        const int level = kDialLevels[i];
        // "A"k holds level k - 1.
        if (!GraphHasAlarm(section, level + 1, displayFile))
            continue;
        int colour = 0;
        if (ReadAlarmEntry(section, level, nullptr, nullptr, &colour, displayFile, graphs))
            colours[i] = colour;
    }
    return colours;
}

void BuildMeter(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                GraphResources& resources, int type)
{
    const std::string& section = resources.section;
    const std::string& file = resources.displayFile;

    const double tickInterval = MeterTickInterval(record);
    toolkit::BeginChart(chart, context);
    toolkit::RealTimeDataset* dataset = CreateGraphDataset(record, resources);

    toolkit::DrawPanel(chart, kFaceRect, kFaceColour, toolkit::PaletteColour(kFaceColour));

    // The title is the measurement's name, not the window's caption.
    ApplyStoredFont(context, section, kTitleFontKey, FontKind::Title, file, toolkit::LineStyle::Solid,
                    toolkit::kThinLine);
    if (MeasurementCount(record) > 0) {
        toolkit::DrawChartText(chart, context, FromAnsi(record.measurements[0].name), kTitlePosition,
                               toolkit::Justification::Centre);
    }
    if (dataset == nullptr)
        return;

    const std::array<int, kMaxMeasurementsPerGraph> dataColours = ReadDataColours(section, file);
    AttachGraphAlarms(chart, resources, nullptr);
    toolkit::ValueRange range;
    GraphValueRange(record, &range.minimum, &range.maximum);
    const toolkit::DialAlarmColours alarmColours =
        resources.graphs != nullptr ? MeterAlarmColours(section, file, *resources.graphs) : kDefaultDialColours;

    // The dial's lines take the grid font's colour, its numbers the label font.
    toolkit::SetLineAttributes(context, {toolkit::LineStyle::Solid, toolkit::kThinLine,
                                         FontColour(section, kGridFontKey, FontKind::Grid, file)});
    toolkit::SelectChartFont(context, ChartFontOf(ReadFontSpec(section, kLabelFontKey, FontKind::Label, file)));

    // The band and the slice fill from the scale's minimum in the first data
    // colour, on the window's background.
    const toolkit::DialFill fill{.colour = dataColours[0], .track = ReadWindowBackground(section, file)};
    switch (type) {
    case kArcMeter:
        toolkit::CreateArcMeter(chart, context, *dataset, kFirstChannel, range, range.minimum, tickInterval,
                                kDialGeometry, fill, kArcBandWidth, alarmColours);
        break;
    case kPieMeter:
        toolkit::CreatePieMeter(chart, context, *dataset, kFirstChannel, range, range.minimum, tickInterval,
                                kDialGeometry, fill, alarmColours);
        break;
    default:
        toolkit::CreateMeter(chart, context, *dataset, toolkit::kAllChannels, range, tickInterval, kDialGeometry,
                             kHub, dataColours, alarmColours);
        break;
    }
}

}  // namespace vexa::graphs
