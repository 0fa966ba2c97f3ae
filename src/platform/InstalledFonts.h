#pragma once

#include <string_view>

namespace vexa {

/// True when \p family names, exactly and case-sensitively, an installed
/// font family that scales smoothly (an outline font, not a bitmap one).
/// Needs a QGuiApplication.
bool IsInstalledScalableFont(std::string_view family);

}  // namespace vexa
