#include "GraphTable.h"

#include <algorithm>

namespace vexa {

void GraphTable::clear()
{
    m_records.fill(GraphRecord{});
}

void GraphTable::clearRecord(int index)
{
    record(index) = GraphRecord{};
}

bool GraphTable::anyOpen() const
{
    return std::any_of(m_records.begin(), m_records.end(),
                       [](const GraphRecord& r) { return r.window != nullptr; });
}

int GraphTable::findByWindow(const QWidget* window) const
{
    if (window == nullptr)
        return -1;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].window == window)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace vexa
