#pragma once

#include "server/faults/FaultInjector.h"
#include "server/faults/FaultOptions.h"
#include "server/faults/FaultSettings.h"

class QWidget;

namespace vexa::server {

class ServerLog;

/// The commands of the faults of simulated values: putting them in force
/// at start with the settings and the command line, and the "Simulate
/// Faults" dialog. Every change is logged with the faults now in force.
class FaultCommands {
public:
    /// \p window owns the dialog and its boxes.
    FaultCommands(FaultSettings settings, ServerLog& log, QWidget* window);

    /// The faults at work, for the sample engine.
    FaultInjector& injector() { return m_injector; }
    const FaultConfig& config() const { return m_injector.config(); }

    /// Puts the faults of the settings file in force, the faults and the
    /// seed given in \p overrides in place of the file's; logs the faults
    /// when there are any, and every setting that cannot be used.
    void Start(const FaultOverrides& overrides);
    /// Runs the "Simulate Faults" dialog and puts what it gives in force.
    void ChangeFaults();
    /// Puts \p config in force when it differs from the one in force, logs
    /// it, and writes what changed to the settings file.
    void ApplyFaults(const FaultConfig& config);

private:
    /// Logs \p heading and the faults in force, one per line.
    void LogFaults(const QString& heading);

    FaultInjector m_injector;
    FaultSettings m_settings;
    ServerLog& m_log;
    QWidget* m_window;
};

}  // namespace vexa::server
