#pragma once

#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace marvoxa {

// Runs jobs on a pool of threads and hands their outputs back in the order the jobs were
// submitted. At most `capacity` jobs are waiting, running or unread at a time, so memory stays
// bounded however many jobs pass through (four a thread unless told). One thread submits
// and reads.
template <typename Output>
class OrderedPipeline {
public:
    using Job = std::function<Output()>;

    explicit OrderedPipeline(int threadCount = QThread::idealThreadCount(), int capacity = 0)
        : capacity_(
              static_cast<std::size_t>(capacity > 0 ? capacity : 4 * std::max(1, threadCount))) {
        for (int i = 0; i < std::max(1, threadCount); ++i) {
            threads_.emplace_back([this] { work(); });
        }
    }

    // Drops the jobs not started yet and waits for those running.
    ~OrderedPipeline() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        workAvailable_.notify_all();
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }

    OrderedPipeline(const OrderedPipeline&) = delete;
    OrderedPipeline& operator=(const OrderedPipeline&) = delete;

    // Submitting now would pass the capacity: read an output first.
    bool full() const {
        const std::lock_guard lock(mutex_);
        return slots_.size() >= capacity_;
    }

    // The output of every job submitted has been read.
    bool empty() const {
        const std::lock_guard lock(mutex_);
        return slots_.empty();
    }

    void submit(Job job) {
        {
            const std::lock_guard lock(mutex_);
            slots_.push_back({std::move(job), std::nullopt});
        }
        workAvailable_.notify_one();
    }

    // The output of the oldest unread job, once it is done. Only when !empty().
    Output takeNext() {
        std::unique_lock lock(mutex_);
        outputReady_.wait(lock, [this] { return slots_.front().output.has_value(); });
        Output output = std::move(*slots_.front().output);
        slots_.pop_front();
        ++firstSequence_;
        return output;
    }

private:
    struct Slot {
        Job job;
        std::optional<Output> output;
    };

    void work() {
        std::unique_lock lock(mutex_);
        while (true) {
            workAvailable_.wait(lock, [this] {
                return stopping_ || nextToStart_ < firstSequence_ + slots_.size();
            });
            if (stopping_) {
                return;
            }
            const std::size_t sequence = nextToStart_++;
            Job job = std::move(slots_[sequence - firstSequence_].job);
            lock.unlock();
            Output output = job();
            lock.lock();
            slots_[sequence - firstSequence_].output = std::move(output);
            // Only the oldest output is waited for; the others are read after it without waiting.
            if (sequence == firstSequence_) {
                outputReady_.notify_one();
            }
        }
    }

    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable outputReady_;
    std::deque<Slot> slots_;         // from the oldest unread job to the newest submitted
    std::size_t firstSequence_ = 0;  // the sequence number of slots_.front()
    std::size_t nextToStart_ = 0;    // the sequence number of the next job to start
    bool stopping_ = false;
    // Plain threads: Qt adopts them for drawing, and their joins are visible to
    // ThreadSanitizer, unlike QThread::wait.
    std::vector<std::thread> threads_;
};

}  // namespace marvoxa
