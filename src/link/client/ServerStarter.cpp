#include "ServerStarter.h"

#include "link/protocol/WireFormat.h"
#include "platform/Messages.h"
#include "platform/PresenceMarker.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>

namespace vexa::link {

namespace {

/// The server takes this to start minimised, out of the user's way.
constexpr const char* kMinimizedOption = "--minimized";
constexpr const char* kStartErrorCaption = "Error Starting Application";
/// How long to sleep between two looks at the presence marker.
constexpr int kMarkerPollIntervalMs = 25;

/// False once the process is known to be gone; a started server that dies
/// before it comes up need not be waited for.
bool IsProcessAlive(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

/// Sleeps until the server holds its marker, the process has gone, or
/// \p timeoutMs have passed.
void WaitForServer(qint64 pid, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!IsServerRunning() && IsProcessAlive(pid)) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return;
        ::poll(nullptr, 0, static_cast<int>(std::min<qint64>(left, kMarkerPollIntervalMs)));
    }
}

}  // namespace

bool IsServerStartWanted(const LinkSettings& settings)
{
    if (settings.source == kSourceDde)
        return true;
    return settings.source == kSourceEthernet
           && QByteArrayView(settings.host).compare(QByteArrayView(kDefaultHost), Qt::CaseInsensitive) == 0;
}

bool IsServerRunning()
{
    return PresenceMarker::IsHeld(kServerWindowTitle);
}

QString ServerProgramPath()
{
    const QString program = QString::fromLatin1(kServerProgram);
    const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(program));
    if (beside.isFile() && beside.isExecutable())
        return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(program);
}

ServerStart StartServerIfNeeded(QWidget* owner, bool startChecked, const LinkSettings& settings,
                                qint64* startedPid)
{
    if (!startChecked || !IsServerStartWanted(settings))
        return ServerStart::NotWanted;
    if (IsServerRunning())
        return ServerStart::AlreadyRunning;

    const QString program = ServerProgramPath();
    qint64 pid = 0;
    if (program.isEmpty()
        || !QProcess::startDetached(program, {QString::fromLatin1(kMinimizedOption)}, QString(), &pid)) {
        Beep();
        ShowMessage(owner, QString::fromLatin1(kServerProgram), QString::fromLatin1(kStartErrorCaption),
                    MessageIcon::Stop);
        return ServerStart::Failed;
    }
    if (startedPid != nullptr)
        *startedPid = pid;
    WaitForServer(pid, kServerStartWaitMs);
    return ServerStart::Started;
}

}  // namespace vexa::link
