#pragma once
// Find: the pattern run of world transits at full speed, away from the window. The search
// steps a copy of the program state forward with the run's choices, computing each step's
// chart without its texts, until the stop test finds the pattern, the calendar ends or the
// user cancels. It works on a thread of its own, with its own ephemeris state, when the
// library keeps its state per thread; otherwise the window advances it in slices between
// events. Either way the window stays responsive and reads the progress as it goes.

#include "core/Ephemeris.h"
#include "core/WorkerPool.h"
#include "session/ExactMoments.h"
#include "session/PatternRun.h"
#include "session/ProgramState.h"

#include <atomic>
#include <mutex>

namespace orbivex {

struct FindOutcome {
    enum class End {
        Found,     // stop tells what was found
        NotFound,  // the calendar ended with a pattern chosen
        Failed,    // a step did not stand for another reason: compute holds its date error
        Cancelled, // the user cancelled
    };
    End end = End::Cancelled;
    DateSet worldDate;  // the world date set of the last step that stood
    int steps = 0;      // steps that stood
    RunStopResult stop; // Found and NotFound
    ComputeOutcome compute;
};

class PatternFind {
  public:
    // Starts the search from the state's world date with the run's choices; the state, the
    // run and the ephemeris are copied.
    PatternFind(const ProgramState& state, const Ephemeris& ephemeris, const PatternRun& run);
    // Cancels the search and waits for its worker.
    ~PatternFind();
    PatternFind(const PatternFind&) = delete;
    PatternFind& operator=(const PatternFind&) = delete;

    // Ends the search at its next step; Finished() is true when this returns.
    void Cancel();
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Whether the search works on a thread of its own; if not, Advance moves it on.
    bool OnThread() const { return worker_.Threads() > 0; }
    // On the calling thread: steps for up to `milliseconds`, unless the search is on a thread
    // of its own or finished.
    void Advance(int milliseconds);

    // The Julian date (UT) of the world date reached so far, and the steps taken.
    double ReachedJulianDay() const { return reached_.load(std::memory_order_relaxed); }
    int StepsTaken() const { return steps_.load(std::memory_order_relaxed); }
    double StartJulianDay() const { return start_; }
    // The world date's calendar, and the Julian date (UT) of the beginning of its year 2800 at
    // Greenwich, where the search ends at the latest.
    CalendarChoice Calendar() const { return state_.dateSets[WorldDate].calendar; }
    double EndJulianDay() const;
    // The zone and calendar of the world date, in which the progress shows the day reached.
    const MomentZone& Zone() const { return zone_; }

    // What the search found; meaningful once Finished() is true.
    FindOutcome Outcome() const;

  private:
    // One step; true when the search is over.
    bool Step();
    void Finish(FindOutcome outcome);

    ProgramState state_;
    Ephemeris ephemeris_;
    PatternRun run_;
    ComputeContext context_;
    double start_ = 0.0;
    MomentZone zone_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> finished_{false};
    std::atomic<double> reached_{0.0};
    std::atomic<int> steps_{0};
    mutable std::mutex mutex_; // guards outcome_
    FindOutcome outcome_;
    // Last, so that it ends first: its worker uses the members above.
    WorkerPool worker_{ephemeris_, 1};
    std::future<void> search_;
};

} // namespace orbivex
