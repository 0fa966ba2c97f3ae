#include "PlaceholderGraph.h"

#include "ChartStyle.h"

#include "document/GraphTable.h"
#include "graphs/GraphResources.h"
#include "graphs/toolkit/ChartDrawing.h"
#include "graphs/toolkit/RealTimeIndicators.h"

namespace vexa::graphs {

namespace {

constexpr toolkit::ChartPoint kMessagePosition{0.5, 0.5};
constexpr int kMessageFontSize = 12;
/// The placeholder shows no values, so its dataset keeps only the newest row.
constexpr int kNoHistory = 0;

}  // namespace

void BuildPlaceholderChart(toolkit::ChartWindow& chart, toolkit::ChartContext& context, const GraphRecord& record,
                           GraphResources& resources)
{
    toolkit::BeginChart(chart, context, 1);
    DrawGraphTitle(chart, context, resources);
    toolkit::SelectStockFont(context, kBoldStockFont, kStockFontCode, kMessageFontSize, 0);
    toolkit::DrawChartText(chart, context, QString::fromLatin1(kGraphTypeNotAvailable), kMessagePosition.x,
                           kMessagePosition.y, toolkit::kJustifyCentre);
    resources.dataset = toolkit::CreateDataset({}, record.measurementCount, 0, {}, kNoHistory);
}

}  // namespace vexa::graphs
