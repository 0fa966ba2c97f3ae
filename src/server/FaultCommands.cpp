#include "server/FaultCommands.h"

#include "document/ProfileStore.h"
#include "platform/AnsiText.h"
#include "server/SimulateFaultsDialog.h"
#include "server/engine/ServerLog.h"

#include <utility>

namespace vexa::server {

FaultCommands::FaultCommands(FaultSettings settings, ServerLog& log, QWidget* window)
    : m_settings(std::move(settings)), m_log(log), m_window(window)
{
}

void FaultCommands::Start(const FaultOverrides& overrides)
{
    QStringList problems;
    const FaultConfig config = overrides.AppliedTo(m_settings.Read(&problems));
    for (const QString& problem : problems)
        m_log.LogLine(problem);
    m_injector.setConfig(config);
    if (!config.faults.empty())
        LogFaults(QStringLiteral("Simulated faults"));
}

void FaultCommands::ChangeFaults()
{
    SimulateFaultsDialog dialog(config(), m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const std::optional<FaultConfig> chosen = dialog.config())
        ApplyFaults(*chosen);
}

void FaultCommands::ApplyFaults(const FaultConfig& after)
{
    const FaultConfig before = config();
    if (after == before)
        return;
    if (!m_settings.WriteChanges(before, after)) {
        m_log.LogLine(QStringLiteral("ERROR: Could not write the simulated faults to %1: %2")
                          .arg(FromLocalPath(m_settings.file()), FromAnsi(profile::LastError())));
    }
    m_injector.setConfig(after);
    LogFaults(QStringLiteral("Simulated faults changed"));
}

void FaultCommands::LogFaults(const QString& heading)
{
    const FaultConfig& now = config();
    if (now.faults.empty()) {
        m_log.LogLine(heading + QStringLiteral(": none"));
        return;
    }
    QString text = heading + QStringLiteral(", seed %1:").arg(now.seed);
    for (const Fault& fault : now.faults)
        text += QStringLiteral("\n\t") + FromAnsi(FaultText(fault));
    m_log.LogLine(text);
}

}  // namespace vexa::server
