#include "ChartBuilders.h"

#include "AnnunciatorGraph.h"
#include "BarGraph.h"
#include "FixedTableGraph.h"
#include "MeterGraph.h"
#include "TimeHistoryGraph.h"
#include "XYPlotGraph.h"

#include "document/DisplayFormat.h"
#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/GaugeIndicators.h"

namespace vexa::graphs {

namespace {

using toolkit::ChartContext;
using toolkit::ChartWindow;

using Builder = void (*)(ChartWindow&, ChartContext&, const GraphDefinition&, GraphResources&);

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

toolkit::ChartBuilder ChartBuilderForType(GraphResources& resources)
{
    const int type = resources.definition.type;
    // One builder draws the three meters, each with the dial of its type.
    if (IsMeterType(type)) {
        return [type, &resources](ChartWindow& chart, ChartContext& context) {
            BuildMeter(chart, context, resources.definition, resources, type);
        };
    }
    // One builder draws both bar graphs, in the orientation of the type.
    if (type == kHorizontalBarGraph || type == kVerticalBarGraph) {
        const toolkit::BarOrientation orientation =
            type == kHorizontalBarGraph ? toolkit::BarOrientation::Horizontal : toolkit::BarOrientation::Vertical;
        return [orientation, &resources](ChartWindow& chart, ChartContext& context) {
            BuildBarGraph(chart, context, resources.definition, resources, orientation);
        };
    }
    const Builder builder = BuilderForType(type);
    return [builder, &resources](ChartWindow& chart, ChartContext& context) {
        builder(chart, context, resources.definition, resources);
    };
}

}  // namespace vexa::graphs
