#include "server/inputs/MqttInput.h"

#include "server/inputs/MqttPayload.h"

#include <QSocketNotifier>

#include <mosquitto.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace vexa::server {

namespace {

/// What a subscription refused by the broker is granted.
constexpr int kSubscriptionRefused = 0x80;

/// The library is set up once for the process, and only when an MQTT input
/// is first used.
bool InitialiseLibrary()
{
    static const bool initialised = mosquitto_lib_init() == MOSQ_ERR_SUCCESS;
    return initialised;
}

/// The text of library result \p result; for a failed system call, the
/// system's text of \p err.
QString ResultText(int result, int err)
{
    if (result == MOSQ_ERR_ERRNO && err != 0)
        return QString::fromLocal8Bit(std::strerror(err));
    return QString::fromUtf8(mosquitto_strerror(result));
}

}  // namespace

MqttInput::MqttInput(QString name, int index, ValueTable& table, ServerLog& log, QObject* parent)
    : LiveInput(std::move(name), index, table, log, parent)
{
    m_housekeeping.setInterval(kHousekeepingMs);
    connect(&m_housekeeping, &QTimer::timeout, this, &MqttInput::Housekeeping);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MqttInput::Connect);
    m_answerTimeout.setSingleShot(true);
    m_answerTimeout.setInterval(kAnswerTimeoutMs);
    connect(&m_answerTimeout, &QTimer::timeout, this, &MqttInput::AnswerTimedOut);
}

MqttInput::~MqttInput()
{
    Stop();
}

void MqttInput::Apply(const InputsConfig& config)
{
    const bool unchanged = config.mqttBroker == m_broker && config.mqttTopics == m_topics;
    if (unchanged && state() != InputState::Failed)
        return;
    if (m_client != nullptr || state() != InputState::Off) {
        Stop();
        setState(InputState::Off, QString());
    }
    m_broker = config.mqttBroker;
    m_topics = config.mqttTopics;
    if (m_broker.empty())
        return;
    const std::optional<BrokerAddress> address = ParseBroker(m_broker);
    if (!address.has_value() || m_topics.empty()) {
        setState(InputState::Failed, QStringLiteral("\"%1\" is not HOST:PORT with topic filters")
                                         .arg(QString::fromLatin1(m_broker)));
        return;
    }
    m_host = address->host;
    m_port = address->port;
    Start();
}

QString MqttInput::brokerText() const
{
    const QString host = QString::fromLatin1(m_host);
    return (host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2")).arg(host).arg(m_port);
}

void MqttInput::Start()
{
    if (!InitialiseLibrary()) {
        setState(InputState::Failed, QStringLiteral("the MQTT library cannot be set up"));
        return;
    }
    m_retryMs = kFirstRetryMs;
    setState(InputState::Connecting, brokerText());
    Connect();
}

void MqttInput::Stop()
{
    m_retry.stop();
    m_answerTimeout.stop();
    m_housekeeping.stop();
    DropClient();
}

void MqttInput::DropClient()
{
    if (m_client == nullptr)
        return;
    m_stopping = true;
    // Says goodbye to a broker that is there; the bytes go out at once.
    mosquitto_disconnect(m_client);
    StopWatching();
    mosquitto_destroy(m_client);
    m_client = nullptr;
    m_stopping = false;
}

void MqttInput::Connect()
{
    // Every attempt starts with a fresh client, so that nothing of a lost or
    // unanswered connection is carried over.
    DropClient();
    ++m_attempt;
    m_client = mosquitto_new(nullptr, true, this);
    if (m_client == nullptr) {
        setState(InputState::Failed,
                 QStringLiteral("cannot make an MQTT client: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    mosquitto_connect_callback_set(m_client, &MqttInput::OnConnect);
    mosquitto_disconnect_callback_set(m_client, &MqttInput::OnDisconnect);
    mosquitto_message_callback_set(m_client, &MqttInput::OnMessage);
    mosquitto_subscribe_callback_set(m_client, &MqttInput::OnSubscribe);

    errno = 0;
    const int result = mosquitto_connect_async(m_client, m_host.c_str(), m_port, kKeepAliveSeconds);
    if (result != MOSQ_ERR_SUCCESS) {
        ScheduleRetry(QStringLiteral("cannot connect to %1: %2").arg(brokerText(), ResultText(result, errno)));
        return;
    }
    WatchSocket();
    m_answerTimeout.start();
    m_housekeeping.start();
}

void MqttInput::AnswerTimedOut()
{
    ScheduleRetry(QStringLiteral("no answer from %1 within %2 s").arg(brokerText()).arg(kAnswerTimeoutMs / 1000));
}

void MqttInput::WatchSocket()
{
    const int fd = mosquitto_socket(m_client);
    if (fd < 0)
        return;
    m_readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &MqttInput::ReadSocket);
    m_writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &MqttInput::WriteSocket);
    UpdateWriteWatch();
}

void MqttInput::StopWatching()
{
    // Either may be the notifier whose signal is being delivered.
    for (QSocketNotifier** notifier : {&m_readNotifier, &m_writeNotifier}) {
        if (*notifier != nullptr) {
            (*notifier)->setEnabled(false);
            (*notifier)->disconnect();
            (*notifier)->deleteLater();
            *notifier = nullptr;
        }
    }
}

void MqttInput::UpdateWriteWatch()
{
    if (m_writeNotifier != nullptr && m_client != nullptr)
        m_writeNotifier->setEnabled(mosquitto_want_write(m_client));
}

void MqttInput::ReadSocket()
{
    m_feed.emplace(*this);
    m_parsed = ParseCounts();
    m_bytes = 0;
    // The library takes one message per call. A call that had to wait for
    // bytes leaves EAGAIN behind, which ends the wake-up; a whole message
    // read leaves errno alone, so the next one is tried at once.
    for (m_messagesThisWakeUp = 0; m_messagesThisWakeUp < kMessagesPerWakeUp && m_client != nullptr;) {
        errno = 0;
        const int before = m_messagesThisWakeUp;
        const int result = mosquitto_loop_read(m_client, 1);
        if (result != MOSQ_ERR_SUCCESS || errno == EAGAIN || errno == EWOULDBLOCK)
            break;
        if (m_messagesThisWakeUp == before)
            ++m_messagesThisWakeUp;  // a packet that was no message counts against the budget too
    }
    if (m_bytes > 0)
        CountReceived(m_bytes);
    CountParse(m_parsed);
    m_feed.reset();
    UpdateWriteWatch();
}

void MqttInput::WriteSocket()
{
    if (m_client != nullptr)
        mosquitto_loop_write(m_client, 1);
    UpdateWriteWatch();
}

void MqttInput::Housekeeping()
{
    if (m_client != nullptr)
        mosquitto_loop_misc(m_client);
    UpdateWriteWatch();
}

void MqttInput::ScheduleRetry(const QString& why)
{
    StopWatching();
    m_answerTimeout.stop();
    m_housekeeping.stop();
    // Once reconnecting, later failed attempts only update the reason.
    if (state() == InputState::Reconnecting)
        setDetail(why);
    else
        setState(InputState::Reconnecting, why);
    m_retry.start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, kLongestRetryMs);
}

void MqttInput::OnConnect(mosquitto* client, void* self, int result)
{
    auto* input = static_cast<MqttInput*>(self);
    input->m_answerTimeout.stop();
    if (result != 0) {
        // The broker refused this client; trying again would be refused
        // alike. The client goes once the library has returned.
        input->StopWatching();
        input->m_housekeeping.stop();
        QTimer::singleShot(0, input, [input, attempt = input->m_attempt] {
            if (input->m_attempt == attempt)
                input->DropClient();
        });
        input->setState(InputState::Failed, QStringLiteral("%1 refused the connection: %2")
                                                .arg(input->brokerText(), QString::fromUtf8(mosquitto_connack_string(result))));
        return;
    }
    input->m_retryMs = kFirstRetryMs;
    std::vector<char*> filters;
    for (std::string& topic : input->m_topics)
        filters.push_back(topic.data());
    mosquitto_subscribe_multiple(client, nullptr, int(filters.size()), filters.data(), 0, 0, nullptr);
    input->setState(InputState::Connected, input->brokerText());
}

void MqttInput::OnSubscribe(mosquitto*, void* self, int, int count, const int* granted)
{
    auto* input = static_cast<MqttInput*>(self);
    QStringList refused;
    for (int i = 0; i < count && i < int(input->m_topics.size()); ++i) {
        if (granted[i] == kSubscriptionRefused)
            refused.append(QString::fromUtf8(input->m_topics[std::size_t(i)]));
    }
    if (!refused.isEmpty()) {
        input->setState(InputState::Connected, QStringLiteral("%1; the broker refused %2")
                                                   .arg(input->brokerText(), refused.join(QStringLiteral(", "))));
    }
}

void MqttInput::OnDisconnect(mosquitto*, void* self, int result)
{
    const int err = errno;
    auto* input = static_cast<MqttInput*>(self);
    // Its own goodbye, or the end of a connection the broker refused.
    if (input->m_stopping || input->state() == InputState::Failed)
        return;
    const QString why = input->state() == InputState::Connected
                            ? QStringLiteral("connection to %1 lost: %2")
                            : QStringLiteral("cannot connect to %1: %2");
    input->ScheduleRetry(why.arg(input->brokerText(), ResultText(result, err)));
}

void MqttInput::OnMessage(mosquitto*, void* self, const mosquitto_message* message)
{
    auto* input = static_cast<MqttInput*>(self);
    const std::string_view topic(message->topic != nullptr ? message->topic : "");
    const std::string_view payload(static_cast<const char*>(message->payload), std::size_t(std::max(message->payloadlen, 0)));
    ++input->m_messagesThisWakeUp;
    if (input->m_feed.has_value()) {
        input->m_bytes += topic.size() + payload.size();
        input->m_parsed += ParseMqttMessage(topic, payload, *input->m_feed);
        return;
    }
    Feed feed(*input);
    input->CountReceived(topic.size() + payload.size());
    input->CountParse(ParseMqttMessage(topic, payload, feed));
}

}  // namespace vexa::server
