#pragma once
// The aspectarian's search away from the window: the exact aspects of a span found on a thread
// of its own, with its own ephemeris state, when the library keeps its state per thread (else
// at once on the calling thread). The window reads the date reached as it goes, can cancel at
// any time and takes the events when the search is done.

#include "core/Ephemeris.h"
#include "core/ExactAspects.h"
#include "core/WorkerPool.h"
#include "session/ExactMoments.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace orbivex {

class AspectarianFind {
  public:
    // Starts the search; the ephemeris and the request are copied.
    AspectarianFind(const Ephemeris& ephemeris, const AspectarianRequest& request);
    // Cancels the search and waits for its worker, which stops within a stretch of days.
    ~AspectarianFind();
    AspectarianFind(const AspectarianFind&) = delete;
    AspectarianFind& operator=(const AspectarianFind&) = delete;

    // Asks the search to stop at its next stretch of days and returns at once; the events
    // found are dropped.
    void Cancel() { cancel_.store(true, std::memory_order_relaxed); }
    bool Cancelled() const { return cancel_.load(std::memory_order_relaxed); }
    // Whether the search works on a thread of its own; if not, Advance does it.
    bool OnThread() const { return worker_.Threads() > 0; }
    // On the calling thread: the whole search, unless it is on a thread of its own or done.
    void Advance();
    // True once the search has ended, found everything or been cancelled.
    bool Finished() const { return finished_.load(std::memory_order_acquire); }

    const AspectarianRequest& Request() const { return request_; }
    // The instant (UT) up to which the search is done, from Request().from to Request().to.
    double ReachedJulianDay() const { return reached_.load(std::memory_order_relaxed); }
    // The share of the span searched, 0 to 1.
    double Share() const;

    // Every event of the request, as FindExactAspects gives them, once the search has ended
    // without being cancelled; nothing before.
    std::vector<ExactAspect> TakeEvents();

  private:
    void Search(const Ephemeris& ephemeris);

    Ephemeris ephemeris_;
    AspectarianRequest request_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> finished_{false};
    std::atomic<double> reached_{0.0};
    std::mutex mutex_; // guards events_
    std::vector<ExactAspect> events_;
    // Last, so that it ends first: its worker uses the members above.
    WorkerPool worker_{ephemeris_, 1};
};

} // namespace orbivex
