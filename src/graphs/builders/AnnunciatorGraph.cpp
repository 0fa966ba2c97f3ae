#include "AnnunciatorGraph.h"

#include "ChartStyle.h"
#include "GraphDataset.h"

#include "document/GraphTable.h"
#include "graphs/GraphResources.h"
#include "graphs/ValueConversion.h"
#include "graphs/toolkit/AlarmLevels.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/Toolkit.h"
#include "graphs/toolkit/ValueIndicators.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vexa::graphs {

namespace {

/// Grids for 1 ... 8 measurements.
constexpr std::array<AnnunciatorGridSize, kMaxMeasurementsPerGraph> kGrids = {{
    {1, 1}, {1, 2}, {1, 3}, {2, 2}, {2, 3}, {2, 3}, {2, 4}, {2, 4},
}};
constexpr int kAnnunciatorCode1 = 8;
constexpr int kAnnunciatorCode2 = 3;
constexpr int kAnnunciatorCode3 = 8;
constexpr int kAnnunciatorCode4 = 5;

/// The colour of alarm \p level while it is enabled, else \p otherwise.
QColor EnabledAlarmColour(const GraphResources& resources, int level, const QColor& otherwise)
{
    if (resources.graphs == nullptr)
        return otherwise;
    int colour = 0;
    if (!ReadAlarmEntry(resources.section, level, nullptr, nullptr, &colour, resources.displayFile,
                        *resources.graphs))
        return otherwise;
    return toolkit::PaletteColour(colour);
}

}  // namespace

AnnunciatorGridSize AnnunciatorGrid(int count)
{
    const int clamped = std::clamp(count, 1, kMaxMeasurementsPerGraph);
    return kGrids[static_cast<std::size_t>(clamped - 1)];
}

void BuildAnnunciator(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                      GraphResources& resources)
{
    const std::string& section = resources.section;
    const std::string& file = resources.displayFile;

    toolkit::BeginChart(chart, context, 1);
    const std::array<int, kMaxMeasurementsPerGraph> dataColours = ReadDataColours(section, file);
    const AnnunciatorGridSize grid = AnnunciatorGrid(MeasurementCount(record));
    const QColor cellColour = toolkit::PaletteColour(FontColour(section, kGridFontKey, FontKind::Grid, file));
    const std::vector<QColor> cellColours(static_cast<std::size_t>(grid.first * grid.second), cellColour);

    toolkit::RealTimeDataset* dataset = CreateGraphDataset(record, resources);
    if (dataset == nullptr)
        return;
    ApplyStoredFont(chart, context, section, kTitleFontKey, FontKind::Title, file, kSolidLine, 1);
    AttachGraphAlarms(chart, resources, nullptr);
    const int hasAlarm = GraphHasAlarm(section, kAnyAlarmKey, file) ? 1 : 0;

    // A level that is not enabled leaves its lamps on their cell colour.
    const QColor lowColour = EnabledAlarmColour(resources, toolkit::kLevelLow, cellColour);
    const QColor highColour = EnabledAlarmColour(resources, toolkit::kLevelHigh, cellColour);
    const std::array<int, toolkit::kAnnunciatorFlags> flags = {1, 1, 1, hasAlarm};
    toolkit::CreateAnnunciator(chart, context, *dataset, kAnnunciatorCode1, kAnnunciatorCode2, kAnnunciatorCode3,
                               dataColours, cellColours, lowColour, highColour, grid.first, grid.second, flags,
                               kAnnunciatorCode4);
}

}  // namespace vexa::graphs
