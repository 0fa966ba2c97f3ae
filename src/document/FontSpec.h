#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vexa {

/// The five kinds of font a graph uses, each with its own default.
enum class FontKind : int {
    Title = 1,                  ///< `TF`
    Label = 2,                  ///< `LF`
    Grid = 3,                   ///< `GF`
    TimeHistoryLabel = 4,       ///< `LF` of a TimeHistory graph
    ScrollingTabularLabel = 5,  ///< `LF` of a ScrollingTabular graph: no font
};

inline constexpr int kFontBold = 1;
inline constexpr int kFontItalic = 2;
inline constexpr int kFontUnderline = 4;

/// The face that means "this element has no font of its own".
inline constexpr const char* kNoFontFace = "None";

/// A font key: face, size in points, style bits, colour index.
struct FontSpec {
    std::string face;
    int size = 0;
    int style = 0;
    int colour = 0;

    bool operator==(const FontSpec&) const = default;
};

/// The default specification of a kind, as if its key were absent.
FontSpec DefaultFontSpec(FontKind kind);

/// The default specification in its stored form ("Arial,8,0,2", "None,0,0,0").
std::string DefaultFontText(FontKind kind);

/// Reads a font key. Each field the value supplies replaces the kind's
/// default; a missing or empty field keeps it. The face is cut to
/// \p faceCapacity - 1 characters.
FontSpec ReadFontSpec(std::string_view section, std::string_view key, FontKind kind,
                      const std::string& file, std::size_t faceCapacity = static_cast<std::size_t>(-1));

/// The colour field alone.
int FontColour(std::string_view section, std::string_view key, FontKind kind,
               const std::string& file);

/// Writes "face,size,style,colour" with face and size as the editor shows them.
bool WriteFontSpec(std::string_view section, std::string_view key, std::string_view face,
                   std::string_view sizeText, int style, int colour, const std::string& file);

/// Whether a font family is installed (as an outline font).
using FontAvailability = std::function<bool(const std::string& face)>;

/// Removes every `GF`, `LF` and `TF` key of the graph sections whose face is
/// neither "None" nor an installed family, so that the kind's default applies
/// from then on. Absent or empty values are removed as well (which changes
/// nothing). Walks W1, W2, … up to the first section that does not exist.
void CheckFontNames(const std::string& file, const FontAvailability& isInstalled);

}  // namespace vexa
