#pragma once

#include "server/inputs/InputsConfig.h"
#include "server/inputs/ValueSink.h"

#include <QObject>
#include <QString>

#include <cstdint>

namespace vexa::server {

class ServerLog;
class ValueTable;

/// Where an input stands. Connecting is the first attempt of an input that
/// connects to a server of its own (the MQTT broker), before the outcome.
/// Replaying is the state of the replay while it has a file open.
enum class InputState { Off, Listening, Connecting, Connected, Reconnecting, Failed, Replaying };

/// The word for \p state in the Sources window and the log: "off",
/// "listening", "connecting", "connected", "reconnecting", "failed",
/// "replaying".
QString InputStateText(InputState state);

/// What an input has received since the server started.
struct InputCounters {
    std::uint64_t messages = 0;      ///< lines, datagrams or broker messages, sound or not
    std::uint64_t values = 0;        ///< values stored in the value table
    std::uint64_t bytes = 0;
    std::uint64_t parseErrors = 0;   ///< messages refused as malformed
    std::uint64_t refusedNames = 0;  ///< values dropped for their name, or because the table was full
    std::uint64_t skipped = 0;       ///< fields without a number (strings)
    std::uint64_t oversizeLines = 0; ///< lines over 64 KB, dropped
    std::uint64_t kernelDrops = 0;   ///< datagrams the system dropped before they were read
    std::int64_t lastMessageMs = 0;  ///< when the last bytes came, ms since the epoch; 0 for never
    int clients = 0;                 ///< connections open now
};

/// One live input of the server: a source of named values that it stores
/// in the value table. An input is off until its part of the configuration
/// turns it on, runs on the server's event loop, and logs one line whenever
/// it starts, stops, fails or reconnects. Its counters feed the Sources
/// window.
class LiveInput : public QObject {
    Q_OBJECT

public:
    /// \p name is how the window and the log call it; \p index is the number
    /// the value table records for the names it feeds.
    LiveInput(QString name, int index, ValueTable& table, ServerLog& log, QObject* parent = nullptr);

    const QString& name() const { return m_name; }
    int index() const { return m_index; }

    /// Takes this input's part of \p config: starts, restarts or stops as
    /// that part changed. A failed input that is still configured tries again.
    virtual void Apply(const InputsConfig& config) = 0;
    /// True while the configuration asks for this input.
    virtual bool isConfigured() const = 0;
    /// True for an input that clients connect to, whose count it keeps.
    virtual bool takesConnections() const { return false; }

    InputState state() const { return m_state; }
    /// Where the input listens or is connected to, or why it failed.
    const QString& detail() const { return m_detail; }

    const InputCounters& counters() const { return m_counters; }
    /// Values stored over the last whole second.
    std::uint64_t valuesPerSecond() const { return m_valuesPerSecond; }
    /// Bytes received over the last whole second.
    std::uint64_t bytesPerSecond() const { return m_bytesPerSecond; }
    /// Ends a second of the rates; called once a second.
    void CloseSecond();

signals:
    void stateChanged();

protected:
    /// Stores the values a parser hands on, for one batch of reads, and
    /// counts them against the input.
    class Feed final : public ValueSink {
    public:
        explicit Feed(LiveInput& input);
        void Value(std::string_view name, double value, double sourceTime) override;

    private:
        LiveInput& m_input;
        std::int64_t m_nowMs;
    };

    /// Moves to \p state with \p detail and logs the change (all but the
    /// start of a first attempt to connect, whose outcome is logged).
    void setState(InputState state, const QString& detail);
    /// Says why the input is in its state now, without a log line: a
    /// reconnecting input's latest failed attempt.
    void setDetail(const QString& detail);
    /// Counts \p bytes received now.
    void CountReceived(std::uint64_t bytes);
    /// Adds what a parser counted.
    void CountParse(const ParseCounts& counts);
    InputCounters& counters() { return m_counters; }
    ServerLog& log() const { return m_log; }

private:
    QString m_name;
    int m_index;
    ValueTable& m_table;
    ServerLog& m_log;
    InputState m_state = InputState::Off;
    QString m_detail;
    InputCounters m_counters;
    std::uint64_t m_valuesAtSecond = 0;
    std::uint64_t m_bytesAtSecond = 0;
    std::uint64_t m_valuesPerSecond = 0;
    std::uint64_t m_bytesPerSecond = 0;
};

}  // namespace vexa::server
