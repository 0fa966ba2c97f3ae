#include "graphs/toolkit/ChartPage.h"

#include "graphs/toolkit/ChartWindow.h"

#include <QPainter>

#include <cmath>
#include <utility>

namespace vexa::toolkit {

namespace {

/// The page's own colour where no chart window covers it (Light Gray).
constexpr PaletteIndex kPageBackground = palette::kLightGray;

QRect fractionRect(const ChartRect& rect, const QSize& size)
{
    const int left = static_cast<int>(std::lround(rect.left * size.width()));
    const int top = static_cast<int>(std::lround(rect.top * size.height()));
    const int right = static_cast<int>(std::lround(rect.right * size.width()));
    const int bottom = static_cast<int>(std::lround(rect.bottom * size.height()));
    return QRect(QPoint(left, top), QSize(right - left, bottom - top)).normalized();
}

/// The largest rectangle of \p aspect (width / height) inside \p room,
/// centred in it.
QRect fitAspect(const QRect& room, double aspect)
{
    if (aspect <= 0.0 || room.isEmpty()) {
        return room;
    }
    QSize size = room.size();
    if (room.width() > aspect * room.height()) {
        size.setWidth(static_cast<int>(std::lround(aspect * room.height())));
    } else {
        size.setHeight(static_cast<int>(std::lround(room.width() / aspect)));
    }
    QRect fitted(QPoint(0, 0), size);
    fitted.moveCenter(room.center());
    return fitted;
}

}  // namespace

ChartPage::ChartPage(const QString& name, QWidget* owner, const QString& title, PageBuilder builder,
                     WindowCharacteristic characteristic, PageStyle style)
    : QWidget(owner, style == PageStyle::TopLevel ? Qt::Window : Qt::Widget)
    , m_name(name)
    , m_owner(owner)
    , m_builder(std::move(builder))
    , m_characteristic(characteristic)
{
    setWindowTitle(title);
    // paintEvent fills what no chart window covers.
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (style == PageStyle::TopLevel) {
        setAttribute(Qt::WA_DeleteOnClose);  // closed by the user: gone
    }
}

const QString& ChartPage::name() const
{
    return m_name;
}

QWidget* ChartPage::ownerWindow() const
{
    return m_owner;
}

WindowCharacteristic ChartPage::characteristic() const
{
    return m_characteristic;
}

void ChartPage::build()
{
    if (m_built || m_building || m_closing) {
        return;
    }
    m_building = true;
    if (m_builder) {
        m_builder(*this);
    }
    m_building = false;
    m_built = true;
}

bool ChartPage::isBuilt() const
{
    return m_built;
}

void ChartPage::buildAll()
{
    build();
    layoutCharts();
    for (ChartWindow* chart : findChildren<ChartWindow*>(Qt::FindDirectChildrenOnly)) {
        chart->build();
    }
}

void ChartPage::layoutCharts()
{
    for (ChartWindow* chart : findChildren<ChartWindow*>(Qt::FindDirectChildrenOnly)) {
        layoutChart(*chart);
    }
}

void ChartPage::layoutChart(ChartWindow& chart)
{
    const QRect room = fractionRect(chart.pageRect(), size());
    switch (m_characteristic) {
    case WindowCharacteristic::Fixed:
        // Keeps the size it was built at; the page clips it or shows a
        // margin around it.
        chart.setGeometry(chart.keptSize().isEmpty() ? room : QRect(room.topLeft(), chart.keptSize()));
        break;
    case WindowCharacteristic::Isotropic:
        chart.setGeometry(fitAspect(room, chart.keptAspect()));
        break;
    case WindowCharacteristic::Proportional:
        chart.setGeometry(room);
        break;
    }
}

void ChartPage::markClosing()
{
    m_closing = true;
    for (ChartWindow* chart : findChildren<ChartWindow*>(Qt::FindDirectChildrenOnly)) {
        chart->markClosing();
    }
}

void ChartPage::setRendering(bool rendering)
{
    m_rendering = rendering;
}

bool ChartPage::isRendering() const
{
    return m_rendering;
}

bool ChartPage::isClosing() const
{
    return m_closing;
}

void ChartPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    requestBuild();
}

void ChartPage::requestBuild()
{
    // Built from the event loop, never inside CreateChartPage: the caller
    // has stored the page before its builder runs.
    if (!m_built) {
        QMetaObject::invokeMethod(this, &ChartPage::build, Qt::QueuedConnection);
    }
}

void ChartPage::paintEvent(QPaintEvent* /*event*/)
{
    build();
    QRegion uncovered(rect());
    for (const ChartWindow* chart : findChildren<ChartWindow*>(Qt::FindDirectChildrenOnly)) {
        if (chart->isVisibleTo(this)) {
            uncovered -= chart->geometry();
        }
    }
    QPainter painter(this);
    for (const QRect& part : uncovered) {
        painter.fillRect(part, PaletteColour(kPageBackground));
    }
}

void ChartPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutCharts();
}

}  // namespace vexa::toolkit
