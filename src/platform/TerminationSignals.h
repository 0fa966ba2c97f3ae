#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace vexa {

/// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop, so that a
/// program ended by the session (logout, `kill`, Ctrl+C in a terminal) ends
/// in order (see EndProgram()) instead of dying with its working files left
/// behind. The call comes in whatever loop runs, a dialog's too. One instance
/// per program.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    /// Installs the handlers; \p onSignal runs on the event loop for each
    /// signal that arrives.
    TerminationSignals(std::function<void()> onSignal, QObject* parent);
    /// Puts the default handlers back.
    ~TerminationSignals() override;

    bool isInstalled() const { return m_notifier != nullptr; }

private:
    void onReadable();

    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};

/// A descriptor that turns readable when a termination signal has arrived and
/// stays so until the event loop has taken it: a blocking wait outside the
/// event loop adds it to its poll to end at once. -1 while no instance is
/// installed.
int TerminationSignalDescriptor();

/// True when a termination signal has arrived that the event loop has not
/// taken yet; the program is about to end.
bool IsTerminationPending();

}  // namespace vexa
