#pragma once

#include "server/ServerCommand.h"

#include <QObject>
#include <QString>

#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace vexa::server {

/// The server window's menu: every item carries its command's identifier as
/// its data and object name, and the three pairs of settings show which one
/// is in force by their check marks.
class ServerMenu : public QObject {
    Q_OBJECT

public:
    /// The port item's text before the port in force is known.
    static constexpr const char* kPortText = "Change TCP/IP Port Assignment";
    /// The web link item's text and the address it opens.
    static constexpr const char* kWebLinkText = "Quillmere on the &Web";
    static constexpr const char* kWebAddress = "https://www.quillmere.example/";

    /// Fills \p bar, which also owns the menu.
    explicit ServerMenu(QMenuBar* bar);

    /// The item of \p command; nullptr for a command without one.
    QAction* action(ServerCommand command) const;

    /// Checks the item of \p dataPath alone; none when it is neither of the two.
    void checkDataPath(int dataPath);
    void checkVerbose(bool on);
    void checkTimeOfDay(bool on);
    /// Shows \p port in the port item's text.
    void showPort(int port);

signals:
    /// The user chose the item of command \p id.
    void commandChosen(int id);

private:
    QAction* AddItem(QMenu* menu, ServerCommand command, const QString& text, bool checkable = false);
    void CheckOneOf(ServerCommand first, ServerCommand second, bool firstChecked);

    std::map<ServerCommand, QAction*> m_actions;
};

}  // namespace vexa::server
