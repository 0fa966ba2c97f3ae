#include "BarGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphTable.h"
#include "graphs/GraphResources.h"
#include "graphs/ValueConversion.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/GaugeIndicators.h"
#include "graphs/toolkit/IndicatorPart.h"
#include "graphs/toolkit/Toolkit.h"

#include <array>

namespace vexa::graphs {

namespace {

const QString kHighText = QStringLiteral("High");
const QString kLowText = QStringLiteral("Low");

}  // namespace

void BuildBarGraph(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                   GraphResources& resources, toolkit::BarOrientation orientation)
{
    const std::string& section = resources.section;
    const std::string& file = resources.displayFile;

    toolkit::BeginChart(chart, context);
    std::array<QColor, kMaxMeasurementsPerGraph> barColours;
    const std::array<int, kMaxMeasurementsPerGraph> colours = ReadDataColours(section, file);
    for (std::size_t i = 0; i < colours.size(); ++i)
        barColours[i] = toolkit::PaletteColour(colours[i]);

    toolkit::RealTimeDataset* dataset = CreateGraphDataset(record, resources);
    if (dataset == nullptr)
        return;
    toolkit::ValueRange range;
    GraphValueRange(record, &range.minimum, &range.maximum);

    // The scale's ends are marked High and Low.
    std::array<toolkit::IndicatorPart, toolkit::kBarParts> parts{};
    toolkit::CreateBarIndicator(chart, context, *dataset, range, orientation, {range.maximum, kHighText},
                                {range.minimum, kLowText}, barColours, parts);
    AttachGraphAlarms(chart, resources, parts[toolkit::kBarAlarmPart].alarm);

    // Only the fonts' colours apply: the indicator draws in faces of its own.
    toolkit::SetTextColour(chart, parts[toolkit::kBarTitlePart],
                           FontColour(section, kTitleFontKey, FontKind::Title, file));
    toolkit::SetTextColour(chart, parts[toolkit::kBarLabelPart],
                           FontColour(section, kLabelFontKey, FontKind::Label, file));
    const int axisColour = FontColour(section, kGridFontKey, FontKind::Grid, file);
    toolkit::SetAxisColour(chart, parts[toolkit::kBarValueAxisPart], axisColour);
    toolkit::SetAxisColour(chart, parts[toolkit::kBarChannelAxisPart], axisColour);
}

}  // namespace vexa::graphs
