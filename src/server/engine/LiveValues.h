#pragma once

#include "link/protocol/LayoutBlock.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace vexa::server {

/// The clock by which live values age, in milliseconds.
inline std::int64_t MonotonicMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// What the sample step asks of the server's live inputs, so that the engine
/// needs nothing else of theirs.
class LiveValues {
public:
    virtual ~LiveValues() = default;

    /// True while at least one live input is configured. Only then does the
    /// sample step answer from live data.
    virtual bool hasLiveSources() const = 0;
    /// Takes the names of the layout now in force, positions 0 to
    /// \p count - 1 of \p layout.
    virtual void BindLayout(const link::LayoutBlock& layout, int count) = 0;
    /// The live value of layout position \p position at \p nowMs (on the
    /// MonotonicMs() clock): nullopt when no source has fed that name, NaN
    /// when its value is stale.
    virtual std::optional<double> LiveValueAt(int position, std::int64_t nowMs) const = 0;
};

}  // namespace vexa::server
