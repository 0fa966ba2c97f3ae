#pragma once

#include <cstddef>
#include <string>

namespace vexa::server {

class ValueTable;

/// The limits of a measurement made from the values it was seen to take:
/// the texts of its "L" and "H" keys.
struct MeasurementLimits {
    std::string lower;
    std::string upper;
};

/// \p lowest and \p highest rounded outwards to whole multiples of the
/// power of ten just below their span (2.3 and 97.8 give 0 and 100), and
/// apart by one such step at least, so that a value that never moved still
/// gets a scale around it (3000 alone gives 2000 and 4000, 0 alone -1 and 1).
MeasurementLimits RoundedLimits(double lowest, double highest);

/// A measurement file made from the value table.
struct MeasurementFileText {
    std::string bytes;          ///< the whole file, CRLF line ends
    std::size_t sections = 0;   ///< names written
    std::size_t merged = 0;     ///< names folded into one spelled the same but for letter case
};

/// One section per name the inputs have fed, in the order they first came,
/// each with its "L" and "H" from RoundedLimits(). The measurement file
/// matches names without regard to case, so names that differ only in case
/// share the section of the first of them, whose limits cover them all.
MeasurementFileText MeasurementFileFor(const ValueTable& table);

}  // namespace vexa::server
