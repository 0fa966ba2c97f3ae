#pragma once

#include "server/recording/RecordingBatch.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace vexa::server::recording {

/// The bounded hand-over between the event loop and the recorder's writer
/// thread. The event loop never waits on it: a batch that does not fit is
/// refused at once, and the lock is held only to move a batch in or out.
class RecordingQueue {
public:
    /// A queue that holds at most \p maxValues values.
    explicit RecordingQueue(std::size_t maxValues) : m_maxValues(maxValues) {}

    /// Appends \p batch unless its values would exceed the bound; false,
    /// with \p batch untouched, when they would or the queue is closed. A
    /// batch without values always fits.
    bool Push(RecordingBatch& batch);

    enum class PopResult { Batch, TimedOut, Closed };
    /// Takes the oldest batch into \p batch, waiting for one up to
    /// \p deadline. Closed once the queue is closed and empty.
    PopResult Pop(RecordingBatch& batch, std::chrono::steady_clock::time_point deadline);

    /// No more batches will come; the writer takes what is queued and ends.
    void Close();
    /// Drops everything queued and closes: the writer ends at its next turn.
    void Abandon();

private:
    const std::size_t m_maxValues;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<RecordingBatch> m_batches;
    std::size_t m_values = 0;
    bool m_closed = false;
};

}  // namespace vexa::server::recording
