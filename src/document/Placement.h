#pragma once

#include <climits>
#include <string>
#include <string_view>

namespace vexa {

/// A placement value that means "let the window area choose".
inline constexpr int kUseDefaultPlacement = INT_MIN;

/// A window placement in the frame's client area: x, y, width, height.
struct Placement {
    int x = kUseDefaultPlacement;
    int y = kUseDefaultPlacement;
    int width = kUseDefaultPlacement;
    int height = kUseDefaultPlacement;

    bool operator==(const Placement&) const = default;
};

/// The editor's placement of a new graph.
inline constexpr int kEditorDefaultPlacement = 300;

/// Reads `R` or `R`k: all four numbers take \p defaultValue, then as many of
/// them as the value supplies, separated by blanks, in order.
Placement ReadPlacement(std::string_view section, std::string_view key, int defaultValue,
                        const std::string& file);

/// Parses the four blank-separated numbers of a placement value.
Placement ParsePlacement(std::string_view text, int defaultValue);

/// "x y width height".
std::string FormatPlacement(const Placement& placement);

}  // namespace vexa
