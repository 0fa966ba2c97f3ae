#pragma once

#include "DisplayFormat.h"

#include <array>
#include <string>

class QWidget;

namespace vexa::graphs {
struct GraphResources;
}

namespace vexa {

/// Conversion types of a measurement.
enum Conversion : int {
    kNoConversion = 0,
    kRawConversion = 1,
    kCoefficientConversion = 2,
};
inline constexpr int kCoefficientCount = 7;          ///< offset and six coefficients
inline constexpr std::size_t kUnitsLength = 20;       ///< units held in memory
inline constexpr std::size_t kDescriptionLength = 50;  ///< description held in memory

/// One measurement of an open graph: where its value sits in every sample,
/// and its definition from the measurement file.
struct MeasurementSlot {
    std::string name;  ///< as the graph's "M" key names it
    int nameIndex = 0;
    double minimum = 0.0;
    double maximum = 0.0;
    int conversion = kNoConversion;
    std::array<double, kCoefficientCount> coefficients{};
    std::string units;        ///< at most kUnitsLength characters
    std::string description;  ///< at most kDescriptionLength characters
};

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
    /// The open window's chart page, chart window, dataset and type state;
    /// owned by the graph window, null while the graph is closed.
    graphs::GraphResources* resources = nullptr;
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
