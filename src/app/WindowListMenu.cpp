#include "WindowListMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace vexa::app {

WindowListMenu::WindowListMenu(QMenu& windowMenu, QMdiArea& area)
    : QObject(&windowMenu), m_menu(windowMenu), m_area(area)
{
    connect(&m_menu, &QMenu::aboutToShow, this, &WindowListMenu::refresh);
}

void WindowListMenu::refresh()
{
    for (QAction* item : m_items) {
        m_menu.removeAction(item);
        item->deleteLater();
    }
    m_items.clear();

    const QList<QMdiSubWindow*> children = m_area.subWindowList(QMdiArea::CreationOrder);
    if (children.isEmpty())
        return;
    m_items.push_back(m_menu.addSeparator());
    const QMdiSubWindow* active = m_area.activeSubWindow();
    int number = 1;
    for (QMdiSubWindow* child : children) {
        const QString caption = child->windowTitle().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = m_menu.addAction(QStringLiteral("&%1 %2").arg(number).arg(caption));
        item->setObjectName(QString::number(kFirstItemId + number - 1));
        item->setCheckable(true);
        item->setChecked(child == active);
        QPointer<QMdiSubWindow> target(child);
        connect(item, &QAction::triggered, this, [this, target] {
            if (target)
                m_area.setActiveSubWindow(target);
        });
        m_items.push_back(item);
        ++number;
    }
}

}  // namespace vexa::app
