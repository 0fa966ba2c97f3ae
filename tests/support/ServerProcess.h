#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

class QTemporaryDir;

namespace vexa::test {

/// A real data server process with a settings file and runtime directory of
/// its own, on the TCP path at a port or on the session bus. Stopped, and
/// waited for, when the object goes.
class ServerProcess {
public:
    /// What a test may add to the server's start.
    struct Launch {
        /// Variables set in the server's environment.
        std::map<QString, QString> environment;
        /// Runs in the server's process before it starts (to set a limit).
        std::function<void()> inChild;
    };

    /// Starts \p program on the TCP path at \p port, or on the bus path when
    /// \p port is 0, with \p arguments after its own, and waits until it
    /// serves.
    ServerProcess(const QString& program, int port, const QStringList& arguments = {}, const Launch& launch = {});
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool isServing() const { return m_serving; }
    bool isRunning() const;
    int port() const { return m_port; }
    QString errorText() const;
    /// Kills the server at once, as a crash would end it, and waits until it
    /// has gone.
    void kill();
    /// The server's process id; 0 when it does not run.
    qint64 processId() const { return m_process.processId(); }
    /// How long stop() waits by default before it kills the server.
    static constexpr int kStopTimeoutMs = 5000;
    /// Asks the server to end, as the session does at logout, and waits until
    /// it has, at most \p withinMs; false when it had to be killed.
    bool stop(int withinMs = kStopTimeoutMs);
    /// Whether the server ended by itself with status 0.
    bool endedWithSuccess() const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
    int m_port = 0;
    bool m_serving = false;
};

}  // namespace vexa::test
