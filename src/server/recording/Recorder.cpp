#include "server/recording/Recorder.h"

#include "server/engine/ServerLog.h"
#include "server/recording/RecordingQueue.h"
#include "server/recording/RecordingWriter.h"

#include <QDir>

#include <algorithm>
#include <chrono>
#include <limits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace vexa::server::recording {

namespace {

constexpr const char* kProgram = "vexalink " VEXA_VERSION;
constexpr const char* kSimulateMode = "simulate";
constexpr const char* kInputsMode = "inputs";
constexpr double kNanosecondsPerSecond = 1e9;

/// Now on the system clock, in seconds since the epoch.
double EpochSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / kNanosecondsPerSecond;
}

/// The part size in force: the default, or a lower one from the environment.
std::int64_t PartBytes()
{
    if (const char* text = std::getenv(Recorder::kPartBytesVariable); text != nullptr) {
        char* end = nullptr;
        const long long bytes = std::strtoll(text, &end, 10);
        if (end != text && *end == '\0' && bytes > 0)
            return bytes;
    }
    return RecordingWriter::kDefaultPartBytes;
}

}  // namespace

/// One recording: the queue, the writer and its thread.
struct Recorder::Session {
    explicit Session(RecordingWriter::Setup setup) : queue(kQueueValues), writer(std::move(setup)) {}

    RecordingQueue queue;
    RecordingWriter writer;
    std::thread thread;
};

Recorder::Recorder(ServerLog& log, QObject* parent) : QObject(parent), m_log(log)
{
    // A file size limit would otherwise end the whole server at the write
    // that crosses it; ignored, the write fails and the recording ends.
    std::signal(SIGXFSZ, SIG_IGN);
    m_handOver.setInterval(kHandOverMs);
    connect(&m_handOver, &QTimer::timeout, this, &Recorder::HandOver);
    m_dropReport.setInterval(kDropReportMs);
    connect(&m_dropReport, &QTimer::timeout, this, &Recorder::ReportDrops);
}

Recorder::~Recorder()
{
    Stop();
}

bool Recorder::Start(const QString& folder, bool simulating)
{
    if (isRecording())
        return true;
    RecordingWriter::Setup setup;
    setup.folder = QDir(folder).absolutePath().toStdString();
    setup.startedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    setup.program = kProgram;
    setup.mode = simulating ? kSimulateMode : kInputsMode;
    setup.partBytes = PartBytes();
    auto session = std::make_unique<Session>(std::move(setup));
    if (!session->writer.Open()) {
        Report(QStringLiteral("Recording failed: %1").arg(QString::fromStdString(session->writer.error())));
        return false;
    }

    m_session = std::move(session);
    m_ids.clear();
    m_idsByEntry.clear();
    m_batch = RecordingBatch();
    m_lastTime = 0.0;
    m_simulateNoted = simulating;
    m_dropped = 0;
    m_droppedUnreported = 0;
    Session& running = *m_session;
    running.thread = std::thread([this, &running] {
        const auto interval = std::chrono::milliseconds(kCommitMs);
        auto commitAt = std::chrono::steady_clock::now() + interval;
        int part = running.writer.part();
        RecordingBatch batch;
        for (;;) {
            const RecordingQueue::PopResult got = running.queue.Pop(batch, commitAt);
            if (got == RecordingQueue::PopResult::Closed)
                break;
            bool written = got != RecordingQueue::PopResult::Batch || running.writer.Write(batch);
            if (written && std::chrono::steady_clock::now() >= commitAt) {
                written = running.writer.Commit();
                commitAt = std::chrono::steady_clock::now() + interval;
            }
            if (!written) {
                const QString error = QString::fromStdString(running.writer.error());
                running.writer.Close();
                QMetaObject::invokeMethod(this, [this, error] { Failed(error); }, Qt::QueuedConnection);
                return;
            }
            if (running.writer.part() != part) {
                part = running.writer.part();
                const QString path = QString::fromStdString(running.writer.path().string());
                QMetaObject::invokeMethod(this, [this, path] { PartStarted(path); }, Qt::QueuedConnection);
            }
        }
        running.writer.Close();
    });
    m_handOver.start();
    m_dropReport.start();
    m_stallWatch.Start();
    Report(QStringLiteral("Recording to %1").arg(path()));
    return true;
}

void Recorder::Stop()
{
    if (!isRecording())
        return;
    HandOver();
    ReportDrops();
    const QString file = path();
    const std::uint64_t written = EndSession();
    if (!m_endError.isEmpty()) {
        // The writer failed just before the stop; its report, still on its
        // way through the event loop, will find no recording.
        Report(QStringLiteral("Recording ended: %1").arg(m_endError));
        return;
    }
    const QString text = QStringLiteral("Recording stopped: %1 values in %2, %3 dropped; longest event-loop stall %4 ms")
                             .arg(written)
                             .arg(file)
                             .arg(m_dropped)
                             .arg(m_stallWatch.longestStallMs());
    Report(text);
}

std::uint64_t Recorder::EndSession()
{
    m_handOver.stop();
    m_dropReport.stop();
    m_stallWatch.Stop();
    m_session->queue.Close();
    m_session->thread.join();
    const std::uint64_t written = m_session->writer.valueCount();
    m_endError = QString::fromStdString(m_session->writer.error());
    m_session.reset();
    return written;
}

QString Recorder::path() const
{
    return m_session != nullptr ? QString::fromStdString(m_session->writer.path().string()) : QString();
}

void Recorder::Stored(std::size_t entry, std::string_view name, double value, double sourceTime)
{
    if (m_session == nullptr)
        return;
    if (entry >= m_idsByEntry.size())
        m_idsByEntry.resize(entry + 1, 0);
    std::int32_t& id = m_idsByEntry[entry];
    if (id == 0)
        id = NameId(name);
    Append(id, value, sourceTime);
}

void Recorder::Append(std::int32_t nameId, double value, double sourceTime)
{
    // Rows go in in time order; a system clock set back keeps the last time
    // until it has caught up.
    m_lastTime = std::max(m_lastTime, EpochSeconds());
    m_batch.values.push_back({m_lastTime, nameId, value, sourceTime});
    if (m_batch.values.size() >= kBatchValues)
        HandOver();
}

void Recorder::SimulatedValue(std::string_view name, double value)
{
    if (m_session == nullptr)
        return;
    if (!m_simulateNoted) {
        m_simulateNoted = true;
        m_batch.mode = kSimulateMode;
    }
    Append(NameId(name), value, std::numeric_limits<double>::quiet_NaN());
}

std::int32_t Recorder::NameId(std::string_view name)
{
    if (const auto found = m_ids.find(name); found != m_ids.end())
        return found->second;
    const auto id = std::int32_t(m_ids.size() + 1);
    m_ids.emplace(std::string(name), id);
    m_batch.names.emplace_back(id, std::string(name));
    return id;
}

void Recorder::HandOver()
{
    if (m_session == nullptr || m_batch.isEmpty())
        return;
    if (m_session->queue.Push(m_batch)) {
        m_batch.values.reserve(kBatchValues);
        return;
    }
    // The writer is behind: these values are lost, but the names and the
    // mode go with the next batch, which the values to come will need.
    m_dropped += m_batch.values.size();
    m_droppedUnreported += m_batch.values.size();
    m_batch.values.clear();
}

void Recorder::ReportDrops()
{
    if (m_droppedUnreported == 0)
        return;
    m_log.LogLine(QStringLiteral("Recording: queue full, %1 values dropped").arg(m_droppedUnreported));
    m_droppedUnreported = 0;
}

void Recorder::PartStarted(const QString& path)
{
    if (!isRecording())
        return;
    Report(QStringLiteral("Recording continues in %1").arg(path));
}

void Recorder::Failed(const QString& error)
{
    if (!isRecording())
        return;
    // The writer has ended; what is still queued cannot be written.
    m_session->queue.Abandon();
    EndSession();
    Report(QStringLiteral("Recording ended: %1").arg(error));
}

void Recorder::Report(const QString& text)
{
    m_log.LogLine(text);
    SetNotice(text);
}

void Recorder::SetNotice(const QString& notice)
{
    m_notice = notice;
    emit stateChanged();
}

}  // namespace vexa::server::recording
