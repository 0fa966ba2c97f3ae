#pragma once

namespace vexa::graphs {

/// What a graph type keeps beside its chart while the chart is open (the
/// time history's sample intake and history window). The graph's resources
/// own it and let it go first, before the chart and the dataset it uses.
class GraphState {
public:
    GraphState() = default;
    virtual ~GraphState() = default;
    GraphState(const GraphState&) = delete;
    GraphState& operator=(const GraphState&) = delete;
};

}  // namespace vexa::graphs
