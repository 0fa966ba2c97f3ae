#include "SampleFeed.h"

#include "ScrollingTable.h"
#include "TimeHistoryGraph.h"

#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/Toolkit.h"

#include <vector>

namespace vexa::graphs {

void FeedSample(GraphResources& resources, std::span<const double> values, double timeOfDay)
{
    const GraphDefinition& graph = resources.definition;
    if (graph.type == kScrollingTabular) {
        AddScrollingRow(resources.scrollingList, graph, values, timeOfDay);
        return;
    }

    TimeHistoryState* history = TimeHistoryStateOf(resources);
    std::vector<double> row;
    if (graph.type == kTimeHistory || history != nullptr) {
        if (!TakeTimeHistorySample(resources, values, timeOfDay, row))
            return;
    } else {
        row.assign(values.begin(), values.end());
    }

    if (history != nullptr && history->firstSamplePending && resources.chartWindow) {
        history->firstSamplePending = false;
        toolkit::StartTimeLabels(*resources.chartWindow, history->timeLabels, timeOfDay);
    }

    toolkit::UseToolkitState();
    if (!toolkit::PageExists(resources.chartPage) || !toolkit::ChartReady(resources.chartWindow))
        return;
    if (resources.dataset)
        toolkit::AppendRow(*resources.dataset, row, resources.chartWindow);
    if (history != nullptr && history->currentValues)
        toolkit::AppendRow(*history->currentValues, row, resources.chartWindow);
}

}  // namespace vexa::graphs
