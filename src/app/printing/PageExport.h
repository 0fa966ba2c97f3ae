#pragma once

#include "app/printing/OutputPages.h"

#include <QString>

#include <vector>

namespace vexa::app::printing {

/// What a page file is written as, by its name's extension.
enum class ExportFormat { Pdf, Svg, Png };

/// ".svg" and ".png" (in any letter case) give those; any other name PDF.
ExportFormat ExportFormatFor(const QString& path);

/// Writes \p pages to the file \p path: a PDF holds one page each, sized to
/// the page, with texts and lines as vectors; an SVG or PNG file the first
/// page only. False, with the reason in \p error, when the file could not
/// be written or no page is left.
bool WritePages(const QString& path, const std::vector<OutputPage>& pages, QString& error);

}  // namespace vexa::app::printing
