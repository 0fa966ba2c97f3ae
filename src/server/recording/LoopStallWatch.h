#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace vexa::server::recording {

/// Measures how long the event loop was kept from its timers: a precise
/// timer that notes by how much each of its ticks came late. The recorder
/// runs it while it records and logs the longest delay, the figure by which
/// the recording's cost to the event loop is judged.
class LoopStallWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int kTickMs = 10;

    explicit LoopStallWatch(QObject* parent = nullptr);

    /// Starts afresh with no delay seen.
    void Start();
    void Stop();
    /// The longest delay of a tick since Start(), in milliseconds.
    qint64 longestStallMs() const { return m_longestMs; }

private:
    void Tick();

    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longestMs = 0;
};

}  // namespace vexa::server::recording
