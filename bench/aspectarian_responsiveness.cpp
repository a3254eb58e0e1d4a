// The aspectarian window: how long the search of every exact aspect takes, and whether the
// window stays responsive while it goes on. Prints the time of a century and of the whole
// calendar searched alone, then, with the window listing the whole calendar, the longest wait
// of a 10 ms timer (how late the window answers events), the longest repaint, and how long
// Cancel, a new listing and hiding the window take while a search is under way; optionally
// saves pictures of the window while it searches and when it is done.
//
// Usage: orbivex-aspectarian-bench [--screenshot PREFIX]   (QT_QPA_PLATFORM=offscreen without
// a display; pictures PREFIX-listing.png and PREFIX-done.png). Targets: events, repaints,
// Cancel and hiding within 100 ms.
#include "BenchSupport.h"
#include "WindowProbe.h"
#include "app/QtDialogs.h"
#include "app/frmAspectarian.h"
#include "present/Aspectarian.h"
#include "session/AspectarianFind.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <cstdio>

using namespace orbivex;

namespace {

// Seconds to find every event of the span alone, and how many there are.
std::pair<double, std::size_t> SearchAlone(const Ephemeris& ephemeris, double from, double to) {
    const AspectarianRequest request = AspectarianRequestOf(ConfigurationSettings{}, from, to);
    QElapsedTimer timer;
    timer.start();
    const std::size_t count = FindExactAspects(ephemeris, request).size();
    return {bench::Milliseconds(timer) / 1000.0, count};
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString screenshot = bench::ScreenshotArgument();
    bench::Data data;
    if (!data.ok) {
        std::fprintf(stderr,
                     "orbivex-aspectarian-bench: the data files are not beside the program\n");
        return 2;
    }

    constexpr double Year1900 = 2415020.5;
    constexpr double Year2000 = 2451544.5;
    const auto [century, centuryEvents] = SearchAlone(data.ephemeris, Year1900, Year2000);
    std::printf("search alone: 1900-1999 %.2f s (%zu events)\n", century, centuryEvents);

    QtDialogs dialogs;
    frmAspectarian window(dialogs, data.texts, data.ephemeris, [](double) {});
    MomentZone zone;
    window.Open(1999, zone, ConfigurationSettings{});
    // The whole calendar, listed from the first year.
    QElapsedTimer whole;
    const auto listAll = [&] {
        window.optSpan->setChecked(true);
        window.txbFrom->setDate(QDate(1, 1, 1));
        window.txbTo->setDate(QDate(2799, 12, 31));
        whole.start();
        window.cmdList->click();
    };
    while (window.Listing()) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    listAll();

    const auto [longestWait, longestRepaint] = bench::ProbeWindow(window, 3000, [&] {
        if (!screenshot.isEmpty()) {
            window.grab().save(screenshot + QStringLiteral("-listing.png"));
        }
    });

    // Cancel, a new listing and hiding, each with a search under way.
    const QString reached = window.prgList->format();
    const int progress = window.prgList->value();
    QElapsedTimer cancel;
    cancel.start();
    window.cmdCancel->click();
    const double cancelMs = bench::Milliseconds(cancel);
    const bool stillListing = window.Listing();
    listAll();
    QApplication::processEvents(QEventLoop::AllEvents, 500);
    QElapsedTimer relist;
    relist.start();
    window.cmdList->click();
    const double relistMs = bench::Milliseconds(relist);
    QApplication::processEvents(QEventLoop::AllEvents, 500);
    QElapsedTimer hide;
    hide.start();
    window.hide();
    const double hideMs = bench::Milliseconds(hide);

    std::printf("window listing 1-2799 for 3 s: reached %s (%.1f%%); a 10 ms timer was at most "
                "%.1f ms late; the longest repaint took %.1f ms; Cancel took %.2f ms (still "
                "listing: %s); a new listing over a running one %.2f ms; hiding %.2f ms\n",
                qPrintable(reached), progress / 10.0, longestWait, longestRepaint, cancelMs,
                stillListing ? "yes" : "no", relistMs, hideMs);

    // The whole calendar to the end, in the window.
    window.show();
    listAll();
    while (window.Listing()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    std::printf("window listing 1-2799 to the end: %.1f s, %d events\n",
                bench::Milliseconds(whole) / 1000.0, window.Model().rowCount());
    if (!screenshot.isEmpty()) {
        window.txbYear->setValue(2024);
        window.cmdList->click();
        while (window.Listing()) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        window.grab().save(screenshot + QStringLiteral("-done.png"));
        std::printf("pictures: %s-listing.png, %s-done.png\n", qPrintable(screenshot),
                    qPrintable(screenshot));
    }
    std::printf("targets: events, repaints, Cancel and hiding within 100 ms\n");
    return 0;
}
