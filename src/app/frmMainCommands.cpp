// The main window's commands: Compute and the mode options, the date controls, Now and Clear,
// the state-file commands, Help and the address label.
#include "app/frmMain.h"

#include "app/DialogFlows.h"
#include "app/Dialogs.h"
#include "app/frmView.h"
#include "calendar/Calendar.h"
#include "draw/LayoutUnits.h"
#include "present/Messages.h"
#include "session/RememberedFolders.h"
#include "session/SaveTarget.h"
#include "session/StateFile.h"
#include "session/StateTransfer.h"
#include "session/Stepping.h"
#include "support/Mnemonic.h"
#include "support/StrProc.h"
#include "support/TextNumbers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace orbivex {
using enum ChartMode;

using text::LoadedFrom;

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The file-type entry of the state-file dialogs.
QString StateFileFilter(const ProgramTexts& texts) {
    return texts.ProgramText(text::StateFiles) + QStringLiteral(" (*.pat)");
}

} // namespace

// ---- Compute and the modes --------------------------------------------------------------

void frmMain::cmdCompute_Click() {
    if (!ephemeris_) {
        return;
    }
    ReadControls();
    blnDateError = false;
    const ComputeOutcome outcome = Compute(state, Context());
    // The conversion leaves the year boxes in their digits-only form and fills an empty hour
    // or zone with its default.
    ShowDateSets();
    if (!outcome) {
        ReportComputeError(outcome);
        return;
    }
    ShowComputedChart();
    if (!outcome->empty()) {
        SetStatus(ComputeNoteTexts(texts_, *outcome).join(QLatin1Char(' ')));
    }
}

void frmMain::ReportComputeError(const ComputeOutcome& outcome) {
    blnDateError = true;
    UpdateStaleMark();
    if (blnStartupCompleted) {
        const DateErrorText report = ReportDateError(texts_, outcome.error());
        dialogs_.ShowMessage(this, report.message, report.title, Dialogs::Icon::Information);
    }
}

void frmMain::ModeOptionSelected(ChartMode mode) {
    if (updatingControls_ || !ephemeris_) {
        return;
    }
    state.mode = mode;
    cmdCompute_Click();
    if (blnDateError && IsChartMode(state.recordedMode)) {
        // The chart of the recorded mode is still on display: its option comes back.
        ShowModeOption(state.recordedMode);
        state.mode = state.recordedMode;
    }
    blnDateError = false;
    if (!state.chartShown) {
        picTable->setVisible(view.grid.cellCount > 0);
    }
    // Forward and Back, Run and the toggle's caption follow the mode at once.
    RefreshControls(false);
    UpdateClickHint();
}

void frmMain::optPlanetary_Click() {
    ModeOptionSelected(WorldTransits);
}

void frmMain::optNatal_Click(int index) {
    ModeOptionSelected(index == 0 ? NatalFirst : NatalSecond);
}

void frmMain::optPersonal_Click(int index) {
    ModeOptionSelected(index == 0 ? PersonalFirst : PersonalSecond);
}

void frmMain::optSynastry_Click() {
    ModeOptionSelected(SynastryMode);
}

void frmMain::Label1_Click(int index) {
    if (index != WorldDate) {
        return;
    }
    // As a click on the option would: the grid follows at once.
    (optDegrees->isChecked() ? optRadians : optDegrees)->click();
}

// ---- The date controls ------------------------------------------------------------------

void frmMain::MarkStale(int dateSet) {
    SetStatus(StandingStatusText());
    // A course graph keeps its toggle: it is the one way back to the grid.
    if (!state.chartShown && !blnCourseGraphShown && ModeUsesDateSet(SelectedMode(), dateSet)) {
        cmdToggleGraphic->hide();
        cmdRun->hide();
    }
    UpdateStaleMark();
}

void frmMain::DateSelectionChanged(int dateSet, bool focusCompute) {
    if (updatingControls_) {
        return;
    }
    ReadControls();
    if (!isVisible()) {
        return;
    }
    MarkStale(dateSet);
    if (focusCompute) {
        FocusCompute();
    }
}

void frmMain::TypedDateTextFinished(int dateSet, QComboBox* box) {
    // Still focused: Enter was pressed. Otherwise the focus is leaving and stays where it goes.
    DateSelectionChanged(dateSet, box->lineEdit()->hasFocus());
}

void frmMain::cboMonthCE_Click(int dateSet) {
    DateSelectionChanged(dateSet, !keyboardChoice_);
}

void frmMain::cboDayCE_Click(int dateSet) {
    if (updatingControls_) {
        return;
    }
    DateSelectionChanged(dateSet, !keyboardChoice_);
    DateSet copy = state.dateSets[dateSet];
    cboDayCE[dateSet]->setToolTip(UpdateDayOfWeekTip(copy));
}

void frmMain::cboHour_Click(int dateSet) {
    DateSelectionChanged(dateSet, !keyboardChoice_);
}

void frmMain::cboTimezone_Click(int dateSet) {
    DateSelectionChanged(dateSet, !keyboardChoice_);
}

void frmMain::txbYearCE_KeyPress(int dateSet, int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        return;
    }
    ReadControls();
    if (ModeUsesDateSet(SelectedMode(), dateSet)) {
        cmdCompute_Click();
    }
}

void frmMain::txbYearCE_LostFocus(int dateSet) {
    if (updatingControls_ || !isVisible()) {
        return;
    }
    ReadControls();
    MarkStale(dateSet);
}

void frmMain::cmdNow_Click() {
    ReadControls();
    const QDateTime now = Now();
    SetWorldDateToNow(state.dateSets[WorldDate], state.zones, now, TimezoneOffsetMinutes(now));
    ShowDateSet(WorldDate);
    if (ModeSteps(SelectedMode())) {
        cmdCompute_Click();
    }
}

void frmMain::cmdClear_Click(int dateSet) {
    const Dialogs::Answer answer = dialogs_.Ask(
        this, ClearQuestionText(texts_, dateSet), WithoutMnemonic(cmdClear[dateSet]->text()),
        Dialogs::Buttons::YesNoCancel, Dialogs::Answer::No, Dialogs::Icon::Question);
    if (answer != Dialogs::Answer::Yes) {
        return;
    }
    ReadControls();
    ClearDateSet(state.dateSets[dateSet]);
    state.places[dateSet] = {};
    ShowDateSet(dateSet);
    cboDayCE[dateSet]->setToolTip(QString());
    MarkStale(dateSet);
}

// ---- State files ------------------------------------------------------------------------

void frmMain::MarkJustSaved() {
    blnJustSaved = true;
    intJustSavedTicks = 0;
    savedState_ = FormatStateFile(ToStateFile(state));
}

bool frmMain::StateChanged() {
    ReadControls();
    return FormatStateFile(ToStateFile(state)) != savedState_;
}

void frmMain::PopUpAtButton(const QWidget* button, const QString& message, int width, int height,
                            int leftOffset, int topOffset) {
    const QPoint corner = button->mapToGlobal(QPoint(0, 0));
    dialogs_.PopUp(this, message, width, height, 2000,
                   std::max(0, PixelsToLayoutUnits(corner.y()) + topOffset),
                   std::max(0, PixelsToLayoutUnits(corner.x()) + leftOffset));
}

void frmMain::cmdSave_Click() {
    ReadControls();
    const Status saved = SaveState(UserStateFile(), state);
    if (!saved) {
        dialogs_.ShowMessage(this, saved.error(), WithoutMnemonic(cmdSave->text()),
                             Dialogs::Icon::Exclamation);
        return;
    }
    MarkJustSaved();
    PopUpAtButton(cmdSave, texts_.ProgramText(text::StateSaved), 2400, 300, -2400, 450);
    FocusCompute();
}

void frmMain::cmdSaveAs_Click() {
    // With the chart or a course graph on display the same button saves the picture.
    if (ImageShown()) {
        SaveImage();
        return;
    }
    const QString title = texts_.ProgramText(text::SaveStateAsTitle);
    FolderRememberingDialogs stateFiles(dialogs_, FileKind::StateFile);
    const QString chosen =
        stateFiles.GetSaveFileName(this, title, StateFileFilter(texts_), QString());
    if (chosen.isEmpty()) {
        return;
    }
    // A name typed without an extension gets the one of its file type.
    const QString name = ConfirmedSaveTarget(dialogs_, this, chosen, QStringLiteral(".pat"),
                                             OtherExtension::Keep, title);
    if (name.isEmpty()) {
        return;
    }
    ReadControls();
    const Status saved = SaveState(name, state);
    if (!saved) {
        dialogs_.ShowMessage(this, saved.error(), WithoutMnemonic(cmdSaveAs->text()),
                             Dialogs::Icon::Exclamation);
        return;
    }
    MarkJustSaved();
    AddRecentFile(name);
    PopUpAtButton(cmdSaveAs, texts_.ProgramText(text::StateSaved), 2400, 350, -2350, 450);
    SetStatus(texts_.ProgramText(text::SavedTo) + QLatin1Char(' ') + name);
}

void frmMain::cmdLoadState_Click() {
    FolderRememberingDialogs stateFiles(dialogs_, FileKind::StateFile);
    const QString name = stateFiles.GetOpenFileName(this, texts_.ProgramText(text::LoadStateTitle),
                                                    StateFileFilter(texts_), QString());
    if (name.isEmpty()) {
        return;
    }
    LoadStateFrom(name);
}

void frmMain::LoadStateFrom(const QString& name) {
    ReadControls();
    const Status loaded = LoadState(name, state);
    if (!loaded) {
        dialogs_.ShowMessage(
            this, loaded.error() + CrLf + CrLf + texts_.ProgramText(text::LoadFailedNote),
            texts_.ProgramText(text::LoadFailedTitle), Dialogs::Icon::Exclamation);
        return;
    }
    WriteDisplayOptionsToRegistry(state.settings);
    const ComputeOutcome outcome = ComputeAfterLoad(state, Context(), Now());
    ShowTimezoneLists();
    ShowModeOption(state.mode);
    if (outcome) {
        ShowComputedChart();
        UpdateClickHint();
    } else {
        ReportComputeError(outcome);
    }
    SetStatus(texts_.ProgramText(text::LoadedFrom) + QLatin1Char(' ') + name);
    MarkJustSaved();
    AddRecentFile(name);
}

// ---- Help and the address label ---------------------------------------------------------

void frmMain::cmdHelp_Click() {
    if (!view_) {
        view_ = std::make_unique<frmView>(dialogs_, texts_, this);
    }
    ShowHelp(*view_, *this, setup_.programFolder, texts_);
}

void frmMain::lblURL_Click() {
    OpenUserManual(setup_.programFolder, texts_, dialogs_, this);
}

} // namespace orbivex
