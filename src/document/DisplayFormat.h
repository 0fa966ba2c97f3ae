#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

/// The vocabulary of display files: section names, graph types, window
/// characteristics, colour names and the limits every reader and writer of
/// the display file shares.
namespace vexa {

inline constexpr int kMaxGraphs = 60;               ///< graph sections W1 … W60
inline constexpr int kMaxGraphsPerView = 60;        ///< view entries W1 … W60
inline constexpr int kMaxMeasurementsPerGraph = 8;  ///< M1 … M8, DC1 … DC8
inline constexpr std::size_t kTitleCapacity = 100;  ///< titles hold 99 characters
inline constexpr std::size_t kMeasurementNameCapacity = 33;  ///< names hold 32 characters
inline constexpr int kMinUpdatePeriodMs = 10;
inline constexpr int kDefaultUpdatePeriodMs = 1000;

inline constexpr char kGraphPrefix = 'W';
inline constexpr char kViewPrefix = 'V';

/// Keys of a graph section (and `T` of a view section).
inline constexpr const char* kTitleKey = "T";
inline constexpr const char* kTypeKey = "P";
inline constexpr const char* kCharacteristicKey = "WC";
inline constexpr const char* kUpdatePeriodKey = "UP";
inline constexpr const char* kMeasurementKeyStem = "M";  ///< M1 … M8
inline constexpr const char* kDataColourKeyStem = "DC";  ///< DC1 … DC8
inline constexpr const char* kPlotColourKey = "PC";
inline constexpr const char* kWindowBackgroundKey = "WB";
inline constexpr const char* kTitleFontKey = "TF";
inline constexpr const char* kLabelFontKey = "LF";
inline constexpr const char* kGridFontKey = "GF";
inline constexpr const char* kHysteresisKey = "AH";
/// `R` of a graph section; `R`k of a view places its entry k.
inline constexpr const char* kPlacementKey = "R";
/// `W`k of a view section: the title of the graph it names.
inline constexpr const char* kViewEntryKeyStem = "W";

/// "W"n or "V"n: the section of definition \p number (1-based) of a family.
std::string SectionName(char prefix, int number);
std::string GraphSectionName(int number);
std::string ViewSectionName(int number);
/// A key with a number behind it: "M1", "DC3", "W12", "R12", "File4".
std::string NumberedKey(std::string_view stem, int number);

/// Graph type codes as they are held in memory.
enum GraphType : int {
    kNoGraphType = 0,
    kTimeHistory = 1,
    kXYPlot,
    kFixedTabular,
    kScrollingTabular,
    kHorizontalBarGraph,
    kVerticalBarGraph,
    kMeter,
    kArcMeter,
    kPieMeter,
    kAnnunciator,
};
inline constexpr int kGraphTypeCount = 10;

/// The `P` values in code order; also the entries of the editor's type list.
extern const std::array<const char*, kGraphTypeCount> kGraphTypeNames;

/// Code 1 … 10 of a `P` value, matched exactly; kNoGraphType for anything else.
int GraphTypeFromName(std::string_view name);
/// The `P` value of a code, or an empty text for no type.
std::string_view GraphTypeName(int type);
/// How many measurements a graph of the type shows (0 when no type is chosen).
int MostMeasurementsOfType(int type);
/// How many data colours a graph of the type uses.
int DataColoursOfType(int type);

/// Window characteristic codes.
enum WindowCharacteristic : int {
    kNoCharacteristic = 0,
    kFixedCharacteristic = 7,
    kProportionalCharacteristic = 8,
    kIsotropicCharacteristic = 9,
};
/// 7, 8 or 9 for "Fixed", "Proportional", "Isotropic"; 0 for anything else.
int CharacteristicFromName(std::string_view name);
/// The name of a characteristic code, or an empty text.
std::string_view CharacteristicName(int characteristic);
inline constexpr const char* kDefaultCharacteristicName = "Proportional";

/// The 20 named colours; every colour in both files is an index into them.
inline constexpr int kColourCount = 20;
extern const std::array<const char*, kColourCount> kColourNames;
/// The name of a colour index, or an empty text when out of range.
std::string_view ColourName(int index);

inline constexpr int kDefaultWindowBackground = 7;  ///< `WB`
inline constexpr int kDefaultPlotBackground = 1;    ///< `PC`
/// Default of `DC`k, k = 1 … 8.
int DefaultDataColour(int measurement);

}  // namespace vexa
