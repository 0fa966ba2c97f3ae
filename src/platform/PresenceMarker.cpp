#include "PresenceMarker.h"

#include "FileDescriptor.h"

#include "AnsiText.h"

#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

namespace vexa {

namespace {

/// Only the holder needs to read and write the marker; others just lock it.
constexpr mode_t kMarkerFileMode = 0600;
constexpr const char* kMarkerSuffix = ".lock";


/// A title can hold anything; the two bytes a file name cannot are replaced.
QString FileNameFor(const QString& title)
{
    QString name = title;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(u'\0'), QLatin1Char('_'));
    return name + QLatin1String(kMarkerSuffix);
}

/// The pid is only for people who look at the file: the lock alone tells
/// whether the marker is held, so the caller need not care whether it was written.
bool WriteHolderPid(int fd)
{
    const std::string pid = std::to_string(::getpid()) + "\n";
    return ::ftruncate(fd, 0) == 0
           && ::pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
}

}  // namespace

PresenceMarker::PresenceMarker(QString title) : m_title(std::move(title)) {}

PresenceMarker::~PresenceMarker()
{
    release();
}

bool PresenceMarker::hold()
{
    if (isHolding())
        return true;
    const QString path = MarkerPath(m_title);
    if (path.isEmpty())
        return false;
    // Close-on-exec, so that the programs we start do not keep our marker
    // alive after we have gone.
    FileDescriptor fd(::open(ToLocalPath(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC,
                               kMarkerFileMode));
    if (fd.get() < 0 || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    WriteHolderPid(fd.get());
    m_fd = fd.take();
    return true;
}

void PresenceMarker::release()
{
    // The file stays: removing it would race with another process that has
    // just opened it, and an unlocked file means nothing.
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

bool PresenceMarker::IsHeld(const QString& title)
{
    const QString path = MarkerPath(title);
    if (path.isEmpty())
        return false;
    const FileDescriptor fd(::open(ToLocalPath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    // The lock belongs to this open file description, so even a holder in
    // this process makes the attempt fail. Closing the descriptor drops the
    // shared lock when it was granted.
    return ::flock(fd.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

QString PresenceMarker::MarkerPath(const QString& title)
{
    const QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty())
        return {};
    return directory + QLatin1Char('/') + FileNameFor(title);
}

}  // namespace vexa
