#include "session/AspectarianFind.h"

#include "calendar/DateFormat.h"

#include <algorithm>
#include <cmath>

namespace orbivex {

AspectarianFind::AspectarianFind(const Ephemeris& ephemeris, const AspectarianRequest& request)
    : ephemeris_(ephemeris), request_(request) {
    reached_ = request_.from;
    if (OnThread()) {
        worker_.Post([this](const Ephemeris& own) { Search(own); });
    }
}

AspectarianFind::~AspectarianFind() {
    Cancel();
}

void AspectarianFind::Advance() {
    if (OnThread() || Finished()) {
        return;
    }
    Search(ephemeris_);
}

void AspectarianFind::Search(const Ephemeris& ephemeris) {
    std::vector<ExactAspect> events = FindExactAspects(ephemeris, request_, [this](double reached) {
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
