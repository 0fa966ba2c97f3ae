#pragma once

#include "app/GraphsAndViews.h"
#include "app/WindowArrangement.h"
#include "document/DisplayDocument.h"
#include "document/DocumentHost.h"
#include "document/GraphTable.h"
#include "document/RecentFiles.h"
#include "graphs/GraphHost.h"
#include "graphs/GraphWindows.h"
#include "link/client/AutoReconnect.h"
#include "link/client/DataLink.h"
#include "link/client/LinkHost.h"
#include "link/client/ServerStarter.h"

#include <QIcon>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QMdiArea;

namespace vexa::app {

class FrameMenu;
class FrameStatusBar;

namespace printing {
class PrintCommands;
}

/// The display program's main window "VEXA-Display": the MDI area of graph
/// windows, the menu and the three-part status bar. It owns the program's
/// document, data link, graph table and graph windows, and routes each
/// command to the code that carries it out.
class FrameWindow : public QMainWindow, private DocumentHost, private link::LinkHost, private graphs::GraphHost {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "VEXA-Display";
    /// How long the start-up banner stays up.
    static constexpr int kStartBannerMs = 1500;
    /// The setting that remembers whether the server is started with the
    /// display program.
    static constexpr const char* kStartServerKey = "StartServer";
    /// The setting that remembers "Reconnect Automatically" (off when absent).
    static constexpr const char* kReconnectAutomaticallyKey = "ReconnectAutomatically";

    FrameWindow(std::string settingsFile, QIcon icon);
    ~FrameWindow() override;

    /// Runs the start-up: the banner, the data source and the server, the
    /// dynamic menus, the window, then the display file and view of
    /// \p commandLine, a command line that arrives as one argument.
    void start(const QString& commandLine);
    /// The same, with the program's arguments as they were passed.
    void start(const QStringList& arguments);

    /// Carries out command \p id as if it had been chosen from the menu. The
    /// result is kCommandCancelled when a Close was cancelled, otherwise 0.
    int SendCommand(int id);

    /// The working copies were changed (by an editor, or saved window
    /// sizes): the document is modified and the file commands follow.
    void markModified();

    /// The frame's state that none of its windows shows, read-only: what the
    /// tests and the live benchmark check. Everything else they reach as a
    /// user does: through SendCommand(), the menus of menuBar(), the labels
    /// of statusBar(), the windows of the MDI area and the window title.
    struct Probe {
        const DisplayDocument& document;
        const link::DataLink& link;
        const GraphTable& graphTable;
        const graphs::GraphWindows& graphWindows;
        const GraphsAndViews& graphsAndViews;
        /// What the start-up's server start did.
        const link::ServerStart& serverStart;
    };
    Probe probe() const;

    static QIcon LoadIcon();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // DocumentHost
    void rebuildPopups() override;
    void refreshFileCommands() override;
    void resetNameList(const std::string& measurementPath) override;
    void closeAllGraphWindows() override;
    // LinkHost
    QWidget* linkWindow() override { return this; }
    void showConnection(const QString& text) override;
    void showSampleTime(const QString& text) override;
    void enableReconnect(bool enabled) override;
    // GraphHost
    void graphWindowMoved() override;
    void graphWindowActivated(bool pageCommandsApply) override;
    void graphWindowClosed() override;

    /// What the frame does after an editor changed the working copies.
    enum class EditorEffects { FileCommandsOnly, RebuildPopups };
    /// Runs one of the definition editors (\p edit gives its result) and
    /// applies \p effects when it changed the document.
    void runEditor(EditorEffects effects, const std::function<int()>& edit);

    void showBanner(int timeoutMs);
    void buildRecentFilesMenu();
    void chooseServerStart(bool start);
    void reconnect();
    void chooseAutoReconnect(bool on);
    int openRecentFile(int id);
    /// Runs the selection of the graphs' or the views' "More..." and opens
    /// what was chosen.
    void chooseMore(int command);
    void runCommandLine(const QStringList& arguments);
    /// "Copy Current Page To Clipboard" on the active graph window.
    void copyCurrentPage();
    /// Everything the close request does once the user let the program end.
    void shutDown();

    std::string m_settingsFile;
    QIcon m_icon;
    QMdiArea* m_mdi = nullptr;
    FrameMenu* m_menu = nullptr;
    FrameStatusBar* m_status = nullptr;
    GraphTable m_graphs;
    RecentFiles m_recent;
    DisplayDocument m_document;
    link::DataLink m_link;
    link::AutoReconnect m_autoReconnect;
    /// A member, so that it goes before the table, link and document that
    /// its windows use.
    graphs::GraphWindows m_graphWindows;
    GraphsAndViews m_graphsAndViews;
    WindowArrangement m_arrangement;
    printing::PrintCommands* m_printing = nullptr;
    link::ServerStart m_serverStart = link::ServerStart::NotWanted;
    bool m_shutDown = false;
    bool m_editorRunning = false;
    /// The frame was asked to close while an editor ran.
    bool m_closeAfterEditor = false;
};

}  // namespace vexa::app
