#pragma once

#include <span>
#include <vector>

namespace vexa::toolkit {

/// A stretch of a plot's time axis during which the graph was in one alarm
/// level, in pixels.
struct AlarmSpan {
    double left = 0.0;
    double right = 0.0;
    int level = 0;

    bool operator==(const AlarmSpan&) const = default;
};

/// Turns rows (their x pixels and alarm states, in time order either way)
/// into the spans to tint: each run of rows in one level other than normal
/// reaches from its first row to the row that ended it, or to its own last
/// row when none has yet. A span is at least one pixel wide, so that a
/// level entered by the newest row shows at once. Appends to \p spans.
void CollectAlarmSpans(std::span<const double> x, std::span<const int> levels, std::vector<AlarmSpan>& spans);

}  // namespace vexa::toolkit
