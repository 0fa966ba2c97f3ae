#pragma once

#include <string>

namespace vexa {

/// Name of the settings file both programs share.
inline constexpr const char* kSettingsFileName = "VexaDisplay.ini";

/// $XDG_CONFIG_HOME/VexaDisplay.ini, with XDG_CONFIG_HOME defaulting to
/// ~/.config. The directory is created when it does not exist yet.
std::string SettingsFilePath();

}  // namespace vexa
