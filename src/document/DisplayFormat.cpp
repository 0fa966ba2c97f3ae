#include "DisplayFormat.h"

namespace vexa {

const std::array<const char*, kGraphTypeCount> kGraphTypeNames = {
    "TimeHistory",        "XYPlot",           "FixedTabular", "ScrollingTabular",
    "HorizontalBarGraph", "VerticalBarGraph", "Meter",        "Arc Meter",
    "Pie Meter",          "Annunciator",
};

const std::array<const char*, kColourCount> kColourNames = {
    "Black",       "Blue",        "Green",     "Cyan",          "Red",
    "Magenta",     "Brown",       "Light Gray", "Gray",         "Light Blue",
    "Light Green", "Light Cyan",  "Light Red", "Light Magenta", "Yellow",
    "White",       "Pale Blue",   "Pale Green", "Medium Green", "Off-White",
};

namespace {

constexpr std::array<int, kMaxMeasurementsPerGraph> kDefaultDataColours = {4, 14, 2, 8, 9, 15, 5, 6};

struct TypeLimits {
    int measurements;
    int dataColours;
};

// Indexed by type code; code 0 is "no type chosen".
constexpr std::array<TypeLimits, kGraphTypeCount + 1> kTypeLimits = {{
    {0, 0},  // none
    {8, 8},  // TimeHistory
    {2, 1},  // XYPlot
    {8, 8},  // FixedTabular
    {8, 0},  // ScrollingTabular
    {8, 8},  // HorizontalBarGraph
    {8, 8},  // VerticalBarGraph
    {1, 1},  // Meter
    {1, 1},  // Arc Meter
    {1, 1},  // Pie Meter
    {8, 8},  // Annunciator
}};

struct CharacteristicName {
    int code;
    const char* name;
};
constexpr std::array<CharacteristicName, 3> kCharacteristics = {{
    {kFixedCharacteristic, "Fixed"},
    {kProportionalCharacteristic, "Proportional"},
    {kIsotropicCharacteristic, "Isotropic"},
}};

bool IsTypeCode(int type)
{
    return type >= kTimeHistory && type <= kAnnunciator;
}

}  // namespace

std::string SectionName(char prefix, int number)
{
    return std::string(1, prefix) + std::to_string(number);
}

std::string GraphSectionName(int number)
{
    return SectionName(kGraphPrefix, number);
}

std::string ViewSectionName(int number)
{
    return SectionName(kViewPrefix, number);
}

std::string NumberedKey(std::string_view stem, int number)
{
    return std::string(stem) + std::to_string(number);
}

int GraphTypeFromName(std::string_view name)
{
    for (int i = 0; i < kGraphTypeCount; ++i) {
        if (name == kGraphTypeNames[i])
            return i + 1;
    }
    return kNoGraphType;
}

std::string_view GraphTypeName(int type)
{
    return IsTypeCode(type) ? kGraphTypeNames[type - 1] : "";
}

int MostMeasurementsOfType(int type)
{
    return IsTypeCode(type) ? kTypeLimits[type].measurements : 0;
}

int DataColoursOfType(int type)
{
    return IsTypeCode(type) ? kTypeLimits[type].dataColours : 0;
}

int CharacteristicFromName(std::string_view name)
{
    for (const auto& entry : kCharacteristics) {
        if (name == entry.name)
            return entry.code;
    }
    return kNoCharacteristic;
}

std::string_view CharacteristicName(int characteristic)
{
    for (const auto& entry : kCharacteristics) {
        if (entry.code == characteristic)
            return entry.name;
    }
    return "";
}

std::string_view ColourName(int index)
{
    return index >= 0 && index < kColourCount ? kColourNames[index] : "";
}

int DefaultDataColour(int measurement)
{
    if (measurement < 1 || measurement > kMaxMeasurementsPerGraph)
        return 0;
    return kDefaultDataColours[measurement - 1];
}

}  // namespace vexa
