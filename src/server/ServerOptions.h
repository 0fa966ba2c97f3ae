#pragma once

class QWidget;

namespace vexa::server {

class SampleEngine;
class ServerLog;
class ServerMenu;
class ServerSettings;

/// The commands of the server's Options menu. The data path and the port
/// are written to the settings at once but act only from the next start;
/// verbose mode and the time of day act at once and are not kept.
class ServerOptions {
public:
    /// \p window owns the boxes and the port dialog.
    ServerOptions(ServerSettings& settings, SampleEngine& engine, ServerMenu& menu, ServerLog& log,
                  QWidget* window);

    /// Keeps \p dataPath (109 DDE, 110 TCP/IP) for the next start, moves the
    /// check mark to it and says that the change waits for a restart.
    void SelectDataPath(int dataPath);
    /// Asks for a new port and keeps it for the next start.
    void ChangePort();
    void SetVerbose(bool on);
    void SetTimeOfDay(bool on);

private:
    /// Logs that \p key could not be written to the settings file.
    void ReportWriteFailure(const char* key);

    ServerSettings& m_settings;
    SampleEngine& m_engine;
    ServerMenu& m_menu;
    ServerLog& m_log;
    QWidget* m_window;
};

}  // namespace vexa::server
