#pragma once

#include "graphs/toolkit/Toolkit.h"

namespace vexa {
struct GraphRecord;
}

namespace vexa::graphs {

struct GraphResources;

/// The chart builder of a graph type: the XY plot, the fixed table, the
/// bars, the meters and the annunciator for their types, the time history
/// for type 1 and every other type. (A scrolling table has no chart; its
/// window shows a list instead.) The builder reads \p record and fills
/// \p resources, both of which outlive the chart window.
toolkit::ChartBuilder ChartBuilderForType(int type, const GraphRecord& record, GraphResources& resources);

}  // namespace vexa::graphs
