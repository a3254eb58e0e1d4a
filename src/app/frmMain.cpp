// The main window's controls, their placement, and the binding between them and the state.
#include "app/frmMain.h"

#include "app/DateSetControls.h"
#include "app/DialogFlows.h"
#include "app/Dialogs.h"
#include "app/MainWindowLayout.h"
#include "app/PictureBox.h"
#include "app/frmAbout.h"
#include "app/frmAspectarian.h"
#include "app/frmConfigure.h"
#include "app/frmDurations.h"
#include "app/frmLibrary.h"
#include "app/frmRun.h"
#include "app/frmView.h"
#include "calendar/DateFormat.h"
#include "draw/ChartWheel.h"
#include "draw/Fonts.h"
#include "draw/LayoutUnits.h"
#include "present/Symbols.h"
#include "present/WindowTitle.h"
#include "session/ChartShown.h"
#include "session/StateFile.h"
#include "session/Stepping.h"
#include "support/DataFolder.h"
#include "support/StrProc.h"
#include "support/TextNumbers.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStringListModel>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace orbivex {
using enum ChartMode;

namespace {

QColor ColourOf(int rgb) {
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

// Cell and report texts break lines with CR LF; widgets take "\n".
QString DisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

// A date list whose open list is watched from the first time it opens: Qt makes a box's list
// on first use, and asking for every list at start-up would make twelve of them for nothing.
// The boxes of a column hold the same list in the same font, and a box measures every entry of
// its list for its size: the first row's box measures for the others.
class DateListBox : public QComboBox {
  public:
    using QComboBox::QComboBox;
    std::function<void(QComboBox*)> beforeFirstPopup;
    const DateListBox* measuredBy = nullptr;

    QSize sizeHint() const override {
        return SameListAsMeasured() ? measuredBy->sizeHint() : QComboBox::sizeHint();
    }
    QSize minimumSizeHint() const override {
        return SameListAsMeasured() ? measuredBy->minimumSizeHint() : QComboBox::minimumSizeHint();
    }

    void showPopup() override {
        if (beforeFirstPopup) {
            std::exchange(beforeFirstPopup, nullptr)(this);
        }
        QComboBox::showPopup();
    }

  private:
    bool SameListAsMeasured() const {
        return measuredBy != nullptr && measuredBy->count() == count() &&
               measuredBy->isEditable() == isEditable() && measuredBy->font() == font() &&
               measuredBy->style() == style();
    }
};

// Set on a zone box's edit field once it completes the names of the time-zone database.
constexpr char kZoneCompletion[] = "orbivexZoneCompletion";

// The Clear buttons of the three date sets: one word, a keyboard letter each.
constexpr std::array<int, NumDateSets> kClearTexts{text::ClearWorldDate, text::ClearFirstBirthdate,
                                                   text::ClearSecondBirthdate};

} // namespace

frmMainSetup frmMainSetup::ForThisProgram() {
    frmMainSetup setup;
    setup.programFolder = ProgramDataFolder();
    setup.userStateFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                            QStringLiteral("/Quillmark");
    setup.settingsGroup = QStringLiteral("MainWindow");
    return setup;
}

frmMain::frmMain(Dialogs& dialogs, frmMainSetup setup, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), setup_(std::move(setup)) {
    setObjectName(QStringLiteral("frmMain"));
    setFont(ProgramFont(QStringLiteral("Arial"), 8));
    setAcceptDrops(true);
    CreateControls();
    SetUpPlaceBoxes();
    BuildLayout();
    CreateMenus();
    SetUpLibraryCommands();
    SetTabOrder();
}

frmMain::~frmMain() = default;

QString frmMain::ProgramName() const {
    return texts_.ProgramText(text::ProgramName);
}

QString frmMain::UserStateFile() const {
    // The window's tag "ORBX" in lower case, and ".usr".
    return QDir(setup_.userStateFolder).filePath(QStringLiteral("orbx.usr"));
}

QDateTime frmMain::Now() const {
    return setup_.now ? setup_.now() : QDateTime::currentDateTime();
}

ComputeContext frmMain::Context() const {
    return ComputeContext{*ephemeris_};
}

void frmMain::CreateControls() {
    controlsPage_ = new QWidget(this);
    controlsPage_->setObjectName(QStringLiteral("controlsPage"));
    setCentralWidget(controlsPage_);
    QWidget* const page = controlsPage_;

    const auto button = [page](const char* name) {
        auto* b = new QPushButton(page);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };

    for (int s = 0; s < NumDateSets; ++s) {
        const QString n = QString::number(s);
        Label1[s] = new QLabel(page);
        Label1[s]->setObjectName(QStringLiteral("Label1_") + n);
        Label1[s]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Label1[s]->installEventFilter(this);

        txbYearCE[s] = new QLineEdit(page);
        txbYearCE[s]->setObjectName(QStringLiteral("txbYearCE_") + n);
        txbYearCE[s]->installEventFilter(this);
        // No year needs more; a state file keeps no longer year text.
        txbYearCE[s]->setMaxLength(StateFileContents::MaxYearTextLength);
        connect(txbYearCE[s], &QLineEdit::textChanged, this, [this, s](const QString& text) {
            if (!updatingControls_) {
                state.dateSets[s].yearText = text;
                UpdateStaleMark();
            }
        });
        connect(txbYearCE[s], &QLineEdit::returnPressed, this,
                [this, s] { txbYearCE_KeyPress(s, Qt::Key_Return); });

        // The first row's box of each column measures the list for the boxes below it.
        const auto dateList = [page, s, &n](std::array<QComboBox*, NumDateSets>& column,
                                            const QString& name) {
            auto* list = new DateListBox(page);
            list->setObjectName(name + n);
            list->measuredBy = s > 0 ? static_cast<const DateListBox*>(column[0]) : nullptr;
            column[s] = list;
            return list;
        };
        for (DateListBox* combo : {dateList(cboMonthCE, QStringLiteral("cboMonthCE_")),
                                   dateList(cboDayCE, QStringLiteral("cboDayCE_")),
                                   dateList(cboHour, QStringLiteral("cboHour_")),
                                   dateList(cboTimezone, QStringLiteral("cboTimezone_"))}) {
            combo->setMaxVisibleItems(16);
            // Whether a choice comes from the keyboard or the mouse: the box, its list and the
            // list's viewport, where the keys and the clicks of a choice arrive.
            combo->installEventFilter(this);
            dateListParts_.append(combo);
            combo->beforeFirstPopup = [this](QComboBox* box) {
                for (QObject* part : {static_cast<QObject*>(box->view()),
                                      static_cast<QObject*>(box->view()->viewport())}) {
                    part->installEventFilter(this);
                    dateListParts_.append(part);
                }
            };
        }
        // The hour box lists the half hours and takes any other time typed into it.
        cboHour[s]->setEditable(true);
        cboHour[s]->setInsertPolicy(QComboBox::NoInsert);
        cboHour[s]->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("([01]?[0-9]|2[0-3]):[0-5][0-9]")), cboHour[s]));
        // A typed time is read when Enter is pressed (the focus then goes to Compute, as after
        // a choice from the list) or when the focus leaves the box (Tab goes on as usual).
        connect(cboHour[s]->lineEdit(), &QLineEdit::editingFinished, this,
                [this, s] { TypedDateTextFinished(s, cboHour[s]); });
        // The zone box lists the fixed offsets and takes a zone name typed into it, completed
        // from the system's time-zone database.
        cboTimezone[s]->setEditable(true);
        cboTimezone[s]->setInsertPolicy(QComboBox::NoInsert);
        cboTimezone[s]->lineEdit()->setMaxLength(StateFileContents::MaxZoneNameLength);
        // Should a name be typed without the box having had the focus.
        connect(cboTimezone[s]->lineEdit(), &QLineEdit::textEdited, this,
                [this, s] { MakeZoneCompleter(s); });
        connect(cboTimezone[s]->lineEdit(), &QLineEdit::editingFinished, this,
                [this, s] { TypedDateTextFinished(s, cboTimezone[s]); });
        connect(cboMonthCE[s], &QComboBox::currentIndexChanged, this,
                [this, s] { cboMonthCE_Click(s); });
        connect(cboDayCE[s], &QComboBox::currentIndexChanged, this,
                [this, s] { cboDayCE_Click(s); });
        connect(cboHour[s], &QComboBox::currentIndexChanged, this, [this, s] { cboHour_Click(s); });
        connect(cboTimezone[s], &QComboBox::currentIndexChanged, this,
                [this, s] { cboTimezone_Click(s); });

        cmdClear[s] = button(qPrintable(QStringLiteral("cmdClear_") + n));
        connect(cmdClear[s], &QPushButton::clicked, this, [this, s] { cmdClear_Click(s); });
    }

    unitGroup_ = new QButtonGroup(this);
    optDegrees = new QRadioButton(QStringLiteral("De&grees"), page);
    optDegrees->setObjectName(QStringLiteral("optDegrees"));
    optRadians = new QRadioButton(QStringLiteral("Rad&ians"), page);
    optRadians->setObjectName(QStringLiteral("optRadians"));
    unitGroup_->addButton(optDegrees);
    unitGroup_->addButton(optRadians);
    optDegrees->setChecked(true);
    for (QRadioButton* option : {optDegrees, optRadians}) {
        connect(option, &QRadioButton::clicked, this, [this] {
            state.radians = optRadians->isChecked();
            // The unit is a matter of display: the chart on display takes it at once.
            if (IsChartMode(view.mode)) {
                view = BuildChartView(state.chart, ChartDisplayOf(state), texts_);
                UpdateTitle();
                ShowGrid();
                ShowReports();
            }
            FocusCompute();
        });
    }

    fraTransits = new QGroupBox(page);
    fraTransits->setObjectName(QStringLiteral("fraTransits"));
    modeGroup_ = new QButtonGroup(this);
    const auto modeOption = [this](const char* name) {
        auto* option = new QRadioButton(fraTransits);
        option->setObjectName(QLatin1String(name));
        modeGroup_->addButton(option);
        return option;
    };
    optPlanetary = modeOption("optPlanetary");
    optNatal[0] = modeOption("optNatal_0");
    optNatal[1] = modeOption("optNatal_1");
    optPersonal[0] = modeOption("optPersonal_0");
    optPersonal[1] = modeOption("optPersonal_1");
    optSynastry = modeOption("optSynastry");
    connect(optPlanetary, &QRadioButton::clicked, this, &frmMain::optPlanetary_Click);
    connect(optNatal[0], &QRadioButton::clicked, this, [this] { optNatal_Click(0); });
    connect(optNatal[1], &QRadioButton::clicked, this, [this] { optNatal_Click(1); });
    connect(optPersonal[0], &QRadioButton::clicked, this, [this] { optPersonal_Click(0); });
    connect(optPersonal[1], &QRadioButton::clicked, this, [this] { optPersonal_Click(1); });
    connect(optSynastry, &QRadioButton::clicked, this, &frmMain::optSynastry_Click);

    cmdCompute = button("cmdCompute");
    cmdNow = button("cmdNow");
    cmdConfigure = button("cmdConfigure");
    cmdSave = button("cmdSave");
    cmdSaveAs = button("cmdSaveAs");
    cmdLoadState = button("cmdLoadState");
    cmdRestore = button("cmdRestore");
    cmdHelp = button("cmdHelp");
    cmdReport = button("cmdReport");
    cmdPrint = button("cmdPrint");
    cmdToggleGraphic = button("cmdToggleGraphic");
    cmdRun = button("cmdRun");
    cmdForwardBack[0] = button("cmdForwardBack_0");
    cmdForwardBack[1] = button("cmdForwardBack_1");
    cmdQuit = button("cmdQuit");
    cmdAspectarian = button("cmdAspectarian");
    cboForwardBack = new QComboBox(page);
    cboForwardBack->setObjectName(QStringLiteral("cboForwardBack"));
    connect(cboForwardBack, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!updatingControls_ && index >= 0) {
            state.stepUnitIndex = index;
        }
    });
    connect(cboForwardBack, &QComboBox::activated, this, &frmMain::cboForwardBack_Click);

    connect(cmdCompute, &QPushButton::clicked, this, &frmMain::cmdCompute_Click);
    connect(cmdNow, &QPushButton::clicked, this, &frmMain::cmdNow_Click);
    connect(cmdConfigure, &QPushButton::clicked, this, &frmMain::cmdConfigure_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(cmdSaveAs, &QPushButton::clicked, this, &frmMain::cmdSaveAs_Click);
    connect(cmdLoadState, &QPushButton::clicked, this, &frmMain::cmdLoadState_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &frmMain::cmdRestore_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &frmMain::cmdQuit_Click);
    connect(cmdToggleGraphic, &QPushButton::clicked, this, &frmMain::cmdToggleGraphic_Click);
    connect(cmdReport, &QPushButton::clicked, this, &frmMain::cmdReport_Click);
    connect(cmdAspectarian, &QPushButton::clicked, this, &frmMain::cmdAspectarian_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmMain::cmdPrint_Click);
    connect(cmdRun, &QPushButton::clicked, this, &frmMain::cmdRun_Click);
    connect(cmdForwardBack[0], &QPushButton::clicked, this, [this] { cmdForwardBack_Click(0); });
    connect(cmdForwardBack[1], &QPushButton::clicked, this, [this] { cmdForwardBack_Click(1); });

    splChart = new QSplitter(Qt::Horizontal, page);
    splChart->setObjectName(QStringLiteral("splChart"));
    splChart->setChildrenCollapsible(false);
    chartArea = new QWidget(splChart);
    chartArea->setObjectName(QStringLiteral("chartArea"));
    chartArea->installEventFilter(this);
    picWheelBeside = new PictureBox(splChart);
    picWheelBeside->setObjectName(QStringLiteral("picWheelBeside"));
    picWheelBeside->hide();
    picWheelBeside->onRightButtonReleased = [this](QPoint pixel) {
        const QString name = NameAspectsAt(wheel_, QPointF(pixel) + QPointF(0.5, 0.5));
        if (!name.isEmpty()) {
            dialogs_.ShowMessage(this, name, LineNameTitle(), Dialogs::Icon::Information);
        }
    };
    connect(splChart, &QSplitter::splitterMoved, this, [this] { splitterMoved_ = true; });
    splChart->addWidget(chartArea);
    splChart->addWidget(picWheelBeside);
    splChart->setStretchFactor(0, 1);
    splChart->setStretchFactor(1, 1);
    wheelRedraw_ = new QTimer(this);
    wheelRedraw_->setSingleShot(true);
    wheelRedraw_->setInterval(150);
    connect(wheelRedraw_, &QTimer::timeout, this, [this] {
        if (state.chartShown && !blnCourseGraphShown && wheel_.drawn()) {
            const double scale = picGraphic->DisplayScale();
            if (std::abs(scale - wheelDrawnScale_) > 0.05 && DrawWheel(scale)) {
                picGraphic->SetImage(wheel_.image);
            }
        }
    });

    picTable = new QWidget(chartArea);
    picTable->setObjectName(QStringLiteral("picTable"));
    for (int i = 0; i < AspectGrid::MaxCells; ++i) {
        auto* cell = new QLabel(picTable);
        cell->setObjectName(QStringLiteral("txbCell_") + QString::number(i));
        cell->setAlignment(Qt::AlignCenter);
        cell->setAutoFillBackground(true);
        cell->setTextInteractionFlags(Qt::NoTextInteraction);
        cell->setTextFormat(Qt::PlainText);
        // A caption too long for the cell (the two-chart corner cells) breaks between words.
        cell->setWordWrap(true);
        cell->resize(LayoutUnitsToPixels(AspectGrid::CellWidth),
                     LayoutUnitsToPixels(AspectGrid::CellHeight));
        cell->hide();
        cell->installEventFilter(this);
        txbCell[i] = cell;
    }

    picGraphic = new PictureBox(chartArea);
    picGraphic->hide();
    picGraphic->onRightButtonReleased = [this](QPoint pixel) { picGraphic_RightClick(pixel); };

    lblTitle = new QLabel(page);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblClickonAspect = new QLabel(page);
    lblClickonAspect->setObjectName(QStringLiteral("lblClickonAspect"));
    lblStale = new QLabel(page);
    lblStale->setObjectName(QStringLiteral("lblStale"));
    QFont staleFont = lblStale->font();
    staleFont.setBold(true);
    lblStale->setFont(staleFont);
    QPalette stalePalette = lblStale->palette();
    stalePalette.setColor(QPalette::WindowText, QColor(160, 0, 0));
    lblStale->setPalette(stalePalette);
    lblStale->hide();
    staleVeil = new QWidget(chartArea);
    staleVeil->setObjectName(QStringLiteral("staleVeil"));
    staleVeil->setAttribute(Qt::WA_TransparentForMouseEvents);
    staleVeil->setAutoFillBackground(true);
    QPalette veilPalette = staleVeil->palette();
    QColor veil = veilPalette.color(QPalette::Window);
    veil.setAlpha(170);
    veilPalette.setColor(QPalette::Window, veil);
    staleVeil->setPalette(veilPalette);
    staleVeil->hide();

    const auto reportBox = [page](const char* name) {
        auto* box = new QPlainTextEdit(page);
        box->setObjectName(QLatin1String(name));
        box->setReadOnly(true);
        box->setFont(ProgramFont(QStringLiteral("Arial"), 9));
        return box;
    };
    txbReport = reportBox("txbReport");
    txbReport1 = reportBox("txbReport1");

    lblStatus = new QLabel;
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    // A long note (a local time read in summer time, with its offset) wraps rather than being
    // cut; its tip holds it whole as well.
    lblStatus->setWordWrap(true);
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblStatus->setMinimumWidth(1);
    lblURL = new QLabel;
    lblURL->setObjectName(QStringLiteral("lblURL"));
    lblURL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblURL->setCursor(Qt::PointingHandCursor);
    QPalette linkPalette = lblURL->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    lblURL->setPalette(linkPalette);
    QFont linkFont = lblURL->font();
    linkFont.setUnderline(true);
    lblURL->setFont(linkFont);
    lblURL->installEventFilter(this);
    statusBar()->setObjectName(QStringLiteral("staStatus"));
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addWidget(lblStatus, 1);
    statusBar()->addPermanentWidget(lblURL);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
}

void frmMain::MakeZoneCompleter(int dateSet) {
    QLineEdit* edit = cboTimezone[dateSet]->lineEdit();
    if (edit->property(kZoneCompletion).toBool()) {
        return;
    }
    if (zoneNames_ == nullptr) {
        zoneNames_ = new QStringListModel(ZoneNames(), this);
    }
    auto* completer = new QCompleter(zoneNames_, edit);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    // On the edit field itself: a completer set on the box makes the box choose the list entry
    // of the chosen name, and a zone name has none, so a name chosen with Enter would leave the
    // box empty.
    edit->setCompleter(completer);
    edit->setProperty(kZoneCompletion, true);
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this,
            [this, dateSet] { DateSelectionChanged(dateSet, false); });
}

void frmMain::AddDateSetRow(QGridLayout* grid, int dateSet) {
    using namespace layout;
    const std::pair<DateColumn, QWidget*> parts[] = {
        {LabelColumn, Label1[dateSet]},     {YearColumn, txbYearCE[dateSet]},
        {MonthColumn, cboMonthCE[dateSet]}, {DayColumn, cboDayCE[dateSet]},
        {HourColumn, cboHour[dateSet]},     {ZoneColumn, cboTimezone[dateSet]},
        {PlaceColumn, txtPlace[dateSet]},   {ClearColumn, cmdClear[dateSet]},
    };
    for (const auto& [column, widget] : parts) {
        if (column != LabelColumn) {
            SetMinimumWidth(widget, DateColumnWidths[column]);
        }
        grid->addWidget(widget, dateSet, column);
    }
}

void frmMain::SetMinimumWidth(QWidget* widget, int layoutUnits) {
    minimumWidths_.emplace_back(widget, layoutUnits);
    widget->setMinimumWidth(LayoutUnitsToPixels(layoutUnits));
}

void frmMain::ApplyCompactness(double factor) {
    using namespace layout;
    const auto px = [factor](double units) {
        return LayoutUnitsToPixels(static_cast<int>(std::lround(units * factor)));
    };
    compactness_ = factor;
    for (const auto& [widget, units] : minimumWidths_) {
        widget->setMinimumWidth(px(units));
    }
    chartArea->setMinimumSize(px(AspectGrid::CellWidth * 9 * SmallestGridScale),
                              px(AspectGrid::CellHeight * 10 * SmallestGridScale));
    txbReport1->setMinimumHeight(px(TwoChartReportHeight));
    txbReport1->setMaximumHeight(px(TwoChartReportHeight * 2));
    setFont(ProgramFont(QStringLiteral("Arial"), 8 * factor));
    for (QPlainTextEdit* box : {txbReport, txbReport1}) {
        box->setFont(ProgramFont(QStringLiteral("Arial"), 9 * factor));
    }
    // A wrapping label asks for the height of its text at its narrowest: held to two lines, a
    // long note does not take the grid's room.
    lblStatus->setMaximumHeight(lblStatus->fontMetrics().lineSpacing() * 2 + 2);
}

void frmMain::FitToScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    // A high scale factor on a small screen leaves fewer pixels than the controls need at their
    // usual size: they are made smaller, as much as it takes and no smaller than legible, so
    // that the window fits without scroll bars.
    // The layouts were built at the usual size (compactness 1): the first measure takes them as
    // they are.
    const QSize room = screen->availableGeometry().size() - QSize(16, 40);
    for (int attempt = 0; attempt < 6; ++attempt) {
        if (attempt > 0) {
            // The fonts changed: every layout measures its controls again.
            for (QLayout* changed : findChildren<QLayout*>()) {
                changed->invalidate();
            }
        }
        // The smallest size the layouts allow, measured without placing the controls: they are
        // placed once, at the size the window opens with.
        const QSize need = minimumSizeHint();
        if (need.width() <= room.width() && need.height() <= room.height()) {
            return;
        }
        const double shrink =
            std::min(double(room.width()) / need.width(), double(room.height()) / need.height());
        const double factor = std::max(0.6, compactness_ * shrink * 0.98);
        if (factor >= compactness_) {
            return;
        }
        ApplyCompactness(factor);
    }
}

void frmMain::BuildLayout() {
    using namespace layout;
    const auto px = [](int units) { return LayoutUnitsToPixels(units); };

    auto* dates = new QGridLayout;
    dates->setHorizontalSpacing(px(60));
    dates->setVerticalSpacing(px(60));
    for (int s = 0; s < NumDateSets; ++s) {
        AddDateSetRow(dates, s);
        // A Clear that is hidden keeps its place, so that the row does not jump.
        QSizePolicy policy = cmdClear[s]->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        cmdClear[s]->setSizePolicy(policy);
    }
    // The date's boxes keep their own widths; the place takes some of the width to spare, up
    // to a long town name with its region and country.
    dates->setColumnStretch(PlaceColumn, 1);
    dates->setColumnStretch(DateColumnCount, 1);
    for (QLineEdit* place : txtPlace) {
        place->setMaximumWidth(px(PlaceWidestWidth));
    }

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(px(36));
    for (QPushButton* b : {cmdCompute, cmdConfigure, cmdSaveAs, cmdLoadState, cmdReport, cmdRun,
                           cmdToggleGraphic, cmdPrint, cmdAspectarian}) {
        SetMinimumWidth(b, ButtonRowWidth);
        QSizePolicy policy = b->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        b->setSizePolicy(policy);
        buttonRow->addWidget(b);
    }
    // The unit of the angles, after the commands that show them.
    buttonRow->addSpacing(px(120));
    buttonRow->addWidget(optDegrees);
    buttonRow->addWidget(optRadians);
    buttonRow->addStretch(1);

    auto* hint = new QGridLayout;
    hint->setContentsMargins(0, 0, 0, 0);
    hint->addWidget(lblClickonAspect, 0, 0);
    hint->addWidget(lblStale, 0, 0); // in the hint's place
    lblTitle->setWordWrap(true);
    lblClickonAspect->setWordWrap(true);

    // The title and the hint under the dates, beside the modes; the row of commands under both,
    // across the window.
    auto* left = new QVBoxLayout;
    left->addLayout(dates);
    left->addSpacing(px(120));
    left->addWidget(lblTitle);
    left->addLayout(hint);
    left->addStretch(1);

    auto* modes = new QVBoxLayout(fraTransits);
    modes->setSpacing(px(30));
    for (QRadioButton* option : ModeOptions()) {
        modes->addWidget(option);
    }
    auto* modeColumn = new QVBoxLayout;
    modeColumn->addWidget(fraTransits);
    modeColumn->addStretch(1);

    auto* buttonColumn = new QVBoxLayout;
    for (QPushButton* b : {cmdNow, cmdSave, cmdHelp, cmdRestore}) {
        SetMinimumWidth(b, ButtonWidth);
        buttonColumn->addWidget(b);
    }
    buttonColumn->addSpacing(px(100));
    SetMinimumWidth(cmdQuit, ButtonWidth);
    QSizePolicy quitPolicy = cmdQuit->sizePolicy();
    quitPolicy.setRetainSizeWhenHidden(true);
    cmdQuit->setSizePolicy(quitPolicy);
    buttonColumn->addWidget(cmdQuit);
    buttonColumn->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addSpacing(px(60));
    top->addLayout(modeColumn);
    top->addSpacing(px(120));
    top->addLayout(buttonColumn);

    // The grid (or the picture in its place) grows with the window; the one-line report of the
    // two-chart modes stands under it.
    chartArea->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    ApplyCompactness(1.0);
    auto* chartColumn = new QVBoxLayout;
    chartColumn->addWidget(splChart, 1);
    chartColumn->addWidget(txbReport1);

    auto* stepping = new QHBoxLayout;
    stepping->addWidget(cmdForwardBack[1]);
    stepping->addWidget(cmdForwardBack[0]);
    auto* steppingColumn = new QVBoxLayout;
    steppingColumn->addWidget(cboForwardBack);
    steppingColumn->addLayout(stepping);
    steppingColumn->addWidget(txbReport, 1);
    SetMinimumWidth(cboForwardBack, SteppingWidth);

    auto* body = new QHBoxLayout;
    body->addLayout(chartColumn, 3);
    body->addSpacing(px(120));
    body->addLayout(steppingColumn, 1);

    auto* root = new QVBoxLayout(controlsPage_);
    root->setContentsMargins(px(120), px(60), px(120), px(60));
    root->addLayout(top);
    root->addLayout(buttonRow);
    root->addSpacing(px(60));
    root->addLayout(body, 1);
}

void frmMain::SetLanguageDependentText() {
    FillDateLists();
    setWindowTitle(texts_.ProgramText(text::ProgramName));
    for (int s = 0; s < NumDateSets; ++s) {
        Label1[s]->setText(texts_.ProgramText(text::FirstDateSetName + s));
        cmdClear[s]->setText(texts_.ProgramText(kClearTexts[s]));
    }
    Label1[WorldDate]->setToolTip(QStringLiteral("Click to switch between degrees and radians"));
    const std::array<QRadioButton*, NumChartModes> options = ModeOptions();
    for (int i = 0; i < NumChartModes; ++i) {
        options[i]->setText(texts_.ProgramText(text::FirstModeOption + i));
    }
    cmdSave->setText(texts_.ProgramText(text::Save));
    cmdQuit->setText(texts_.ProgramText(text::Quit));
    cmdHelp->setText(texts_.ProgramText(text::Help));
    cmdNow->setText(texts_.ProgramText(text::Now));
    cmdRestore->setText(texts_.ProgramText(text::Restore));
    cmdCompute->setText(texts_.ProgramText(text::Compute));
    cmdConfigure->setText(texts_.ProgramText(text::Configure));
    cmdForwardBack[0]->setText(texts_.ProgramText(text::Forward));
    cmdForwardBack[1]->setText(texts_.ProgramText(text::Back));
    cmdRun->setText(texts_.ProgramText(text::Run));
    cmdToggleGraphic->setText(texts_.ProgramText(text::DisplayChart));
    cmdReport->setText(texts_.ProgramText(text::Report));
    cmdAspectarian->setText(texts_.ProgramText(text::AspectarianButton));
    cmdPrint->setText(texts_.ProgramText(text::PrintA4));
    cmdSaveAs->setText(texts_.ProgramText(text::SaveAs));
    cmdLoadState->setText(texts_.ProgramText(text::LoadFrom));
    lblURL->setText(texts_.ProgramText(text::UserManual));
    lblStale->setText(texts_.ProgramText(text::OutOfDate));
    NameControls();
    lblURL->setToolTip(UserManualFile(setup_.programFolder));
    fraTransits->setTitle(QString());
}

void frmMain::FillDateLists() {
    const bool wasUpdating = updatingControls_;
    updatingControls_ = true;
    const int unit = cboForwardBack->currentIndex();
    cboForwardBack->clear();
    cboForwardBack->addItems(StepUnitTexts(texts_));
    cboForwardBack->setCurrentIndex(unit >= 0 ? unit : state.stepUnitIndex);

    for (int s = 0; s < NumDateSets; ++s) {
        orbivex::FillDateLists(DateSetRow(s));
    }
    updatingControls_ = wasUpdating;
    ShowDateSets();
}

void frmMain::SetUpTimezoneComboBoxes(bool preserveIndices) {
    ReadControls();
    orbivex::SetUpTimezoneComboBoxes(state.zones, state.dateSets, state.settings.northAmericanZones,
                                     preserveIndices);
    ShowTimezoneLists();
}

void frmMain::ShowTimezoneLists() {
    const bool wasUpdating = updatingControls_;
    updatingControls_ = true;
    for (int s = 0; s < NumDateSets; ++s) {
        FillZoneList(DateSetRow(s), state.zones.list);
    }
    updatingControls_ = wasUpdating;
    ShowDateSets();
}

// ---- Binding ----------------------------------------------------------------------------

std::array<QRadioButton*, NumChartModes> frmMain::ModeOptions() const {
    return {optPlanetary, optNatal[0], optNatal[1], optPersonal[0], optPersonal[1], optSynastry};
}

ChartMode frmMain::SelectedMode() const {
    const std::array<QRadioButton*, NumChartModes> options = ModeOptions();
    for (int i = 0; i < NumChartModes; ++i) {
        if (options[i]->isChecked()) {
            return AllChartModes[i];
        }
    }
    return NoChartMode;
}

void frmMain::ReadControls() {
    for (int s = 0; s < NumDateSets; ++s) {
        ReadDateSetControls(DateSetRow(s), state.dateSets[s]);
    }
    const ChartMode mode = SelectedMode();
    if (mode != NoChartMode) {
        state.mode = mode;
    }
    state.radians = optRadians->isChecked();
    if (cboForwardBack->currentIndex() >= 0) {
        state.stepUnitIndex = cboForwardBack->currentIndex();
    }
}

void frmMain::ShowDateSet(int dateSet) {
    const bool wasUpdating = updatingControls_;
    updatingControls_ = true;
    ShowDateSetControls(DateSetRow(dateSet), state.dateSets[dateSet], state.zones.list);
    // A place being typed is read when its box is left, not replaced by the refresh meanwhile.
    QLineEdit* box = txtPlace[dateSet];
    const bool typing =
        box->isModified() &&
        (box->hasFocus() || (box->completer() && box->completer()->popup()->isVisible()));
    if (const QString place = PlaceBoxText(dateSet); !typing && box->text() != place) {
        box->setText(place);
        box->setCursorPosition(0);
    }
    updatingControls_ = wasUpdating;
}

DateSetControls frmMain::DateSetRow(int dateSet) const {
    return {txbYearCE[dateSet], cboMonthCE[dateSet], cboDayCE[dateSet], cboHour[dateSet],
            cboTimezone[dateSet]};
}

void frmMain::ShowDateSets() {
    for (int s = 0; s < NumDateSets; ++s) {
        ShowDateSet(s);
    }
    const bool wasUpdating = updatingControls_;
    updatingControls_ = true;
    if (state.stepUnitIndex >= 0 && state.stepUnitIndex < cboForwardBack->count()) {
        cboForwardBack->setCurrentIndex(state.stepUnitIndex);
    }
    updatingControls_ = wasUpdating;
}

void frmMain::ShowModeOption(ChartMode mode) {
    const bool wasUpdating = updatingControls_;
    updatingControls_ = true;
    const std::array<QRadioButton*, NumChartModes> options = ModeOptions();
    if (IsChartMode(mode)) {
        options[ModeNumber(mode) - 1]->setChecked(true);
    } else {
        modeGroup_->setExclusive(false);
        for (QRadioButton* option : options) {
            option->setChecked(false);
        }
        modeGroup_->setExclusive(true);
    }
    updatingControls_ = wasUpdating;
}

void frmMain::ShowCell(int index) {
    QLabel* widget = txbCell[index];
    const AspectGrid& grid = view.grid;
    const GridCell& cell = grid.cells[index];
    if (index >= grid.cellCount || !cell.visible) {
        widget->hide();
        return;
    }
    // Edges rounded on their own, so that scaled cells meet without gaps.
    const auto scaled = [this](int units) {
        return static_cast<int>(std::lround(LayoutUnitsToPixels(units) * gridScale_));
    };
    const int left = scaled(cell.left);
    const int top = scaled(cell.top);
    widget->setGeometry(left, top, scaled(cell.left + AspectGrid::CellWidth) - left,
                        scaled(cell.top + AspectGrid::CellHeight) - top);
    const bool symbol = cell.font == CellFont::Symbol;
    const QString text = symbol ? SymbolText(cell.text) : DisplayText(cell.text);
    if (widget->text() != text) {
        widget->setText(text);
        // Screen readers read the cell as one line.
        widget->setAccessibleName(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }
    QPalette palette = widget->palette();
    const QColor back = ColourOf(cell.backColour);
    const QColor fore = ColourOf(cell.foreColour);
    if (palette.color(QPalette::Window) != back || palette.color(QPalette::WindowText) != fore) {
        palette.setColor(QPalette::Window, back);
        palette.setColor(QPalette::WindowText, fore);
        widget->setPalette(palette);
    }
    // The texts grow with the cells, in half points: a resize then changes the fonts of the
    // cells (which costs most of its time) only every few pixels.
    const double points = std::round(CellFontPointSize(cell.font) * gridScale_ * 2.0) / 2.0;
    const QFont font =
        ProgramFont(QLatin1String(symbol ? "Starfont Sans" : "Arial"), points, cell.bold);
    if (widget->font() != font) {
        widget->setFont(font);
    }
    widget->setAlignment(cell.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    widget->show();
}

void frmMain::ShowGrid() {
    const AspectGrid& grid = view.grid;
    picTable->setVisible(!state.chartShown && !blnCourseGraphShown && grid.cellCount > 0);
    PlaceChartArea();
    for (int i = 0; i < AspectGrid::MaxCells; ++i) {
        ShowCell(i);
    }
}

void frmMain::PlaceChartArea() {
    const AspectGrid& grid = view.grid;
    const QSize area = chartArea->size();
    double scale = 1.0;
    if (grid.cellCount > 0) {
        const double width = LayoutUnitsToPixels(grid.TableWidth());
        const double height = LayoutUnitsToPixels(grid.TableHeight());
        // No smaller than the area's smallest size allows, which a crowded screen reduces.
        scale = std::max(layout::SmallestGridScale * compactness_,
                         std::min(area.width() / width, area.height() / height));
        const QSize table(static_cast<int>(std::lround(width * scale)),
                          static_cast<int>(std::lround(height * scale)));
        picTable->setGeometry(std::max(0, (area.width() - table.width()) / 2),
                              std::max(0, (area.height() - table.height()) / 2), table.width(),
                              table.height());
    }
    picGraphic->setGeometry(QRect(QPoint(0, 0), area));
    const bool rescaled = std::abs(scale - gridScale_) > 1e-9;
    gridScale_ = scale;
    if (rescaled) {
        for (int i = 0; i < AspectGrid::MaxCells; ++i) {
            ShowCell(i);
        }
    }
    if (state.chartShown && !blnCourseGraphShown) {
        wheelRedraw_->start();
    }
    UpdateStaleMark();
}

void frmMain::ShowReports() {
    const bool twoCharts = IsTwoChartMode(state.mode);
    // The report box of the other kind of mode keeps the text of its last chart.
    if (IsChartMode(view.mode)) {
        (IsTwoChartMode(view.mode) ? txbReport1 : txbReport)
            ->setPlainText(DisplayText(view.report));
    }
    txbReport->setVisible(!twoCharts);
    txbReport1->setVisible(twoCharts);
}

void frmMain::ShowComputedChart() {
    view = BuildChartView(state.chart, ChartDisplayOf(state), texts_);
    UpdateTitle();
    ShowGrid();
    ShowReports();
    if (state.chartShown) {
        ShowWheel();
    }
    ShowWheelBeside();
    cmdToggleGraphic->show();
    UpdateStaleMark();
}

void frmMain::UpdateTitle() {
    // Each date set of the chart by its name, and where it took place.
    DateSetNames labels = NamesOfDateSets(state, true);
    for (int s = 0; s < NumDateSets; ++s) {
        const std::optional<Place>& place = state.computedPlaces[s]; // of the chart on display
        const QString where = place ? place->name : QString();
        if (where.isEmpty() || (labels[s].isEmpty() && s == WorldDate)) {
            continue;
        }
        const QString who = labels[s].isEmpty()
                                ? (s == FirstBirthdate ? QStringLiteral("the 1st birthdate")
                                                       : QStringLiteral("the 2nd birthdate"))
                                : labels[s];
        labels[s] = who + QStringLiteral(" (") + where + QLatin1Char(')');
    }
    QString title = TitleText(state.mode, !state.chartShown, state.orbSummary, texts_, labels);
    // Signs of date are not the J2000 signs the title line otherwise implies.
    if (IsChartMode(view.mode) && state.chart.zodiac == ZodiacChoice::OfDate) {
        title += QStringLiteral("  ") + texts_.ProgramText(text::ZodiacOfDate);
    }
    lblTitle->setText(title);
    setWindowTitle(WindowTitleText(state, texts_));
}

void frmMain::UpdateClickHint() {
    lblClickonAspect->setVisible(lblStale->isHidden());
    lblClickonAspect->setText(ClickHintText(state.mode, !state.chartShown, texts_));
}

void frmMain::UpdateStaleMark() {
    const bool stale = ChartOutOfDate(state);
    // Over whichever of the grid and the picture is on display.
    const QWidget* shown =
        picGraphic->isVisibleTo(this) ? static_cast<QWidget*>(picGraphic) : picTable;
    if (stale && shown->isVisibleTo(this)) {
        staleVeil->setGeometry(shown->geometry());
        staleVeil->raise();
        staleVeil->show();
    } else {
        staleVeil->hide();
    }
    picWheelBeside->SetDimmed(stale);
    lblStale->setVisible(stale);
    lblClickonAspect->setVisible(!stale);
}

void frmMain::SetSaveAsCaption() {
    cmdSaveAs->setText(texts_.ProgramText(ImageShown() ? text::SaveImage : text::SaveAs));
    cmdLoadState->setVisible(!ImageShown());
}

void frmMain::SetStatus(const QString& text) {
    lblStatus->setText(text);
    // Whatever the window's width cuts off can still be read.
    lblStatus->setToolTip(text);
}

void frmMain::FocusCompute() {
    if (cmdCompute->isVisible() && cmdCompute->isEnabled() && !Stepping()) {
        cmdCompute->setFocus();
    }
}

// ---- Events -----------------------------------------------------------------------------

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (dateListParts_.contains(watched)) {
        switch (event->type()) {
        case QEvent::KeyPress:
            keyboardChoice_ = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel:
            keyboardChoice_ = false;
            break;
        default:
            break;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int s = 0; s < NumDateSets; ++s) {
            if (watched == Label1[s]) {
                Label1_Click(s);
                return true;
            }
        }
        if (watched == lblURL) {
            lblURL_Click();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < AspectGrid::MaxCells; ++i) {
            if (watched == txbCell[i]) {
                txbCell_DblClick(i);
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusIn) {
        for (int s = 0; s < NumDateSets; ++s) {
            if (watched == cboTimezone[s]) {
                MakeZoneCompleter(s);
            }
        }
    } else if (event->type() == QEvent::FocusOut) {
        for (int s = 0; s < NumDateSets; ++s) {
            if (watched == txbYearCE[s]) {
                txbYearCE_LostFocus(s);
            }
        }
    }
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent ||
        event->type() == QEvent::EnabledChange) {
        for (const MenuCommand& command : commands) {
            if (command.button == watched) {
                SyncCommand(command);
            }
        }
    }
    if (watched == chartArea && event->type() == QEvent::Resize) {
        PlaceChartArea();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Past the width at which the wheel stands beside the grid, or back.
    if (blnStartupCompleted && WideLayout() != picWheelBeside->isVisibleTo(this)) {
        ShowWheelBeside();
    }
}

bool frmMain::WideLayout() const {
    return width() >= layout::WideWindowPixels;
}

} // namespace orbivex
