#pragma once

#include <QObject>

#include <vector>

class QAction;
class QMdiArea;
class QMenu;

namespace vexa::app {

/// The list of open graph windows at the end of the Window menu: one item
/// per MDI child, "&1 " and its caption, the active one checked; choosing an
/// item activates its window. The list is made afresh whenever the menu is
/// about to show.
class WindowListMenu : public QObject {
    Q_OBJECT
public:
    /// The object name of the first item; the next items count up from it.
    static constexpr int kFirstItemId = 2000;

    /// Keeps the list at the end of \p windowMenu for the children of \p area.
    WindowListMenu(QMenu& windowMenu, QMdiArea& area);

    /// Rebuilds the list from the area's children now.
    void refresh();

private:
    QMenu& m_menu;
    QMdiArea& m_area;
    std::vector<QAction*> m_items;  ///< the separator and the items
};

}  // namespace vexa::app
