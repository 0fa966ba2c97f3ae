#pragma once

#include "server/replay/ReplayOptions.h"

#include <QPointer>

class QWidget;

namespace vexa::server {

class InputSet;
class ReplayInput;
class ReplayWindow;
class SampleEngine;
class ServerLog;

/// The commands of the replay: a replay asked for on the command line, and
/// the "Replay" window. While a file is open the sample's time of day is
/// the replay clock's.
class ReplayCommands {
public:
    /// Adds the replay to \p inputs; \p window owns the Replay window.
    ReplayCommands(InputSet& inputs, SampleEngine& engine, ServerLog& log, QWidget* window);

    /// Opens and plays the file of --replay, when one was given.
    void Start(const ReplayOptions& options);
    /// Shows the "Replay" window, making it the first time.
    void ShowReplay();

    ReplayInput& replay() { return m_replay; }
    /// The window, once made; nullptr before.
    ReplayWindow* replayWindow() const;

private:
    ReplayInput& m_replay;
    ServerLog& m_log;
    QWidget* m_owner;
    QPointer<ReplayWindow> m_window;
};

}  // namespace vexa::server
