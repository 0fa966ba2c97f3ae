#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class QMimeData;
class QPainter;
class QSize;

namespace vexa::toolkit {
class ChartPage;
}

/// A graph's page captured for the clipboard: as a PNG picture, as an SVG
/// picture whose texts stay texts, and as tab-separated text of the numbers
/// it shows, so that a document pastes the picture and a spreadsheet the
/// numbers.
namespace vexa::graphs {

struct GraphResources;

/// The MIME types the capture offers besides the image and plain text.
inline constexpr const char* kPngMimeType = "image/png";
inline constexpr const char* kSvgMimeType = "image/svg+xml";
inline constexpr const char* kTabSeparatedMimeType = "text/tab-separated-values";

/// Writes what \p paint draws to \p output as an SVG picture of \p size
/// at \p dpi, its texts kept as texts; false when the picture could not be
/// written.
bool WriteSvg(QIODevice& output, const QSize& size, int dpi, const QString& title,
              const std::function<void(QPainter&)>& paint);

/// What the copy commands act on: the history page when the graph's history
/// window is open, otherwise its chart page; null when neither is set.
toolkit::ChartPage* PageForCommands(GraphResources& resources);

struct PageCapture {
    QImage image;
    QByteArray png;
    QByteArray svg;
    QString tabSeparated;
};

/// Captures \p page of the graph that \p resources show at the page's size
/// (the page is built first if it was not); a scrolling table, which has no
/// page, is captured from its list. Null \p page with no list captures
/// nothing (every part empty).
PageCapture CapturePage(GraphResources& resources, toolkit::ChartPage* page);

/// The capture as clipboard contents: the image, "image/png",
/// "image/svg+xml", plain text and "text/tab-separated-values".
std::unique_ptr<QMimeData> CaptureMimeData(const PageCapture& capture);

/// Puts the page the copy commands act on onto the clipboard; false (and
/// the clipboard unchanged) when the graph has neither page nor list.
bool CopyPageToClipboard(GraphResources& resources);

}  // namespace vexa::graphs
