#pragma once

#include "link/protocol/LayoutBlock.h"

namespace vexa::server {

/// What the sample step asks of the faults that make simulated values
/// misbehave on purpose, so that the engine needs nothing else of theirs.
/// Faults move on with the generators' fast tick and touch only the values
/// the generators give.
class SampleFaults {
public:
    virtual ~SampleFaults() = default;

    /// Takes the names of the layout now in force, positions 0 to
    /// \p count - 1 of \p layout.
    virtual void BindLayout(const link::LayoutBlock& layout, int count) = 0;
    /// One step of every fault, taken with each fast tick of the generators.
    virtual void Advance() = 0;
    /// The simulated \p value of layout position \p position as the faults
    /// in force make it.
    virtual double Apply(int position, double value) = 0;
};

}  // namespace vexa::server
