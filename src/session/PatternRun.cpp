#include "session/PatternRun.h"

#include "support/ProgramTexts.h"

#include <QTimer>
#include <algorithm>

namespace orbivex {
using enum PatternIndex;
using enum ChartMode;

namespace {

constexpr int StepIntervalMs = 1000;
constexpr int QuickStepIntervalMs = 100;

} // namespace

bool PatternRun::SeeksBodies() const {
    return bodiesSought && !soughtBodiesFound;
}

void PatternRun::CheckSoughtBodies(PatternIndex pattern, std::span<const BodyIndex> bodies) {
    if (pattern != patternToFind) {
        return;
    }
    foundBodyCount = 0;
    for (const std::optional<BodyIndex>& sought : SoughtBodies) {
        if (sought && std::find(bodies.begin(), bodies.end(), *sought) != bodies.end()) {
            ++foundBodyCount;
        }
    }
    if (foundBodyCount == soughtBodyCount) {
        soughtBodiesFound = true;
    }
}

void PatternRun::CheckSoughtBodies(const Chart& chart) {
    for (const FoundPattern& found : chart.patterns) {
        if (!SeeksBodies()) {
            return;
        }
        CheckSoughtBodies(found.pattern, found.Bodies());
    }
    for (const MidpointConfiguration& midpoint : chart.midpoints) {
        if (!SeeksBodies()) {
            return;
        }
        CheckSoughtBodies(MidpointPattern, midpoint.bodies);
    }
}

void PatternRun::AcceptChoices(PatternIndex pattern, const std::array<int, 3>& bodyEntries) {
    patternToFind = IsPattern(pattern) ? pattern : NoPattern;
    soughtBodyCount = 0;
    for (size_t i = 0; i < SoughtBodies.size(); ++i) {
        SoughtBodies[i] = BodyOfNumber(bodyEntries[i]);
        RememberedBodies[i] = SoughtBodies[i] ? bodyEntries[i] : 0;
        soughtBodyCount += SoughtBodies[i] ? 1 : 0;
    }
    soughtBodiesFound = false;
    foundBodyCount = 0;
    bodiesSought = soughtBodyCount > 0;
    rememberedPattern = patternToFind;
    cancelled = false;
}

void PatternRun::CancelChoices(PatternIndex pattern) {
    cancelled = true;
    patternToFind = IsPattern(pattern) ? pattern : NoPattern;
}

void PatternRun::BeginStep() {
    foundBodyCount = 0;
    soughtBodiesFound = false;
}

ComputeContext PatternRun::StepContext(const ComputeContext& base) {
    ComputeContext context = base;
    context.soughtBodies = SeeksBodies() ? SoughtBodies : orbivex::SoughtBodies{};
    return context;
}

bool SoughtBodiesRepeat(const std::array<int, 3>& bodyEntries) {
    for (size_t i = 0; i < bodyEntries.size(); ++i) {
        for (size_t j = i + 1; j < bodyEntries.size(); ++j) {
            if (bodyEntries[i] > 0 && bodyEntries[i] == bodyEntries[j]) {
                return true;
            }
        }
    }
    return false;
}

RunStopResult RunStopTest(const PatternRun& run, const PatternCounts& counts) {
    const PatternIndex pattern = run.patternToFind;
    if (!IsPattern(pattern)) {
        return {};
    }
    const int n = counts[pattern];
    const bool enough = run.findAtLeast ? n >= run.NumToFind() : n > 0;
    if (!enough || !(run.soughtBodiesFound || !run.bodiesSought)) {
        return {};
    }
    return {.found = true, .notFound = false, .count = n, .run = run};
}

RunStepResult StepRun(ProgramState& state, const ComputeContext& context, PatternRun& run) {
    RunStepResult result;
    run.BeginStep();
    const ComputeContext stepContext = run.StepContext(context);
    result.step = StepWorldDate(state, stepContext, state.stepUnitIndex, true);
    if (result.step.stepped && result.step.compute) {
        run.CheckSoughtBodies(state.chart);
    }
    // A step that could not move the date would repeat the same chart for ever.
    result.stands = result.step.stepped && result.step.step.applied && !result.step.undone &&
                    result.step.compute.has_value();
    if (result.stands && state.mode == WorldTransits) {
        result.stop = RunStopTest(run, state.chart.patternCounts);
    } else if (!result.stands && state.mode == WorldTransits && !result.step.compute &&
               result.step.compute.error().error == DateError::FromYear2800) {
        // The walk has reached the end of the calendar: the pattern is not to be found.
        result.stop.notFound = IsPattern(run.patternToFind);
        result.stop.run = run;
    }
    return result;
}

int RunWaitInterval(const PatternRun& run, ChartMode mode) {
    return mode == WorldTransits && run.runQuickly ? QuickStepIntervalMs : StepIntervalMs;
}

PatternRunController::PatternRunController(ProgramState& state, const Ephemeris& ephemeris,
                                           PatternRun& run, Callbacks callbacks, QObject* parent)
    : QObject(parent), state_(state), context_{ephemeris}, run_(run),
      callbacks_(std::move(callbacks)) {
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, &PatternRunController::Tick);
}

void PatternRunController::cmdRun_Click(const std::function<bool()>& askRunWindow) {
    if (!running_ && state_.mode == WorldTransits && askRunWindow && !askRunWindow()) {
        return;
    }
    if (running_) {
        Stop();
    } else {
        Start();
    }
}

void PatternRunController::Start() {
    running_ = true;
    if (callbacks_.runningChanged) {
        callbacks_.runningChanged(true);
    }
    stepsTaken_ = 0;
    Timer2->stop();
    waitingForTick_ = false;
    if (inStep_) {
        startPending_ = true;
        return;
    }
    RunSteps();
}

void PatternRunController::Stop() {
    running_ = false;
    startPending_ = false;
    if (waitingForTick_) {
        Timer2->stop();
        waitingForTick_ = false;
        stepping_ = false;
    }
    if (callbacks_.runningChanged) {
        callbacks_.runningChanged(false);
    }
}

void PatternRunController::Tick() {
    Timer2->stop();
    if (!waitingForTick_) {
        return;
    }
    if (running_ && callbacks_.paused && callbacks_.paused()) {
        Timer2->start(RunWaitInterval(run_, state_.mode));
        return;
    }
    waitingForTick_ = false;
    if (!running_) {
        stepping_ = false;
        return;
    }
    RunSteps();
}

void PatternRunController::RunSteps() {
    // A run started again from inside a callback continues here rather than one level deeper.
    do {
        startPending_ = false;
        inStep_ = true;
        stepping_ = true;
        waitingForTick_ = false;
        const RunStepResult result = StepRun(state_, context_, run_);
        if (!result.stands) {
            // The window puts the world date back into its controls while the step still
            // counts as being applied, so that their change handlers do not compute again.
            if (callbacks_.stepFailed) {
                callbacks_.stepFailed(result);
            }
            stepping_ = false;
        } else {
            ++stepsTaken_;
            if (callbacks_.computed) {
                callbacks_.computed(result);
            }
            if (result.stop.found && running_) {
                running_ = false;
                stepping_ = false;
                if (callbacks_.runningChanged) {
                    callbacks_.runningChanged(false);
                }
                if (callbacks_.found) {
                    callbacks_.found(result.stop);
                }
            } else if (running_) {
                waitingForTick_ = true;
                Timer2->start(RunWaitInterval(run_, state_.mode));
            } else {
                stepping_ = false;
            }
        }
        inStep_ = false;
    } while (startPending_ && running_);
}

} // namespace orbivex
