// The Configure command: the configuration window, shown modally over the main window.
#include "app/frmMain.h"

#include "app/frmConfigure.h"
#include "app/frmDurations.h"

#include <QPushButton>
#include <QTimer>

namespace orbivex {

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
    SetCalendar(state.dateSets, state.settings.calendar);
    // The time-zone names may have changed; the orbs, colours and boldface rule act in Compute.
    SetUpTimezoneComboBoxes(true);
    cmdCompute_Click();
    UpdateClickHint();
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
