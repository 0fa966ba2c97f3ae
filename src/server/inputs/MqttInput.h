#pragma once

#include "server/inputs/LiveInput.h"

#include <QTimer>

#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;
struct mosquitto;
struct mosquitto_message;

namespace vexa::server {

/// The MQTT input: a client of one broker that subscribes to the configured
/// topic filters and stores what is published there. It runs on the
/// server's event loop like every other input: the client's socket is
/// watched by notifiers (for reading always, for writing while the client
/// has bytes to send), and its keep-alive work runs on a timer of the loop.
/// The client library never starts a thread of its own.
///
/// When the broker cannot be reached or the connection is lost, the input
/// tries again after 1 s, then after twice as long each time up to 30 s;
/// it logs the change to reconnecting once, not every attempt. A broker
/// that refuses the client (a bad name or password, say) leaves the input
/// failed until its configuration is put in force again.
class MqttInput final : public LiveInput {
    Q_OBJECT

public:
    /// The first pause before trying again, and the longest.
    static constexpr int kFirstRetryMs = 1000;
    static constexpr int kLongestRetryMs = 30000;
    /// How often the client's housekeeping runs (keep-alive pings, time-outs).
    static constexpr int kHousekeepingMs = 1000;
    /// The keep-alive interval asked of the broker, in seconds.
    static constexpr int kKeepAliveSeconds = 30;
    /// How long an attempt waits for the broker's answer before it counts as
    /// failed: a broker behind a network that swallows packets would
    /// otherwise keep the input waiting for the system's connect time-out.
    static constexpr int kAnswerTimeoutMs = 10000;
    /// Messages taken per wake-up before the event loop gets its turn back.
    static constexpr int kMessagesPerWakeUp = 4096;

    MqttInput(QString name, int index, ValueTable& table, ServerLog& log, QObject* parent = nullptr);
    ~MqttInput() override;

    void Apply(const InputsConfig& config) override;
    bool isConfigured() const override { return !m_broker.empty(); }

    /// The pause before the next attempt to connect after this one fails.
    int retryDelayMs() const { return m_retryMs; }
    /// True while an attempt to connect waits for its time.
    bool isRetryScheduled() const { return m_retry.isActive(); }

private:
    static void OnConnect(mosquitto* client, void* self, int result);
    static void OnDisconnect(mosquitto* client, void* self, int result);
    static void OnMessage(mosquitto* client, void* self, const mosquitto_message* message);
    static void OnSubscribe(mosquitto* client, void* self, int messageId, int count, const int* granted);

    /// Starts the first attempt.
    void Start();
    /// Disconnects, lets go of the client and tries no more.
    void Stop();
    /// Disconnects and lets go of the client.
    void DropClient();
    /// One attempt to connect, with a new client.
    void Connect();
    /// The broker has not answered an attempt in time.
    void AnswerTimedOut();
    /// Watches the client's socket, or stops watching when it has none.
    void WatchSocket();
    void StopWatching();
    /// Reads what waits on the socket: any number of whole messages.
    void ReadSocket();
    void WriteSocket();
    void Housekeeping();
    /// Lets the write notifier watch while the client has bytes to send.
    void UpdateWriteWatch();
    /// After a failed attempt or a lost connection: says why and tries again
    /// after the pause, which then doubles.
    void ScheduleRetry(const QString& why);
    /// The broker, as the log shows it.
    QString brokerText() const;

    std::string m_broker;
    std::vector<std::string> m_topics;
    std::string m_host;
    int m_port = 0;

    mosquitto* m_client = nullptr;
    /// Counts the attempts, so that what was meant for one leaves a later one be.
    std::uint64_t m_attempt = 0;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    QTimer m_housekeeping;
    QTimer m_retry;
    QTimer m_answerTimeout;
    int m_retryMs = kFirstRetryMs;
    /// True while the input takes its own connection down, so that the end
    /// of it is not taken for a lost one.
    bool m_stopping = false;
    /// The sink of the messages being read in this wake-up; a message read
    /// at any other time makes its own.
    std::optional<Feed> m_feed;
    ParseCounts m_parsed;
    std::uint64_t m_bytes = 0;
    int m_messagesThisWakeUp = 0;
};

}  // namespace vexa::server
