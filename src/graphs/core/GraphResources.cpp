#include "GraphResources.h"

#include "graphs/toolkit/RealTimeIndicators.h"
#include "graphs/toolkit/Toolkit.h"

namespace vexa::graphs {

GraphResources::~GraphResources()
{
    release();
}

void GraphResources::release()
{
    // The history window shows the graph's history datasets, and the chart
    // window the dataset: each goes before what it shows.
    state.reset();
    if (chartWindow)
        toolkit::ReleaseChartWindow(chartWindow);
    if (dataset)
        toolkit::DestroyDataset(dataset);
    scrollingList.clear();
}

}  // namespace vexa::graphs
