#pragma once

#include "link/client/LinkSettings.h"
#include "link/protocol/DataSample.h"
#include "link/protocol/LayoutBlock.h"
#include "link/sockets/Socket.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

namespace vexa::link {

class DdeClient;
class LinkHost;

/// The display program's end of the link to the data server: the data
/// source, the connection over the session bus ("DDE") or TCP, the layout
/// block (the measurement name list) and the sample buffer the graphs read.
///
/// Every communication failure ends in LinkFailure(): disconnected, one
/// message box, and the graphs frozen at their last values until the user
/// reconnects, or AutoReconnect does.
class DataLink : public QObject {
    Q_OBJECT
public:
    /// The text every link failure ends with.
    static constexpr const char* kFailureText =
        "ERROR: VEXA-Display was unable to communicate with the data server, and has been "
        "disconnected. All updates will stop.";

    DataLink(LinkHost& host, std::string settingsFile, QObject* parent = nullptr);
    ~DataLink() override;

    /// Reads the data source from the settings file.
    void LoadLinkSettings();
    const LinkSettings& settings() const { return m_settings; }
    /// Takes a new data source (the data source dialog has stored it).
    void setSettings(const LinkSettings& settings) { m_settings = settings; }
    const std::string& settingsFile() const { return m_settingsFile; }

    /// Opens the connection of the data source; succeeds at once when
    /// connected. Failures are shown, and leave the link disconnected.
    bool Connect();
    /// Tries the connection again without showing why it cannot be opened;
    /// once open, the layout goes first when \p resendLayout. True when
    /// connected afterwards.
    bool Reconnect(bool resendLayout);
    /// Closes the connection; nothing when not connected.
    void Disconnect();
    /// Disconnects and tells the user once that all updates stop.
    void LinkFailure(const QString& reason = {});
    /// Sends the layout (connecting first) when it holds at least one name.
    void SendLayout();
    /// Asks for a sample: over TCP waits for the answer, over DDE the answer
    /// arrives later. Called on each graph tick while connected.
    void FetchSample();

    bool isConnected() const { return m_connected; }
    /// 8 + 8 x count of the last layout sent.
    int expectedLength() const { return m_expectedLength; }

    LayoutBlock& layout() { return m_layout; }
    const LayoutBlock& layout() const { return m_layout; }
    DataSample& sample() { return m_sample; }
    const DataSample& sample() const { return m_sample; }

    /// The conversation on the session bus (tests reach its last error).
    DdeClient& ddeClient() { return *m_dde; }

signals:
    /// A sample has been taken into the sample buffer.
    void sampleArrived();
    /// A link failure has been told and its box answered.
    void linkFailed();

private:
    /// Whether a connection that cannot be opened says why.
    enum class Report { Failures, Nothing };
    bool open(Report report);
    bool connectDde(Report report);
    bool connectEthernet(Report report);
    /// Disconnects; a stream that fails to close is reported only when
    /// \p reportCloseFailure (a link that has already failed says so once).
    void disconnectLink(bool reportCloseFailure);
    /// Lets go of the bus and the socket; false when the stream did not
    /// close cleanly.
    bool releaseTransport();
    void fetchDde();
    void fetchTcp();
    void onDdeData(const QByteArray& data);
    /// Reads the sample's time field and shows it; \p delivered tells whether
    /// new bytes have come since the last reading.
    void takeTimeField(bool delivered);
    bool sendTcp(const QByteArray& bytes);
    void showError(const QString& text, const QString& caption, bool isWarning);

    LinkHost& m_host;
    std::string m_settingsFile;
    LinkSettings m_settings;
    bool m_connected = false;
    int m_expectedLength = 8;
    LayoutBlock m_layout;
    DataSample m_sample;
    std::unique_ptr<DdeClient> m_dde;
    sockets::Socket m_socket;
    /// True while a StartSockets() of this link waits for its StopSockets().
    bool m_socketsStarted = false;
    /// True while the sample's time field holds this computer's time in
    /// place of one the server did not give.
    bool m_timeIsLocal = false;
};

}  // namespace vexa::link
