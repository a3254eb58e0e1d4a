#pragma once
// The pattern run: the world date walks forward step by step, the chart is computed at each
// step, and the walk ends when the chart shows a chosen aspect pattern (at least one, or at
// least a chosen number of them, optionally one that involves up to three chosen bodies) or
// when the user stops it. Here are the run's choices and state, the body check of the patterns
// each step's chart holds, the stop test, one step of a run, and the timer-driven
// controller that paces the steps for the windows. The command-line program drives the same
// step at full speed.

#include "core/Chart.h"
#include "session/Compute.h"
#include "session/ProgramState.h"
#include "session/Stepping.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <span>

class QTimer;

namespace orbivex {

class Ephemeris;
class ProgramTexts;

// The choices of the run window and what a run learns while it goes on. The run window reads
// and writes these; each step's chart is told to the body check.
class PatternRun {
  public:
    bool cancelled = false; // the run window was left with Cancel or its close box
    PatternIndex patternToFind = PatternIndex::NoPattern;   // run until stopped
    std::array<std::optional<BodyIndex>, 3> SoughtBodies{}; // each list's body, if any
    int soughtBodyCount = 0;                                // lists with a body chosen
    bool bodiesSought = false;
    int foundBodyCount = 0; // sought bodies in the occurrence tested last
    bool soughtBodiesFound = false;
    bool findAtLeast = false; // "Find at least"
    int numToFindIndex = 0;   // entry of the "2".."9" list: entry i means i + 2
    bool runQuickly = false;  // "Run quickly"

    // What the run window shows again when it next opens: the pattern selection (NoPattern for
    // none) and the entries of the three sought-body lists.
    PatternIndex rememberedPattern = PatternIndex::NoPattern;
    std::array<int, 3> RememberedBodies{};

    int NumToFind() const { return numToFindIndex + 2; }

    // True while bodies are sought and no occurrence of the pattern has held them all yet.
    bool SeeksBodies() const;
    // The body check of a pattern occurrence: counts the sought bodies among the occurrence's
    // bodies when the pattern is the one sought, and marks the sought bodies found when it
    // holds them all.
    void CheckSoughtBodies(PatternIndex pattern, std::span<const BodyIndex> bodies);
    // The body check of every pattern and midpoint configuration of the chart, in report order,
    // for as long as bodies are sought.
    void CheckSoughtBodies(const Chart& chart);

    // Run in the run window with lists that name no body twice: takes the pattern list's
    // index and the three sought-body entries, and remembers them for the next showing.
    void AcceptChoices(PatternIndex pattern, const std::array<int, 3>& bodyEntries);
    // Cancel or the close box: no run, but the pattern chosen is still recorded.
    void CancelChoices(PatternIndex pattern);

    // Before each step: what the previous chart told about the sought bodies is forgotten, so
    // that a find always speaks of the chart it stops at.
    void BeginStep();

    // The context for a step's Compute: the sought bodies are passed only while bodies are
    // sought, since the 3-stellium search drops stelliums without them.
    ComputeContext StepContext(const ComputeContext& base);
};

// Whether two of the three sought-body lists name the same body (entries above 0).
bool SoughtBodiesRepeat(const std::array<int, 3>& bodyEntries);

// How the stop test judged a chart of a run, for the windows and orbivex-cli to tell.
struct RunStopResult {
    bool found = false;    // the chart shows the pattern sought, as often as asked
    bool notFound = false; // the walk reached the end of the year 2799 with a pattern chosen
    int count = 0;         // found: the patterns of the kind sought that the chart shows
    PatternRun run;        // the run's choices: the pattern, "Find at least", the sought bodies
};

// The stop test after each Compute of a run: whether the chart of this Compute shows the
// pattern sought, as often as asked and with the sought bodies. Never found while no pattern
// is chosen.
RunStopResult RunStopTest(const PatternRun& run, const PatternCounts& counts);

struct RunStepResult {
    WorldStepOutcome step;
    // The step moved the world date and the chart was computed for the new date. A step that
    // does not stand ends the stepping of the run.
    bool stands = false;
    // World transits only: personal transits have no stop test. A step that stands tells
    // whether the pattern was found; a step into the year 2800 with a pattern chosen leaves
    // found false and sets notFound.
    RunStopResult stop;
};

// One step of a run: forward by the program state's step unit, Compute, the body check of the
// chart's patterns while bodies are sought, and in world transits the stop test.
RunStepResult StepRun(ProgramState& state, const ComputeContext& context, PatternRun& run);

// The wait between two steps of a run: a second, or a tenth with "Run quickly" in world
// transits.
int RunWaitInterval(const PatternRun& run, ChartMode mode);

// Paces a run for the windows: one step at once, then after each wait the next, without a
// nested event loop. The order is step, Compute, stop test, wait; a Stop during the wait ends
// the run before another step is taken.
class PatternRunController : public QObject {
    Q_OBJECT

  public:
    struct Callbacks {
        // After each step's Compute that stood: the grid, the chart and the report are new.
        std::function<void(const RunStepResult&)> computed;
        // The step did not stand; the world date is back where it was (Stepping() is still
        // true while this is called). The run stops stepping but stays marked as running
        // (the stop caption stays) until Stop.
        std::function<void(const RunStepResult&)> stepFailed;
        // The pattern was found. The run is over (Running() is false, runningChanged has
        // told so) when this is called; the window shows the message and offers the run
        // window again through cmdRun_Click, which may start a new run from inside the call.
        std::function<void(const RunStopResult&)> found;
        // A run began (true) or ended (false): the Run command's caption and which controls
        // of the main window are usable follow this.
        std::function<void(bool running)> runningChanged;
        // While this answers true (a dialog is open, such as the Quit question), a step that
        // comes due waits another interval: nothing changes under an open question.
        std::function<bool()> paused;
    };

    PatternRunController(ProgramState& state, const Ephemeris& ephemeris, PatternRun& run,
                         Callbacks callbacks, QObject* parent = nullptr);

    // The main window's Run command: when no run is going on, in world transits the run
    // window is asked first (askRunWindow shows it and returns false for Cancel, which ends
    // the command), then a run starts; while a run is going on, it stops.
    void cmdRun_Click(const std::function<bool()>& askRunWindow);

    // Starts a run: Running() becomes true and the first step is taken at once (or, when
    // called from inside a callback of a step, as soon as that step is over).
    void Start();
    // Ends the run: Running() becomes false and a waiting step ends without stepping again.
    void Stop();

    bool Running() const { return running_; }
    // A step is being applied or waits for the next; the date controls' change
    // handlers must not compute meanwhile.
    bool Stepping() const { return stepping_; }
    bool WaitingForTick() const { return waitingForTick_; } // waiting for the next step
    int StepsTaken() const { return stepsTaken_; }          // steps that stood in this run

    // The pacing timer; tests may shorten its interval before it fires, or fire it by hand
    // through Tick.
    QTimer* Timer2 = nullptr;
    // What the timer's tick does: the wait is over, unless the run is paused.
    void Tick();

  private:
    void RunSteps();

    ProgramState& state_;
    ComputeContext context_;
    PatternRun& run_;
    Callbacks callbacks_;
    bool running_ = false;
    bool stepping_ = false;
    bool waitingForTick_ = false;
    bool inStep_ = false;
    bool startPending_ = false;
    int stepsTaken_ = 0;
};

} // namespace orbivex
