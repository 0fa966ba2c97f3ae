#include "ChartBuilders.h"

#include "PlaceholderGraph.h"
#include "TimeHistoryGraph.h"

#include "document/DisplayFormat.h"

namespace vexa::graphs {

namespace {

/// The types from the XY plot to the annunciator, whose charts are still to
/// come.
bool IsPlaceholderType(int type)
{
    return type >= kXYPlot && type <= kAnnunciator;
}

}  // namespace

toolkit::ChartBuilder ChartBuilderForType(int type, const GraphRecord& record, GraphResources& resources)
{
    if (IsPlaceholderType(type)) {
        return [&record, &resources](toolkit::ChartWindow& chart, toolkit::ChartContext& context) {
            BuildPlaceholderChart(chart, context, record, resources);
        };
    }
    return [&record, &resources](toolkit::ChartWindow& chart, toolkit::ChartContext& context) {
        BuildTimeHistoryChart(chart, context, record, resources);
    };
}

}  // namespace vexa::graphs
