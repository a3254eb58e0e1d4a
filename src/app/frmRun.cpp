#include "app/frmRun.h"

#include "app/Dialogs.h"
#include "calendar/Calendar.h"
#include "core/Bodies.h"
#include "draw/Fonts.h"
#include "draw/LayoutUnits.h"
#include "present/Messages.h"
#include "present/PatternTexts.h"
#include "session/PatternRun.h"
#include "support/Mnemonic.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace orbivex {
using enum PatternIndex;

namespace {

// Placement beside the main window, in layout units.
constexpr int BottomAboveMainBottom = 120;
constexpr int LeftRightOfToggle = 100;

constexpr int RefreshIntervalMs = 1000;
// How often a find's progress is shown; without a thread of its own, the find steps for most
// of each interval and the window's events are served in between.
constexpr int FindIntervalMs = 50;
constexpr int FindSliceMs = 30;
constexpr int ProgressSteps = 1000;
constexpr int ButtonWidth = 1200; // layout units
constexpr int ListWidth = 2200;

} // namespace

QPoint RunWindowTopLeft(int mainWindowBottom, int toggleLeft, int windowHeight) {
    return {toggleLeft + LayoutUnitsToPixels(LeftRightOfToggle),
            mainWindowBottom - LayoutUnitsToPixels(BottomAboveMainBottom) - windowHeight};
}

frmRun::frmRun(PatternRun& run, const ProgramTexts& texts, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), run_(run), texts_(texts), dialogs_(dialogs), numBodies_(MaxBodies) {
    setObjectName(QStringLiteral("frmRun"));
    setModal(true);
    setFont(ProgramFont(QStringLiteral("Arial"), 9));

    lblRunUntilFinding = new QLabel(QStringLiteral("Run until stopped or until finding a"), this);
    cboAspectPattern = new QComboBox(this);
    cmdClearAspectPattern = new QPushButton(QStringLiteral("C&lear"), this);
    fraFrame = new QGroupBox(this);
    chkTwoOrMore = new QCheckBox(fraFrame);
    cboNumToFind = new QComboBox(fraFrame);
    lblInvolving = new QLabel(QStringLiteral("Involving these planets:"), fraFrame);
    for (QComboBox*& list : cboSoughtPlanet) {
        list = new QComboBox(fraFrame);
        list->setMinimumWidth(LayoutUnitsToPixels(ListWidth));
    }
    cmdClearAll = new QPushButton(QStringLiteral("Clear &planets"), fraFrame);
    chkRunQuickly = new QCheckBox(this);
    cmdRun = new QPushButton(this);
    cmdFind = new QPushButton(this);
    prgFind = new QProgressBar(this);
    cmdCancel = new QPushButton(this);
    Timer1 = new QTimer(this);
    tmrFind = new QTimer(this);
    tmrFind->setInterval(FindIntervalMs);
    Timer1->setInterval(RefreshIntervalMs);

    lblRunUntilFinding->setObjectName(QStringLiteral("lblRunUntilFinding"));
    cboAspectPattern->setObjectName(QStringLiteral("cboAspectPattern"));
    cmdClearAspectPattern->setObjectName(QStringLiteral("cmdClearAspectPattern"));
    fraFrame->setObjectName(QStringLiteral("fraFrame"));
    chkTwoOrMore->setObjectName(QStringLiteral("chkTwoOrMore"));
    cboNumToFind->setObjectName(QStringLiteral("cboNumToFind"));
    lblInvolving->setObjectName(QStringLiteral("lblInvolving"));
    for (size_t i = 0; i < cboSoughtPlanet.size(); ++i) {
        cboSoughtPlanet[i]->setObjectName(QStringLiteral("cboSoughtPlanet%1").arg(i));
    }
    cmdClearAll->setObjectName(QStringLiteral("cmdClearAll"));
    chkRunQuickly->setObjectName(QStringLiteral("chkRunQuickly"));
    cmdRun->setObjectName(QStringLiteral("cmdRun"));
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    prgFind->setObjectName(QStringLiteral("prgFind"));
    tmrFind->setObjectName(QStringLiteral("tmrFind"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Timer1->setObjectName(QStringLiteral("Timer1"));

    cboAspectPattern->setMinimumWidth(LayoutUnitsToPixels(ListWidth));
    cmdRun->setMinimumWidth(LayoutUnitsToPixels(ButtonWidth));
    cmdCancel->setMinimumWidth(LayoutUnitsToPixels(ButtonWidth));
    cmdFind->setMinimumWidth(LayoutUnitsToPixels(ButtonWidth));
    prgFind->setRange(0, ProgressSteps);
    prgFind->setTextVisible(true);
    prgFind->setVisible(false);
    cmdRun->setDefault(true);
    for (int n = 2; n <= 9; ++n) {
        cboNumToFind->addItem(QString::number(n));
    }

    auto* patternRow = new QHBoxLayout;
    patternRow->addWidget(cboAspectPattern, 1);
    patternRow->addWidget(cmdClearAspectPattern);

    auto* frameLayout = new QGridLayout(fraFrame);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(chkTwoOrMore);
    countRow->addWidget(cboNumToFind);
    countRow->addStretch(1);
    frameLayout->addLayout(countRow, 0, 0, 1, 2);
    frameLayout->addWidget(lblInvolving, 1, 0, 1, 2);
    for (int i = 0; i < 3; ++i) {
        frameLayout->addWidget(cboSoughtPlanet[static_cast<size_t>(i)], 2 + i, 0);
    }
    frameLayout->addWidget(cmdClearAll, 2, 1, Qt::AlignTop);
    frameLayout->setColumnStretch(0, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdRun);
    buttonRow->addWidget(cmdFind);
    buttonRow->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblRunUntilFinding);
    layout->addLayout(patternRow);
    layout->addWidget(fraFrame);
    layout->addWidget(chkRunQuickly);
    layout->addWidget(prgFind);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The first showing: nothing chosen yet, "Find at least" usable but not its count.
    chkTwoOrMore->setChecked(run_.findAtLeast);
    chkRunQuickly->setChecked(run_.runQuickly);
    cboNumToFind->setCurrentIndex(std::clamp(run_.numToFindIndex, 0, 7));
    cmdClearAspectPattern->setEnabled(false);
    chkTwoOrMore->setEnabled(true);
    cboNumToFind->setEnabled(false);
    cmdClearAll->setEnabled(false);

    connect(cboAspectPattern, &QComboBox::currentIndexChanged, this,
            &frmRun::cboAspectPattern_Click);
    connect(cmdClearAspectPattern, &QPushButton::clicked, this,
            &frmRun::cmdClearAspectPattern_Click);
    connect(chkTwoOrMore, &QCheckBox::clicked, this, &frmRun::chkTwoOrMore_Click);
    connect(cboNumToFind, &QComboBox::currentIndexChanged, this,
            [this](int index) { run_.numToFindIndex = std::max(index, 0); });
    for (int i = 0; i < 3; ++i) {
        connect(cboSoughtPlanet[static_cast<size_t>(i)], &QComboBox::currentIndexChanged, this,
                [this, i] { cboSoughtPlanet_Click(i); });
    }
    connect(cmdClearAll, &QPushButton::clicked, this, &frmRun::cmdClearAll_Click);
    connect(chkRunQuickly, &QCheckBox::toggled, this,
            [this](bool checked) { run_.runQuickly = checked; });
    connect(cmdRun, &QPushButton::clicked, this, &frmRun::cmdRun_Click);
    connect(cmdFind, &QPushButton::clicked, this, &frmRun::cmdFind_Click);
    connect(tmrFind, &QTimer::timeout, this, &frmRun::tmrFind_Timer);
    connect(cmdCancel, &QPushButton::clicked, this, &frmRun::cmdCancel_Click);
    connect(Timer1, &QTimer::timeout, this, &frmRun::Timer1_Timer);

    PrepareToShow();
}

void frmRun::SetNumBodies(int numBodies) {
    numBodies_ = std::clamp(numBodies, 0, MaxBodies);
}

void frmRun::SetBackColour(int colour) {
    const QColor back(RedOf(colour), GreenOf(colour), BlueOf(colour));
    // Greyed-out captions must stay readable on whatever colour the main window has.
    const QColor dimmed = back.lightness() > 128 ? back.darker(170) : back.lighter(170);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, back);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, dimmed);
    }
    setPalette(palette);
    setAutoFillBackground(true);
}

void frmRun::PrepareToShow() {
    run_.cancelled = false;
    setWindowTitle(WithoutMnemonic(texts_.ProgramText(text::Run)));
    chkTwoOrMore->setText(texts_.ProgramText(text::FindAtLeast));
    chkRunQuickly->setText(texts_.ProgramText(text::RunQuickly));
    chkRunQuickly->setToolTip(texts_.ProgramText(text::RunQuicklyTip));
    cboAspectPattern->setAccessibleName(texts_.ProgramText(text::PatternToFind));
    cboNumToFind->setAccessibleName(texts_.ProgramText(text::NumberToFind));
    for (size_t i = 0; i < cboSoughtPlanet.size(); ++i) {
        cboSoughtPlanet[i]->setAccessibleName(texts_.ProgramText(text::PlanetWord) +
                                              QLatin1Char(' ') + QString::number(i + 1));
    }
    cmdRun->setText(texts_.ProgramText(text::Run));
    cmdFind->setText(texts_.ProgramText(text::FindButton));
    foundByFind_.reset();
    cmdCancel->setText(texts_.ProgramText(text::RunCancel));

    refilling_ = true;
    cboAspectPattern->clear();
    for (PatternIndex pattern : AllPatterns) {
        cboAspectPattern->addItem(PatternName(pattern));
    }
    cboAspectPattern->setCurrentIndex(PatternNumber(run_.rememberedPattern));
    for (size_t i = 0; i < cboSoughtPlanet.size(); ++i) {
        QComboBox* list = cboSoughtPlanet[i];
        list->clear();
        list->addItem(QString());
        for (BodyIndex body : BodiesInUse(numBodies_)) {
            list->addItem(BodyName(body));
        }
        const int entry = run_.RememberedBodies[i];
        list->setCurrentIndex(entry > 0 && entry <= numBodies_ ? entry : 0);
    }
    refilling_ = false;
    FollowPatternSelection();
}

void frmRun::ShowModal(const QPoint& topLeft) {
    PrepareToShow();
    move(topLeft);
    // The window opens on the pattern list, or on Run when a pattern is chosen already.
    if (PatternChosen()) {
        cmdRun->setFocus();
    } else {
        cboAspectPattern->setFocus();
    }
    exec();
}

bool frmRun::PatternChosen() const {
    return cboAspectPattern->currentIndex() >= 0;
}

void frmRun::EnableSoughtBodyLists(bool enabled) {
    if (Finding()) {
        return; // the choices are held
    }
    for (QComboBox* list : cboSoughtPlanet) {
        list->setEnabled(enabled);
    }
    lblInvolving->setEnabled(cboSoughtPlanet[0]->isEnabled());
}

void frmRun::FollowPatternSelection() {
    const bool chosen = PatternChosen();
    cmdClearAspectPattern->setEnabled(chosen);
    fraFrame->setEnabled(chosen);
    chkTwoOrMore->setEnabled(chosen);
    lblInvolving->setEnabled(chosen);
    cmdClearAll->setEnabled(chosen);
    cboNumToFind->setEnabled(chkTwoOrMore->isChecked());
    if (chosen) {
        for (QComboBox* list : cboSoughtPlanet) {
            list->setEnabled(true);
        }
    }
}

void frmRun::FocusRun() {
    if (cmdRun->isVisible() && cmdRun->isEnabled()) {
        cmdRun->setFocus();
    }
}

std::array<int, 3> frmRun::SoughtEntries() const {
    std::array<int, 3> entries{};
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i] = std::max(cboSoughtPlanet[i]->currentIndex(), 0);
    }
    return entries;
}

void frmRun::cboAspectPattern_Click() {
    if (refilling_) {
        return;
    }
    FollowPatternSelection();
    FocusRun();
    run_.rememberedPattern = PatternOfNumber(cboAspectPattern->currentIndex());
}

void frmRun::chkTwoOrMore_Click() {
    run_.findAtLeast = chkTwoOrMore->isChecked();
    cboNumToFind->setEnabled(chkTwoOrMore->isChecked());
    FocusRun();
}

void frmRun::cboSoughtPlanet_Click(int index) {
    if (refilling_) {
        return;
    }
    FocusRun();
    const int entry = std::max(cboSoughtPlanet[static_cast<size_t>(index)]->currentIndex(), 0);
    run_.RememberedBodies[static_cast<size_t>(index)] = entry;
    if (entry > 0) {
        cmdClearAll->setEnabled(true);
    }
}

void frmRun::cmdClearAll_Click() {
    for (QComboBox* list : cboSoughtPlanet) {
        list->setCurrentIndex(0);
    }
    cmdClearAll->setEnabled(false);
    run_.bodiesSought = false;
}

void frmRun::cmdClearAspectPattern_Click() {
    cboAspectPattern->setCurrentIndex(-1);
    run_.rememberedPattern = NoPattern;
}

bool frmRun::AcceptChoices() {
    const std::array<int, 3> entries = SoughtEntries();
    if (SoughtBodiesRepeat(entries)) {
        dialogs_.ShowMessage(this, RepeatedBodyMessage(), RepeatedBodyTitle(),
                             Dialogs::Icon::Exclamation);
        return false;
    }
    run_.findAtLeast = chkTwoOrMore->isChecked();
    run_.numToFindIndex = std::max(cboNumToFind->currentIndex(), 0);
    run_.runQuickly = chkRunQuickly->isChecked();
    run_.AcceptChoices(PatternOfNumber(cboAspectPattern->currentIndex()), entries);
    return true;
}

void frmRun::cmdRun_Click() {
    if (Finding() || !AcceptChoices()) {
        return;
    }
    done(QDialog::Accepted);
}

void frmRun::SetFindSource(FindSource source) {
    findSource_ = std::move(source);
}

std::optional<FindOutcome> frmRun::TakeFind() {
    std::optional<FindOutcome> found = std::move(foundByFind_);
    foundByFind_.reset();
    return found;
}

void frmRun::HoldChoices(bool held) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             cboAspectPattern, cmdClearAspectPattern, fraFrame, chkRunQuickly, cmdRun, cmdFind}) {
        control->setEnabled(!held);
    }
    if (!held) {
        FollowPatternSelection();
    }
}

void frmRun::cmdFind_Click() {
    if (Finding() || !findSource_ || !AcceptChoices()) {
        return;
    }
    find_ = findSource_();
    if (!find_) {
        return;
    }
    HoldChoices(true);
    prgFind->setValue(0);
    prgFind->setFormat(ProgressDateText(find_->StartJulianDay(), find_->Zone()));
    prgFind->setVisible(true);
    cmdCancel->setFocus();
    tmrFind->start();
}

void frmRun::tmrFind_Timer() {
    if (!find_) {
        tmrFind->stop();
        return;
    }
    find_->Advance(FindSliceMs);
    const double start = find_->StartJulianDay();
    const double reached = find_->ReachedJulianDay();
    const double end = find_->EndJulianDay();
    if (end > start) {
        prgFind->setValue(static_cast<int>(ProgressSteps * (reached - start) / (end - start)));
    }
    prgFind->setFormat(ProgressDateText(reached, find_->Zone()));
    if (!find_->Finished()) {
        return;
    }
    const FindOutcome outcome = find_->Outcome();
    EndFind();
    switch (outcome.end) {
    case FindOutcome::End::Found:
        // The main window sets the world date, computes and says what was found.
        foundByFind_ = outcome;
        run_.cancelled = true; // no run follows
        done(QDialog::Rejected);
        break;
    case FindOutcome::End::NotFound:
        if (outcome.stop.notFound) {
            dialogs_.ShowMessage(this, RunStopMessage(outcome.stop, texts_),
                                 RunStopTitle(outcome.stop, texts_), Dialogs::Icon::Information);
        }
        break;
    case FindOutcome::End::Failed:
        if (!outcome.compute) {
            const DateErrorText report = ReportDateError(texts_, outcome.compute.error());
            dialogs_.ShowMessage(this, report.message, report.title, Dialogs::Icon::Information);
        }
        break;
    case FindOutcome::End::Cancelled:
        break;
    }
}

void frmRun::EndFind() {
    tmrFind->stop();
    if (find_) {
        find_->Cancel();
        find_.reset();
    }
    prgFind->setVisible(false);
    HoldChoices(false);
    FocusRun();
}

void frmRun::cmdCancel_Click() {
    if (Finding()) {
        // Ends the find; the world date stays where it was, and the window stays open.
        EndFind();
        return;
    }
    run_.CancelChoices(PatternOfNumber(cboAspectPattern->currentIndex()));
    done(QDialog::Rejected);
}

void frmRun::reject() {
    cmdCancel_Click();
}

void frmRun::closeEvent(QCloseEvent* event) {
    // The close box hides the window as Cancel does, a find first; the window lives on.
    event->ignore();
    if (Finding()) {
        EndFind();
    }
    cmdCancel_Click();
}

void frmRun::Timer1_Timer() {
    if (Finding()) {
        return; // the choices are held
    }
    const bool chosen = PatternChosen();
    fraFrame->setEnabled(chosen);
    chkTwoOrMore->setEnabled(fraFrame->isEnabled());
    cmdClearAll->setEnabled(false);
    if (fraFrame->isEnabled()) {
        for (QComboBox* list : cboSoughtPlanet) {
            if (list->currentIndex() > 0) {
                cmdClearAll->setEnabled(true);
                return;
            }
        }
    }
    cboNumToFind->setEnabled(chkTwoOrMore->isChecked());
}

} // namespace orbivex
