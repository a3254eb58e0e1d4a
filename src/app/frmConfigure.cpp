#include "app/frmConfigure.h"

#include "app/Dialogs.h"
#include "app/WheelOptionsBox.h"
#include "draw/Fonts.h"
#include "draw/LayoutUnits.h"
#include "present/ConfigurationTexts.h"
#include "support/Mnemonic.h"
#include "support/ProgramTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace orbivex {

namespace {

// The window keeps a gap of this many layout units to the right edge of the screen.
constexpr int kScreenRightGap = 300;
// The window's height never goes below this many layout units.
constexpr int kMinimumHeight = 4700;

const QString ColourLineDashes = QString(30, QLatin1Char('-'));

void FillList(QComboBox* list, const QList<ListEntry>& entries) {
    for (const ListEntry& entry : entries) {
        list->addItem(entry.text, entry.data);
    }
}

template <typename Widget> Widget* Named(QWidget* parent, const QString& name) {
    auto* widget = new Widget(parent);
    widget->setObjectName(name);
    return widget;
}

// A horizontal rule between the groups of the right-hand column.
QFrame* Rule(QWidget* parent) {
    auto* rule = new QFrame(parent);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    return rule;
}

bool InNormalState(const QWidget* window) {
    return (window->windowState() &
            (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) == 0;
}

void RestoreIfMinimised(QWidget* window) {
    if (window->windowState() & Qt::WindowMinimized) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    }
}

} // namespace

ConfigurePlacement PlaceBesideMainWindow(const QRect& mainFrame, const QSize& windowFrame,
                                         const QRect& screen) {
    const int rightmost =
        screen.x() + screen.width() - windowFrame.width() - LayoutUnitsToPixels(kScreenRightGap);
    const int left = std::max(screen.x(), std::min(mainFrame.x() + mainFrame.width(), rightmost));
    const int top =
        std::max(screen.y(), mainFrame.y() + (mainFrame.height() - windowFrame.height()) / 2);
    const int mainLeft = std::max(screen.x(), left - mainFrame.width());
    return {QPoint(left, top), QPoint(mainLeft, mainFrame.y())};
}

// ---- AspectColourLine ----------------------------------------------------------------------

AspectColourLine::AspectColourLine(QWidget* parent) : QLabel(ColourLineDashes, parent) {
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 8, true));
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    SetColour(0);
}

void AspectColourLine::SetColour(int colour) {
    colour_ = colour;
    QPalette linePalette = palette();
    linePalette.setColor(QPalette::Window, Qt::black);
    linePalette.setColor(QPalette::WindowText,
                         QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    setPalette(linePalette);
}

void AspectColourLine::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (onMouseDown) {
        onMouseDown(event->button());
    }
}

// ---- frmConfigure --------------------------------------------------------------------------

frmConfigure::frmConfigure(ConfigurationSettings& committed, const ProgramTexts& texts,
                           Dialogs& dialogs, QWidget* mainWindow)
    : QDialog(mainWindow), committed_(committed), texts_(texts), dialogs_(dialogs),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmConfigure"));
    setModal(true);
    setFont(ProgramFont(QStringLiteral("Arial"), 9));
    if (mainWindow_ != nullptr) {
        setWindowIcon(mainWindow_->windowIcon());
        QPalette windowPalette = palette();
        windowPalette.setColor(QPalette::Window, mainWindow_->palette().color(QPalette::Window));
        setPalette(windowPalette);
    }

    BuildControls();
    SetCaptions();
    edit_.Activate(committed_);
    ShowControls();

    // The design size: the width stays, the height may only shrink, never below the minimum.
    adjustSize();
    const int minimumHeight =
        std::max(minimumSizeHint().height(), LayoutUnitsToPixels(kMinimumHeight));
    designSize_ = QSize(sizeHint().width(), std::max(sizeHint().height(), minimumHeight));
    setFixedWidth(designSize_.width());
    setMinimumHeight(minimumHeight);
    setMaximumHeight(designSize_.height());
    resize(designSize_);
}

QComboBox* frmConfigure::BoundList(const QString& name, const QList<ListEntry>& entries,
                                   int ConfigurationSettings::*position) {
    auto* list = Named<QComboBox>(this, name);
    FillList(list, entries);
    connect(list, &QComboBox::activated, this, [this, position](int index) {
        edit_.controls.*position = index;
        ControlChanged();
    });
    return list;
}

QCheckBox* frmConfigure::BoundBox(const QString& name, bool ConfigurationSettings::*setting) {
    auto* box = Named<QCheckBox>(this, name);
    connect(box, &QCheckBox::clicked, this, [this, setting](bool checked) {
        edit_.controls.*setting = checked;
        ControlChanged();
    });
    return box;
}

void frmConfigure::BuildControls() {
    // Orbs and colours, one line per aspect kind.
    Label3 = Named<QLabel>(this, QStringLiteral("Label3"));
    for (int i = 0; i < NumAspectKinds; ++i) {
        lblAspectName[i] = Named<QLabel>(this, QStringLiteral("lblAspectName%1").arg(i));
        lblAspectName[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblAspectColor[i] =
            Named<AspectColourLine>(this, QStringLiteral("lblAspectColor%1").arg(i));
        lblAspectColor[i]->onMouseDown = [this, i](Qt::MouseButton button) {
            lblAspectColor_MouseDown(i, button);
        };
    }
    for (int i = 0; i < NumOrbLists; ++i) {
        cboOrb[i] = Named<QComboBox>(this, QStringLiteral("cboOrb%1").arg(i));
        FillList(cboOrb[i], OrbListEntries());
        connect(cboOrb[i], &QComboBox::activated, this, [this, i] { cboOrb_Click(i); });
    }
    cmdSetAllNonzeroOrbsToConjunctionOrb =
        Named<QPushButton>(this, QStringLiteral("cmdSetAllNonzeroOrbsToConjunctionOrb"));
    cmdSetAllNonzeroOrbsToConjunctionOrb->setAutoDefault(false);
    connect(cmdSetAllNonzeroOrbsToConjunctionOrb, &QPushButton::clicked, this,
            &frmConfigure::cmdSetAllNonzeroOrbsToConjunctionOrb_Click);

    auto* orbGrid = new QGridLayout;
    orbGrid->setHorizontalSpacing(8);
    orbGrid->setVerticalSpacing(4);
    for (int i = 0; i < NumAspectKinds; ++i) {
        orbGrid->addWidget(lblAspectName[i], i, 0);
        orbGrid->addWidget(cboOrb[i], i, 1);
        orbGrid->addWidget(lblAspectColor[i], i, 2);
    }
    orbGrid->setRowMinimumHeight(NumAspectKinds, 6);
    orbGrid->addWidget(cmdSetAllNonzeroOrbsToConjunctionOrb, NumAspectKinds + 1, 0);
    orbGrid->addWidget(cboOrb[SetAllOrbList], NumAspectKinds + 1, 1);
    orbGrid->setColumnStretch(3, 1);

    auto* orbColumn = new QVBoxLayout;
    orbColumn->setSpacing(10);
    orbColumn->addWidget(Label3);
    orbColumn->addLayout(orbGrid);
    orbColumn->addStretch(1);

    // Orb proportions and the midpoint orb.
    Label1 = Named<QLabel>(this, QStringLiteral("Label1"));
    lblPersonalTransits = Named<QLabel>(this, QStringLiteral("lblPersonalTransits"));
    lblSynastry = Named<QLabel>(this, QStringLiteral("lblSynastry"));
    lblOrbForMidpoints = Named<QLabel>(this, QStringLiteral("lblOrbForMidpoints"));
    cboPersonalOrbsProportion[0] =
        BoundList(QStringLiteral("cboPersonalOrbsProportion0"), DivisorListEntries(),
                  &ConfigurationSettings::personalDivisorPosition);
    cboPersonalOrbsProportion[1] =
        BoundList(QStringLiteral("cboPersonalOrbsProportion1"), DivisorListEntries(),
                  &ConfigurationSettings::synastryDivisorPosition);
    cboOrbForMidpoints = BoundList(QStringLiteral("cboOrbForMidpoints"), MidpointOrbEntries(),
                                   &ConfigurationSettings::midpointOrbPosition);

    auto* proportionGrid = new QGridLayout;
    proportionGrid->setHorizontalSpacing(8);
    proportionGrid->setVerticalSpacing(4);
    proportionGrid->setContentsMargins(20, 0, 0, 0);
    proportionGrid->addWidget(lblPersonalTransits, 0, 0);
    proportionGrid->addWidget(cboPersonalOrbsProportion[0], 0, 1);
    proportionGrid->addWidget(lblSynastry, 1, 0);
    proportionGrid->addWidget(cboPersonalOrbsProportion[1], 1, 1);
    proportionGrid->setColumnStretch(2, 1);

    auto* midpointRow = new QHBoxLayout;
    midpointRow->setSpacing(8);
    midpointRow->addWidget(lblOrbForMidpoints);
    midpointRow->addWidget(cboOrbForMidpoints);
    midpointRow->addStretch(1);

    // The boldface rule.
    chkUseBoldface =
        BoundBox(QStringLiteral("chkUseBoldface"), &ConfigurationSettings::useBoldface);
    connect(chkUseBoldface, &QCheckBox::clicked, this, &frmConfigure::EnableBoldfaceChoices);
    opt1DegOfOrb = Named<QRadioButton>(this, QStringLiteral("opt1DegOfOrb"));
    connect(opt1DegOfOrb, &QRadioButton::clicked, this, [this] {
        edit_.controls.boldfaceOneDegree = true;
        ControlChanged();
    });
    optProportionOfOrb = Named<QRadioButton>(this, QStringLiteral("optProportionOfOrb"));
    connect(optProportionOfOrb, &QRadioButton::clicked, this, [this] {
        edit_.controls.boldfaceOneDegree = false;
        ControlChanged();
    });
    cboBoldfaceFactor = BoundList(QStringLiteral("cboBoldfaceFactor"), BoldfaceFactorEntries(),
                                  &ConfigurationSettings::boldfaceFactorPosition);
    lblOfOrb = Named<QLabel>(this, QStringLiteral("lblOfOrb"));

    auto* proportionRow = new QHBoxLayout;
    proportionRow->setSpacing(6);
    proportionRow->addWidget(optProportionOfOrb);
    proportionRow->addWidget(cboBoldfaceFactor);
    proportionRow->addWidget(lblOfOrb);
    proportionRow->addStretch(1);
    auto* boldfaceChoices = new QVBoxLayout;
    boldfaceChoices->setSpacing(4);
    boldfaceChoices->setContentsMargins(20, 0, 0, 0);
    boldfaceChoices->addWidget(opt1DegOfOrb);
    boldfaceChoices->addLayout(proportionRow);

    // The chart filters and the time-zone names.
    chkShowOnlyOuterPlanets =
        BoundBox(QStringLiteral("chkShowOnlyOuterPlanets"), &ConfigurationSettings::showOnlyOuter);
    chkShowOnlyEarthAspects =
        BoundBox(QStringLiteral("chkShowOnlyEarthAspects"), &ConfigurationSettings::showOnlyEarth);
    chkDisplayNATZabbr =
        BoundBox(QStringLiteral("chkDisplayNATZabbr"), &ConfigurationSettings::northAmericanZones);

    // The calendar of the dates, in a group of its own.
    fraDates = Named<QGroupBox>(this, QStringLiteral("fraDates"));
    cboCalendar = Named<QComboBox>(fraDates, QStringLiteral("cboCalendar"));
    cboCalendar->addItems({QString(), QString(), QString()});
    connect(cboCalendar, &QComboBox::activated, this, [this](int index) {
        edit_.controls.calendar = static_cast<CalendarChoice>(index);
        ControlChanged();
    });
    auto* datesRow = new QVBoxLayout(fraDates);
    datesRow->addWidget(cboCalendar);
    // The zodiac of the signs, beside it: both say how the birth data are read and written.
    fraZodiac = Named<QGroupBox>(this, QStringLiteral("fraZodiac"));
    cboZodiac = Named<QComboBox>(fraZodiac, QStringLiteral("cboZodiac"));
    cboZodiac->addItems({QString(), QString()});
    connect(cboZodiac, &QComboBox::activated, this, [this](int index) {
        edit_.controls.zodiac = index == 1 ? ZodiacChoice::OfDate : ZodiacChoice::J2000;
        ControlChanged();
    });
    auto* zodiacRow = new QVBoxLayout(fraZodiac);
    zodiacRow->addWidget(cboZodiac);
    auto* datesAndZodiac = new QHBoxLayout;
    datesAndZodiac->addWidget(fraDates, 1);
    datesAndZodiac->addWidget(fraZodiac, 1);

    auto* optionColumn = new QVBoxLayout;
    optionColumn->setSpacing(6);
    optionColumn->addWidget(Label1);
    optionColumn->addLayout(proportionGrid);
    optionColumn->addSpacing(4);
    optionColumn->addLayout(midpointRow);
    optionColumn->addSpacing(2);
    optionColumn->addWidget(Rule(this));
    optionColumn->addSpacing(2);
    optionColumn->addWidget(chkUseBoldface);
    optionColumn->addLayout(boldfaceChoices);
    optionColumn->addSpacing(2);
    optionColumn->addWidget(Rule(this));
    optionColumn->addSpacing(2);
    optionColumn->addWidget(chkShowOnlyOuterPlanets);
    optionColumn->addWidget(chkShowOnlyEarthAspects);
    optionColumn->addWidget(chkDisplayNATZabbr);
    fraWheel = new WheelOptionsBox(texts_, this);
    fraWheel->onChanged = [this](WheelStyle style, WheelTheme theme) {
        edit_.controls.wheelStyle = style;
        edit_.controls.wheelTheme = theme;
        ControlChanged();
    };
    optionColumn->addSpacing(4);
    optionColumn->addWidget(fraWheel);
    optionColumn->addSpacing(2);
    optionColumn->addLayout(datesAndZodiac);
    optionColumn->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(16);
    columns->addLayout(orbColumn);
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    columns->addWidget(divider);
    columns->addLayout(optionColumn);

    // The commands.
    cmdReset = Named<QPushButton>(this, QStringLiteral("cmdReset"));
    cmdAccept = Named<QPushButton>(this, QStringLiteral("cmdAccept"));
    cmdCancel = Named<QPushButton>(this, QStringLiteral("cmdCancel"));
    cmdHide = Named<QPushButton>(this, QStringLiteral("cmdHide"));
    for (QPushButton* button : {cmdReset, cmdAccept, cmdCancel, cmdHide}) {
        button->setMinimumWidth(LayoutUnitsToPixels(1350));
    }
    connect(cmdReset, &QPushButton::clicked, this, &frmConfigure::cmdReset_Click);
    connect(cmdAccept, &QPushButton::clicked, this, &frmConfigure::cmdAccept_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmConfigure::cmdCancel_Click);
    connect(cmdHide, &QPushButton::clicked, this, &frmConfigure::cmdHide_Click);

    auto* commandRow = new QHBoxLayout;
    commandRow->setSpacing(8);
    commandRow->addWidget(cmdReset);
    commandRow->addStretch(1);
    commandRow->addWidget(cmdAccept);
    commandRow->addWidget(cmdCancel);
    commandRow->addWidget(cmdHide);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(12);
    layout->addLayout(columns);
    layout->addWidget(Rule(this));
    layout->addLayout(commandRow);
}

void frmConfigure::SetCaptions() {
    // A text missing from the text file leaves the control its English caption.
    const auto caption = [this](int number, const char* english) {
        return texts_.HasText(number) ? texts_.ProgramText(number) : QString::fromUtf8(english);
    };
    setWindowTitle(WithoutMnemonic(caption(20, "Configuration")));
    Label3->setText(
        caption(354, "Select orbs for world transits and natal aspects.") + QLatin1Char('\n') +
        caption(355, "Left-click on lines to cycle through 12 colors.") + QLatin1Char('\n') +
        caption(356, "Right-click to toggle inclusion of an aspect."));
    Label1->setText(caption(357, "Proportion of above orbs for use with"));
    // What screen readers say for the lists and colour lines beside the aspect names, and the
    // tip that says what an orb is.
    const QString orbWord = QLatin1Char(' ') + caption(596, "orb");
    const QString orbTip = caption(594, "The largest distance from exact at which this aspect "
                                        "still counts, in world transits and natal aspects");
    for (int i = 0; i < NumAspectKinds; ++i) {
        lblAspectName[i]->setText(AspectName(AllAspectKinds[i]));
        cboOrb[i]->setAccessibleName(AspectName(AllAspectKinds[i]) + orbWord);
        cboOrb[i]->setToolTip(orbTip);
        lblAspectColor[i]->setAccessibleName(AspectName(AllAspectKinds[i]) + QLatin1Char(' ') +
                                             caption(597, "color"));
    }
    cboOrb[SetAllOrbList]->setAccessibleName(
        WithoutMnemonic(caption(358, "Set &all non-zero orbs to:")));
    const QString proportionTip =
        caption(599, "The part of the orbs above that personal transits and synastry use");
    for (QComboBox* list : cboPersonalOrbsProportion) {
        list->setToolTip(proportionTip);
    }
    cboPersonalOrbsProportion[0]->setAccessibleName(caption(161, "personal transits"));
    cboPersonalOrbsProportion[1]->setAccessibleName(
        WithoutMnemonic(caption(14, "Synastry")).toLower());
    cboOrbForMidpoints->setAccessibleName(caption(359, "Orb for midpoints"));
    cboBoldfaceFactor->setAccessibleName(caption(362, "of orb"));
    optProportionOfOrb->setAccessibleName(caption(362, "of orb"));
    cmdSetAllNonzeroOrbsToConjunctionOrb->setText(caption(358, "Set &all non-zero orbs to:"));
    lblPersonalTransits->setText(caption(161, "personal transits"));
    lblSynastry->setText(WithoutMnemonic(caption(14, "Synastry")).toLower());
    lblOrbForMidpoints->setText(caption(359, "Orb for midpoints"));
    chkUseBoldface->setText(caption(360, "Use &boldface when separation is less than"));
    opt1DegOfOrb->setText(caption(361, "&1 degree"));
    lblOfOrb->setText(caption(362, "of orb"));
    chkDisplayNATZabbr->setText(caption(364, "Display &North American timezones"));
    chkShowOnlyOuterPlanets->setText(QStringLiteral("Show only &outer planet aspects in chart"));
    chkShowOnlyEarthAspects->setText(QStringLiteral("Show only &Earth aspects in chart"));
    cmdReset->setText(caption(368, "&Reset to default"));
    cmdAccept->setText(caption(369, "&Use settings"));
    cmdCancel->setText(caption(117, "&Cancel"));
    cmdHide->setText(caption(372, "&Hide"));
    fraDates->setTitle(caption(513, "Ca&lendar of the dates"));
    cboCalendar->setAccessibleName(WithoutMnemonic(caption(513, "Ca&lendar of the dates")));
    cboCalendar->setItemText(0, caption(514, "Gregorian"));
    cboCalendar->setItemText(1, caption(515, "Julian"));
    cboCalendar->setItemText(2, caption(516, "Julian before 15 October 1582"));
    fraZodiac->setTitle(caption(520, "&Zodiac of the signs"));
    cboZodiac->setAccessibleName(WithoutMnemonic(caption(520, "&Zodiac of the signs")));
    cboZodiac->setItemText(0, caption(521, "J2000"));
    cboZodiac->setItemText(1, caption(522, "Of the date"));
}

void frmConfigure::setStartupCompleted(bool completed) {
    startupCompleted_ = completed;
}

void frmConfigure::ShowControls() {
    const ConfigurationSettings& shown = edit_.controls;
    for (int i = 0; i < NumOrbLists; ++i) {
        cboOrb[i]->setCurrentIndex(OrbListPosition(shown.orbs.degrees[i]));
    }
    for (int i = 0; i < NumAspectKinds; ++i) {
        lblAspectColor[i]->SetColour(shown.colours[i + 1]);
    }
    cboPersonalOrbsProportion[0]->setCurrentIndex(shown.personalDivisorPosition);
    cboPersonalOrbsProportion[1]->setCurrentIndex(shown.synastryDivisorPosition);
    cboOrbForMidpoints->setCurrentIndex(shown.midpointOrbPosition);
    chkUseBoldface->setChecked(shown.useBoldface);
    (shown.boldfaceOneDegree ? opt1DegOfOrb : optProportionOfOrb)->setChecked(true);
    cboBoldfaceFactor->setCurrentIndex(shown.boldfaceFactorPosition);
    chkShowOnlyOuterPlanets->setChecked(shown.showOnlyOuter);
    chkShowOnlyEarthAspects->setChecked(shown.showOnlyEarth);
    chkDisplayNATZabbr->setChecked(shown.northAmericanZones);
    fraWheel->Show(shown.wheelStyle, shown.wheelTheme);
    cboCalendar->setCurrentIndex(static_cast<int>(shown.calendar));
    cboZodiac->setCurrentIndex(shown.zodiac == ZodiacChoice::OfDate ? 1 : 0);
    EnableBoldfaceChoices();
}

void frmConfigure::EnableBoldfaceChoices() {
    const bool enabled = chkUseBoldface->isChecked();
    for (QWidget* choice : std::initializer_list<QWidget*>{opt1DegOfOrb, optProportionOfOrb,
                                                           cboBoldfaceFactor, lblOfOrb}) {
        choice->setEnabled(enabled);
    }
}

void frmConfigure::ControlChanged() {
    FocusIfUsable(cmdAccept);
}

void frmConfigure::FocusIfUsable(QWidget* widget) {
    if (!widget->isHidden() && widget->isEnabled()) {
        widget->setFocus();
    }
}

void frmConfigure::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Form_Activate();
    }
}

void frmConfigure::Form_Activate() {
    RestoreIfMinimised(this);
    if (mainWindow_ != nullptr && InNormalState(mainWindow_)) {
        PlaceWindows();
    }
    SetDisplayZodiacSectors(committed_);
    edit_.Activate(committed_);
    blnAccept = false;
    ShowControls();
    FocusIfUsable(cmdCancel);
}

void frmConfigure::PlaceWindows() {
    const QScreen* screen = mainWindow_->screen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    // A window much taller than the screen shrinks to fit, down to its minimum height.
    const int height =
        std::clamp(available.height() - (frameGeometry().height() - geometry().height()),
                   minimumHeight(), designSize_.height());
    if (height != this->height()) {
        resize(width(), height);
    }
    const ConfigurePlacement placement =
        PlaceBesideMainWindow(mainWindow_->frameGeometry(), frameGeometry().size(), available);
    move(placement.window);
    mainWindow_->move(placement.mainWindow);
}

void frmConfigure::cboOrb_Click(int index) {
    if (index < 0 || index >= NumOrbLists) {
        return;
    }
    if (edit_.SelectOrb(index, OrbDegreesOfPosition(cboOrb[index]->currentIndex()))) {
        const ConfigurationNotice refusal = SetAllZeroRefusal();
        dialogs_.ShowMessage(this, refusal.message, refusal.title, Dialogs::Icon::None);
        cboOrb[index]->setCurrentIndex(OrbListPosition(edit_.controls.orbs.degrees[index]));
        return;
    }
    FocusIfUsable(cmdAccept);
}

void frmConfigure::cmdSetAllNonzeroOrbsToConjunctionOrb_Click() {
    const double degrees = edit_.controls.orbs.degrees[SetAllOrbList];
    if (degrees == 0) {
        const ConfigurationNotice refusal = SetAllZeroRefusal();
        dialogs_.ShowMessage(this, refusal.message, refusal.title, Dialogs::Icon::None);
        return;
    }
    const ConfigurationNotice question = SetAllQuestion(texts_, degrees);
    if (dialogs_.Ask(this, question.message, question.title, Dialogs::Buttons::YesNo,
                     Dialogs::Answer::Yes, Dialogs::Icon::Question) != Dialogs::Answer::Yes) {
        return;
    }
    if (edit_.SetAllNonZeroOrbs()) {
        const ConfigurationNotice refusal = SetAllZeroRefusal();
        dialogs_.ShowMessage(this, refusal.message, refusal.title, Dialogs::Icon::None);
        return;
    }
    ShowControls();
    FocusIfUsable(cboPersonalOrbsProportion[0]);
}

void frmConfigure::lblAspectColor_MouseDown(int index, Qt::MouseButton button) {
    if (index < 0 || index >= NumAspectKinds) {
        return;
    }
    const AspectKind kind = AllAspectKinds[index];
    if (button == Qt::LeftButton) {
        edit_.CycleColour(kind);
    } else {
        edit_.ToggleColour(kind);
    }
    lblAspectColor[index]->SetColour(edit_.controls.colours[Index(kind)]);
}

void frmConfigure::cmdAccept_Click() {
    // The program's Compute fills its own orb table from the committed settings; these only
    // receive the copy that Accept makes.
    OrbTable orbs;
    OrbSummary summary;
    if (const std::optional<SettingsFault> fault = edit_.Accept(committed_, orbs, summary)) {
        dialogs_.ShowMessage(this, SettingsFaultMessage(*fault), windowTitle(),
                             Dialogs::Icon::Information);
        return;
    }
    blnAccept = true;
    if (mainWindow_ != nullptr) {
        RestoreIfMinimised(mainWindow_);
    }
    if (onSettingsCommitted) {
        onSettingsCommitted();
    }
}

void frmConfigure::cmdCancel_Click() {
    edit_.Cancel(committed_);
    ShowControls();
    QDialog::done(blnAccept ? QDialog::Accepted : QDialog::Rejected);
}

void frmConfigure::cmdHide_Click() {
    edit_.ApplyImmediateSettings(committed_);
    QDialog::done(blnAccept ? QDialog::Accepted : QDialog::Rejected);
}

void frmConfigure::reject() {
    cmdCancel_Click();
}

void frmConfigure::cmdReset_Click() {
    if (isVisible() && startupCompleted_) {
        const ConfigurationNotice question =
            ResetQuestion(texts_, WithoutMnemonic(cmdReset->text()));
        if (dialogs_.Ask(this, question.message, question.title, Dialogs::Buttons::YesNo,
                         Dialogs::Answer::No, Dialogs::Icon::Question) != Dialogs::Answer::Yes) {
            return;
        }
    }
    edit_.ResetToDefault();
    ShowControls();
    if (startupCompleted_) {
        cmdAccept_Click();
    }
}

} // namespace orbivex
