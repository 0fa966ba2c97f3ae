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
constexpr int kFaceColour = 18;
constexpr int kPanelCode1 = 2;
constexpr int kPanelCode2 = 0;
constexpr int kPanelCode3 = 5;

// The dial: the same geometry for all three types.
constexpr double kCentreX = 0.5;
constexpr double kCentreY = 0.55;
constexpr double kRadius = 0.6;
constexpr double kStartAngle = 315.0;
constexpr double kEndAngle = 225.0;
constexpr int kAllChannels = -1;
constexpr int kFirstChannel = 0;
constexpr int kHubColour = 4;
constexpr double kDialSize = 0.08;
constexpr double kArcBandWidth = 0.15;
constexpr double kLastSize = 0.02;
constexpr std::array<int, 9> kMeterCodes = {9, 0, 4, 0, 1, 2, 1, 1, 1};
constexpr std::array<int, 8> kArcMeterCodes = {9, 0, 0, 1, 2, 1, 1, 1};
constexpr std::array<int, 5> kPieMeterCodes = {9, 0, 0, 1, 1};

/// The states whose colours a dial shows, in the order it takes them.
constexpr std::array<int, 3> kDialLevels = {toolkit::kLevelNormal, toolkit::kLevelHigh, toolkit::kLevelLow};
constexpr toolkit::DialAlarmColours kDefaultDialColours = {10, 12, 11};

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
    toolkit::BeginChart(chart, context, 1);
    toolkit::RealTimeDataset* dataset = CreateGraphDataset(record, resources);

    toolkit::DrawPanel(chart, context, kFaceRect, kFaceColour, kPanelCode1, kPanelCode2,
                       toolkit::PaletteColour(kFaceColour), kPanelCode3);

    // The title is the measurement's name, not the window's caption.
    ApplyStoredFont(chart, context, section, kTitleFontKey, FontKind::Title, file, kSolidLine, 0);
    if (MeasurementCount(record) > 0) {
        toolkit::DrawChartText(chart, context, FromAnsi(record.measurements[0].name), kTitlePosition.x,
                               kTitlePosition.y, toolkit::kJustifyCentre);
    }
    if (dataset == nullptr)
        return;

    const std::array<int, kMaxMeasurementsPerGraph> dataColours = ReadDataColours(section, file);
    AttachGraphAlarms(chart, resources, nullptr);
    double minimum = 0.0;
    double maximum = 0.0;
    GraphValueRange(record, &minimum, &maximum);
    const toolkit::DialAlarmColours alarmColours =
        resources.graphs != nullptr ? MeterAlarmColours(section, file, *resources.graphs) : kDefaultDialColours;

    // The dial's lines take the grid font's colour, its numbers the label font.
    toolkit::SetLineAttributes(chart, context, kSolidLine, 0, FontColour(section, kGridFontKey, FontKind::Grid, file));
    const FontSpec labelFont = ReadFontSpec(section, kLabelFontKey, FontKind::Label, file);
    toolkit::SelectChartFont(context, labelFont.colour, labelFont.face, labelFont.size, labelFont.style);

    const int firstColour = dataColours[0];
    const int background = ReadWindowBackground(section, file);
    switch (type) {
    case kArcMeter:
        toolkit::CreateArcMeter(chart, context, *dataset, kFirstChannel, minimum, maximum, minimum, kCentreX,
                                kCentreY, kRadius, kStartAngle, kEndAngle, firstColour, background, kArcBandWidth,
                                kDialSize, tickInterval, kArcMeterCodes, kLastSize, alarmColours);
        break;
    case kPieMeter:
        toolkit::CreatePieMeter(chart, context, *dataset, kFirstChannel, minimum, maximum, minimum, kCentreX,
                                kCentreY, kRadius, kStartAngle, kEndAngle, firstColour, background, kDialSize,
                                tickInterval, kPieMeterCodes, kLastSize, alarmColours);
        break;
    default:
        toolkit::CreateMeter(chart, context, *dataset, kAllChannels, minimum, maximum, kCentreX, kCentreY, kRadius,
                             kStartAngle, kEndAngle, kHubColour, dataColours, kDialSize, tickInterval, kMeterCodes,
                             kLastSize, alarmColours);
        break;
    }
}

}  // namespace vexa::graphs
