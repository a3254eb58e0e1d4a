// Find in the run window: how fast the search steps, and whether the window stays responsive
// while it does. Prints the day steps a second of the search alone, then, with the run window
// searching, the longest wait of a 10 ms timer (how late the window answers events), the
// longest repaint of the window and how long Cancel takes to end the search; optionally saves
// a picture of the window while it searches.
//
// Usage: orbivex-find-bench [--screenshot FILE.png]   (QT_QPA_PLATFORM=offscreen without a
// display). Targets: at least 50000 day steps a second; events, repaints and Cancel within
// 100 ms.
#include "BenchSupport.h"
#include "WindowProbe.h"
#include "app/QtDialogs.h"
#include "app/frmRun.h"
#include "core/Bodies.h"
#include "session/Compute.h"
#include "session/PatternFind.h"
#include "session/PatternRun.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>

#include <cstdio>
#include <thread>

using namespace orbivex;
using enum orbivex::PatternIndex;
using enum orbivex::ChartMode;

namespace {

// A search that never ends by itself: a grand sextile counts once at most, so "at least 2" is
// never met. From 1600 on, day by day.
PatternRun NeverFound() {
    PatternRun run;
    run.findAtLeast = true;
    run.numToFindIndex = 0;
    run.AcceptChoices(GrandSextile, {});
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString screenshot = bench::ScreenshotArgument();
    bench::Data data;
    if (!data.ok) {
        std::fprintf(stderr, "orbivex-find-bench: the data files are not beside the program\n");
        return 2;
    }
    ProgramState state = bench::ChartState(WorldTransits);
    state.dateSets[WorldDate].yearText = QStringLiteral("1600");
    state.stepUnitIndex = 1; // a day
    if (!Compute(state, {data.ephemeris})) {
        return 2;
    }
    PatternRun run = NeverFound();

    // The search alone.
    {
        PatternFind find(state, data.ephemeris, run);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const int steps = find.StepsTaken();
        const bool onThread = find.OnThread();
        QElapsedTimer cancel;
        cancel.start();
        find.Cancel();
        std::printf("search alone (%s): %d day steps in 3 s, %.0f day steps a second; Cancel "
                    "took %.2f ms\n",
                    onThread ? "own thread" : "slices", steps, steps / 3.0,
                    bench::Milliseconds(cancel));
    }

    // The run window searching.
    QtDialogs dialogs;
    frmRun window(run, data.texts, dialogs);
    window.SetFindSource([&] { return std::make_unique<PatternFind>(state, data.ephemeris, run); });
    window.show();
    window.cboAspectPattern->setCurrentIndex(PatternNumber(GrandSextile));
    window.chkTwoOrMore->setChecked(true);
    window.cmdFind->click();

    // The window stays open throughout, so that Cancel below ends a search under way.
    const auto [longestWait, longestRepaint] = bench::ProbeWindow(window, 3000, [&] {
        if (!screenshot.isEmpty()) {
            window.grab().save(screenshot);
        }
    });
    const int progress = window.prgFind->value();
    const QString reached = window.prgFind->format();
    QElapsedTimer cancel;
    cancel.start();
    window.cmdCancel->click();
    const double cancelMs = bench::Milliseconds(cancel);
    std::printf("run window searching for 3 s: reached %s (%.1f%% of the way to 2800); a 10 ms "
                "timer was at most %.1f ms late; the longest repaint took %.1f ms; Cancel ended "
                "the search in %.2f ms (still finding: %s)\n",
                qPrintable(reached), progress / 10.0, longestWait, longestRepaint, cancelMs,
                window.Finding() ? "yes" : "no");
    if (!screenshot.isEmpty()) {
        std::printf("picture of the window while searching: %s\n", qPrintable(screenshot));
    }
    std::printf("targets: at least 50000 day steps a second; events, repaints and Cancel within "
                "100 ms\n");
    return 0;
}
