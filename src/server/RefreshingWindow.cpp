#include "server/RefreshingWindow.h"

namespace vexa::server {

RefreshingWindow::RefreshingWindow(const QString& title, QWidget* owner) : QWidget(owner, Qt::Window)
{
    setWindowTitle(title);
    setObjectName(title);
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &RefreshingWindow::Refresh);
}

void RefreshingWindow::showEvent(QShowEvent* event)
{
    Refresh();
    m_refresh.start();
    QWidget::showEvent(event);
}

void RefreshingWindow::hideEvent(QHideEvent* event)
{
    m_refresh.stop();
    QWidget::hideEvent(event);
}

}  // namespace vexa::server
