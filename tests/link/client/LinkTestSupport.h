#pragma once

#include "link/client/LinkHost.h"
#include "link/protocol/DataSample.h"
#include "link/protocol/LayoutBlock.h"
#include "support/ServerProcess.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <vector>

class QTemporaryDir;

namespace vexa::link::test {

/// A window around the link that records what the link shows on it.
class RecordingHost : public LinkHost {
public:
    QWidget* linkWindow() override { return nullptr; }
    void showConnection(const QString& text) override { connections.append(text); }
    void showSampleTime(const QString& text) override { sampleTimes.append(text); }
    void enableReconnect(bool enabled) override { reconnectStates.push_back(enabled); }

    /// The connection field as it stands now (empty before anything was shown).
    QString connection() const { return connections.isEmpty() ? QString() : connections.last(); }
    QString sampleTime() const { return sampleTimes.isEmpty() ? QString() : sampleTimes.last(); }
    /// The last state given to "Re-Connect To Data Server"; false (grayed) at start.
    bool isReconnectEnabled() const { return !reconnectStates.empty() && reconnectStates.back(); }

    QStringList connections;
    QStringList sampleTimes;
    std::vector<bool> reconnectStates;
};

using vexa::test::FreePort;

/// Fills \p layout with \p names under the measurement file \p path.
void SetLayout(LayoutBlock& layout, const QByteArray& path, const QList<QByteArray>& names);

/// A measurement file path that puts the server into simulate mode, and
/// names whose values are a fresh random draw (-100 to +100) per request.
inline constexpr const char* kSimulatePath = "/data/SIMULATE.mvx";
QList<QByteArray> RandomNames(int count);
/// True when the first \p count values of \p sample are such draws.
bool HasRandomValues(const DataSample& sample, int count);

/// A real vexalink, as the build made it.
class ServerProcess : public vexa::test::ServerProcess {
public:
    /// On the TCP path at \p port, or on the bus path when \p port is 0.
    explicit ServerProcess(int port) : vexa::test::ServerProcess(QStringLiteral(VEXALINK_PATH), port) {}
};

/// A plain blocking TCP client of a server in another process.
class RawClient {
public:
    explicit RawClient(int port);
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool isConnected() const { return m_fd >= 0; }
    bool send(const QByteArray& bytes);
    /// Everything that arrives until nothing more has come for \p quietMs.
    QByteArray receiveUntilQuiet(int quietMs);

private:
    int m_fd = -1;
};

/// A stand-in for the server on a loopback socket in this process, for the
/// ways a server can misbehave. The link's fetch blocks the one thread, so
/// answers are queued on the stream before the request is made.
class FakeTcpServer {
public:
    FakeTcpServer();
    ~FakeTcpServer();
    FakeTcpServer(const FakeTcpServer&) = delete;
    FakeTcpServer& operator=(const FakeTcpServer&) = delete;

    int port() const { return m_port; }
    /// Takes the connection the link has made; false when none waits.
    bool accept();
    /// Queues \p bytes for the link to read.
    bool answer(const QByteArray& bytes);
    /// Ends the stream in order (the link reads the end after what is queued)
    /// while still taking what the link sends.
    void endStream();
    /// Drops the connection with a reset, as a peer that crashed with bytes
    /// unread does.
    void reset();
    /// Everything the link has sent so far.
    QByteArray received();

private:
    int m_listening = -1;
    int m_connection = -1;
    int m_port = 0;
};

/// A data sample as the server sends it: the time and the values.
QByteArray SampleAnswer(double timeOfDay, const QList<double>& values);

/// A client of the server on a bus connection of its own, as another
/// program would be.
class BusClient {
public:
    BusClient();
    ~BusClient();
    BusClient(const BusClient&) = delete;
    BusClient& operator=(const BusClient&) = delete;

    /// The conversation number, 0 when refused.
    uint connect();
    QDBusMessage poke(uint conversation, const QByteArray& data);
    QDBusMessage request(uint conversation, const QString& item);
    /// The server's layout block as it reads it back.
    LayoutBlock serverLayout();

private:
    QDBusMessage call(const QString& method, const QVariantList& arguments);

    QDBusConnection m_bus;
};

}  // namespace vexa::link::test
