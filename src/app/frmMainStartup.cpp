// Start-up, Restore, Quit and the end of the program.
#include "app/MainWindowLayout.h"
#include "app/frmMain.h"

#include "app/Dialogs.h"
#include "app/frmConfigure.h"
#include "app/frmDurations.h"
#include "app/frmRun.h"
#include "app/frmView.h"
#include "calendar/Calendar.h"
#include "draw/LayoutUnits.h"
#include "present/Messages.h"
#include "session/StateFile.h"
#include "session/StateTransfer.h"
#include "support/Mnemonic.h"
#include "support/TextNumbers.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>

namespace orbivex {
using enum ChartMode;

namespace {

const QString CrLf = QStringLiteral("\r\n");

const QString GeometryKey = QStringLiteral("/geometry");

} // namespace

bool frmMain::LoadProgramText() {
    const QString path = QDir(setup_.programFolder).filePath(strProgramTextFile);
    if (texts_.Load(path) > 0) {
        return true;
    }
    loadFailure_ = texts_.LastLoadFailure();
    dialogs_.ShowMessage(nullptr, loadFailure_, QString(), Dialogs::Icon::Stop);
    return false;
}

bool frmMain::Form_Load() {
    blnStartupCompleted = false;
    Timer1->stop();

    if (!LoadProgramText()) {
        EndProgram();
        return false;
    }
    ephemeris_ = std::make_unique<Ephemeris>(setup_.programFolder);
    MakeRunController();

    // Window defaults: nothing computed yet, the commands of a computed chart hidden.
    state = ProgramState{};
    ShowModeOption(NoChartMode);
    optDegrees->setChecked(true);
    UpdateClickHint();
    lblTitle->clear();
    picTable->hide();
    for (QPushButton* hidden : {cmdHelp, cmdToggleGraphic, cmdReport, cmdQuit, cmdRun, cmdLoadState,
                                cmdSaveAs, cmdPrint}) {
        hidden->hide();
    }
    txbReport->hide();
    txbReport1->hide();
    lblURL->hide();
    for (QPushButton* clear : cmdClear) {
        clear->hide();
    }
    // Stepping waits for the first refresh, which knows the mode and the world date.
    cmdForwardBack[0]->setEnabled(false);
    cmdForwardBack[1]->setEnabled(false);

    // Captions, the step units and the date lists.
    SetLanguageDependentText();

    // The configuration: the defaults, then the time-zone names the registry keeps.
    const QDateTime now = Now();
    const int localOffset = TimezoneOffsetMinutes(now);
    state.settings = ConfigurationSettings::Defaults();
    SetTZDisp(state.settings, localOffset);
    WriteTZDispToRegistry(state.settings);
    SetWheelAppearance(state.settings);
    SetDisplayZodiacSectors(state.settings);
    state.settings.showOnlyOuter = false;
    state.settings.showOnlyEarth = false;

    // The time-zone lists, the world date's preselecting the computer's zone.
    state.zones = MakeTimeZones(localOffset, state.settings.northAmericanZones);
    SetUpTimezoneComboBoxes(false);

    SetSaveAsCaption();

    dialogs_.PopUp(this, texts_.ProgramText(text::LoadingData), 2000, 300, 2000, -1, -1);
    const Status plutoLoaded = ephemeris_->LoadPlutoTable(QString::fromLatin1(PlutoTableFileName));
    blnPlutoDataReadOK = plutoLoaded.has_value();
    runWindow_->SetNumBodies(blnPlutoDataReadOK ? MaxBodies : MaxBodies - 1);

    LoadUserStateOrStartFresh();
    savedState_ = FormatStateFile(ToStateFile(state));

    if (!blnPlutoDataReadOK) {
        show();
        dialogs_.ShowMessage(
            this,
            plutoLoaded.error() + CrLf + texts_.ProgramText(text::ProgramCannotWorkWithoutFile),
            texts_.ProgramText(text::PlutoTableMissingTitle), Dialogs::Icon::Exclamation);
        loadFailure_ = plutoLoaded.error();
        EndProgram();
        return false;
    }

    FitToScreen();
    RestoreGeometry();
    show();
    SetSaveAsCaption();
    for (QPushButton* shown :
         {cmdHelp, cmdToggleGraphic, cmdReport, cmdQuit, cmdSaveAs, cmdPrint}) {
        shown->show();
    }
    lblURL->show();
    Timer1->start();
    blnStartupCompleted = true;
    ShowWheelBeside();
    SyncCommands();
    runWindow_->Timer1->start();
    FocusCompute();
    if (startupDateFailure_) {
        const DateErrorText report = ReportDateError(texts_, *startupDateFailure_);
        dialogs_.ShowMessage(this, report.message, report.title, Dialogs::Icon::Information);
        startupDateFailure_.reset();
    }
    return true;
}

void frmMain::LoadUserStateOrStartFresh() {
    QDir().mkpath(setup_.userStateFolder);
    const QString path = UserStateFile();
    ComputeOutcome outcome;
    bool computed = false;
    if (QFileInfo::exists(path) && LoadState(path, state)) {
        WriteDisplayOptionsToRegistry(state.settings);
        outcome = ComputeAfterLoad(state, Context(), Now());
        computed = true;
    }
    if (!computed || !outcome) {
        // A zone this computer lacks: the chart of the present moment stands in, marked out of
        // date, while the controls keep the file's dates and the user is told once the window
        // shows.
        const bool unknownZone = computed && outcome.error().error == DateError::UnknownZone;
        const DateSets loaded = state.dateSets;
        if (unknownZone) {
            startupDateFailure_ = outcome.error();
        }
        outcome = StartFresh(state, Context(), Now());
        if (unknownZone) {
            state.dateSets = loaded;
        }
    }
    ShowTimezoneLists();
    ShowModeOption(state.mode);
    ShowDateSets();
    if (outcome) {
        ShowComputedChart();
    } else {
        ReportComputeError(outcome);
    }
    UpdateClickHint();
}

void frmMain::cmdRestore_Click() {
    const QString path = UserStateFile();
    if (!QFileInfo::exists(path)) {
        dialogs_.ShowMessage(this, texts_.ProgramText(text::NothingToRestore),
                             WithoutMnemonic(cmdRestore->text()), Dialogs::Icon::Information);
        return;
    }
    ReadControls();
    const Status loaded = LoadState(path, state);
    if (!loaded) {
        dialogs_.ShowMessage(this, loaded.error(), WithoutMnemonic(cmdRestore->text()),
                             Dialogs::Icon::Exclamation);
        return;
    }
    WriteDisplayOptionsToRegistry(state.settings);
    ShowTimezoneLists();
    ShowModeOption(state.mode);
    ShowDateSets();
    cmdCompute_Click();
    UpdateClickHint();
    // The dates and settings now come from the user state file, not from a file loaded before.
    SetStatus(texts_.ProgramText(text::LoadedFrom) + QLatin1Char(' ') + path);
    savedState_ = FormatStateFile(ToStateFile(state));
    PopUpAtButton(cmdRestore, texts_.ProgramText(text::StateRestored), 2400, 300, -2450, 475);
}

void frmMain::cmdQuit_Click() {
    if (blnJustSaved) {
        EndProgram();
        return;
    }
    const Dialogs::Answer answer = dialogs_.Ask(
        this, texts_.ProgramText(text::SaveBeforeQuitting), WithoutMnemonic(cmdQuit->text()),
        Dialogs::Buttons::YesNoCancel, Dialogs::Answer::No, Dialogs::Icon::Question);
    if (answer == Dialogs::Answer::Cancel) {
        return;
    }
    if (answer == Dialogs::Answer::Yes) {
        ReadControls();
        const Status saved = SaveState(UserStateFile(), state);
        if (!saved) {
            // The state the user asked to keep was not written: stay, so that nothing is lost.
            dialogs_.ShowMessage(this, saved.error(), WithoutMnemonic(cmdQuit->text()),
                                 Dialogs::Icon::Exclamation);
            return;
        }
    }
    EndProgram();
}

void frmMain::EndProgram() {
    Form_Unload();
    close();
}

void frmMain::RestoreGeometry() {
    if (!setup_.settingsGroup.isEmpty()) {
        const QByteArray stored = QSettings(QStringLiteral("Quillmark"), QStringLiteral("ORBX"))
                                      .value(setup_.settingsGroup + GeometryKey)
                                      .toByteArray();
        // Qt brings a window kept on a screen that is gone back onto one that is there.
        if (!stored.isEmpty() && restoreGeometry(stored)) {
            return;
        }
    }
    // The size the window was designed for, or less where the screen is smaller, centred.
    QSize size(LayoutUnitsToPixels(layout::StartWidth), LayoutUnitsToPixels(layout::StartHeight));
    size = size.expandedTo(minimumSizeHint());
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        // Room for the frame, whose size is known only once the window is shown.
        const QSize frame(16, 40);
        size = size.boundedTo(area.size() - frame);
        resize(size);
        move(area.left() + std::max(0, (area.width() - size.width() - frame.width()) / 2),
             area.top() + std::max(0, (area.height() - size.height() - frame.height()) / 2));
        return;
    }
    resize(size);
}

void frmMain::StoreGeometry() const {
    if (!setup_.settingsGroup.isEmpty() && blnStartupCompleted) {
        QSettings store(QStringLiteral("Quillmark"), QStringLiteral("ORBX"));
        store.setValue(setup_.settingsGroup + GeometryKey, saveGeometry());
    }
}

void frmMain::Form_Unload() {
    if (!blnEnded) {
        StoreGeometry();
    }
    blnEnded = true;
    Timer1->stop();
    if (Running()) {
        runController_->Stop();
    }
    if (runWindow_) {
        runWindow_->Timer1->stop();
    }
    for (QWidget* window : std::initializer_list<QWidget*>{view_.get(), durations_.get()}) {
        if (window) {
            window->hide();
        }
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing the window by its frame ends the program without the question of Quit.
    Form_Unload();
    event->accept();
}

} // namespace orbivex
