// Moving through time: Forward and Back, the once-a-second refresh of the controls, the
// double-click on a grid cell, the Report command and the pattern run.
#include "app/frmMain.h"

#include "app/Dialogs.h"
#include "app/PictureBox.h"
#include "app/frmConfigure.h"
#include "app/frmDurations.h"
#include "app/frmRun.h"
#include "core/Orbs.h"
#include "draw/LayoutUnits.h"
#include "present/DurationsReport.h"
#include "present/PatternTexts.h"
#include "session/Durations.h"
#include "session/Stepping.h"
#include "support/Mnemonic.h"
#include "support/TextNumbers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace orbivex {
using enum ChartMode;

namespace {} // namespace

bool frmMain::Running() const {
    return runController_ && runController_->Running();
}

bool frmMain::Stepping() const {
    return blnStepping || (runController_ && runController_->Stepping());
}

// ---- Forward and Back -------------------------------------------------------------------

void frmMain::cmdForwardBack_Click(int index) {
    if (!ephemeris_ || Running() || (index != 0 && index != 1)) {
        return;
    }
    ReadControls();
    blnStepping = true;
    const WorldStepOutcome outcome =
        StepWorldDate(state, Context(), state.stepUnitIndex, index == 0);
    if (outcome.stepped) {
        // The stepped date, or the date before the step when the stepped one did not convert.
        ShowDateSets();
        if (outcome.compute) {
            ShowComputedChart();
        } else {
            ReportComputeError(outcome.compute);
        }
    }
    blnStepping = false;
}

void frmMain::cboForwardBack_Click() {
    if (isVisible() && cmdForwardBack[0]->isEnabled()) {
        cmdForwardBack[0]->setFocus();
    }
}

// ---- Once a second ----------------------------------------------------------------------

void frmMain::Timer1_Timer() {
    RefreshControls(true);
}

void frmMain::RefreshControls(bool countTick) {
    ReadControls();
    ControlStateInputs inputs;
    inputs.running = Running();
    inputs.courseGraphShown = blnCourseGraphShown;
    inputs.chartVisible = picGraphic->isVisibleTo(this);
    inputs.toggleVisible = cmdToggleGraphic->isVisibleTo(this);
    inputs.minimized = isMinimized();
    inputs.configurationVisible = configure_ && configure_->isVisible();
    inputs.justSaved = blnJustSaved;
    inputs.justSavedTicks = intJustSavedTicks;
    inputs.runWindowVisible = runWindow_ && runWindow_->isVisible();
    inputs.runPatternChosen = runWindow_ && runWindow_->PatternChosen();
    const ControlState controls = RefreshControlState(state, inputs, texts_);

    for (int s = 0; s < NumDateSets; ++s) {
        ShowDateSet(s); // the year box in its digits-only form
        cmdClear[s]->setVisible(controls.clearVisible[s]);
        cboDayCE[s]->setToolTip(controls.dayTips[s]);
    }
    for (QWidget* stepping :
         std::initializer_list<QWidget*>{cmdForwardBack[0], cmdForwardBack[1], cboForwardBack}) {
        stepping->setEnabled(controls.forwardEnabled);
    }
    cmdRun->setVisible(controls.runVisible);
    cmdToggleGraphic->setText(controls.toggleCaption);
    if (blnCourseGraphShown) {
        // Whatever happened meanwhile, the graph always offers its way back.
        cmdToggleGraphic->show();
        cmdToggleGraphic->setEnabled(true);
    }
    if (controls.hideConfiguration) {
        configure_->cmdHide_Click();
    }
    if (countTick) {
        blnJustSaved = controls.justSaved;
        intJustSavedTicks = controls.justSavedTicks;
    }
    if (inputs.runWindowVisible) {
        runWindow_->EnableSoughtBodyLists(controls.runBodyListsEnabled);
    }
    UpdateStaleMark();
}

// ---- Durations --------------------------------------------------------------------------

void frmMain::txbCell_DblClick(int cell) {
    if (!ephemeris_ || Running() || blnCourseGraphShown) {
        return;
    }
    const CellDoubleClick decision = DecideCellDoubleClick(state, *ephemeris_, texts_, cell);
    switch (decision.action) {
    case CellDoubleClick::Action::None:
    case CellDoubleClick::Action::ClearSelection: // the cells keep no selection to clear
        return;
    case CellDoubleClick::Action::FocusCompute:
        break;
    case CellDoubleClick::Action::CourseGraph:
        ShowCourseGraph(decision);
        break;
    case CellDoubleClick::Action::AskForReport:
        if (dialogs_.Ask(this, CellDoubleClickQuestion(decision, texts_), decision.title,
                         Dialogs::Buttons::YesNo, Dialogs::Answer::No,
                         Dialogs::Icon::Question) == Dialogs::Answer::Yes) {
            ShowDurationsReport();
        }
        break;
    }
    FocusCompute();
}

void frmMain::cmdReport_Click() {
    if (durations_ && durations_->isVisible()) {
        durations_->hide();
        return;
    }
    if (!state.chart.aspects.empty()) {
        ShowDurationsReport();
        return;
    }
    const ChartMode mode = SelectedMode();
    const bool personal = mode == PersonalFirst || mode == PersonalSecond;
    dialogs_.ShowMessage(
        this, texts_.ProgramText(personal ? text::NoPersonalTransits : text::NoAspectsInChart),
        WithoutMnemonic(cmdReport->text()), Dialogs::Icon::Information);
}

void frmMain::ShowDurationsReport() {
    if (!ephemeris_) {
        return;
    }
    if (!durations_) {
        durations_ = std::make_unique<frmDurations>(dialogs_, texts_, this);
    }
    // The refresh rests while the searches of the report run.
    Timer1->stop();
    // The report opens over the window from the top of the chart area down.
    const int chartTop = chartArea->mapTo(this, QPoint(0, 0)).y();
    const int titleBar = geometry().top() - frameGeometry().top();
    durations_->Report(
        state, *ephemeris_,
        {frameGeometry(), titleBar + chartTop, palette().color(QPalette::Window), windowIcon()});
    if (!blnEnded) {
        Timer1->start();
    }
}

// ---- The pattern run --------------------------------------------------------------------

void frmMain::MakeRunController() {
    runWindow_ = std::make_unique<frmRun>(run, texts_, dialogs_, this);
    const QColor back = palette().color(QPalette::Window);
    runWindow_->SetBackColour(Rgb(back.red(), back.green(), back.blue()));
    PatternRunController::Callbacks callbacks;
    callbacks.runningChanged = [this](bool running) { RunningChanged(running); };
    callbacks.computed = [this](const RunStepResult&) { RunStepComputed(); };
    callbacks.stepFailed = [this](const RunStepResult& result) { RunStepFailed(result); };
    callbacks.found = [this](const RunStopResult& stop) { PatternFound(stop); };
    // A run waits while any question or message is open, the Quit question among them.
    callbacks.paused = [this] { return dialogs_.DialogOpen(); };
    runController_ =
        std::make_unique<PatternRunController>(state, *ephemeris_, run, std::move(callbacks), this);
    // Find searches from the world date of the controls, with the choices just made.
    runWindow_->SetFindSource(
        [this] { return std::make_unique<PatternFind>(state, *ephemeris_, run); });
}

void frmMain::cmdRun_Click() {
    if (!runController_) {
        return;
    }
    ReadControls();
    runController_->cmdRun_Click([this] {
        for (;;) {
            const int toggleLeft = cmdToggleGraphic->mapToGlobal(QPoint(0, 0)).x();
            // Its height is known only once its layout has sized it.
            runWindow_->adjustSize();
            runWindow_->ShowModal(RunWindowTopLeft(frameGeometry().bottom(), toggleLeft,
                                                   runWindow_->frameGeometry().height()));
            const std::optional<FindOutcome> found = runWindow_->TakeFind();
            if (!found) {
                return !run.cancelled;
            }
            // As at the end of a run: the chart of the date found, the message, and the run
            // window again to search on from there.
            state.dateSets[WorldDate] = found->worldDate;
            blnDateError = false;
            const ComputeOutcome outcome = Compute(state, Context());
            ShowDateSets();
            if (!outcome) {
                ReportComputeError(outcome);
                return false;
            }
            ShowComputedChart();
            PatternFound(found->stop, false);
        }
    });
}

void frmMain::RunningChanged(bool running) {
    cmdRun->setText(texts_.ProgramText(running ? text::StopRun : text::Run));
    // While a run goes on only its stop, Quit and the reports stay usable.
    EnableControls(!running, {cmdRun, cmdQuit, txbReport, txbReport1});
    if (!running) {
        RefreshControls(false);
    }
}

void frmMain::RunStepComputed() {
    ShowDateSets();
    ShowComputedChart();
}

void frmMain::RunStepFailed(const RunStepResult& result) {
    // The world date is back where it was before the step.
    ShowDateSets();
    if (result.stop.notFound) {
        // Said in place of the date error, which would only name the year 2800.
        blnDateError = true;
        dialogs_.ShowMessage(this, RunStopMessage(result.stop, texts_),
                             RunStopTitle(result.stop, texts_), Dialogs::Icon::Information);
    } else if (!result.step.compute) {
        ReportComputeError(result.step.compute);
    }
}

void frmMain::PatternFound(const RunStopResult& stop, bool offerRunWindow) {
    if (isMinimized()) {
        showNormal();
    }
    dialogs_.ShowMessage(this, RunStopMessage(stop, texts_), RunStopTitle(stop, texts_),
                         Dialogs::Icon::Information);
    ShowReports();
    if (!offerRunWindow) {
        return;
    }
    // Offers the run window again, to search on from the date just found.
    cmdRun_Click();
}

} // namespace orbivex
