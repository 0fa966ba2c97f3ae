#include "graphs/toolkit/Toolkit.h"

#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"

#include <QImage>
#include <QPainter>

namespace vexa::toolkit {

namespace {

/// The size of a top-level page created without one.
constexpr QSize kDefaultWindowSize(760, 540);
constexpr double kMetresPerInch = 0.0254;

}  // namespace

ChartPage* CreateChartPage(const QString& name, QWidget* owner, const QString& title, PageBuilder builder,
                           WindowCharacteristic characteristic, PageStyle style, const QRect& geometry)
{
    if (owner == nullptr && style == PageStyle::Child) {
        return nullptr;  // a child page has nothing to fill
    }
    auto* page = new ChartPage(name, owner, title, std::move(builder), characteristic, style);
    if (!geometry.isEmpty()) {
        page->setGeometry(geometry);
    } else if (style == PageStyle::Child) {
        page->setGeometry(owner->contentsRect());
    } else {
        page->resize(kDefaultWindowSize);
    }
    page->show();
    return page;
}

ChartWindow* CreateChartWindow(ChartPage& page, ChartBuilder builder, const ChartRect& rect, PaletteIndex background)
{
    if (page.isClosing()) {
        return nullptr;
    }
    auto* chart = new ChartWindow(page, std::move(builder), rect, background);
    page.layoutChart(*chart);
    chart->show();
    return chart;
}

QWidget* GetPageWindow(ChartPage* page)
{
    return page;
}

bool PageExists(const QPointer<ChartPage>& page)
{
    return !page.isNull() && !page->isClosing();
}

bool ChartReady(const QPointer<ChartWindow>& chart)
{
    return !chart.isNull() && chart->isReady();
}

void DestroyChartPage(QPointer<ChartPage>& page)
{
    if (page.isNull()) {
        return;
    }
    // Deferred: the call may come from a handler running on the page.
    page->markClosing();
    page->hide();
    page->deleteLater();
    page = nullptr;
}

void DestroyChartWindow(QPointer<ChartWindow>& chart)
{
    if (chart.isNull()) {
        return;
    }
    // Deferred: "Get New Data Samples" destroys the chart its button is on.
    chart->markClosing();
    chart->hide();
    chart->deleteLater();
    chart = nullptr;
}

void ReleaseChartWindow(QPointer<ChartWindow>& chart)
{
    // The page deletes the chart with the owner window. Until then it must
    // not show data whose owner may already have let it go.
    if (!chart.isNull()) {
        chart->markClosing();
    }
    chart = nullptr;
}

void UseToolkitState()
{
    // Pages, charts and datasets carry all their state: nothing to switch.
}

void CloseToolkit()
{
    // No program-wide state: pages go with their windows, datasets with
    // their owners.
}

void RenderPage(ChartPage& page, QPainter& painter)
{
    page.buildAll();
    page.setRendering(true);
    page.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    page.setRendering(false);
}

QImage RenderPageImage(ChartPage& page, const QSize& size)
{
    page.resize(size);
    page.layoutCharts();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);  // the page fills it all
    // The page's own resolution, so that fonts come out as on screen.
    image.setDotsPerMeterX(static_cast<int>(page.logicalDpiX() / kMetresPerInch));
    image.setDotsPerMeterY(static_cast<int>(page.logicalDpiY() / kMetresPerInch));
    QPainter painter(&image);
    RenderPage(page, painter);
    return image;
}

}  // namespace vexa::toolkit
