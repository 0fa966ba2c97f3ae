#pragma once

#include "platform/PresenceMarker.h"
#include "server/FaultCommands.h"
#include "server/InputCommands.h"
#include "server/RecordingControl.h"
#include "server/ReplayCommands.h"
#include "server/ServerCommand.h"
#include "server/ServerOptions.h"
#include "server/ServerSettings.h"
#include "server/ServerTransport.h"
#include "server/engine/SampleEngine.h"
#include "server/inputs/InputOptions.h"
#include "server/inputs/InputSet.h"

#include <QIcon>
#include <QMainWindow>
#include <QRect>
#include <QUrl>

#include <functional>
#include <string>

class QAction;
class QCloseEvent;

namespace vexa::server {

class LogList;
class ServerMenu;

/// The data server's window: the log across the whole client area and the
/// menu of the server's few settings. It runs the server's start-up, owns
/// the sample engine and the one transport, and routes every command to the
/// code that carries it out.
class ServerWindow : public QMainWindow {
    Q_OBJECT

public:
    /// The title by which the display program finds the server.
    static constexpr const char* kTitle = "VEXA-Display Data Server";
    /// The icon's resource path.
    static constexpr const char* kIconResource = ":/VexalinkIcon";
    /// The log's last line when the server ends in order.
    static constexpr const char* kStoppedLine = "Server stopped";

    enum class ShowMode { Normal, Minimized };

    /// The server's icon; a null icon when the resource cannot be loaded.
    static QIcon LoadIcon();
    /// Where the window opens on a screen of \p screen: from x = 190 and half
    /// the screen's height, 200 narrower than the screen and 20 lower than
    /// its half.
    static QRect StartGeometry(const QRect& screen);

    /// A window whose settings are kept in \p settingsFile. The data path is
    /// read now and stays in force until the window goes.
    ServerWindow(std::string settingsFile, QIcon icon, QWidget* parent = nullptr);
    ~ServerWindow() override;

    /// Settings of the live inputs given on the command line, which win over
    /// the settings file for this run; set before start().
    void setInputOverrides(InputOverrides overrides) { m_inputOverrides = std::move(overrides); }
    /// The recording folder given on the command line; set before start().
    void setRecordFolder(std::optional<QString> folder) { m_recording.setFolderOverride(std::move(folder)); }
    /// The replay asked for on the command line; set before start().
    void setReplayOptions(ReplayOptions options) { m_replayOptions = std::move(options); }
    /// Faults given on the command line, which win over the settings file
    /// for this run; set before start().
    void setFaultOverrides(FaultOverrides overrides) { m_faultOverrides = std::move(overrides); }

    /// Runs the start-up: places and shows the window, seeds the random
    /// generator with the calendar time, checks the data path's item, starts
    /// its transport and the configured live inputs, and then tells other
    /// programs that the server runs.
    void start(ShowMode mode);
    /// Carries out command \p id (a ServerCommand); unknown identifiers are
    /// ignored.
    void SendCommand(int id);
    /// The end of the server, once the event loop has ended: stops the
    /// generators' timers and the transport, closes an About banner that
    /// is still up, and logs that the server stopped.
    void FinishShutdown();

    LogList& log() const { return *m_log; }
    SampleEngine& engine() { return m_engine; }
    const ServerTransport& transport() const { return m_transport; }
    const ServerSettings& settings() const { return m_settings; }
    const InputSet& inputs() const { return m_inputs; }
    InputCommands& inputCommands() { return m_inputCommands; }
    const RecordingControl& recording() const { return m_recording; }
    ReplayCommands& replayCommands() { return m_replayCommands; }
    FaultCommands& faultCommands() { return m_faultCommands; }
    /// The menu item of \p command; nullptr for a command without one.
    QAction* action(ServerCommand command) const;
    /// The data path read when the window was made.
    int dataPath() const { return m_dataPath; }
    bool isHoldingPresence() const { return m_presence.isHolding(); }

    /// Replaces what opens the web link (the desktop's handler of the address).
    void setUrlOpener(std::function<void(const QUrl&)> opener) { m_openUrl = std::move(opener); }

protected:
    /// The window's end: the transport is shut down as the window goes.
    void closeEvent(QCloseEvent* event) override;

private:
    ServerSettings m_settings;
    int m_dataPath;
    QIcon m_icon;
    LogList* m_log;
    ServerMenu* m_menu;
    InputSet m_inputs;
    SampleEngine m_engine;
    ServerTransport m_transport;
    ServerOptions m_options;
    InputCommands m_inputCommands;
    RecordingControl m_recording;
    InputOverrides m_inputOverrides;
    ReplayCommands m_replayCommands;
    ReplayOptions m_replayOptions;
    FaultCommands m_faultCommands;
    FaultOverrides m_faultOverrides;
    PresenceMarker m_presence;
    std::function<void(const QUrl&)> m_openUrl;
};

}  // namespace vexa::server
