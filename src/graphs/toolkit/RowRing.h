#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vexa::toolkit {

/// A fixed number of rows of doubles, all of one width, in one block: the
/// newest row overwrites the oldest once the ring is full, so appending costs
/// the row's width however many rows came before.
class RowRing {
public:
    /// \p capacity below 1 keeps one row.
    RowRing(int width, int capacity);

    int width() const;
    int capacity() const;
    int size() const;

    /// Stores a row: \p row cut or padded with 0 to the width.
    void push(std::span<const double> row);
    /// Row \p index, 0 being the oldest held row; the caller keeps index in
    /// 0 ... size() - 1.
    std::span<const double> row(int index) const;
    /// Copies the newest min(size(), count) values of \p column, oldest
    /// first; returns how many were copied.
    int copyColumn(int column, double* buffer, int count) const;
    /// Grows the ring to hold \p capacity rows, keeping the rows it holds in
    /// their order; a capacity not above the current one changes nothing.
    void reserve(int capacity);

    /// For readers that walk many rows: the cells of the row in storage slot
    /// \p slot, and the slot of held row \p index. Slots run 0 ... capacity()
    /// - 1 and wrap; the row after slot capacity() - 1 is in slot 0.
    const double* slotCells(int slot) const;
    int slotOf(int index) const;

private:

    int m_width = 0;
    int m_capacity = 1;
    int m_size = 0;
    int m_next = 0;  ///< where the next row goes
    std::vector<double> m_cells;
};

}  // namespace vexa::toolkit
