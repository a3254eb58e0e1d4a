#include "core/WorkerPool.h"

#include <system_error>

namespace orbivex {

WorkerPool::WorkerPool(const Ephemeris& ephemeris, int threads) : ephemeris_(ephemeris) {
    if (!EphemerisStateIsPerThread()) {
        return;
    }
    const int wanted =
        threads > 0 ? threads : static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    for (int worker = 0; worker < wanted; ++worker) {
        try {
            threads_.emplace_back([this] {
                // A copy made on this thread: its library state is this thread's own.
                const Ephemeris own(ephemeris_);
                own.UseOnThisThread();
                Work(own);
                Ephemeris::ReleaseThisThread();
            });
        } catch (const std::system_error&) {
            break; // no more threads to be had: the workers there are do the work
        }
    }
}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

std::future<void> WorkerPool::Post(Task task) {
    std::packaged_task<void(const Ephemeris&)> job(std::move(task));
    std::future<void> done = job.get_future();
    if (threads_.empty()) {
        job(ephemeris_);
        return done;
    }
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(job));
    }
    wake_.notify_one();
    return done;
}

void WorkerPool::Work(const Ephemeris& ephemeris) {
    for (;;) {
        std::packaged_task<void(const Ephemeris&)> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) {
                return; // stopping, and nothing left to do
            }
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        job(ephemeris);
    }
}

} // namespace orbivex
