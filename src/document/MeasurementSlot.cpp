#include "MeasurementSlot.h"

#include "ProfileStore.h"
#include "TextFields.h"

namespace vexa {

namespace {

constexpr const char* kDefaultMinimum = "0.0";
constexpr const char* kDefaultMaximum = "100.0";
constexpr const char* kDefaultUnits = "?";
constexpr const char* kDefaultDescription = "?";
constexpr const char* kDefaultConversion = "Raw";
constexpr const char* kCoefficientsName = "Coefficients";
constexpr const char* kDefaultCoefficient = "0.0";

}  // namespace

void ReadMeasurementDefinition(const std::string& name, MeasurementSlot& slot, const std::string& measurementFile)
{
    slot.minimum = ParseLeadingDouble(profile::ReadString(name, kMinimumKey, kDefaultMinimum, measurementFile));
    slot.maximum = ParseLeadingDouble(profile::ReadString(name, kMaximumKey, kDefaultMaximum, measurementFile));
    slot.units = profile::ReadString(name, kUnitsKey, kDefaultUnits, measurementFile, kUnitsLength + 1);
    slot.description = profile::ReadString(name, kDescriptionKey, kDefaultDescription, measurementFile, kDescriptionLength + 1);
    if (profile::ReadString(name, kConversionKey, kDefaultConversion, measurementFile) != kCoefficientsName) {
        slot.conversion = kRawConversion;
        return;
    }
    slot.conversion = kCoefficientConversion;
    for (int i = 0; i < kCoefficientCount; ++i) {
        slot.coefficients[static_cast<std::size_t>(i)] =
            ParseLeadingDouble(profile::ReadString(name, std::to_string(i), kDefaultCoefficient, measurementFile));
    }
}

}  // namespace vexa
