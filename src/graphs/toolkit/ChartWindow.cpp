#include "graphs/toolkit/ChartWindow.h"

#include "graphs/toolkit/Axis.h"
#include "graphs/toolkit/AxisTicks.h"
#include "graphs/toolkit/ChartElement.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartText.h"
#include "graphs/toolkit/DragZoom.h"
#include "graphs/toolkit/Toolkit.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace vexa::toolkit {

namespace {

/// How many intervals the ticks of a zoomed axis divide it into.
constexpr int kZoomTickIntervals = 5;
/// Room around a button's caption, both ways together.
constexpr double kButtonPadding = 8.0;
/// The most lines the screen copy of a chart takes at once: the raster
/// engine does a clipped copy of up to 95 lines on the painting thread and
/// hands a taller one to its worker threads.
constexpr int kCopyBandLines = 32;

QRect fractionRect(const ChartRect& rect, const QSize& size)
{
    const int left = static_cast<int>(std::lround(rect.left * size.width()));
    const int top = static_cast<int>(std::lround(rect.top * size.height()));
    const int right = static_cast<int>(std::lround(rect.right * size.width()));
    const int bottom = static_cast<int>(std::lround(rect.bottom * size.height()));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
}

}  // namespace

ChartWindow::ChartWindow(ChartPage& page, ChartBuilder builder, const ChartRect& rect, PaletteIndex background)
    : QWidget(&page)
    , m_page(&page)
    , m_builder(std::move(builder))
    , m_pageRect(rect)
    , m_background(background)
{
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintChart covers every pixel
}

ChartWindow::~ChartWindow() = default;

ChartPage& ChartWindow::page() const
{
    return *m_page;
}

QWidget* ChartWindow::pageOwner() const
{
    return m_page->ownerWindow();
}

void ChartWindow::build()
{
    if (m_ready || m_building || m_closing) {
        return;
    }
    m_building = true;
    // The Fixed and Isotropic characteristics keep what the chart was
    // built at: its size, or its aspect ratio.
    if (!size().isEmpty()) {
        if (m_page->characteristic() == WindowCharacteristic::Fixed) {
            m_keptSize = size();
        } else if (m_page->characteristic() == WindowCharacteristic::Isotropic) {
            m_keptAspect = static_cast<double>(width()) / height();
        }
    }
    if (m_builder) {
        m_builder(*this, m_context);
    }
    m_building = false;
    m_ready = true;
    layoutButtons();
    restyle();
}

bool ChartWindow::isReady() const
{
    return m_ready && !m_closing;
}

const ChartRect& ChartWindow::pageRect() const
{
    return m_pageRect;
}

ChartContext& ChartWindow::context()
{
    return m_context;
}

PlotFrame& ChartWindow::plotFrame()
{
    return m_frame;
}

const PlotFrame& ChartWindow::plotFrame() const
{
    return m_frame;
}

QColor ChartWindow::backgroundColour() const
{
    return PaletteColour(m_background);
}

void ChartWindow::adoptElement(std::unique_ptr<ChartElement> element)
{
    m_elements.push_back(std::move(element));
    restyle();
}

void ChartWindow::registerAxis(Axis* axis)
{
    m_axes.push_back(axis);
}

void ChartWindow::registerScrollingPlot(ScrollingPlot* plot)
{
    m_scrollingPlots.push_back(plot);
}

void ChartWindow::registerAlarmIndicator(AlarmIndicator* indicator)
{
    m_alarmIndicators.push_back(indicator);
}

ScrollingPlot* ChartWindow::scrollingPlot() const
{
    return m_scrollingPlots.empty() ? nullptr : m_scrollingPlots.front();
}

const std::vector<AlarmIndicator*>& ChartWindow::alarmIndicators() const
{
    return m_alarmIndicators;
}

void ChartWindow::addButton(QPushButton* button, const ChartRect& rect)
{
    m_buttons.push_back({button, rect, button->font()});
    layoutButtons();
    button->show();
}

void ChartWindow::layoutButtons()
{
    m_rowsRegion = QRegion(rect());
    for (const PlacedButton& placed : m_buttons) {
        const QRect geometry = fractionRect(placed.rect, size());
        placed.button->setGeometry(geometry);
        m_rowsRegion -= geometry;
        // The caption shrinks with a small window rather than being cut.
        const QSizeF room(geometry.width() - kButtonPadding, geometry.height() - kButtonPadding);
        placed.button->setFont(FittedFont(placed.font, placed.button->text(), room));
    }
}

void ChartWindow::enableDragZoom(Qt::MouseButton button)
{
    m_dragZoom = std::make_unique<DragZoom>(button);
}

void ChartWindow::zoomTo(const QRectF& pixels)
{
    m_frame.layout(QSizeF(size()));
    const QRectF zoomed = pixels.intersected(m_frame.pixelRect());
    if (zoomed.width() < DragZoom::kMinDragPixels || zoomed.height() < DragZoom::kMinDragPixels) {
        return;
    }
    const double xMin = m_frame.xMap().toValue(zoomed.left());
    const double xMax = m_frame.xMap().toValue(zoomed.right());
    const double yMin = m_frame.yMap().toValue(zoomed.bottom());
    const double yMax = m_frame.yMap().toValue(zoomed.top());
    m_frame.setScale(std::min(xMin, xMax), std::min(yMin, yMax), std::max(xMin, xMax), std::max(yMin, yMax));
    m_frame.setCrossing(std::min(xMin, xMax), std::min(yMin, yMax));
    for (Axis* axis : m_axes) {
        // Round ticks suit a zoomed range better than the old interval,
        // which may be wider than the whole zoomed range.
        const bool horizontal = axis->direction() == AxisOrientation::Horizontal;
        const double span = horizontal ? std::abs(xMax - xMin) : std::abs(yMax - yMin);
        axis->setInterval(NiceTickInterval(span, kZoomTickIntervals));
        axis->setAnchor(0.0);
    }
    restyle();
}

void ChartWindow::addContextAction(const QString& text, std::function<void()> handler)
{
    if (m_contextMenu == nullptr) {
        m_contextMenu = new QMenu(this);
    }
    connect(m_contextMenu->addAction(text), &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
}

QMenu* ChartWindow::contextMenu() const
{
    return m_contextMenu;
}

bool ChartWindow::rightButtonZooms() const
{
    return m_dragZoom && m_dragZoom->button() == Qt::RightButton;
}

void ChartWindow::showContextMenu(const QPoint& position)
{
    if (m_contextMenu != nullptr && !m_closing) {
        m_contextMenu->popup(mapToGlobal(position));
    }
}

void ChartWindow::paintChart(QPainter& painter)
{
    ++m_paintCount;
    painter.fillRect(rect(), backgroundColour());
    if (m_closing) {
        return;
    }
    m_frame.layout(QSizeF(size()));
    paintElements(painter, Layer::All);
    paintDragBand(painter);
}

void ChartWindow::paintOnScreen(QPainter& painter, const QRegion& dirty)
{
    ++m_paintCount;
    if (m_closing) {
        painter.fillRect(rect(), backgroundColour());
        return;
    }
    m_frame.layout(QSizeF(size()));
    refreshBackdrop();
    if (m_composed.size() != m_backdrop.size() || m_composed.devicePixelRatio() != m_backdrop.devicePixelRatio()) {
        m_composed = QPixmap(m_backdrop.size());
        m_composed.setDevicePixelRatio(m_backdrop.devicePixelRatio());
    }
    {
        QPainter composer(&m_composed);
        composer.drawPixmap(0, 0, m_backdrop);
        paintElements(composer, Layer::Front);
        paintDragBand(composer);
    }
    // A row repaints around the buttons, a region of several rectangles.
    // Clipped to one, the raster engine hands every copy or fill taller than
    // a few dozen lines to worker threads, whose wake-ups cost far more than
    // the work: the chart is drawn unclipped above and copied out in bands.
    for (const QRect& area : dirty) {
        for (int top = area.top(); top <= area.bottom(); top += kCopyBandLines) {
            const QRect band(area.left(), top, area.width(), std::min(kCopyBandLines, area.bottom() - top + 1));
            painter.drawPixmap(band, m_composed, QRectF(band.topLeft() * m_composed.devicePixelRatio(),
                                                        band.size() * m_composed.devicePixelRatio()));
        }
    }
}

void ChartWindow::refreshBackdrop()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (!m_backdropStale && m_backdrop.size() == pixels && m_backdrop.devicePixelRatio() == ratio) {
        return;
    }
    m_backdrop = QPixmap(pixels);
    m_backdrop.setDevicePixelRatio(ratio);
    sortIntoLayers();
    QPainter painter(&m_backdrop);
    painter.fillRect(rect(), backgroundColour());
    paintElements(painter, Layer::Backdrop);
    m_backdropStale = false;
    ++m_backdropPaints;
}

void ChartWindow::sortIntoLayers()
{
    m_inBackdrop.assign(m_elements.size(), false);
    bool allSteadySoFar = true;
    for (std::size_t index = 0; index < m_elements.size(); ++index) {
        const ChartElement& element = *m_elements[index];
        allSteadySoFar = allSteadySoFar && element.isSteady();
        m_inBackdrop[index] = allSteadySoFar || (element.isSteady() && element.standsApart());
    }
}

void ChartWindow::paintElements(QPainter& painter, Layer layer)
{
    for (std::size_t index = 0; index < m_elements.size(); ++index) {
        if (layer != Layer::All && m_inBackdrop[index] != (layer == Layer::Backdrop)) {
            continue;
        }
        painter.save();
        m_elements[index]->paint(painter);
        painter.restore();
    }
}

void ChartWindow::paintDragBand(QPainter& painter)
{
    if (m_dragZoom && m_dragZoom->isDragging()) {
        // White under black dashes shows on any plot background.
        const QRectF band = m_dragZoom->band();
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
        painter.drawRect(band);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(band);
    }
}

void ChartWindow::updateRows()
{
    if (m_rowsRegion.isEmpty()) {
        update();  // not laid out yet
    } else {
        update(m_rowsRegion);
    }
}

int ChartWindow::paintCount() const
{
    return m_paintCount;
}

void ChartWindow::restyle()
{
    m_backdropStale = true;
    update();
}

int ChartWindow::backdropPaints() const
{
    return m_backdropPaints;
}

void ChartWindow::markClosing()
{
    m_closing = true;
    if (m_dragZoom) {
        m_dragZoom->cancel();
    }
}

bool ChartWindow::isClosing() const
{
    return m_closing;
}

void ChartWindow::setKeptSize(const QSize& size)
{
    m_keptSize = size;
}

const QSize& ChartWindow::keptSize() const
{
    return m_keptSize;
}

double ChartWindow::keptAspect() const
{
    return m_keptAspect;
}

void ChartWindow::setKeptAspect(double aspect)
{
    m_keptAspect = aspect;
}

void ChartWindow::paintEvent(QPaintEvent* event)
{
    build();
    QPainter painter(this);
    // Pages rendered for printing, files or the clipboard are drawn
    // element by element, so that vector output holds no picture.
    if (m_page->isRendering() || !IsRasterTarget(painter)) {
        paintChart(painter);
    } else {
        paintOnScreen(painter, event->region());
    }
}

void ChartWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    requestBuild();
}

void ChartWindow::requestBuild()
{
    // Built from the event loop, never inside CreateChartWindow: the caller
    // has its handle stored before the builder runs.
    if (!m_ready) {
        QMetaObject::invokeMethod(this, &ChartWindow::build, Qt::QueuedConnection);
    }
}

void ChartWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutButtons();
}

void ChartWindow::mousePressEvent(QMouseEvent* event)
{
    if (m_dragZoom && !m_closing && event->button() == m_dragZoom->button()) {
        m_dragZoom->start(event->position());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void ChartWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragZoom && m_dragZoom->isDragging()) {
        m_dragZoom->move(event->position());
        update();
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void ChartWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragZoom && m_dragZoom->isDragging() && event->button() == m_dragZoom->button()) {
        QRectF dragged;
        if (m_dragZoom->finish(event->position(), dragged)) {
            zoomTo(dragged);
        } else if (event->button() == Qt::RightButton) {
            showContextMenu(event->position().toPoint());  // a click, not a drag
        }
        update();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void ChartWindow::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    // With a right-button zoom the menu waits for the release, which tells
    // a click from a drag.
    if (!rightButtonZooms() || event->reason() != QContextMenuEvent::Mouse) {
        showContextMenu(event->pos());
    }
}

PaletteIndex ChartWindow::background() const
{
    return m_background;
}

void ChartWindow::setBackground(PaletteIndex background)
{
    m_background = background;
    restyle();
}

}  // namespace vexa::toolkit
