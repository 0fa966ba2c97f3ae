#pragma once

#include <array>
#include <cstddef>
#include <string>

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

/// Keys of a measurement section; "0" … "6" hold the coefficients.
inline constexpr const char* kMinimumKey = "L";
inline constexpr const char* kMaximumKey = "H";
inline constexpr const char* kUnitsKey = "U";
inline constexpr const char* kDescriptionKey = "D";
inline constexpr const char* kConversionKey = "E";

/// One measurement of a graph: its definition from the measurement file and,
/// in an open graph, where its value sits in every sample.
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

/// Fills \p slot (all but its name and name index) from the measurement's
/// section of \p measurementFile, with the defaults of absent keys: limits 0
/// and 100, units and description "?", raw values unless "E" is exactly
/// "Coefficients".
void ReadMeasurementDefinition(const std::string& name, MeasurementSlot& slot, const std::string& measurementFile);

}  // namespace vexa
