#pragma once

#include <span>

namespace vexa::graphs {

struct GraphResources;

/// Feeds one sample to a shown graph: \p values are its measurements'
/// engineering values in slot order, \p timeOfDay the sample's time (seconds
/// since midnight). A scrolling table adds it as a line. A time history (and
/// a graph of a type that is none of the ten, which is drawn as one) takes
/// it through its intake, which drops a sample that is not newer than the
/// last, and starts its time labels with the first one. Every other graph
/// appends the values as they are. Nothing is appended until the chart has
/// been built.
void FeedSample(GraphResources& resources, std::span<const double> values, double timeOfDay);

}  // namespace vexa::graphs
