#include "DataLink.h"

#include "DdeClient.h"
#include "DdeErrors.h"
#include "LinkHost.h"
#include "TimeField.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"
#include "link/sockets/Sockets.h"
#include "platform/AnsiText.h"
#include "platform/Messages.h"
#include "platform/TerminationSignals.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <poll.h>
#include <sys/socket.h>

namespace vexa::link {

namespace {

constexpr const char* kLayoutFailure = "Unable to send measurement layout data to VEXA-Display server";
constexpr const char* kSendFailure = "Unable to send command to data server.";
constexpr const char* kReadFailure = "Unable to read data packet from server.";
/// The socket module records its default buffer size when given none.
constexpr int kDefaultSocketBuffer = 0;
/// How long a send waits for room in a full send buffer before it fails.
constexpr int kSendWaitMs = 10000;
/// Ticks within this many milliseconds of a request that is still on its
/// way share it: the timers of a 50 ms graph fire in steps of 4 ms, so the
/// ticks of one step share and each step asks anew.
constexpr qint64 kSharedRequestMs = 3;

/// True when the stream has ended or failed: nothing waits and a receive
/// would report the end or an error rather than block.
bool HasStreamEnded(int fd)
{
    char next = 0;
    for (;;) {
        const ssize_t peeked = ::recv(fd, &next, sizeof next, MSG_PEEK | MSG_DONTWAIT | MSG_NOSIGNAL);
        if (peeked > 0)
            return false;
        if (peeked == 0)
            return true;
        if (errno == EINTR)
            continue;
        return errno != EAGAIN && errno != EWOULDBLOCK;
    }
}

/// Sleeps until \p fd can take more bytes; false when it cannot within the
/// wait, or when a termination signal ends the wait first.
bool WaitForSendRoom(int fd)
{
    pollfd watched[] = {{fd, POLLOUT, 0}, {TerminationSignalDescriptor(), POLLIN, 0}};
    for (;;) {
        const int polled = ::poll(watched, 2, kSendWaitMs);
        if (polled > 0)
            return (watched[0].revents & POLLOUT) != 0 && (watched[1].revents & POLLIN) == 0;
        if (polled == 0 || errno != EINTR)
            return false;
    }
}

}  // namespace

DataLink::DataLink(LinkHost& host, std::string settingsFile, QObject* parent)
    : QObject(parent),
      m_host(host),
      m_settingsFile(std::move(settingsFile)),
      m_layout(kDisplayLayoutNames),
      m_sample(kDisplayLayoutNames),
      m_dde(std::make_unique<DdeClient>())
{
    connect(m_dde.get(), &DdeClient::requestCompleted, this, &DataLink::onDdeData);
}

DataLink::~DataLink()
{
    // The window around the link may be gone already, so nothing is shown
    // or reported to it here; the resources are simply let go.
    releaseTransport();
}

void DataLink::LoadLinkSettings()
{
    m_settings = vexa::link::LoadLinkSettings(m_settingsFile);
}

bool DataLink::Connect()
{
    return open(Report::Failures);
}

bool DataLink::Reconnect(bool resendLayout)
{
    if (!open(Report::Nothing))
        return false;
    if (resendLayout)
        SendLayout();
    return m_connected;
}

bool DataLink::open(Report report)
{
    if (m_connected)
        return true;
    bool opened = false;
    switch (m_settings.source) {
    case kSourceDde:
        opened = connectDde(report);
        break;
    case kSourceEthernet:
        opened = connectEthernet(report);
        break;
    case kSourceNone:
        opened = true;
        break;
    default:
        if (report == Report::Failures)
            showError(QStringLiteral("ERROR: No Data Source selected. Please configure VEXA-Display"),
                      QString::fromLatin1(kDisplayCaption), true);
        break;
    }
    if (!opened) {
        // Whatever part of the connection was made is let go, and the user
        // can try again with "Re-Connect To Data Server".
        releaseTransport();
        m_host.enableReconnect(m_settings.source != kSourceNone);
        return false;
    }
    m_connected = true;
    if (m_settings.source != kSourceNone)
        m_host.enableReconnect(false);
    switch (m_settings.source) {
    case kSourceDde:
        m_host.showConnection(QStringLiteral("Connected to DDE server"));
        break;
    case kSourceEthernet:
        m_host.showConnection(QStringLiteral("Connected to ethernet server '%1:%2'")
                                  .arg(FromAnsi(m_settings.host))
                                  .arg(m_settings.port));
        break;
    default:
        m_host.showConnection(QStringLiteral("Offline"));
        break;
    }
    return true;
}

bool DataLink::connectDde(Report report)
{
    if (!m_dde->initialize()) {
        if (report == Report::Failures)
            showError(QStringLiteral("Unable to create DDE CLient"), QStringLiteral("DDE Initialization Failure"),
                      false);
        return false;
    }
    if (!m_dde->connectConversation(QString(kServiceName), QString(kClientTopicName))) {
        if (report == Report::Failures)
            showError(
                QStringLiteral("ERROR: Communications failure. Unable to connect to VEXA-Display Data Server."),
                QString::fromLatin1(kDisplayCaption), false);
        return false;
    }
    return true;
}

bool DataLink::connectEthernet(Report report)
{
    // Neither call is given a window: the one box below tells of either failure.
    m_socketsStarted = sockets::StartSockets(nullptr, kDefaultSocketBuffer);
    if (m_socketsStarted) {
        const QByteArray host(m_settings.host.data(), qsizetype(m_settings.host.size()));
        m_socket = sockets::ConnectStream(nullptr, host, m_settings.port);
    }
    if (!m_socket.isValid()) {
        if (report == Report::Failures)
            showError(QStringLiteral("Unable to Initialize Ethernet communications"),
                      QString::fromLatin1(kDisplayCaption), true);
        return false;
    }
    return true;
}

void DataLink::Disconnect()
{
    disconnectLink(true);
}

void DataLink::disconnectLink(bool reportCloseFailure)
{
    if (!m_connected)
        return;
    const bool closed = releaseTransport();
    if (!closed && reportCloseFailure)
        showError(QStringLiteral("Unable to close ethernet connection"), QString::fromLatin1(kDisplayCaption), true);
    m_connected = false;
    if (m_settings.source != kSourceNone)
        m_host.enableReconnect(true);
    m_host.showConnection(QString());
}

bool DataLink::releaseTransport()
{
    if (m_dde->isInitialized())
        m_dde->uninitialize();
    bool closed = true;
    if (m_socket.isValid())
        closed = sockets::CloseStream(nullptr, m_socket);
    m_socket.reset();
    if (m_socketsStarted) {
        sockets::StopSockets(nullptr);
        m_socketsStarted = false;
    }
    return closed;
}

void DataLink::LinkFailure(const QString& reason)
{
    // A stream that failed may not close cleanly either; that is the same
    // failure, told once below.
    disconnectLink(false);
    // A wait cut short by a termination signal is no fault of the server,
    // and a program on its way out shows no more boxes.
    if (IsTerminationPending())
        return;
    const QString failure = QString::fromLatin1(kFailureText);
    showError(reason.isEmpty() ? failure : reason + QStringLiteral("\n\n") + failure,
              QString::fromLatin1(kDisplayCaption), false);
    emit linkFailed();
}

void DataLink::SendLayout()
{
    const std::int32_t count = m_layout.count();
    if (count < 1)
        return;
    if (!Connect()) {
        LinkFailure(QString::fromLatin1(kLayoutFailure));
        return;
    }
    m_expectedLength = std::min(SampleBytesFor(count), m_sample.size());
    switch (m_settings.source) {
    case kSourceEthernet:
        if (!sendTcp(BuildLayoutMessage(m_layout)))
            LinkFailure(QString::fromLatin1(kLayoutFailure));
        break;
    case kSourceDde:
        // The poke's answer is not examined here: a failure leaves its error
        // pending, and the next sample fetch reports it.
        m_dde->poke(QString(kControlItem), m_layout.wireBytes());
        break;
    default:
        break;
    }
}

void DataLink::FetchSample()
{
    if (!m_connected)
        return;
    switch (m_settings.source) {
    case kSourceDde:
        fetchDde();
        break;
    case kSourceEthernet:
        fetchTcp();
        break;
    default:
        // Offline: the graphs draw what the sample buffer holds.
        break;
    }
}

void DataLink::fetchDde()
{
    const QString pending = DdeErrorName(m_dde->lastError());
    if (!pending.isEmpty()) {
        LinkFailure(pending);
        return;
    }
    // A tick draws what the sample buffer holds and never waits for its own
    // answer: a request just sent and still on its way brings the newest
    // sample for this tick too, so the graphs whose ticks fall together
    // share one request. An older one may be held up; a new one goes out, so
    // that answers keep coming while one is late.
    if (m_dde->hasPendingRequest() && m_dde->lastRequestAgeMs() < kSharedRequestMs)
        return;
    m_dde->request(QString(kDataItem));
    const QString failed = DdeErrorName(m_dde->lastError());
    if (!failed.isEmpty())
        LinkFailure(failed);
}

void DataLink::fetchTcp()
{
    if (!sendTcp(BuildSampleRequest())) {
        LinkFailure(QString::fromLatin1(kSendFailure));
        return;
    }
    // The answer is gathered up to its length within the one wait; bytes
    // beyond the expected length stay on the stream for the next answer.
    std::vector<char> buffer(std::size_t(m_expectedLength) + 1);
    const qint64 received = sockets::ReceiveAllWithWait(m_socket.fd(), buffer.data(), m_expectedLength);
    // An answer that has begun but not come whole within the wait fails the
    // link, as does a closed or broken stream: a server that stalls in the
    // middle of an answer would otherwise freeze the display for a whole
    // wait on every tick. No answer at all within the wait is no failure;
    // it is read as the answer to the next request.
    const bool cut = received > 0 && received < m_expectedLength;
    const bool failed = received < 0 || cut || (received == 0 && HasStreamEnded(m_socket.fd()));
    if (received > 0)
        m_sample.fill(buffer.data(), received);
    takeTimeField(received > 0);
    if (received > 0)
        emit sampleArrived();
    if (failed)
        LinkFailure(QString::fromLatin1(kReadFailure));
}

void DataLink::onDdeData(const QByteArray& data)
{
    m_sample.fill(data.constData(), std::min<qint64>(data.size(), m_expectedLength));
    takeTimeField(true);
    emit sampleArrived();
}

void DataLink::takeTimeField(bool delivered)
{
    // Without new bytes a time that was put in place of the server's is still
    // this computer's, and is brought up to date as such.
    constexpr double kNoServerTime = -1.0;
    const double field = !delivered && m_timeIsLocal ? kNoServerTime : m_sample.timeOfDay();
    // The local clock is read only when it is shown: it costs a time zone
    // conversion, and every graph's every tick comes here.
    const TimeReading reading = InterpretTimeField(field, IsServerTime(field) ? 0.0 : LocalSecondsOfDay());
    m_timeIsLocal = !reading.remote;
    if (!reading.remote)
        m_sample.setTimeOfDay(reading.secondsOfDay);
    m_host.showSampleTime(TimeFieldText(reading));
}

bool DataLink::sendTcp(const QByteArray& bytes)
{
    if (!m_socket.isValid())
        return false;
    // One send normally takes the whole message; should the send buffer be
    // full, the rest follows once there is room, so that no message is cut.
    qint64 sent = 0;
    while (sent < bytes.size()) {
        const qint64 taken = sockets::SendMessage(m_socket.fd(), bytes.constData() + sent, bytes.size() - sent);
        if (taken > 0) {
            sent += taken;
            continue;
        }
        if (taken < 0 && sockets::LastSocketError() != sockets::kWouldBlock)
            return false;
        if (!WaitForSendRoom(m_socket.fd()))
            return false;
    }
    return true;
}

void DataLink::showError(const QString& text, const QString& caption, bool isWarning)
{
    ShowMessage(m_host.linkWindow(), text, caption, isWarning ? MessageIcon::Exclamation : MessageIcon::Stop);
}

}  // namespace vexa::link
