#pragma once

#include <QString>

namespace vexa {

/// Tells other processes that a program with a given window title runs: a
/// lock file named after the title in the user's runtime directory, locked
/// while the holder lives. The lock goes with the process, so a crashed
/// holder never leaves a stale marker.
class PresenceMarker {
public:
    explicit PresenceMarker(QString title);
    ~PresenceMarker();

    PresenceMarker(const PresenceMarker&) = delete;
    PresenceMarker& operator=(const PresenceMarker&) = delete;

    /// Takes the marker; false when another holder has it or the runtime
    /// directory cannot be used.
    bool hold();
    /// Gives the marker up (also done by the destructor).
    void release();
    bool isHolding() const { return m_fd >= 0; }

    /// True when some process (this one included) holds the marker of \p title.
    static bool IsHeld(const QString& title);
    /// The lock file's path for \p title.
    static QString MarkerPath(const QString& title);

private:
    QString m_title;
    int m_fd = -1;
};

}  // namespace vexa
