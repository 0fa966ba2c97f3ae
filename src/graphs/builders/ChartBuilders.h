#pragma once

#include "graphs/toolkit/Toolkit.h"

namespace vexa {
struct GraphRecord;
}

namespace vexa::graphs {

struct GraphResources;

/// The chart builder of a graph type: the time history for type 1 and every
/// type without a builder of its own, a page that says "Graph type not
/// available" for the types still to come. The builder reads \p record and
/// fills \p resources, both of which outlive the chart window.
toolkit::ChartBuilder ChartBuilderForType(int type, const GraphRecord& record, GraphResources& resources);

}  // namespace vexa::graphs
