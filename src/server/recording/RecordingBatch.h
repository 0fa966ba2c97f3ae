#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vexa::server::recording {

/// One value as a recording keeps it.
struct RecordedValue {
    double time = 0.0;          ///< arrival, seconds since the epoch on the system clock
    std::int32_t nameId = 0;    ///< the name's number in the recording
    double value = 0.0;         ///< NaN is stored as NULL
    double sourceTime = 0.0;    ///< the sender's time in seconds; NaN when it sent none
};

/// What the event loop hands the recorder's writer in one piece: the names
/// first seen since the last batch, then the values in arrival order.
struct RecordingBatch {
    std::vector<std::pair<std::int32_t, std::string>> names;
    std::vector<RecordedValue> values;
    /// The mode to note in the recording's info from this batch on; empty
    /// for no change.
    std::string mode;

    bool isEmpty() const { return names.empty() && values.empty() && mode.empty(); }
};

}  // namespace vexa::server::recording
