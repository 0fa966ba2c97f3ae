#include "server/recording/RecordingQueue.h"

#include <utility>

namespace vexa::server::recording {

bool RecordingQueue::Push(RecordingBatch& batch)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_closed || (!batch.values.empty() && m_values + batch.values.size() > m_maxValues))
            return false;
        m_values += batch.values.size();
        m_batches.push_back(std::move(batch));
    }
    batch = RecordingBatch();
    m_ready.notify_one();
    return true;
}

RecordingQueue::PopResult RecordingQueue::Pop(RecordingBatch& batch, std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock lock(m_mutex);
    if (!m_ready.wait_until(lock, deadline, [this] { return !m_batches.empty() || m_closed; }))
        return PopResult::TimedOut;
    if (m_batches.empty())
        return PopResult::Closed;
    batch = std::move(m_batches.front());
    m_batches.pop_front();
    m_values -= batch.values.size();
    return PopResult::Batch;
}

void RecordingQueue::Close()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_ready.notify_one();
}

void RecordingQueue::Abandon()
{
    std::deque<RecordingBatch> dropped;
    {
        const std::lock_guard lock(m_mutex);
        dropped.swap(m_batches);
        m_values = 0;
        m_closed = true;
    }
    m_ready.notify_one();
}

}  // namespace vexa::server::recording
