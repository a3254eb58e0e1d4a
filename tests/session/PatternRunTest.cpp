#include "session/PatternRun.h"
#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "support/ProgramTexts.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;
using enum orbivex::PatternIndex;
using enum orbivex::ChartMode;

namespace {

ProgramTexts Texts() {
    return ProgramTexts::FromEntries({
        {4, QStringLiteral("World date")},
        {148, QStringLiteral("lies in or after the year 2800.")},
        {153, QStringLiteral("Date error")},
    });
}

PatternCounts CountsOf(PatternIndex pattern, int count) {
    PatternCounts counts;
    counts.count[static_cast<size_t>(pattern)] = count;
    return counts;
}

// The chart of three bodies in a grand trine (0°, 120°, 240°) and the others well away from
// them and from each other's aspects.
Chart GrandTrineOf(BodyIndex a, BodyIndex b, BodyIndex c, const SoughtBodies& sought = {}) {
    std::array<PositionSet, 2> positions{};
    double spare = 17.0;
    for (BodyIndex body : AllBodies) {
        positions[0][body] = Position(DegreesToRadians(spare));
        spare += 1.3;
    }
    positions[0][a] = Position(0.0);
    positions[0][b] = Position(DegreesToRadians(120.0));
    positions[0][c] = Position(DegreesToRadians(240.0));
    ChartRequest request;
    request.orbs(Trine, OrbColumn::OneChart) = DegreesToRadians(6.0);
    request.midpointOrb = DegreesToRadians(0.5);
    request.soughtBodies = sought;
    return ChartOfPositions(request, positions);
}

} // namespace

TEST(PatternRun, FindAtLeastStopsOnlyAtTheCountAskedFor) {
    PatternRun run;
    run.findAtLeast = true;
    run.numToFindIndex = 1; // "3"
    run.AcceptChoices(Kite, {0, 0, 0});
    EXPECT_FALSE(RunStopTest(run, CountsOf(Kite, 2)).found);
    const RunStopResult three = RunStopTest(run, CountsOf(Kite, 3));
    EXPECT_TRUE(three.found);
    EXPECT_EQ(three.count, 3);
    EXPECT_EQ(three.run.patternToFind, Kite);
    // Another pattern's count does not count.
    EXPECT_FALSE(RunStopTest(run, CountsOf(GrandTrine, 5)).found);

    run.findAtLeast = false;
    EXPECT_TRUE(RunStopTest(run, CountsOf(Kite, 1)).found);
    EXPECT_FALSE(RunStopTest(run, CountsOf(Kite, 0)).found);
}

TEST(PatternRun, NoPatternChosenNeverStops) {
    PatternRun run;
    run.AcceptChoices(NoPattern, {BodyNumber(Jupiter), 0, 0});
    PatternCounts all;
    all.count.fill(3);
    EXPECT_EQ(run.patternToFind, NoPattern);
    EXPECT_FALSE(RunStopTest(run, all).found);
}

// The run hears every grand trine of a chart; only one holding both sought bodies lets it stop.
TEST(PatternRun, SoughtBodiesMustAllBeInOneOccurrence) {
    PatternRun run;
    run.AcceptChoices(GrandTrine, {BodyNumber(Jupiter), 0, BodyNumber(Saturn)});
    EXPECT_EQ(run.soughtBodyCount, 2);
    EXPECT_TRUE(run.SeeksBodies());

    const Chart marsJupiterUranus = GrandTrineOf(Mars, Jupiter, Uranus);
    run.CheckSoughtBodies(marsJupiterUranus);
    EXPECT_EQ(run.foundBodyCount, 1);
    EXPECT_FALSE(run.soughtBodiesFound);
    EXPECT_FALSE(RunStopTest(run, marsJupiterUranus.patternCounts).found);

    run.BeginStep();
    const Chart jupiterSaturnNeptune = GrandTrineOf(Jupiter, Saturn, Neptune);
    run.CheckSoughtBodies(jupiterSaturnNeptune);
    EXPECT_TRUE(run.soughtBodiesFound);
    EXPECT_FALSE(run.SeeksBodies());
    EXPECT_TRUE(RunStopTest(run, jupiterSaturnNeptune.patternCounts).found);

    // A kite that holds them is not a grand trine.
    run.BeginStep();
    const std::array<BodyIndex, 4> kite{Jupiter, Saturn, Neptune, Mars};
    run.CheckSoughtBodies(Kite, kite);
    EXPECT_FALSE(run.soughtBodiesFound);

    // Midpoint configurations are heard too: Mars stands at the midpoint of Earth and Uranus.
    run.AcceptChoices(MidpointPattern, {BodyNumber(Mars), 0, 0});
    run.CheckSoughtBodies(GrandTrineOf(Earth, Mars, Uranus));
    EXPECT_TRUE(run.soughtBodiesFound);
}

// A run seeking bodies hears the 3-stelliums found before one lacking them, and none after.
TEST(PatternRun, ThreeStelliumsWithheldFromTheReportStillCount) {
    std::array<PositionSet, 2> positions{};
    const double degrees[] = {0, 10, 12, 14, 16, 100, 200, 230, 290, 330};
    for (BodyIndex body : AllBodies) {
        positions[0][body] = Position(DegreesToRadians(degrees[Index(body)]));
    }
    ChartRequest request;
    request.orbs(Conjunction, OrbColumn::OneChart) =
        DegreesToRadians(5.0); // Ea-Me-Ve, Me-Ve-Ma: no 4-stellium
    request.soughtBodies = {Mercury, {}, {}};
    const Chart chart = ChartOfPositions(request, positions);
    EXPECT_FALSE(chart.threeStelliumsWithheld);
    EXPECT_EQ(chart.patternCounts[ThreeStellium], 2);
    request.soughtBodies = {Earth, {}, {}};
    const Chart cut = ChartOfPositions(request, positions);
    EXPECT_TRUE(cut.threeStelliumsWithheld);
    EXPECT_EQ(cut.patternCounts[ThreeStellium], 1);

    PatternRun run;
    run.AcceptChoices(ThreeStellium, {BodyNumber(Earth), 0, 0});
    run.CheckSoughtBodies(cut);
    EXPECT_TRUE(run.soughtBodiesFound);
    EXPECT_TRUE(RunStopTest(run, cut.patternCounts).found);
}

// What one chart told about the sought bodies says nothing about the next: a run asking for
// three kites, one with Jupiter and Saturn, does not stop at three kites without them because
// an earlier chart had such a kite among two.
TEST(PatternRun, EachStepJudgesItsOwnChart) {
    PatternRun run;
    run.findAtLeast = true;
    run.numToFindIndex = 1;
    run.AcceptChoices(Kite, {BodyNumber(Jupiter), BodyNumber(Saturn), 0});
    const std::array<BodyIndex, 4> withBoth{Jupiter, Saturn, Neptune, Mars};
    run.CheckSoughtBodies(Kite, withBoth);
    EXPECT_FALSE(RunStopTest(run, CountsOf(Kite, 2)).found);
    run.BeginStep();
    EXPECT_FALSE(RunStopTest(run, CountsOf(Kite, 3)).found);
    EXPECT_EQ(run.foundBodyCount, 0);
}

TEST(PatternRun, RepeatedSoughtBodies) {
    EXPECT_TRUE(SoughtBodiesRepeat({BodyNumber(Mars), BodyNumber(Mars), 0}));
    EXPECT_TRUE(SoughtBodiesRepeat({BodyNumber(Mars), BodyNumber(Venus), BodyNumber(Mars)}));
    EXPECT_TRUE(SoughtBodiesRepeat({BodyNumber(Mars), BodyNumber(Mars), BodyNumber(Venus)}));
    EXPECT_TRUE(SoughtBodiesRepeat({0, BodyNumber(Pluto), BodyNumber(Pluto)}));
    EXPECT_FALSE(SoughtBodiesRepeat({0, 0, 0}));
    EXPECT_FALSE(SoughtBodiesRepeat({BodyNumber(Mars), 0, BodyNumber(Venus)}));
}

TEST(PatternRun, ChoicesCancelAndTheComputeContext) {
    PatternRun run;
    run.AcceptChoices(Yod, {0, BodyNumber(Neptune), 0});
    EXPECT_EQ(run.patternToFind, Yod);
    EXPECT_EQ(run.rememberedPattern, Yod);
    EXPECT_EQ(run.SoughtBodies, (SoughtBodies{std::nullopt, Neptune, std::nullopt}));
    EXPECT_EQ(run.RememberedBodies, (std::array<int, 3>{0, BodyNumber(Neptune), 0}));
    EXPECT_TRUE(run.bodiesSought);

    const Ephemeris ephemeris(test::ProgramFolder());
    const ComputeContext base{ephemeris};
    const ComputeContext seeking = run.StepContext(base);
    EXPECT_EQ(seeking.soughtBodies, run.SoughtBodies);
    // Found, or no bodies sought: nothing reaches Compute, so no 3-stellium goes missing.
    run.soughtBodiesFound = true;
    const ComputeContext found = run.StepContext(base);
    EXPECT_EQ(found.soughtBodies, SoughtBodies{});

    run.CancelChoices(Rectangle);
    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(run.patternToFind, Rectangle);
    EXPECT_EQ(run.rememberedPattern, Yod); // remembered only by the window's own clicks
    run.AcceptChoices(GrandTrine, {0, 0, 0});
    EXPECT_FALSE(run.cancelled);
    EXPECT_FALSE(run.bodiesSought);
    EXPECT_FALSE(run.SeeksBodies());
}

TEST(PatternRun, WaitBetweenSteps) {
    PatternRun run;
    EXPECT_EQ(RunWaitInterval(run, WorldTransits), 1000);
    run.runQuickly = true;
    EXPECT_EQ(RunWaitInterval(run, WorldTransits), 100);
    EXPECT_EQ(RunWaitInterval(run, PersonalFirst), 1000);
}

namespace {

// What the run's failure callback saw, without the program texts that word it.
QString FailureEvent(const DateFailure& failure) {
    return QStringLiteral("failed: date set %1, error %2")
        .arg(failure.dateSet)
        .arg(static_cast<int>(failure.error));
}

struct RunController : ::testing::Test {
    Ephemeris ephemeris{test::ProgramFolder()};
    ProgramTexts texts = Texts();
    ProgramState state;
    PatternRun run;
    std::vector<QString> events;

    void SetUp() override {
        ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
                  u""_s);
        state.zones = MakeTimeZones(0, false);
        state.mode = WorldTransits;
        state.stepUnitIndex = DayStep;
        // A grand trine forms on 5 March 2024.
        state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 1, 25, GreenwichTimezoneEntry};
    }

    PatternRunController::Callbacks Recorder() {
        PatternRunController::Callbacks callbacks;
        callbacks.computed = [this](const RunStepResult&) {
            events.push_back(QStringLiteral("computed %1").arg(state.dateSets[WorldDate].dayIndex));
        };
        callbacks.stepFailed = [this](const RunStepResult& result) {
            events.push_back(FailureEvent(result.step.compute.error()));
        };
        callbacks.found = [this](const RunStopResult& stop) {
            events.push_back(QStringLiteral("found: ") + PatternName(stop.run.patternToFind));
        };
        return callbacks;
    }
};

} // namespace

TEST_F(RunController, StepsOnEachTickUntilThePatternIsFound) {
    run.AcceptChoices(GrandTrine, {0, 0, 0});
    PatternRunController controller(state, ephemeris, run, Recorder());
    controller.Start();
    // The first step comes at once, then the wait.
    EXPECT_EQ(events, (std::vector<QString>{u"computed 2"_s}));
    EXPECT_TRUE(controller.Running());
    EXPECT_TRUE(controller.WaitingForTick());
    EXPECT_TRUE(controller.Timer2->isActive());
    EXPECT_EQ(controller.Timer2->interval(), 1000);
    for (int tick = 0; tick < 10 && controller.Running(); ++tick) {
        controller.Tick();
    }
    EXPECT_EQ(events, (std::vector<QString>{u"computed 2"_s, u"computed 3"_s, u"computed 4"_s,
                                            u"computed 5"_s, u"found: Grand trine"_s}));
    EXPECT_FALSE(controller.Running());
    EXPECT_FALSE(controller.Stepping());
    EXPECT_FALSE(controller.Timer2->isActive());
    EXPECT_EQ(controller.StepsTaken(), 4);
    EXPECT_GE(state.chart.patternCounts[GrandTrine], 1);
}

TEST_F(RunController, TheTimerPacesTheRunQuickly) {
    run.runQuickly = true;
    run.AcceptChoices(GrandTrine, {0, 0, 0});
    QEventLoop loop;
    PatternRunController::Callbacks callbacks = Recorder();
    callbacks.found = [&](const RunStopResult& stop) {
        events.push_back(QStringLiteral("found: ") + PatternName(stop.run.patternToFind));
        loop.quit();
    };
    PatternRunController controller(state, ephemeris, run, callbacks);
    controller.Start();
    EXPECT_EQ(controller.Timer2->interval(), 100);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit); // a run that never ends fails below
    loop.exec();
    EXPECT_FALSE(controller.Running());
    EXPECT_EQ(events.back(), u"found: Grand trine"_s);
    EXPECT_EQ(controller.StepsTaken(), 4);
}

TEST_F(RunController, StopDuringTheWaitEndsTheRun) {
    run.AcceptChoices(GrandTrine, {0, 0, 0});
    PatternRunController controller(state, ephemeris, run, Recorder());
    controller.Start();
    controller.Stop();
    EXPECT_FALSE(controller.Running());
    EXPECT_FALSE(controller.WaitingForTick());
    EXPECT_FALSE(controller.Stepping());
    EXPECT_FALSE(controller.Timer2->isActive());
    controller.Tick(); // a tick that was already queued changes nothing
    EXPECT_EQ(events, (std::vector<QString>{u"computed 2"_s}));
    EXPECT_EQ(state.dateSets[WorldDate].dayIndex, 2);
}

TEST_F(RunController, AStepIntoTheYear2800StopsSteppingButNotTheRun) {
    state.dateSets[WorldDate] = {QStringLiteral("2799"), 12, 30, 25, GreenwichTimezoneEntry};
    run.AcceptChoices(NoPattern, {0, 0, 0});
    PatternRunController::Callbacks callbacks = Recorder();
    PatternRunController* self = nullptr;
    bool steppingWhileRestored = false;
    callbacks.stepFailed = [&](const RunStepResult& result) {
        events.push_back(FailureEvent(result.step.compute.error()));
        steppingWhileRestored = self->Stepping();
    };
    PatternRunController controller(state, ephemeris, run, callbacks);
    self = &controller;
    controller.Start();
    controller.Tick();
    EXPECT_TRUE(steppingWhileRestored);
    EXPECT_EQ(events, (std::vector<QString>{u"computed 31"_s, u"failed: date set 0, error 3"_s}));
    // The world date is back on the last day that converts; the run waits for its Stop.
    EXPECT_EQ(state.dateSets[WorldDate].yearText, u"2799"_s);
    EXPECT_EQ(state.dateSets[WorldDate].dayIndex, 31);
    EXPECT_TRUE(controller.Running());
    EXPECT_FALSE(controller.Stepping());
    EXPECT_FALSE(controller.Timer2->isActive());
    controller.Stop();
    EXPECT_FALSE(controller.Running());
}

TEST_F(RunController, PersonalTransitsRunWithoutAStopTest) {
    state.mode = PersonalFirst;
    state.dateSets[FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
    run.AcceptChoices(GrandTrine, {0, 0, 0});
    run.runQuickly = true;
    PatternRunController controller(state, ephemeris, run, Recorder());
    controller.Start();
    EXPECT_EQ(controller.Timer2->interval(), 1000);
    for (int tick = 0; tick < 6; ++tick) {
        controller.Tick();
    }
    EXPECT_TRUE(controller.Running());
    EXPECT_EQ(controller.StepsTaken(), 7);
    EXPECT_EQ(state.dateSets[WorldDate].dayIndex, 8);
}

// The window answers a find by offering the run window again; Run there starts the next run
// from inside the callback. It begins once the finding step is over, not inside it.
TEST_F(RunController, ARunStartedFromTheFindGoesOn) {
    run.AcceptChoices(GrandTrine, {0, 0, 0});
    PatternRunController::Callbacks callbacks = Recorder();
    PatternRunController* self = nullptr;
    int restarts = 0;
    callbacks.found = [&](const RunStopResult& stop) {
        events.push_back(QStringLiteral("found: ") + PatternName(stop.run.patternToFind));
        if (restarts++ == 0) {
            run.AcceptChoices(Kite, {0, 0, 0});
            self->Start();
            events.push_back(QStringLiteral("restarted"));
        }
    };
    PatternRunController controller(state, ephemeris, run, callbacks);
    self = &controller;
    controller.Start();
    for (int tick = 0; tick < 10 && restarts == 0; ++tick) {
        controller.Tick();
    }
    EXPECT_EQ(events, (std::vector<QString>{u"computed 2"_s, u"computed 3"_s, u"computed 4"_s,
                                            u"computed 5"_s, u"found: Grand trine"_s,
                                            u"restarted"_s, u"computed 6"_s}));
    EXPECT_TRUE(controller.Running());
    EXPECT_TRUE(controller.WaitingForTick());
    controller.Tick();
    controller.Tick();
    EXPECT_EQ(events.back(), u"found: Kite"_s);
    EXPECT_FALSE(controller.Running());
}

TEST_F(RunController, TheRunCommandAsksOnlyInWorldTransitsAndOnlyWhenIdle) {
    run.AcceptChoices(NoPattern, {0, 0, 0});
    std::vector<bool> running;
    PatternRunController::Callbacks callbacks = Recorder();
    callbacks.runningChanged = [&](bool now) { running.push_back(now); };
    PatternRunController controller(state, ephemeris, run, callbacks);
    int asked = 0;
    bool answer = false;
    const auto ask = [&] {
        ++asked;
        return answer;
    };
    controller.cmdRun_Click(ask); // Cancel in the run window: nothing happens
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(controller.Running());
    EXPECT_TRUE(events.empty());
    answer = true;
    controller.cmdRun_Click(ask);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(controller.Running());
    controller.cmdRun_Click(ask); // Stop, without asking
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(controller.Running());
    EXPECT_EQ(running, (std::vector<bool>{true, false}));

    // Personal transits start at once.
    state.mode = PersonalSecond;
    state.dateSets[SecondBirthdate] = {QStringLiteral("1985"), 11, 2, 40, 14};
    controller.cmdRun_Click(ask);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(controller.Running());
    controller.Stop();
}
