#include "server/inputs/ValueTable.h"

#include <algorithm>
#include <limits>

namespace vexa::server {

ValueTable::StoreResult ValueTable::Store(std::string_view name, double value, double sourceTime, int input,
                                          std::int64_t nowMs)
{
    if (const auto found = m_index.find(name); found != m_index.end()) {
        Entry& entry = m_entries[found->second];
        entry.value = value;
        entry.lowest = std::min(entry.lowest, value);
        entry.highest = std::max(entry.highest, value);
        entry.receivedMs = nowMs;
        entry.sourceTime = sourceTime;
        entry.input = input;
        Tap(found->second, name, value, sourceTime);
        return StoreResult::Updated;
    }
    if (m_entries.size() >= kMaxNames) {
        ++m_refused;
        return StoreResult::Refused;
    }
    const std::size_t index = m_entries.size();
    m_entries.push_back(Entry{std::string(name), value, value, value, nowMs, sourceTime, input});
    m_index.emplace(m_entries.back().name, index);
    if (!m_waiting.empty()) {
        if (const auto waiting = m_waiting.find(name); waiting != m_waiting.end()) {
            for (int position : waiting->second)
                m_layout[std::size_t(position)] = std::int32_t(index);
            m_waiting.erase(waiting);
        }
    }
    Tap(index, name, value, sourceTime);
    return StoreResult::Added;
}

void ValueTable::Tap(std::size_t entry, std::string_view name, double value, double sourceTime)
{
    if (m_tap != nullptr)
        m_tap->Stored(entry, name, value, sourceTime);
}

std::optional<std::size_t> ValueTable::find(std::string_view name) const
{
    const auto found = m_index.find(name);
    if (found == m_index.end())
        return std::nullopt;
    return found->second;
}

bool ValueTable::isStale(std::size_t index, std::int64_t nowMs) const
{
    return m_staleAfterMs > 0 && nowMs - m_entries[index].receivedMs > m_staleAfterMs;
}

void ValueTable::BindLayout(const std::vector<std::string>& names)
{
    m_layout.assign(names.size(), kUnbound);
    m_waiting.clear();
    for (std::size_t position = 0; position < names.size(); ++position) {
        if (const std::optional<std::size_t> index = find(names[position]))
            m_layout[position] = std::int32_t(*index);
        else
            m_waiting[names[position]].push_back(int(position));
    }
}

std::optional<double> ValueTable::LayoutValue(int position, std::int64_t nowMs) const
{
    if (position < 0 || std::size_t(position) >= m_layout.size() || m_layout[std::size_t(position)] == kUnbound)
        return std::nullopt;
    const auto index = std::size_t(m_layout[std::size_t(position)]);
    if (isStale(index, nowMs))
        return std::numeric_limits<double>::quiet_NaN();
    return m_entries[index].value;
}

}  // namespace vexa::server
