#pragma once
// Threads that compute positions. The Swiss Ephemeris keeps its state (search path, open files,
// the last results) per thread, so each worker holds its own copy of an Ephemeris, points its
// thread at that copy's files when it starts and closes them when it ends: no caller prepares
// or releases a thread's library state by hand.
//
// When the library's state is shared among threads (a build without thread-local storage), or
// no thread can be started, a pool has no workers and runs what is posted on the thread that
// posts it.

#include "core/Ephemeris.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace orbivex {

class WorkerPool {
  public:
    using Task = std::function<void(const Ephemeris&)>;

    // Up to `threads` workers (0: one for each core), each with a copy of `ephemeris`.
    explicit WorkerPool(const Ephemeris& ephemeris, int threads = 0);
    // Runs what was posted to its end, then ends the workers.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The workers started: 0 when posted work runs on the posting thread.
    int Threads() const { return static_cast<int>(threads_.size()); }

    // Runs task with its worker's ephemeris on the first worker free, or at once on the calling
    // thread (with the pool's own copy) in a pool without workers. The future is ready when the
    // task has ended and carries what it threw.
    std::future<void> Post(Task task);

  private:
    void Work(const Ephemeris& ephemeris);

    Ephemeris ephemeris_;
    std::mutex mutex_; // guards queue_ and stopping_
    std::condition_variable wake_;
    std::deque<std::packaged_task<void(const Ephemeris&)>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// Results made on the pool's workers and taken on the calling thread in order: make(index,
// ephemeris) gives the result of each index from 0 to count - 1, at most `ahead` of them
// made before they are taken (so that memory stays bounded however many there are);
// take(index, result) receives them in index order and returns false to stop (what is still
// being made is waited for and dropped). With `caller` (an ephemeris of the calling thread),
// the calling thread makes results too while the next one it needs is not ready. A pool
// without workers makes them on the calling thread.
template <class Result, class Make, class Take>
void MakeInOrder(WorkerPool& pool, std::size_t count, std::size_t ahead, Make make, Take take,
                 const Ephemeris* caller = nullptr) {
    ahead = std::max<std::size_t>(ahead, 1);
    // Each slot's future is ready when a worker has made its result; a result the calling
    // thread made has none.
    std::deque<std::pair<std::future<void>, std::optional<Result>>> pending;
    std::size_t posted = 0;
    const auto post = [&] {
        auto& slot = pending.emplace_back();
        const std::size_t index = posted++;
        std::optional<Result>* out = &slot.second;
        slot.first = pool.Post([&make, index, out](const Ephemeris& ephemeris) {
            out->emplace(make(index, ephemeris));
        });
    };
    const auto drain = [&] {
        for (auto& [done, result] : pending) {
            if (done.valid()) {
                done.wait();
            }
        }
    };
    for (std::size_t next = 0; next < count; ++next) {
        while (posted < count && posted < next + ahead) {
            post();
        }
        auto& front = pending.front();
        try {
            while (caller != nullptr && posted < count && front.first.valid() &&
                   front.first.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
                auto& slot = pending.emplace_back();
                const std::size_t index = posted++;
                slot.second.emplace(make(index, *caller));
            }
            if (front.first.valid()) {
                front.first.get();
            }
        } catch (...) {
            drain();
            throw;
        }
        Result result = std::move(*front.second);
        pending.pop_front();
        if (!take(next, std::move(result))) {
            drain();
            return;
        }
    }
}

} // namespace orbivex
