#include "server/ServerOptions.h"

#include "document/ProfileStore.h"
#include "platform/AnsiText.h"
#include "platform/Messages.h"
#include "server/ServerMenu.h"
#include "server/ServerSettings.h"
#include "server/dialogs/InputDialog.h"
#include "server/engine/SampleEngine.h"
#include "server/engine/ServerLog.h"

#include <optional>

namespace vexa::server {

namespace {

constexpr const char* kRestartNotice = "These changes will not take affect until this application is restarted";
constexpr const char* kRestartCaption = "VEXA-Com";
constexpr const char* kPortPrompt = "Enter New Port Assignment";
constexpr const char* kPortNotice =
    "These changes will not take affect until this program is restarted.\n\n"
    "NOTE: This value much match the value set in the VEXA-Display application.";
constexpr const char* kPortCaption = "Change Port Assignment";

}  // namespace

ServerOptions::ServerOptions(ServerSettings& settings, SampleEngine& engine, ServerMenu& menu, ServerLog& log,
                             QWidget* window)
    : m_settings(settings), m_engine(engine), m_menu(menu), m_log(log), m_window(window)
{
}

void ServerOptions::SelectDataPath(int dataPath)
{
    // Telling the user that a change waits for a restart is only true once
    // the change has been kept.
    if (!m_settings.setDataPath(dataPath)) {
        ReportWriteFailure(ServerSettings::kDataPathKey);
        return;
    }
    m_menu.checkDataPath(dataPath);
    ShowMessage(m_window, QString::fromLatin1(kRestartNotice), QString::fromLatin1(kRestartCaption),
                MessageIcon::Information);
}

void ServerOptions::ChangePort()
{
    const std::optional<qint32> port = AskInteger(m_window, QString::fromLatin1(kPortPrompt), m_settings.port());
    if (!port.has_value())
        return;
    if (!m_settings.setPort(*port)) {
        ReportWriteFailure(ServerSettings::kPortKey);
        return;
    }
    ShowMessage(m_window, QString::fromLatin1(kPortNotice), QString::fromLatin1(kPortCaption),
                MessageIcon::Information);
    m_menu.showPort(*port);
    m_log.LogLine(QStringLiteral("Port assignment Changed to: %1").arg(*port));
}

void ServerOptions::SetVerbose(bool on)
{
    m_menu.checkVerbose(on);
    m_engine.setVerbose(on);
    m_log.LogLine(on ? QStringLiteral("Verbose mode ON") : QStringLiteral("Verbose mode Off"));
}

void ServerOptions::SetTimeOfDay(bool on)
{
    m_menu.checkTimeOfDay(on);
    m_engine.SetTimeOfDay(on);
    m_log.LogLine(on ? QStringLiteral("Time of day being sent with each data packet")
                     : QStringLiteral("Time of day disabled"));
}

void ServerOptions::ReportWriteFailure(const char* key)
{
    m_log.LogLine(QStringLiteral("ERROR: Could not write \"%1\" to %2: %3")
                      .arg(QString::fromLatin1(key), FromLocalPath(m_settings.file()),
                           FromAnsi(profile::LastError())));
}

}  // namespace vexa::server
