#include "ValueConversion.h"

namespace vexa::graphs {

double ConvertValue(const MeasurementSlot& slot, double raw)
{
    if (slot.conversion != kCoefficientConversion)
        return raw;
    // Horner's scheme from the sixth coefficient down.
    double y = slot.coefficients[kCoefficientCount - 1];
    for (int i = kCoefficientCount - 2; i >= 0; --i)
        y = y * raw + slot.coefficients[static_cast<std::size_t>(i)];
    return y;
}

}  // namespace vexa::graphs
