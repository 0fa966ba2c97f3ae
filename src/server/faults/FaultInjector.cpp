#include "server/faults/FaultInjector.h"

#include "server/faults/NamePattern.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vexa::server {

FaultInjector::Running::Running(const Fault& fault, std::uint32_t seed, std::string_view name, int index)
    : fault(&fault), random(seed, name, index)
{
}

void FaultInjector::setConfig(FaultConfig config)
{
    m_config = std::move(config);
    Rebind();
}

void FaultInjector::BindLayout(const link::LayoutBlock& layout, int count)
{
    m_names.clear();
    for (int i = 0; i < count; ++i) {
        const QByteArray name = layout.name(i);
        m_names.emplace_back(name.constData(), size_t(name.size()));
    }
    Rebind();
}

void FaultInjector::Rebind()
{
    m_positions.clear();
    if (m_config.faults.empty())
        return;
    m_positions.resize(m_names.size());
    for (size_t i = 0; i < m_names.size(); ++i) {
        for (size_t f = 0; f < m_config.faults.size(); ++f) {
            const Fault& fault = m_config.faults[f];
            if (MatchesNamePattern(fault.pattern, m_names[i]))
                m_positions[i].faults.emplace_back(fault, m_config.seed, m_names[i], int(f));
        }
    }
}

std::int64_t FaultInjector::StepsFor(double seconds)
{
    return std::max<std::int64_t>(1, std::llround(seconds / kStepSeconds));
}

bool FaultInjector::StepTimed(Running& running)
{
    if (running.stepsLeft == 0 && running.random.uniform() < running.fault->chance)
        running.stepsLeft = StepsFor(running.fault->seconds);
    if (running.stepsLeft == 0)
        return false;
    --running.stepsLeft;
    return true;
}

void FaultInjector::Advance()
{
    for (Position& position : m_positions) {
        if (position.faults.empty())
            continue;
        position.offset = 0.0;
        position.dropped = false;
        bool stuck = false;
        for (Running& running : position.faults) {
            const Fault& fault = *running.fault;
            switch (fault.kind) {
            case FaultKind::Spike:
                if (running.random.uniform() < fault.chance)
                    position.offset += fault.amount;
                break;
            case FaultKind::Drift:
                running.drift += fault.amount * kStepSeconds;
                position.offset += running.drift;
                break;
            case FaultKind::Noise:
                position.offset += fault.amount * running.random.gaussian();
                break;
            case FaultKind::Dropout:
                position.dropped = StepTimed(running) || position.dropped;
                break;
            case FaultKind::Stuck:
                stuck = StepTimed(running) || stuck;
                break;
            }
        }
        // A value stays frozen for as long as one stuck fault runs on it.
        if (!stuck)
            position.frozen.reset();
        position.stuck = stuck;
    }
}

double FaultInjector::Apply(int position, double value)
{
    if (position < 0 || size_t(position) >= m_positions.size())
        return value;
    Position& at = m_positions[size_t(position)];
    if (at.faults.empty())
        return value;
    value += at.offset;
    if (at.stuck) {
        if (!at.frozen.has_value())
            at.frozen = value;
        value = *at.frozen;
    }
    return at.dropped ? std::numeric_limits<double>::quiet_NaN() : value;
}

}  // namespace vexa::server
