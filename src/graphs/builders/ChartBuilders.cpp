#include "ChartBuilders.h"

#include "AnnunciatorGraph.h"
#include "BarGraph.h"
#include "FixedTableGraph.h"
#include "MeterGraph.h"
#include "TimeHistoryGraph.h"
#include "XYPlotGraph.h"

#include "document/DisplayFormat.h"
#include "graphs/toolkit/GaugeIndicators.h"

namespace vexa::graphs {

namespace {

using toolkit::ChartContext;
using toolkit::ChartWindow;

using Builder = void (*)(ChartWindow&, ChartContext&, const GraphRecord&, GraphResources&);

bool IsMeterType(int type)
{
    return type == kMeter || type == kArcMeter || type == kPieMeter;
}

Builder BuilderForType(int type)
{
    switch (type) {
    case kXYPlot:
        return BuildXYPlot;
    case kFixedTabular:
        return BuildFixedTable;
    case kAnnunciator:
        return BuildAnnunciator;
    default:
        return BuildTimeHistoryChart;
    }
}

}  // namespace

toolkit::ChartBuilder ChartBuilderForType(int type, const GraphRecord& record, GraphResources& resources)
{
    // One builder draws the three meters, each with the dial of its type.
    if (IsMeterType(type)) {
        return [type, &record, &resources](ChartWindow& chart, ChartContext& context) {
            BuildMeter(chart, context, record, resources, type);
        };
    }
    // One builder draws both bar graphs, in the orientation of the type.
    if (type == kHorizontalBarGraph || type == kVerticalBarGraph) {
        const toolkit::BarOrientation orientation =
            type == kHorizontalBarGraph ? toolkit::BarOrientation::Horizontal : toolkit::BarOrientation::Vertical;
        return [orientation, &record, &resources](ChartWindow& chart, ChartContext& context) {
            BuildBarGraph(chart, context, record, resources, orientation);
        };
    }
    const Builder builder = BuilderForType(type);
    return [builder, &record, &resources](ChartWindow& chart, ChartContext& context) {
        builder(chart, context, record, resources);
    };
}

}  // namespace vexa::graphs
