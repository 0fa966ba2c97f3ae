#pragma once

#include "server/engine/ServerLog.h"
#include "support/ServerProcess.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>

class QTemporaryDir;

namespace vexa::server::test {

/// A log that keeps every text it is given and the entries they make.
class RecordingLog : public ServerLog {
public:
    void LogLine(const QString& text) override;
    QStringList texts;
    QStringList entries;
    bool contains(const QString& text) const { return texts.contains(text); }
};

using vexa::test::FreePort;

/// A plain TCP client on the loopback interface. Waiting for answers keeps
/// the event loop turning, so that a server in the same process answers.
class TestClient {
public:
    explicit TestClient(int port);
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    bool isConnected() const { return m_fd >= 0; }
    /// Sends all of \p bytes.
    bool send(const QByteArray& bytes);
    /// Waits up to \p timeoutMs for \p length bytes and returns what came.
    QByteArray receive(int length, int timeoutMs = 5000);
    /// True when nothing arrives within \p ms.
    bool staysSilent(int ms);
    /// A sample request and its whole answer for \p count names.
    QByteArray requestSample(int count);
    /// Closes at once, with a reset when \p reset.
    void close(bool reset = false);

private:
    int m_fd = -1;
};

/// The layout message for \p names under \p path.
QByteArray LayoutMessage(const QByteArray& path, const QList<QByteArray>& names);

/// A client of the server on a bus connection of its own. Its calls are
/// asynchronous and wait with the event loop turning, so that a server in
/// the same process can answer them.
class BusClient {
public:
    BusClient();
    ~BusClient();
    BusClient(const BusClient&) = delete;
    BusClient& operator=(const BusClient&) = delete;

    QDBusMessage call(const QString& method, const QVariantList& arguments);
    /// The conversation number, 0 when refused.
    uint connect(const QString& service, const QString& topic);
    QDBusMessage poke(uint conversation, const QString& item, const QByteArray& data);
    QDBusMessage request(uint conversation, const QString& item);

private:
    QDBusConnection m_bus;
};

/// A real vexalink, as the build made it.
class ServerProcess : public vexa::test::ServerProcess {
public:
    /// On the TCP path at \p port, or on the bus path when \p port is 0.
    explicit ServerProcess(int port) : vexa::test::ServerProcess(QStringLiteral(VEXALINK_PATH), port) {}
};

}  // namespace vexa::server::test
