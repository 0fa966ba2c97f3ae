#pragma once

#include "server/inputs/ValueTable.h"
#include "server/recording/LoopStallWatch.h"
#include "server/recording/RecordingBatch.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexa::server {

class ServerLog;

namespace recording {

/// Records every value the server takes in. The event loop gathers values
/// into batches and hands them to a writer thread of the recorder's own
/// through a bounded queue; the writer inserts them into the recording file
/// and commits at least twice a second. Database commits block, which the
/// event loop must never do; a full queue drops the batch and counts it
/// instead of waiting.
class Recorder : public QObject, public StoredValueTap {
    Q_OBJECT

public:
    /// Values gathered before a batch is handed over at once.
    static constexpr std::size_t kBatchValues = 4096;
    /// The most values the queue holds (32 MB): over a second of 800,000
    /// values a second, room for the pauses of commits and checkpoints,
    /// and little enough that the server's end, which writes what is
    /// queued, comes soon.
    static constexpr std::size_t kQueueValues = std::size_t(1) << 20;
    /// How often a batch that is not yet full is handed over.
    static constexpr int kHandOverMs = 100;
    /// How often the writer commits, at the most.
    static constexpr int kCommitMs = 500;
    /// How often dropped values are logged, at the most.
    static constexpr int kDropReportMs = 1000;
    /// The environment variable that lowers the size at which a recording
    /// continues in a new file (in bytes), for tests of the continuation.
    static constexpr const char* kPartBytesVariable = "VEXALINK_RECORD_PART_BYTES";

    explicit Recorder(ServerLog& log, QObject* parent = nullptr);
    /// Stops a recording that is still running.
    ~Recorder() override;

    /// Starts a recording in \p folder, \p simulating noting its mode. Logs
    /// the file, or why none could be made; false then.
    bool Start(const QString& folder, bool simulating);
    /// Hands what is gathered to the writer, waits until it has written and
    /// closed the file, and logs the totals. Nothing when not recording.
    void Stop();
    bool isRecording() const { return m_session != nullptr; }
    /// The part being written; empty when not recording.
    QString path() const;
    /// Values dropped since the recording started because the queue was full.
    std::uint64_t droppedCount() const { return m_dropped; }

    /// A value a live input stored in entry \p entry of the value table,
    /// recorded with its arrival time now.
    void Stored(std::size_t entry, std::string_view name, double value, double sourceTime) override;
    /// A value the signal generators gave; the recording's mode becomes
    /// "simulate".
    void SimulatedValue(std::string_view name, double value);

    /// What the Sources window says about recording: the file being written,
    /// or how the last recording ended; empty before any.
    const QString& notice() const { return m_notice; }

signals:
    /// The recording started, moved to a new file, stopped or ended.
    void stateChanged();

private:
    struct Session;
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };

    std::int32_t NameId(std::string_view name);
    void Append(std::int32_t nameId, double value, double sourceTime);
    void HandOver();
    void ReportDrops();
    void PartStarted(const QString& path);
    void Failed(const QString& error);
    /// Ends the session: waits for the writer, which has written what it
    /// was given. Returns the values it wrote.
    std::uint64_t EndSession();
    void SetNotice(const QString& notice);
    /// Logs \p text and makes it the notice.
    void Report(const QString& text);

    ServerLog& m_log;
    std::unique_ptr<Session> m_session;
    RecordingBatch m_batch;
    std::unordered_map<std::string, std::int32_t, NameHash, std::equal_to<>> m_ids;
    /// The recording's name id of each value table entry; 0 until known.
    /// It spares the event loop a second lookup of the name per value.
    std::vector<std::int32_t> m_idsByEntry;
    double m_lastTime = 0.0;
    bool m_simulateNoted = false;
    std::uint64_t m_dropped = 0;
    std::uint64_t m_droppedUnreported = 0;
    QTimer m_handOver;
    QTimer m_dropReport;
    LoopStallWatch m_stallWatch;
    QString m_notice;
    /// Why the writer of the session just ended failed; empty when it did not.
    QString m_endError;
};

}  // namespace recording
}  // namespace vexa::server
