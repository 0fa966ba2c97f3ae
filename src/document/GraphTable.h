#pragma once

#include "DisplayFormat.h"
#include "MeasurementSlot.h"

#include <array>
#include <string>

class QWidget;

namespace vexa {

/// The in-memory record of graph section W(index + 1) while it has a window.
struct GraphRecord {
    /// The graph's window; null while the graph is closed. The only sign that
    /// the graph is open.
    QWidget* window = nullptr;
    int type = kNoGraphType;
    int characteristic = kNoCharacteristic;
    int updatePeriod = 0;
    int measurementCount = 0;
    std::array<MeasurementSlot, kMaxMeasurementsPerGraph> measurements{};
};

/// The 60 graph records. All are cleared at start-up; a record is filled when
/// its graph's window is created and cleared when that window closes or its
/// creation fails.
class GraphTable {
public:
    GraphRecord& record(int index) { return m_records.at(static_cast<std::size_t>(index)); }
    const GraphRecord& record(int index) const { return m_records.at(static_cast<std::size_t>(index)); }

    void clear();
    void clearRecord(int index);

    bool isOpen(int index) const { return record(index).window != nullptr; }
    bool anyOpen() const;
    /// The index of the record whose window is \p window, or -1.
    int findByWindow(const QWidget* window) const;

private:
    std::array<GraphRecord, kMaxGraphs> m_records{};
};

}  // namespace vexa
