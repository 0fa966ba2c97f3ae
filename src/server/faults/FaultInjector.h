#pragma once

#include "server/engine/SampleFaults.h"
#include "server/faults/Fault.h"
#include "server/faults/FaultRandom.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vexa::server {

/// Makes the simulated values of the names that match a fault's pattern
/// misbehave. Every fault takes one step with each fast tick of the
/// generators, so a step is 0.1 s: a spike lasts one step, a drift moves
/// on by a tenth of its rate per step, and a dropout or a stuck value lasts
/// its time rounded to whole steps (at least one). On a step, the value is
/// the generator's plus every drift, noise and spike of the name; a stuck
/// name holds the first such value asked for after it stuck; a dropped name
/// is NaN.
///
/// Setting faults or taking a layout starts every fault afresh, so that a
/// run with the same seed, layout and number of ticks repeats exactly.
class FaultInjector : public SampleFaults {
public:
    /// The time one step of a fault stands for: the generators' fast tick.
    static constexpr double kStepSeconds = 0.1;

    const FaultConfig& config() const { return m_config; }
    /// Puts \p config in force and starts every fault afresh.
    void setConfig(FaultConfig config);

    void BindLayout(const link::LayoutBlock& layout, int count) override;
    void Advance() override;
    double Apply(int position, double value) override;

    /// How many steps a dropout or stuck value of \p seconds lasts.
    static std::int64_t StepsFor(double seconds);

private:
    /// One fault at work on one name.
    struct Running {
        Running(const Fault& fault, std::uint32_t seed, std::string_view name, int index);
        const Fault* fault;
        FaultRandom random;
        double drift = 0.0;
        std::int64_t stepsLeft = 0;
    };
    /// The faults of one layout position and what they make of it this step.
    struct Position {
        std::vector<Running> faults;
        double offset = 0.0;
        bool stuck = false;
        bool dropped = false;
        std::optional<double> frozen;
    };

    void Rebind();
    /// Moves a dropout or a stuck fault on by a step: starts it by its
    /// chance when it is not running; true while it runs.
    static bool StepTimed(Running& running);

    FaultConfig m_config;
    std::vector<std::string> m_names;
    std::vector<Position> m_positions;
};

}  // namespace vexa::server
