#pragma once

#include "app/FrameCommand.h"

#include <QObject>
#include <QString>

#include <map>
#include <set>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace vexa::app {

/// One item of a menu that is filled at run time: the recent files, the
/// graphs and views popups.
struct MenuEntry {
    int commandId = 0;
    QString text;
    bool enabled = true;
};

/// The frame's menu bar: File, Options, Edit, Display, Window and Help with
/// every command under its identifier (the item's data and object name), its
/// text and its initial state, the graphs and views popups under Display,
/// and the recent-files part of the File menu.
class FrameMenu : public QObject {
    Q_OBJECT
public:
    /// The web site item's text and the address it opens.
    static constexpr const char* kWebSiteText = "Quillmere on the &Web";
    static constexpr const char* kWebSiteAddress = "https://www.quillmere.example/";

    /// Fills \p bar, which also owns the menus.
    explicit FrameMenu(QMenuBar* bar);

    /// The item of command \p id, in any menu; nullptr when there is none.
    QAction* action(int id) const;
    void setEnabled(int id, bool enabled);
    bool isEnabled(int id) const;
    void setChecked(int id, bool checked);
    bool isChecked(int id) const;

    QMenu* fileMenu() const { return m_file; }
    QMenu* graphsMenu() const { return m_graphs; }
    QMenu* viewsMenu() const { return m_views; }
    QMenu* windowMenu() const { return m_window; }

    /// Replaces the recent-files part of the File menu, between "Printing
    /// Op&tions..." and "E&xit", with \p entries, with a separator before the
    /// first entry and another before "E&xit".
    void setRecentFiles(const std::vector<MenuEntry>& entries);
    /// Replaces the items of a popup (graphs or views).
    void setPopupItems(QMenu* popup, const std::vector<MenuEntry>& entries);

    /// Every identifier that an item of the menu bar uses, popups included.
    std::set<int> usedIds() const;

signals:
    /// The user chose the item of command \p id.
    void commandChosen(int id);

private:
    QAction* addItem(QMenu* menu, int id, const QString& text);
    QAction* addItem(QMenu* menu, FrameCommand command, const QString& text);
    void forget(QAction* action);

    QMenu* m_file = nullptr;
    QMenu* m_graphs = nullptr;
    QMenu* m_views = nullptr;
    QMenu* m_window = nullptr;
    QAction* m_recentStart = nullptr;  ///< "Printing Op&tions..."
    QAction* m_exit = nullptr;
    std::vector<QAction*> m_recentItems;  ///< the entries and their two separators
    std::map<int, QAction*> m_actions;
};

}  // namespace vexa::app
