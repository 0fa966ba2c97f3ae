#pragma once

#include "graphs/toolkit/Toolkit.h"

namespace vexa::graphs {

struct GraphResources;

/// The chart builder of the type of the graph that \p resources show: the
/// XY plot, the fixed table, the bars, the meters and the annunciator for
/// their types, the time history for type 1 and every other type. (A
/// scrolling table has no chart; its window shows a list instead.) The
/// builder draws from the resources' definition and fills the resources,
/// which must outlive the chart window.
toolkit::ChartBuilder ChartBuilderForType(GraphResources& resources);

}  // namespace vexa::graphs
