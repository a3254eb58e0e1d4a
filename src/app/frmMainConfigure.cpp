// The Configure command: the configuration window, shown modally over the main window.
#include "app/frmMain.h"

#include "app/frmConfigure.h"
#include "app/frmDurations.h"
#include "support/TextNumbers.h"

#include <cmath>
#include <cstdlib>

#include <QPushButton>
#include <QTimer>

namespace orbivex {

namespace {} // namespace

frmConfigure& frmMain::ConfigurationWindow() {
    if (!configure_) {
        configure_ = std::make_unique<frmConfigure>(state.settings, texts_, dialogs_, this);
        configure_->onSettingsCommitted = [this] { SettingsCommitted(); };
    }
    configure_->setStartupCompleted(blnStartupCompleted);
    return *configure_;
}

void frmMain::SettingsCommitted() {
    // A report on display no longer matches the settings.
    if (durations_ && durations_->isVisible()) {
        durations_->hide();
    }
    const CalendarChoice calendarBefore = state.dateSets[WorldDate].calendar;
    const std::array<Instant, NumDateSets> daysBefore = state.ChartJulianDays;
    const ChartMode modeBefore = state.recordedMode;
    SetCalendar(state.dateSets, state.settings.calendar);
    // The time-zone names may have changed; the orbs, colours and boldface rule act in Compute.
    SetUpTimezoneComboBoxes(true);
    cmdCompute_Click();
    UpdateClickHint();
    if (state.settings.calendar != calendarBefore && !blnDateError) {
        // The written dates stay and are read in the new calendar: a chart that thereby moved
        // says by how many days, lest the change pass unnoticed.
        const QString name =
            texts_.ProgramText(text::FirstCalendarName + static_cast<int>(state.settings.calendar));
        int moved = 0;
        if (state.recordedMode == modeBefore) {
            for (int s = 0; s < NumDateSets && moved == 0; ++s) {
                if (DateSetsOfMode(state.recordedMode)[s]) {
                    moved = static_cast<int>(
                        std::lround(state.ChartJulianDays[s].julianDay - daysBefore[s].julianDay));
                }
            }
        }
        SetStatus(moved == 0 ? texts_.ProgramTextWith(text::CalendarNote, name)
                             : texts_.ProgramTextWith(text::CalendarMoved, name,
                                                      QString::number(std::abs(moved))));
    }
}

void frmMain::cmdConfigure_Click() {
    ReadControls();
    state.settings.calendar = state.dateSets[WorldDate].calendar;
    frmConfigure& window = ConfigurationWindow();
    Timer1->stop();
    window.exec();
    if (!blnEnded) {
        Timer1->start();
    }
    if (window.blnAccept) {
        cmdCompute_Click();
        UpdateClickHint();
    }
}

} // namespace orbivex
