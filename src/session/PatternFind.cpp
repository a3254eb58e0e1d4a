#include "session/PatternFind.h"

#include "calendar/CalendarYears.h"
#include "calendar/DateFormat.h"

#include <QElapsedTimer>
#include <cmath>

namespace orbivex {
using enum ChartMode;

PatternFind::PatternFind(const ProgramState& state, const Ephemeris& ephemeris,
                         const PatternRun& run)
    : state_(state), ephemeris_(ephemeris), run_(run), context_{ephemeris_} {
    // Nothing is shown between the steps: the chart alone, without its texts.
    context_.chartOnly = true;
    state_.mode = WorldTransits;
    start_ = state_.ChartJulianDays[WorldDate].julianDay;
    zone_ = MomentZoneOf(state_.dateSets[WorldDate], state_.zones);
    reached_ = start_;
    outcome_.worldDate = state_.dateSets[WorldDate];
    if (OnThread()) {
        // The steps compute with this search's own ephemeris, which starts from closed files
        // on the worker's thread; the worker has pointed that thread at the same files.
        search_ = worker_.Post([this](const Ephemeris&) {
            while (!Step()) {
            }
        });
    }
    // Otherwise the window advances the search in slices.
}

PatternFind::~PatternFind() {
    Cancel();
}

void PatternFind::Cancel() {
    cancel_ = true;
    if (search_.valid()) {
        search_.wait();
    }
    if (!Finished()) {
        FindOutcome outcome = Outcome();
        outcome.end = FindOutcome::End::Cancelled;
        Finish(outcome);
    }
}

void PatternFind::Advance(int milliseconds) {
    if (OnThread() || Finished()) {
        return;
    }
    QElapsedTimer timer;
    timer.start();
    while (!Step() && timer.elapsed() < milliseconds) {
    }
}

bool PatternFind::Step() {
    if (Finished()) {
        return true;
    }
    if (cancel_.load(std::memory_order_relaxed)) {
        FindOutcome outcome = Outcome();
        outcome.end = FindOutcome::End::Cancelled;
        Finish(outcome);
        return true;
    }
    const RunStepResult step = StepRun(state_, context_, run_);
    FindOutcome outcome;
    if (!step.stands) {
        outcome = Outcome();
        outcome.stop = step.stop;
        outcome.compute = step.step.compute;
        outcome.end = step.stop.notFound ? FindOutcome::End::NotFound : FindOutcome::End::Failed;
        Finish(outcome);
        return true;
    }
    steps_.fetch_add(1, std::memory_order_relaxed);
    reached_.store(state_.ChartJulianDays[WorldDate].julianDay, std::memory_order_relaxed);
    if (!step.stop.found) {
        return false;
    }
    outcome.end = FindOutcome::End::Found;
    outcome.worldDate = state_.dateSets[WorldDate];
    outcome.steps = StepsTaken();
    outcome.stop = step.stop;
    Finish(outcome);
    return true;
}

void PatternFind::Finish(FindOutcome outcome) {
    {
        const std::lock_guard lock(mutex_);
        outcome.steps = StepsTaken();
        if (outcome.end != FindOutcome::End::Found) {
            outcome.worldDate = state_.dateSets[WorldDate];
        }
        outcome_ = std::move(outcome);
    }
    finished_.store(true, std::memory_order_release);
}

FindOutcome PatternFind::Outcome() const {
    const std::lock_guard lock(mutex_);
    return outcome_;
}

double PatternFind::EndJulianDay() const {
    return EndDayOfCalendar(Calendar()) - 0.5;
}

} // namespace orbivex
