#include "graphs/toolkit/RowRing.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace vexa::toolkit {

RowRing::RowRing(int width, int capacity)
    : m_width(std::max(width, 0))
    , m_capacity(std::max(capacity, 1))
    , m_cells(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_capacity), 0.0)
{
}

int RowRing::width() const
{
    return m_width;
}

int RowRing::capacity() const
{
    return m_capacity;
}

int RowRing::size() const
{
    return m_size;
}

void RowRing::push(std::span<const double> row)
{
    double* target = m_cells.data() + static_cast<std::size_t>(m_next) * static_cast<std::size_t>(m_width);
    const auto copied = std::min(row.size(), static_cast<std::size_t>(m_width));
    std::copy_n(row.begin(), copied, target);
    std::fill(target + copied, target + m_width, 0.0);
    m_next = (m_next + 1) % m_capacity;
    m_size = std::min(m_size + 1, m_capacity);
}

const double* RowRing::slotCells(int slot) const
{
    return m_cells.data() + static_cast<std::size_t>(slot) * static_cast<std::size_t>(m_width);
}

int RowRing::slotOf(int index) const
{
    // The oldest held row sits m_size places behind the next free one.
    return (m_next - m_size + index + m_capacity) % m_capacity;
}

std::span<const double> RowRing::row(int index) const
{
    const auto offset = static_cast<std::size_t>(slotOf(index)) * static_cast<std::size_t>(m_width);
    return {m_cells.data() + offset, static_cast<std::size_t>(m_width)};
}

int RowRing::copyColumn(int column, double* buffer, int count) const
{
    if (buffer == nullptr || column < 0 || column >= m_width || count <= 0) {
        return 0;
    }
    const int copied = std::min(m_size, count);
    const int first = m_size - copied;
    for (int i = 0; i < copied; ++i) {
        buffer[i] = m_cells[static_cast<std::size_t>(slotOf(first + i)) * m_width + column];
    }
    return copied;
}

void RowRing::reserve(int capacity)
{
    if (capacity <= m_capacity) {
        return;
    }
    // The held rows move to the front of the larger block, oldest first, so
    // the next row goes right after them.
    std::vector<double> cells(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(capacity), 0.0);
    for (int index = 0; index < m_size; ++index) {
        std::copy_n(slotCells(slotOf(index)), m_width,
                    cells.begin() + static_cast<std::ptrdiff_t>(index) * static_cast<std::ptrdiff_t>(m_width));
    }
    m_cells = std::move(cells);
    m_capacity = capacity;
    m_next = m_size;
}

}  // namespace vexa::toolkit
