#pragma once
// How a window answers while work goes on beside it: the event loop runs for a while with a
// 10 ms timer, and every tenth tick repaints the window; the timer's longest lateness is how
// late the window answers events. The loop is a local one: quitting the application would
// close the window, and with it the work being measured.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace orbivex::bench {

// The value of `--screenshot` on the command line (a file or a prefix of file names); ""
// when it is not given.
inline QString ScreenshotArgument() {
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

inline double Milliseconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

struct Responsiveness {
    double longestWait = 0.0;    // ms the 10 ms timer was late at the most
    double longestRepaint = 0.0; // ms
};

// Runs the event loop for `milliseconds`, calling `halfway` (when given) half-way through.
inline Responsiveness ProbeWindow(QWidget& window, int milliseconds,
                                  const std::function<void()>& halfway = {}) {
    Responsiveness result;
    int ticks = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        result.longestWait = std::max(result.longestWait, Milliseconds(sinceTick) - 10.0);
        sinceTick.restart();
        if (++ticks % 10 == 0) {
            QElapsedTimer repaint;
            repaint.start();
            window.repaint();
            result.longestRepaint = std::max(result.longestRepaint, Milliseconds(repaint));
        }
    });
    probe.start();
    QEventLoop loop;
    if (halfway) {
        QTimer::singleShot(milliseconds / 2, &loop, halfway);
    }
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return result;
}

} // namespace orbivex::bench
