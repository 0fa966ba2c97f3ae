#pragma once

#include "server/inputs/LiveInput.h"
#include "server/replay/ReplayFile.h"
#include "server/replay/ReplayTime.h"

#include <QTime>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace vexa::server {

/// A recording or a CSV file played back into the value table as if its
/// values came live, on a replay clock that runs at a chosen speed between
/// two bounds and can be paused, stepped and moved. The clock's time is
/// what the sample's time of day shows while a file is open.
///
/// The file is read on the event loop in chunks of kChunkRows, and a turn
/// of the loop stores at most kRowsPerTick values, so that no turn is held
/// long however fast the replay runs or far it jumps.
class ReplayInput final : public LiveInput {
    Q_OBJECT

public:
    static constexpr double kSlowest = 0.1;
    static constexpr double kFastest = 100.0;
    /// How often a playing replay stores the values its clock has reached.
    static constexpr int kTickMs = 10;
    static constexpr std::size_t kChunkRows = 4096;
    static constexpr std::size_t kRowsPerTick = 200000;
    /// A loop lasts at least this long on the replay clock, so that a file
    /// of one time repeats at a pace rather than on every turn of the loop.
    static constexpr double kShortestLoopSeconds = 1.0;

    ReplayInput(int index, ValueTable& table, ServerLog& log, QObject* parent = nullptr);
    ~ReplayInput() override;

    /// The replay is opened by its own commands, not by the inputs' settings.
    void Apply(const InputsConfig&) override {}
    bool isConfigured() const override { return m_file != nullptr; }

    /// Opens \p path and replays the span \p from to \p to of it (each
    /// missing bound the file's end), paused at its start, in place of the
    /// file open before. A file that cannot be replayed is refused with one
    /// log line, and lastError() says why; a file open before goes on.
    bool Open(const QString& path, const std::optional<TimeArgument>& from = std::nullopt,
              const std::optional<TimeArgument>& to = std::nullopt);
    /// Closes the file; the sample's time of day goes back to the real clock.
    void Close();
    bool isOpen() const { return m_file != nullptr; }
    /// The open file; nullptr for none.
    const ReplayFile* file() const { return m_file.get(); }
    /// The span replayed.
    TimeRange range() const { return m_range; }

    void Play();
    void Pause();
    bool isPlaying() const { return m_ticks.isActive(); }
    /// Pauses and stores the values of the next stored time, where the clock
    /// then stands. False at the end of the span.
    bool Step();
    /// Moves the clock to \p time, held to the span: each name of the file
    /// takes its last value before it (NaN when none of the
    /// ReplayFile::kLookbackRows rows before it holds one), and the replay
    /// goes on from there.
    void Seek(double time);

    /// The speed, held to kSlowest to kFastest.
    void setSpeed(double speed);
    double speed() const { return m_speed; }
    /// Starts again from the span's start when the end is reached.
    void setLoop(bool loop) { m_loop = loop; }
    bool isLooping() const { return m_loop; }

    /// The replay clock, in seconds since the epoch. While playing it moves
    /// on as the values up to it are stored, a tick at a time, so that a
    /// sample never shows a time whose values it lacks, nor values from
    /// after its time.
    double position() const;
    /// The replay clock's local time of day.
    QTime timeOfDay() const;
    /// Why the last file was refused or failed; empty when it did not.
    const QString& lastError() const { return m_lastError; }

signals:
    /// A file was opened, closed or failed, or the clock was started,
    /// stopped or moved.
    void replayChanged();

private:
    using Clock = std::chrono::steady_clock;

    void Tick();
    /// Stores the rows up to \p until, at most \p maxRows of them, and moves
    /// the clock shown to \p until, or to the last row stored when the
    /// limit stopped it first.
    void Deliver(double until, std::size_t maxRows);
    /// The next row not stored yet; nullptr past the span or when the file
    /// failed.
    const ReplayRow* NextRow();
    /// The clock unbounded by the span's end.
    double unboundedPosition() const;
    /// Sets the clock to \p time from now.
    void Anchor(double time);
    /// Closes the file after a failure to read it, logging \p why.
    void Fail(const QString& why);
    /// Refuses a file to open for \p why: a failure when no file is open,
    /// else one log line while the open file goes on.
    void Refuse(const QString& why);

    std::unique_ptr<ReplayFile> m_file;
    TimeRange m_range;
    QTimer m_ticks;
    double m_speed = 1.0;
    bool m_loop = false;
    double m_anchorTime = 0.0;
    Clock::time_point m_anchorAt;
    /// Rows read and not yet stored, from m_bufferAt on.
    std::vector<ReplayRow> m_buffer;
    std::size_t m_bufferAt = 0;
    /// The file position after the buffer.
    std::int64_t m_next = 0;
    /// True once every row of the span has been stored.
    bool m_exhausted = false;
    /// The time up to which every row has been stored while playing.
    double m_shown = 0.0;
    QString m_lastError;
};

}  // namespace vexa::server
