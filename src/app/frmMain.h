#pragma once
// The main window: the three date sets, the chart modes, the commands and the aspect grid. It
// owns the program state for the life of the program and binds its controls to it; every
// computation is done by the plain code of session/, present/ and draw/.

#include "core/Ephemeris.h"
#include "draw/ChartWheel.h"
#include "draw/CourseGraph.h"
#include "present/ChartView.h"
#include "session/Compute.h"
#include "session/PatternRun.h"
#include "session/ProgramState.h"
#include "support/ProgramTexts.h"

#include <QDateTime>
#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QStringListModel;
class QTimer;

namespace orbivex {

class Dialogs;
class PictureBox;
class frmAbout;
class frmConfigure;
class frmAspectarian;
class frmDurations;
class frmRun;
class frmView;
class frmLibrary;
class frmLibraryChart;
struct LibraryChart;
struct CellDoubleClick;
struct DateSetControls;

// Where the window finds its files and its clock. The program uses ForThisProgram(); tests
// point the folders at temporary ones and fix the clock.
struct frmMainSetup {
    QString programFolder;   // orbx.dat, orbx_help.txt and the Pluto table
    QString userStateFolder; // where the user state file lives; created when missing
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // The group of the settings store that keeps the window's size and place and the recent
    // state files; empty (as in the tests) keeps none of them.
    QString settingsGroup;
    // The chart library file; "" for orbivex-charts.sqlite beside the user state file.
    QString libraryFile;

    // The executable's folder and the "Quillmark" folder in the per-user data folder.
    static frmMainSetup ForThisProgram();
};

class frmMain : public QMainWindow {
    Q_OBJECT

  public:
    frmMain(Dialogs& dialogs, frmMainSetup setup, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: texts, tables, date lists, configuration, time zones, Pluto table, the user
    // state file or the present moment, the first Compute, then the window is shown. Returns
    // false when the program must end; the reason has been shown to the user.
    bool Form_Load();

    // ---- Commands ----
    void cmdCompute_Click();
    void cmdNow_Click();
    void cmdClear_Click(int dateSet);
    void cmdConfigure_Click();
    void cmdSave_Click();
    void cmdSaveAs_Click(); // the Save-as button while the grid is shown
    void cmdLoadState_Click();
    void cmdRestore_Click();
    void cmdHelp_Click();
    void cmdQuit_Click();
    // Loads a state file named by the user (Recent files, a file dropped on the window): asks
    // first whether to keep a changed state, as Load from does through its dialog.
    void LoadStateFile(const QString& path);
    // Edit > Copy: the grid as text, or the picture on display as an image.
    void CopyChart();
    // Help > Keys and Help > About.
    void ShowKeys();
    void ShowAbout();
    void Label1_Click(int index);
    void lblURL_Click();

    // Grid and chart: the chart toggle, a right click on the picture, a double-click on a cell.
    void cmdToggleGraphic_Click();
    void picGraphic_RightClick(QPoint pixel);
    void txbCell_DblClick(int cell);
    // The durations window of the last Compute: shown, or hidden when it is on display.
    void cmdReport_Click();
    // The chart library: its window, a chart of it loaded into a date set, a date set added.
    void cmdLibrary_Click();
    void LoadLibraryChart(const LibraryChart& chart, int dateSet);
    void AddToLibrary(int dateSet);
    // Opens the aspectarian of the world date's year.
    void cmdAspectarian_Click();
    // The world date becomes the moment (UT) of an aspectarian event, and the chart follows.
    void SetWorldDateToEvent(double jd);
    // The chart sheet of the last Compute: Print... shows it in the print preview, Ctrl+P goes
    // straight to the print dialog.
    void cmdPrint_Click();
    void PrintChartSheet();

    // Stepping the world date (0 Forward, 1 Back) and the step unit chosen.
    void cmdForwardBack_Click(int index);
    void cboForwardBack_Click();
    // Starts a pattern run (in world transits after the run window), or stops the one going on.
    void cmdRun_Click();

    // The mode options.
    void optPlanetary_Click();
    void optNatal_Click(int index);
    void optPersonal_Click(int index);
    void optSynastry_Click();

    // The date controls: a list selection changed, Enter in a year box, a year box left.
    void cboMonthCE_Click(int dateSet);
    void cboDayCE_Click(int dateSet);
    void cboHour_Click(int dateSet);
    void cboTimezone_Click(int dateSet);
    void txbYearCE_KeyPress(int dateSet, int key);
    void txbYearCE_LostFocus(int dateSet);

    // The once-a-second refresh of the controls' states.
    void Timer1_Timer();

    void UpdateTitle();
    void UpdateClickHint();
    // Dims the grid or the wheel and says that Compute will update it while the dates or the
    // mode differ from the chart on display; clears the mark otherwise.
    void UpdateStaleMark();
    // Rebuilds the three time-zone lists (North American names as configured).
    void SetUpTimezoneComboBoxes(bool preserveIndices);

    // ---- State ----
    ProgramState state;
    // The title, grid and report of the chart on display, rebuilt after each successful Compute.
    ChartView view;
    const ProgramTexts& texts() const { return texts_; }
    const Ephemeris* ephemeris() const { return ephemeris_.get(); }
    QString UserStateFile() const;
    // The program's name, the title of its own notes.
    QString ProgramName() const;
    const frmMainSetup& setup() const { return setup_; }

    bool blnStartupCompleted = false;
    bool blnPlutoDataReadOK = false;
    // A Forward or Back step is being applied.
    bool blnStepping = false;
    // The course graph of a personal transit occupies the chart picture.
    bool blnCourseGraphShown = false;
    // A pattern run is going on (blnRunning), and a step of the world date is being applied or
    // a run waits for its next step (blnStepping of either).
    bool Running() const;
    bool Stepping() const;
    // Set after a state file was written or loaded; Quit then ends without asking until
    // Timer1 has ticked more than five times.
    bool blnJustSaved = false;
    int intJustSavedTicks = 0;
    // Set when the last Compute stopped at a date that does not convert.
    bool blnDateError = false;
    // True once the program has ended (Quit, or a start-up that cannot go on).
    bool blnEnded = false;
    QString strProgramTextFile = QStringLiteral("orbx.dat");
    // The status line's text when nothing has been reported.
    QString StandingStatusText() const { return {}; }

    // ---- Controls ----
    std::array<QLabel*, NumDateSets> Label1{};
    std::array<QLineEdit*, NumDateSets> txbYearCE{};
    std::array<QComboBox*, NumDateSets> cboMonthCE{};
    std::array<QComboBox*, NumDateSets> cboDayCE{};
    std::array<QComboBox*, NumDateSets> cboHour{};
    std::array<QComboBox*, NumDateSets> cboTimezone{};
    std::array<QPushButton*, NumDateSets> cmdClear{};
    // The place of each date set, completed from the atlas as it is typed.
    std::array<QLineEdit*, NumDateSets> txtPlace{};

    QGroupBox* fraTransits = nullptr;
    QRadioButton* optPlanetary = nullptr;
    std::array<QRadioButton*, 2> optNatal{};
    std::array<QRadioButton*, 2> optPersonal{};
    QRadioButton* optSynastry = nullptr;
    QRadioButton* optDegrees = nullptr;
    QRadioButton* optRadians = nullptr;

    QPushButton* cmdCompute = nullptr;
    QPushButton* cmdNow = nullptr;
    QPushButton* cmdConfigure = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdSaveAs = nullptr;
    QPushButton* cmdLoadState = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdReport = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdToggleGraphic = nullptr;
    QPushButton* cmdRun = nullptr;
    std::array<QPushButton*, 2> cmdForwardBack{}; // 0 Forward, 1 Back
    QComboBox* cboForwardBack = nullptr;
    QPushButton* cmdQuit = nullptr;
    QPushButton* cmdAspectarian = nullptr;

    QWidget* picTable = nullptr;
    PictureBox* picGraphic = nullptr;
    std::array<QLabel*, AspectGrid::MaxCells> txbCell{};
    QLabel* lblTitle = nullptr;
    QLabel* lblClickonAspect = nullptr;
    // In the hint's place while the chart on display no longer answers to the dates and the mode.
    QLabel* lblStale = nullptr;
    // A pale veil over the grid or the wheel while lblStale shows; mouse clicks pass through it.
    QWidget* staleVeil = nullptr;
    QPlainTextEdit* txbReport = nullptr;
    QPlainTextEdit* txbReport1 = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblURL = nullptr;
    // The grid or the picture that takes its place, and on wide windows the wheel beside it.
    QWidget* chartArea = nullptr;
    PictureBox* picWheelBeside = nullptr;
    QSplitter* splChart = nullptr;
    // The commands of the menu bar; those of a button are the button's, enabled with it.
    struct MenuCommand {
        QAction* action = nullptr;
        QPushButton* button = nullptr; // none for a command only the menu offers
    };
    std::vector<MenuCommand> commands;
    QMenu* mnuRecent = nullptr;
    QAction* CommandOf(const QWidget* button) const;
    // The last ten state files saved or loaded, newest first.
    QStringList RecentFiles() const { return recentFiles_; }
    // How much the grid's cells are enlarged (1 at the size the grid was designed for).
    double GridScale() const { return gridScale_; }
    // Whether the window is wide enough to show the wheel beside the grid.
    bool WideLayout() const;
    QTimer* Timer1 = nullptr;
    frmView* helpView() const { return view_.get(); }
    // The configuration window, made the first time it is needed.
    frmConfigure& ConfigurationWindow();
    frmConfigure* configurationWindowIfMade() const { return configure_.get(); }
    // The durations window, made the first time a report is shown.
    frmDurations* durationsWindowIfMade() const { return durations_.get(); }
    frmAspectarian* aspectarianWindowIfMade() const { return aspectarian_.get(); }
    // The chart library window, made the first time it is needed, and the form of Add to
    // library.
    frmLibrary& LibraryWindow();
    frmLibrary* libraryWindowIfMade() const { return library_.get(); }
    frmLibraryChart* addToLibraryForm() const { return addToLibrary_; }
    // The library file the window uses.
    QString LibraryFile() const;
    // The run's choices, the run window and the controller that paces a run; made at start-up.
    PatternRun run;
    frmRun* runWindow() const { return runWindow_.get(); }
    PatternRunController* runController() const { return runController_.get(); }
    // The last chart wheel drawn and the course graph on display.
    const WheelDrawing& wheel() const { return wheel_; }
    const CourseGraph& courseGraph() const { return courseGraph_; }

    // The mode the option buttons select.
    ChartMode SelectedMode() const;
    // The six mode options in chart-mode order.
    std::array<QRadioButton*, NumChartModes> ModeOptions() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab and Shift+Tab follow the reading order, also out of the boxes that take typed text,
    // whose edit fields sit in Qt's focus chain where the box was created.
    bool focusNextPrevChild(bool next) override;

  private:
    void CreateControls();
    // The menu bar: an action for every command, with its key.
    void CreateMenus();
    void AddRecentFile(const QString& path);
    void ShowRecentFiles();
    // The menu's copy of its button: caption, and enabled while the button is shown and enabled.
    void SyncCommand(const MenuCommand& command);
    void SyncCommands();
    // The chart filters and the wheel's look chosen from the View menu.
    void SetWheelLook(const std::function<void(ConfigurationSettings&)>& change);
    // The library's key and the rows' "Add to library" menus.
    void SetUpLibraryCommands();
    // The place boxes, completed from the atlas; the date rows' layout places them.
    void SetUpPlaceBoxes();
    // The completion of a place box, made when a place is first typed into it.
    void MakePlaceCompleter(int dateSet);
    // The completion of a zone box from the names of the time-zone database, made when the box
    // first takes the focus (or a name is typed), not at start-up.
    void MakeZoneCompleter(int dateSet);
    // A place chosen from the completion, or typed and finished with Enter or Tab.
    void PlaceChosen(int dateSet, const Place& place, const QString& text);
    // The date set without a place; `text` stays in its box.
    void ForgetPlace(int dateSet, const QString& text);
    // What the place box shows for the date set's place.
    QString PlaceBoxText(int dateSet) const;
    void txtPlace_LostFocus(int dateSet);
    // Tab follows the controls in reading order.
    void SetTabOrder();
    QList<QWidget*> tabOrder_; // the controls in reading order
    // Names for screen readers and tips where a control's caption says too little.
    void NameControls();
    void SetLanguageDependentText();
    void FillDateLists();
    // The window's layouts; the date sets one row each, a column per part of a date.
    void BuildLayout();
    void AddDateSetRow(QGridLayout* grid, int dateSet);
    // A control's smallest width, in layout units, kept to be made smaller on a crowded screen.
    void SetMinimumWidth(QWidget* widget, int layoutUnits);
    // The controls' smallest widths and the window's fonts at `factor` of their usual size.
    void ApplyCompactness(double factor);
    // Makes the controls smaller where the screen cannot hold them at their usual size.
    void FitToScreen();
    // The grid scaled to fill the chart area, centred, and the picture filling it.
    void PlaceChartArea();
    // The wheel beside the grid on a wide window, hidden otherwise.
    void ShowWheelBeside();
    // The window's size, place and maximised state from the settings, or a size that fits the
    // screen; stored again when the program ends.
    void RestoreGeometry();
    void StoreGeometry() const;

    // Start-up and shutdown.
    bool LoadProgramText();
    void LoadUserStateOrStartFresh();
    void EndProgram();
    void Form_Unload();

    // Binding between the controls and the state.
    void ReadControls();
    void ShowDateSets();
    // Refills the time-zone lists with the texts of state.zones and shows the selections.
    void ShowTimezoneLists();
    void ShowDateSet(int dateSet);
    // The controls of a date set's row.
    DateSetControls DateSetRow(int dateSet) const;
    void ShowModeOption(ChartMode mode);
    void ShowGrid();
    void ShowCell(int index);
    void ShowReports();
    void ShowComputedChart();

    // The chart picture: the wheel of the last Compute in place of the grid, or the grid back.
    void ShowWheel();
    void ShowGridInsteadOfPicture();
    // Draws the wheel of the last Compute at the size it is shown; false when nothing could be
    // drawn (wheel_ says why).
    bool DrawWheel(double displayScale);
    // Whether the picture shows an image the Save-as button saves (the wheel or a course graph).
    bool ImageShown() const;
    void SaveImage();
    void ShowCourseGraph(const CellDoubleClick& decision);
    void EndCourseGraph();
    void ShowDurationsReport();

    // Timer1's refresh: countTick advances the just-saved count as a tick of the timer does.
    void RefreshControls(bool countTick);
    // Enables or disables every control of the window except those listed.
    void EnableControls(bool enabled, std::initializer_list<const QWidget*> except);
    void MakeRunController();
    void RunningChanged(bool running);
    void RunStepComputed();
    void RunStepFailed(const RunStepResult& result);
    // Says what a run or a find found; a run then offers the run window again (a find does so
    // itself).
    void PatternFound(const RunStopResult& stop, bool offerRunWindow = true);

    // Reactions shared by the commands.
    void ModeOptionSelected(ChartMode mode);
    void DateSelectionChanged(int dateSet, bool focusCompute = true);
    // The hour or zone box's typed text is finished: read it, as a choice from its list.
    void TypedDateTextFinished(int dateSet, QComboBox* box);
    void MarkStale(int dateSet);
    void FocusCompute();
    void SetSaveAsCaption();
    void SetStatus(const QString& text);
    void MarkJustSaved();
    // Whether the dates, mode or settings differ from those last saved or loaded.
    bool StateChanged();
    // Reads a state file and shows its chart; says why when it cannot be read.
    void LoadStateFrom(const QString& path);
    ComputeContext Context() const;
    QDateTime Now() const;
    // A pop-up placed relative to a button: layout units right of and below its top-left
    // corner on the screen (negative to go left or up).
    void PopUpAtButton(const QWidget* button, const QString& message, int width, int height,
                       int leftOffset, int topOffset);
    void ReportComputeError(const ComputeOutcome& outcome);
    // "Use settings" of the configuration window has committed.
    void SettingsCommitted();

    Dialogs& dialogs_;
    frmMainSetup setup_;
    ProgramTexts texts_;
    std::unique_ptr<Ephemeris> ephemeris_;
    std::unique_ptr<frmView> view_;
    std::unique_ptr<frmConfigure> configure_;
    std::unique_ptr<frmDurations> durations_;
    std::unique_ptr<frmAspectarian> aspectarian_;
    std::unique_ptr<frmLibrary> library_;
    frmLibraryChart* addToLibrary_ = nullptr;
    // The places the completion of each place box offers, in its order.
    std::array<QList<Place>, NumDateSets> placeChoices_;
    // The text last typed in each place box and the place it gave (none for a text the atlas
    // did not find), so that the box keeps what was typed ("Springfield, Illinois").
    struct TypedPlace {
        QString text;
        std::optional<Place> place;
    };
    std::array<TypedPlace, NumDateSets> typedPlaces_;
    // The names of the time-zone database the zone boxes complete, read when first needed.
    QStringListModel* zoneNames_ = nullptr;
    std::unique_ptr<frmRun> runWindow_;
    std::unique_ptr<frmAbout> about_;
    std::unique_ptr<PatternRunController> runController_;
    WheelDrawing wheel_;
    CourseGraph courseGraph_;
    // The configuration window was on display when a course graph took the picture.
    bool configurationHiddenByGraph_ = false;
    QButtonGroup* modeGroup_ = nullptr;
    QButtonGroup* unitGroup_ = nullptr;
    // Set while the window writes into its own controls, so that their change handlers
    // stay quiet.
    bool updatingControls_ = false;
    // The last key or click on a date list (its box or its open list) was a key: a choice made
    // with the keyboard keeps the focus in the row, so that a date is typed straight through.
    bool keyboardChoice_ = false;
    QList<const QObject*> dateListParts_;
    // Every control but the status bar's stands on controlsPage_, the window's central widget.
    QWidget* controlsPage_ = nullptr;
    double gridScale_ = 1.0;
    double compactness_ = 1.0;
    bool splitterMoved_ = false; // the user has shared the width between grid and wheel
    std::vector<std::pair<QWidget*, int>> minimumWidths_;
    // The wheel is drawn again for its shown size once resizing has paused.
    QTimer* wheelRedraw_ = nullptr;
    double wheelDrawnScale_ = 1.0;
    QActionGroup* modeActions_ = nullptr;
    QActionGroup* unitActions_ = nullptr;
    QActionGroup* stepUnitActions_ = nullptr;
    QStringList recentFiles_;
    QByteArray savedState_; // the state file's text of the state last saved or loaded
    QString loadFailure_;   // why Form_Load could not go on; shown already
    // Why the user state file's chart could not be computed, said once the window shows.
    std::optional<DateFailure> startupDateFailure_;
};

} // namespace orbivex
