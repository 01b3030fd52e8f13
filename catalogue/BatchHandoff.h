// Passes batches of work from one producing thread to one consuming thread and
// the emptied batches back again, so that a fixed few buffers serve the whole
// run: fresh memory for every batch would cost more than the work it holds.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>

template <typename Batch>
class BatchHandoff {
public:
    // `batches` buffers circulate; the producer can run at most that many
    // batches ahead of the consumer.
    explicit BatchHandoff(std::size_t batches) {
        for (std::size_t i = 0; i < batches; ++i) {
            m_empty.push_back(std::make_unique<Batch>());
        }
    }

    // Producer side. An emptied batch to fill, waiting for one if need be;
    // null once the consumer has stopped, which tells the producer to stop.
    std::unique_ptr<Batch> TakeEmpty() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_consuming || !m_empty.empty(); });
        if (!m_consuming) {
            return nullptr;
        }
        return Pop(m_empty);
    }
    void PassFull(std::unique_ptr<Batch> batch) { Push(m_full, std::move(batch)); }
    // No more batches will come.
    void FinishProducing() {
        const std::lock_guard lock(m_mutex);
        m_producing = false;
        m_changed.notify_all();
    }

    // Consumer side. The next filled batch in the order passed, waiting for
    // one if need be; null once the producer has finished and all are taken.
    std::unique_ptr<Batch> TakeFull() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_producing || !m_full.empty(); });
        return m_full.empty() ? nullptr : Pop(m_full);
    }
    void ReturnEmpty(std::unique_ptr<Batch> batch) { Push(m_empty, std::move(batch)); }
    // The consumer takes no more batches (it failed); the producer is told so.
    void StopConsuming() {
        const std::lock_guard lock(m_mutex);
        m_consuming = false;
        m_changed.notify_all();
    }

private:
    using Queue = std::deque<std::unique_ptr<Batch>>;

    static std::unique_ptr<Batch> Pop(Queue& queue) {
        std::unique_ptr<Batch> batch = std::move(queue.front());
        queue.pop_front();
        return batch;
    }
    void Push(Queue& queue, std::unique_ptr<Batch> batch) {
        const std::lock_guard lock(m_mutex);
        queue.push_back(std::move(batch));
        m_changed.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    Queue m_empty;
    Queue m_full;
    bool m_producing = true;
    bool m_consuming = true;
};
