#include "PageExport.h"

#include "app/printing/PagePainting.h"
#include "graphs/builders/PageCapture.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ScrollingList.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace vexa::app::printing {

namespace {

constexpr qreal kPointsPerInch = 72.0;
constexpr const char* kNoPageText = "There is no page to write.";

QWidget* WidgetOf(const OutputPage& page)
{
    return page.page ? static_cast<QWidget*>(page.page.data()) : static_cast<QWidget*>(page.list.data());
}

QSize LayoutSizeOf(const OutputPage& page)
{
    if (page.page)
        return OutputLayoutSize(*page.page);
    return page.list->size().expandedTo(kLeastLayoutSize);
}

/// Paints \p page to fill \p target of \p painter.
void PaintOutputPage(const OutputPage& page, QPainter& painter, const QRectF& target)
{
    if (page.page) {
        PaintPage(*page.page, painter, target);
        return;
    }
    // A list is drawn by its own widget, whose texts stay texts.
    const QSize size = page.list->size();
    const QSize layout = LayoutSizeOf(page);
    if (layout != size)
        page.list->resize(layout);
    painter.save();
    const qreal scale = std::min(target.width() / layout.width(), target.height() / layout.height());
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    page.list->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.restore();
    if (layout != size)
        page.list->resize(size);
}

QPageLayout PageLayoutFor(const QSize& pixels, int dpi)
{
    const QSizeF points(pixels.width() * kPointsPerInch / dpi, pixels.height() * kPointsPerInch / dpi);
    return QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch), QPageLayout::Portrait,
                       QMarginsF());
}

bool WritePdf(QFile& file, const std::vector<OutputPage>& pages)
{
    QPdfWriter writer(&file);
    const int dpi = WidgetOf(pages.front())->logicalDpiX();
    writer.setResolution(dpi);
    writer.setCreator(QStringLiteral("VEXA Display"));
    writer.setTitle(pages.front().title);
    writer.setPageLayout(PageLayoutFor(LayoutSizeOf(pages.front()), dpi));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    bool first = true;
    for (const OutputPage& page : pages) {
        const QSize size = LayoutSizeOf(page);
        if (!first) {
            writer.setPageLayout(PageLayoutFor(size, dpi));
            if (!writer.newPage())
                return false;
        }
        first = false;
        PaintOutputPage(page, painter, QRectF(QPointF(), QSizeF(size)));
    }
    return painter.end();
}

bool WriteSvg(QFile& file, const OutputPage& page)
{
    const QSize size = LayoutSizeOf(page);
    return graphs::WriteSvg(file, size, WidgetOf(page)->logicalDpiX(), page.title, [&](QPainter& painter) {
        PaintOutputPage(page, painter, QRectF(QPointF(), QSizeF(size)));
    });
}

bool WritePng(QFile& file, const OutputPage& page)
{
    const QSize size = LayoutSizeOf(page);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintOutputPage(page, painter, QRectF(QPointF(), QSizeF(size)));
    }
    return image.save(&file, "PNG");
}

}  // namespace

ExportFormat ExportFormatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return ExportFormat::Svg;
    if (suffix == QLatin1String("png"))
        return ExportFormat::Png;
    return ExportFormat::Pdf;
}

bool WritePages(const QString& path, const std::vector<OutputPage>& given, QString& error)
{
    std::vector<OutputPage> pages = given;
    if (!DropGonePages(pages)) {
        error = QString::fromLatin1(kNoPageText);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error = file.errorString();
        return false;
    }
    bool written = false;
    switch (ExportFormatFor(path)) {
    case ExportFormat::Pdf:
        written = WritePdf(file, pages);
        break;
    case ExportFormat::Svg:
        written = WriteSvg(file, pages.front());
        break;
    case ExportFormat::Png:
        written = WritePng(file, pages.front());
        break;
    }
    if (written && file.flush() && file.error() == QFileDevice::NoError)
        return true;
    error = file.errorString();
    file.remove();
    return false;
}

}  // namespace vexa::app::printing
