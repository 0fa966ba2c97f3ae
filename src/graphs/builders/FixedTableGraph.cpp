#include "FixedTableGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphTable.h"
#include "graphs/GraphResources.h"
#include "graphs/ValueConversion.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/IndicatorPart.h"
#include "graphs/toolkit/ValueIndicators.h"

#include <array>

namespace vexa::graphs {

std::vector<std::string> FixedTableRowTexts(const GraphRecord& record)
{
    std::vector<std::string> texts;
    const int count = MeasurementCount(record);
    texts.reserve(static_cast<std::size_t>(count));
    for (int slot = 0; slot < count; ++slot)
        texts.push_back(record.measurements[static_cast<std::size_t>(slot)].description.substr(0, kRowTextLength));
    return texts;
}

void BuildFixedTable(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                     GraphResources& resources)
{
    const std::string& section = resources.section;
    const std::string& file = resources.displayFile;

    toolkit::BeginChart(chart, context);
    const std::array<int, kMaxMeasurementsPerGraph> colours = ReadDataColours(section, file);
    toolkit::RealTimeDataset* dataset = CreateGraphDataset(record, resources);
    if (dataset == nullptr)
        return;

    const toolkit::AlarmText alarmText =
        GraphHasAlarm(section, kAnyAlarmKey, file) ? toolkit::AlarmText::Shown : toolkit::AlarmText::Hidden;
    std::array<toolkit::IndicatorPart, toolkit::kValueTableParts> parts{};
    toolkit::CreateValueTable(chart, context, *dataset, colours, FixedTableRowTexts(record), alarmText, parts);

    ApplyStoredFont(context, section, kTitleFontKey, FontKind::Title, file, toolkit::LineStyle::Solid,
                    toolkit::kThinLine);
    // The heading takes the title font's colour, as the bar graphs' titles do.
    toolkit::SetTextColour(chart, parts[toolkit::kTableHeadingPart], FontColour(section, kTitleFontKey, FontKind::Title, file));
    AttachGraphAlarms(chart, resources, parts[toolkit::kTableAlarmPart].alarm);
}

}  // namespace vexa::graphs
