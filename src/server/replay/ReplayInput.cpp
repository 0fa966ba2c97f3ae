#include "server/replay/ReplayInput.h"

#include "server/engine/ServerLog.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vexa::server {

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;
/// The name the Sources window and the log give the replay.
constexpr const char* kName = "Replay";

}  // namespace

ReplayInput::ReplayInput(int index, ValueTable& table, ServerLog& log, QObject* parent)
    : LiveInput(QString::fromLatin1(kName), index, table, log, parent)
{
    m_ticks.setInterval(kTickMs);
    m_ticks.setTimerType(Qt::PreciseTimer);
    connect(&m_ticks, &QTimer::timeout, this, &ReplayInput::Tick);
}

ReplayInput::~ReplayInput() = default;

bool ReplayInput::Open(const QString& path, const std::optional<TimeArgument>& from,
                       const std::optional<TimeArgument>& to)
{
    OpenedReplayFile opened = OpenReplayFile(path);
    if (opened.file == nullptr) {
        Refuse(opened.error);
        return false;
    }
    QString error;
    const std::optional<TimeRange> range =
        ResolveRange(opened.file->firstTime(), opened.file->lastTime(), from, to, error);
    if (!range.has_value()) {
        Refuse(QStringLiteral("%1: %2").arg(path, error));
        return false;
    }
    Close();
    m_file = std::move(opened.file);
    m_range = *range;
    m_lastError.clear();
    setState(InputState::Replaying, path);
    log().LogLine(QStringLiteral("%1: %2 names, from %3 to %4")
                      .arg(name())
                      .arg(m_file->names().size())
                      .arg(TimeText(m_range.from), TimeText(m_range.to)));
    Seek(m_range.from);
    return m_file != nullptr;
}

void ReplayInput::Close()
{
    if (m_file == nullptr)
        return;
    m_ticks.stop();
    m_file.reset();
    m_buffer.clear();
    setState(InputState::Off, QString());
    emit replayChanged();
}

void ReplayInput::Refuse(const QString& why)
{
    if (m_file == nullptr) {
        Fail(why);
        return;
    }
    // The file being replayed goes on.
    m_lastError = why;
    log().LogLine(QStringLiteral("%1: refused %2; %3 goes on").arg(name(), why, m_file->path()));
    emit replayChanged();
}

void ReplayInput::Fail(const QString& why)
{
    m_ticks.stop();
    m_file.reset();
    m_buffer.clear();
    m_lastError = why;
    setState(InputState::Failed, why);
    emit replayChanged();
}

void ReplayInput::Play()
{
    if (m_file == nullptr || isPlaying())
        return;
    // Play at the end starts again from the start.
    if (m_exhausted && position() >= m_range.to)
        Seek(m_range.from);
    Anchor(m_anchorTime);
    m_ticks.start();
    log().LogLine(QStringLiteral("%1: playing from %2 at %3 times the recorded pace")
                      .arg(name(), TimeText(m_anchorTime))
                      .arg(m_speed));
    emit replayChanged();
}

void ReplayInput::Pause()
{
    if (!isPlaying())
        return;
    const double now = std::min(unboundedPosition(), m_range.to);
    Deliver(now, kRowsPerTick);
    Anchor(now);
    m_ticks.stop();
    emit replayChanged();
}

bool ReplayInput::Step()
{
    if (m_file == nullptr)
        return false;
    Pause();
    const ReplayRow* next = NextRow();
    if (next == nullptr)
        return false;
    const double time = next->time;
    Deliver(time, std::size_t(-1));
    Anchor(time);
    emit replayChanged();
    return m_file != nullptr;
}

void ReplayInput::Seek(double time)
{
    if (m_file == nullptr)
        return;
    time = std::clamp(time, m_range.from, m_range.to);
    const std::optional<std::int64_t> position = m_file->PositionAt(time);
    std::vector<std::optional<ReplayRow>> last;
    if (!position.has_value() || !m_file->LastRowsBefore(*position, last)) {
        Fail(QStringLiteral("%1: %2").arg(m_file->path(), m_file->error()));
        return;
    }
    m_buffer.clear();
    m_bufferAt = 0;
    m_next = *position;
    m_exhausted = false;
    // A name with no value before the new place has none there: a value from
    // later on would show what has not happened yet.
    Feed feed(*this);
    for (std::size_t name = 0; name < last.size(); ++name) {
        const std::optional<ReplayRow>& row = last[name];
        feed.Value(m_file->names()[name], row.has_value() ? row->value : std::numeric_limits<double>::quiet_NaN(),
                   row.has_value() ? row->sourceTime : std::numeric_limits<double>::quiet_NaN());
    }
    Anchor(time);
    emit replayChanged();
}

void ReplayInput::setSpeed(double speed)
{
    speed = std::clamp(speed, kSlowest, kFastest);
    if (speed == m_speed)
        return;
    if (isPlaying()) {
        const double shown = m_shown;
        Anchor(unboundedPosition());
        m_shown = shown;
    }
    m_speed = speed;
    emit replayChanged();
}

double ReplayInput::unboundedPosition() const
{
    if (!isPlaying())
        return m_anchorTime;
    const std::chrono::duration<double> elapsed = Clock::now() - m_anchorAt;
    return m_anchorTime + elapsed.count() * m_speed;
}

double ReplayInput::position() const
{
    return isPlaying() ? m_shown : m_anchorTime;
}

QTime ReplayInput::timeOfDay() const
{
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(position() * kMillisecondsPerSecond))).time();
}

void ReplayInput::Anchor(double time)
{
    m_anchorTime = time;
    m_anchorAt = Clock::now();
    m_shown = time;
}

const ReplayRow* ReplayInput::NextRow()
{
    if (m_exhausted || m_file == nullptr)
        return nullptr;
    if (m_bufferAt == m_buffer.size()) {
        m_bufferAt = 0;
        if (m_next >= m_file->endPosition()) {
            m_buffer.clear();
        } else if (!m_file->Read(m_next, m_file->endPosition(), kChunkRows, m_buffer, m_next)) {
            Fail(QStringLiteral("%1: %2").arg(m_file->path(), m_file->error()));
            return nullptr;
        }
        if (m_buffer.empty()) {
            m_exhausted = true;
            return nullptr;
        }
    }
    const ReplayRow& row = m_buffer[m_bufferAt];
    if (row.time > m_range.to) {
        m_exhausted = true;
        return nullptr;
    }
    return &row;
}

void ReplayInput::Deliver(double until, std::size_t maxRows)
{
    Feed feed(*this);
    std::size_t stored = 0;
    for (;;) {
        const ReplayRow* row = NextRow();
        if (row == nullptr || row->time > until) {
            m_shown = std::max(m_shown, until);
            break;
        }
        if (stored == maxRows) {
            // Behind: the clock shows what has been stored so far.
            break;
        }
        feed.Value(m_file->names()[std::size_t(row->name)], row->value, row->sourceTime);
        m_shown = std::max(m_shown, row->time);
        ++m_bufferAt;
        ++stored;
    }
    if (stored > 0) {
        counters().messages += stored;
        CountReceived(0);
    }
}

void ReplayInput::Tick()
{
    const double now = unboundedPosition();
    Deliver(std::min(now, m_range.to), kRowsPerTick);
    if (m_file == nullptr || !m_exhausted || now < m_range.to)
        return;
    if (m_loop) {
        if (now >= std::max(m_range.to, m_range.from + kShortestLoopSeconds)) {
            // The clock stands at the start again: what is stored there shows
            // at once, not a turn later.
            Seek(m_range.from);
            if (m_file != nullptr)
                Deliver(m_range.from, kRowsPerTick);
        }
        return;
    }
    Anchor(m_range.to);
    m_ticks.stop();
    log().LogLine(QStringLiteral("%1: reached the end at %2").arg(name(), TimeText(m_range.to)));
    emit replayChanged();
}

}  // namespace vexa::server
