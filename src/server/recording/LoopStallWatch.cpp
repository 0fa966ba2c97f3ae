#include "server/recording/LoopStallWatch.h"

#include <algorithm>

namespace vexa::server::recording {

LoopStallWatch::LoopStallWatch(QObject* parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &LoopStallWatch::Tick);
}

void LoopStallWatch::Start()
{
    m_longestMs = 0;
    m_since.invalidate();
    m_timer.start();
}

void LoopStallWatch::Stop()
{
    m_timer.stop();
}

void LoopStallWatch::Tick()
{
    // The first tick only sets the clock: the watch may start before the
    // event loop runs (at the server's start), and that wait is no stall.
    if (m_since.isValid())
        m_longestMs = std::max(m_longestMs, m_since.elapsed() - kTickMs);
    m_since.start();
}

}  // namespace vexa::server::recording
