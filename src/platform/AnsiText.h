#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vexa {

/// File contents and wire fields are 8-bit Windows-1252 bytes; these convert
/// them at the user interface. Characters that Windows-1252 cannot hold
/// become '?'.
QString FromAnsi(std::string_view bytes);
std::string ToAnsi(const QString& text);

/// File names are bytes in the system's file-name encoding.
QString FromLocalPath(std::string_view path);
std::string ToLocalPath(const QString& path);

}  // namespace vexa
