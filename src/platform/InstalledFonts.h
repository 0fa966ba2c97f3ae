#pragma once

#include <QStringList>

#include <string>
#include <string_view>

namespace vexa {

/// True when \p family names, exactly and case-sensitively, an installed
/// font family that scales smoothly (an outline font, not a bitmap one).
/// Needs a QGuiApplication.
bool IsInstalledScalableFont(std::string_view family);

/// The installed outline family that fontconfig's metric-alias rules put in
/// the place of \p face ("Liberation Sans" for "Arial", "Liberation Serif"
/// for "Times New Roman", ...), so that text set in it keeps its width;
/// empty when there is none.
std::string MetricCompatibleFamily(std::string_view face);

/// True when a font key naming \p face can be drawn as it was meant: the
/// family is installed, or a metric-compatible family stands in for it. A
/// display file made on Windows keeps its faces this way.
bool IsUsableFontFace(std::string_view face);

/// The faces the editors offer, sorted: the installed outline families and
/// the common Windows faces that have a metric-compatible stand-in here.
QStringList OfferedFontFaces();

}  // namespace vexa
