#include "session/AspectarianFind.h"

#include "calendar/DateFormat.h"

#include <algorithm>
#include <cmath>
#include <system_error>

namespace orbivex {

AspectarianFind::AspectarianFind(const Ephemeris& ephemeris, const AspectarianRequest& request)
    : ephemeris_(ephemeris), request_(request) {
    reached_ = request_.from;
    if (!EphemerisStateIsPerThread()) {
        return; // Advance searches on the window's thread
    }
    try {
        thread_ = std::thread([this] {
            // The library's state belongs to this thread: point it at the same files, and
            // close them again at the end.
            ephemeris_.UseOnThisThread();
            Search();
            Ephemeris::ReleaseThisThread();
        });
    } catch (const std::system_error&) {
        // No thread to be had: Advance searches on the window's thread.
    }
}

AspectarianFind::~AspectarianFind() {
    Cancel();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void AspectarianFind::Advance() {
    if (OnThread() || Finished()) {
        return;
    }
    Search();
}

void AspectarianFind::Search() {
    std::vector<ExactAspect> events =
        FindExactAspects(ephemeris_, request_, [this](double reached) {
            reached_.store(reached, std::memory_order_relaxed);
            return !Cancelled();
        });
    if (!Cancelled()) {
        const std::lock_guard lock(mutex_);
        events_ = std::move(events);
    }
    finished_.store(true, std::memory_order_release);
}

double AspectarianFind::Share() const {
    const double span = request_.to - request_.from;
    if (!(span > 0.0)) {
        return 1.0;
    }
    return std::clamp((ReachedJulianDay() - request_.from) / span, 0.0, 1.0);
}

std::vector<ExactAspect> AspectarianFind::TakeEvents() {
    if (!Finished() || Cancelled()) {
        return {};
    }
    const std::lock_guard lock(mutex_);
    return std::move(events_);
}

} // namespace orbivex
