#pragma once

#include "document/AlarmEntry.h"
#include "document/DisplayFormat.h"
#include "document/GraphDefinition.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

/// What the graph editor's controls hold at one moment, as 8-bit texts and
/// indexes: the value that Save checks and writes, and from which the
/// preview draws.
namespace vexa::editors {

/// A colour list's position when nothing is selected.
inline constexpr int kNoColour = -1;

/// One attribute group. A disabled group is cleared and its key deleted.
struct FontForm {
    bool enabled = false;
    std::string face;  ///< the face list's text
    std::string size;  ///< the size list's text
    int style = 0;     ///< kFontBold | kFontItalic | kFontUnderline
    int colour = kNoColour;
};

/// One alarm row; the key of a row whose check box is disabled is deleted.
struct AlarmRowForm {
    bool enabled = false;  ///< the check box is enabled
    bool checked = false;
    std::string value;  ///< the limit as typed (not for the OK row)
    std::string text;
    int colour = kNoColour;
};

struct GraphForm {
    std::string title;
    int type = kNoGraphType;
    int characteristic = kNoCharacteristic;
    std::string updateRate;
    /// The measurement list's entries in list order.
    std::vector<std::string> measurements;
    /// X, Y, Width and Height as typed.
    std::array<std::string, 4> size;
    /// Each list's position; kNoColour for a disabled or unselected list.
    std::array<int, kMaxMeasurementsPerGraph> dataColours{};
    int windowBackground = kNoColour;
    int plotBackground = kNoColour;
    FontForm gridFont;
    FontForm labelFont;
    FontForm titleFont;
    /// By alarm entry: A1 (OK) … A7 (Deviation).
    std::array<AlarmRowForm, kAlarmEntryCount> alarms{};
    bool hysteresisEnabled = false;
    std::string lowHighHysteresis;
    std::string deviationHysteresis;
};

/// The caption of every message of a failed save.
inline constexpr const char* kSaveErrorCaption = "Error Saving Graph";

/// The message of the first save check that \p form fails, or an empty text
/// when it passes them all. \p titleChanged says whether the title was
/// edited; \p otherTitles are the graph list's other entries.
std::string FirstSaveProblem(const GraphForm& form, bool titleChanged, const std::vector<std::string>& otherTitles);

/// The update rate box read as a decimal integer (text that is no number is 0).
int UpdateRateOf(const GraphForm& form);

/// Replaces graph section \p section of \p displayFile with the keys of
/// \p form, in the order T, P, WC, UP, AH, A1 … A7, M1 … Mn, R, WB, PC, GF,
/// LF, TF, DC1 … DC8. Keys of disabled controls and of lists without a
/// selection are left out. False when the file could not be written.
bool WriteGraphSection(const GraphForm& form, std::string_view section, const std::string& displayFile);

/// The graph as the section that WriteGraphSection() would write reads back,
/// with its measurements' definitions from \p measurementFile: what the
/// preview draws. Nothing is written.
GraphDefinition PreviewDefinition(const GraphForm& form, const std::string& measurementFile);

}  // namespace vexa::editors
