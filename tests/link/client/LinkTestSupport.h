#pragma once

#include "link/client/DataLink.h"
#include "link/client/LinkHost.h"
#include "link/protocol/DataSample.h"
#include "link/protocol/LayoutBlock.h"
#include "support/BusClient.h"
#include "support/RawTcpClient.h"
#include "support/RawTcpListener.h"
#include "support/ServerProcess.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

#include <gtest/gtest.h>

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

/// A data link on a settings file of its own, with the window it shows its
/// state on and the message boxes it shows.
class LinkFixture : public ::testing::Test {
protected:
    /// The link failed once: one box gives \p reason and the failure text,
    /// the link is closed and "Re-Connect To Data Server" is offered.
    void expectOneFailureBox(const QString& reason);

    vexa::test::ScratchDir m_dir;
    vexa::test::ScriptedMessages m_messages;
    RecordingHost m_host;
    DataLink m_link{m_host, m_dir.path("VexaDisplay.ini")};
};

using vexa::test::BusClient;
using vexa::test::FreePort;
using vexa::test::RawTcpClient;

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

/// A stand-in for the server on a loopback socket in this process, for the
/// ways a server can misbehave. The link's fetch blocks the one thread, so
/// answers are queued on the stream before the request is made.
class FakeTcpServer {
public:
    int port() const { return m_listener.port(); }
    /// Takes the connection the link has made; false when none waits.
    bool accept();
    /// Queues \p bytes for the link to read.
    bool answer(const QByteArray& bytes);
    /// Ends the stream in order (the link reads the end after what is queued)
    /// while still taking what the link sends.
    void endStream();
    /// Drops the connection with a reset, as a peer that crashed with bytes
    /// unread does, and waits until the link's end has taken the reset.
    bool reset();
    /// Everything the link has sent so far.
    QByteArray received();

private:
    vexa::test::RawTcpListener m_listener;
    RawTcpClient m_connection;
};

/// A data sample as the server sends it: the time and the values.
QByteArray SampleAnswer(double timeOfDay, const QList<double>& values);

/// The server's layout block as \p bus reads it back.
LayoutBlock ServerLayout(BusClient& bus);

}  // namespace vexa::link::test
