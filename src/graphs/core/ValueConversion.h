#pragma once

#include "document/MeasurementSlot.h"

namespace vexa::graphs {

/// The engineering value of \p raw: the polynomial c0 + c1 x + ... + c6 x^6
/// for a measurement with coefficients, the raw value otherwise.
double ConvertValue(const MeasurementSlot& slot, double raw);

}  // namespace vexa::graphs
