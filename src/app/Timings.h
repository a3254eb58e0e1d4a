#pragma once
// Start-up and Compute timings of the desktop program, printed to the error output when the
// environment variable ORBIVEX_TIMINGS is set: the time from the launch of the process to the
// first painted window (the "Loading data ..." note left out), and the time a Compute pressed
// in the window takes until the window is repainted.

#include "app/QtDialogs.h"

#include <QElapsedTimer>
#include <QObject>

namespace orbivex {

class frmMain;

// Milliseconds from the start of this process to now; -1 where the system does not say.
double MillisecondsSinceProcessStart();

// The program's dialogs, keeping count of the time spent showing pop-up notes.
class TimedDialogs : public QtDialogs {
  public:
    void PopUp(QWidget* parent, const QString& message, int width, int height, int intervalMs,
               int top, int left) override;
    double popUpMilliseconds = 0.0;
};

// Waits for the window's first paint, then prints the start-up time and times Computes of
// each layout. With ORBIVEX_TIMINGS=exit the program ends after printing.
class StartupTimer : public QObject {
  public:
    StartupTimer(frmMain& window, const TimedDialogs& dialogs, bool exitAfterwards);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Report();

    frmMain& window_;
    const TimedDialogs& dialogs_;
    bool exitAfterwards_;
    bool painted_ = false;
};

} // namespace orbivex
