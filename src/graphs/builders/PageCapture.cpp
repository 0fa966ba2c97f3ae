#include "PageCapture.h"

#include "ChartStyle.h"
#include "PageData.h"
#include "TimeHistoryGraph.h"

#include "graphs/core/GraphResources.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ScrollingList.h"
#include "graphs/toolkit/Toolkit.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <functional>

namespace vexa::graphs {

namespace {

/// The smallest picture taken: a page not laid out yet still gives one.
constexpr int kLeastPictureSide = 1;

QByteArray PngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

/// \p paint run on an SVG painter of \p size at \p dpi.
QByteArray SvgBytes(const QSize& size, int dpi, const QString& title, const std::function<void(QPainter&)>& paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    WriteSvg(buffer, size, dpi, title, paint);
    return bytes;
}

QSize PictureSize(const QWidget& widget)
{
    return widget.size().expandedTo({kLeastPictureSide, kLeastPictureSide});
}

}  // namespace

bool WriteSvg(QIODevice& output, const QSize& size, int dpi, const QString& title,
              const std::function<void(QPainter&)>& paint)
{
    QSvgGenerator generator;
    generator.setOutputDevice(&output);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(), size));
    generator.setResolution(dpi);
    generator.setTitle(title);
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    paint(painter);
    return painter.end();
}

toolkit::ChartPage* PageForCommands(GraphResources& resources)
{
    if (const TimeHistoryState* state = TimeHistoryStateOf(resources);
        state != nullptr && toolkit::PageExists(state->historyWindow))
        return state->historyWindow.data();
    return toolkit::PageExists(resources.chartPage) ? resources.chartPage.data() : nullptr;
}

PageCapture CapturePage(GraphResources& resources, toolkit::ChartPage* page)
{
    PageCapture capture;
    const QString title = GraphCaption(resources.definition);
    if (page != nullptr) {
        const QSize size = PictureSize(*page);
        // The picture first: it builds the page, whose charts create what
        // the numbers are read from.
        capture.image = toolkit::RenderPageImage(*page, size);
        capture.svg = SvgBytes(size, page->logicalDpiX(), title,
                               [page](QPainter& painter) { toolkit::RenderPage(*page, painter); });
    } else if (toolkit::ScrollingList* list = resources.scrollingList.data()) {
        const QSize size = PictureSize(*list);
        capture.image = list->grab(QRect(QPoint(), size)).toImage();
        capture.svg = SvgBytes(size, list->logicalDpiX(), title, [list](QPainter& painter) { list->render(&painter); });
    } else {
        return capture;
    }
    capture.png = PngBytes(capture.image);
    capture.tabSeparated = TabSeparated(PageData(resources, page));
    return capture;
}

std::unique_ptr<QMimeData> CaptureMimeData(const PageCapture& capture)
{
    auto data = std::make_unique<QMimeData>();
    data->setImageData(capture.image);
    data->setData(QString::fromLatin1(kPngMimeType), capture.png);
    data->setData(QString::fromLatin1(kSvgMimeType), capture.svg);
    data->setText(capture.tabSeparated);
    data->setData(QString::fromLatin1(kTabSeparatedMimeType), capture.tabSeparated.toUtf8());
    return data;
}

bool CopyPageToClipboard(GraphResources& resources)
{
    toolkit::ChartPage* page = PageForCommands(resources);
    if (page == nullptr && resources.scrollingList.isNull())
        return false;
    const PageCapture capture = CapturePage(resources, page);
    QGuiApplication::clipboard()->setMimeData(CaptureMimeData(capture).release());
    return true;
}

}  // namespace vexa::graphs
