#include "app/frmDurations.h"

#include "app/Dialogs.h"
#include "draw/Fonts.h"
#include "draw/LayoutUnits.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace orbivex {

namespace {

// Measures in layout units (1/1440 inch).
constexpr int kCopyLeft = 240;
constexpr int kButtonWidth = 1215;
constexpr int kSortListWidth = 900; // the list gives up width in a narrow window
constexpr int kBelowGridContainer = 1575;
constexpr int kExtraHeight = 200;
constexpr int kSmallestHeight = 3000; // the window is never placed lower than this

int Px(int layoutUnits) {
    return LayoutUnitsToPixels(layoutUnits);
}

} // namespace

frmDurations::frmDurations(Dialogs& dialogs, const ProgramTexts& texts, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), texts_(texts) {
    setObjectName(QStringLiteral("frmDurations"));
    const QFont arial = ProgramFont(QStringLiteral("Arial"), 9);
    setFont(arial);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setWordWrap(true);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSortBy = new QLabel(this);
    lblSortBy->setObjectName(QStringLiteral("lblSortBy"));
    cboSortBy = new QComboBox(this);
    cboSortBy->setObjectName(QStringLiteral("cboSortBy"));
    lblSortBy->setBuddy(cboSortBy);
    chkShowDuration = new QCheckBox(QStringLiteral("Show &durations"), this);
    chkShowDuration->setObjectName(QStringLiteral("chkShowDuration"));
    txbOutput = new QPlainTextEdit(this);
    txbOutput->setObjectName(QStringLiteral("txbOutput"));
    txbOutput->setReadOnly(true);
    txbOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The listing lines its columns up with spaces, which only a fixed-pitch font shows aligned.
    txbOutput->setFont(ProgramFont(QStringLiteral("Courier New"), 9));
    cmdCopy = new QPushButton(this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdClose = new QPushButton(this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    connect(cboSortBy, &QComboBox::currentIndexChanged, this, &frmDurations::cboSortBy_Click);
    connect(chkShowDuration, &QCheckBox::clicked, this, &frmDurations::chkShowDuration_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmDurations::cmdCopy_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmDurations::cmdClose_Click);
    // Escape closes the window as Close does; the copy key copies the list as Copy does (in
    // the list itself it copies what is selected there).
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &frmDurations::cmdClose_Click);
    new QShortcut(QKeySequence::Copy, this, this, &frmDurations::cmdCopy_Click);

    // The title over the list, which takes the room; under it Copy at the left, Close at the
    // right and the sort choices between them.
    for (QPushButton* button : {cmdCopy, cmdClose}) {
        button->setMinimumWidth(Px(kButtonWidth));
    }
    cboSortBy->setMinimumWidth(Px(kSortListWidth));
    auto* row = new QHBoxLayout;
    row->addWidget(cmdCopy);
    row->addStretch(1);
    row->addWidget(lblSortBy);
    row->addWidget(cboSortBy);
    row->addSpacing(Px(250));
    row->addWidget(chkShowDuration);
    row->addStretch(1);
    row->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    const int margin = Px(kCopyLeft);
    layout->setContentsMargins(margin, Px(120), margin, Px(200));
    layout->addWidget(lblTitle);
    layout->addWidget(txbOutput, 1);
    layout->addLayout(row);
    resize(Px(12000), Px(5000));
}

void frmDurations::Report(const ProgramState& state, const Ephemeris& ephemeris,
                          const MainWindowPlacement& placement) {
    if (placement.background.isValid()) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, placement.background);
        setPalette(palette);
        setAutoFillBackground(true);
    }
    if (!placement.icon.isNull()) {
        setWindowIcon(placement.icon);
    }
    content_ = MakeDurationsContent(state, ephemeris, texts_);
    setWindowTitle(content_.heading.caption);
    txbOutput->setAccessibleName(content_.heading.caption);
    lblTitle->setText(content_.heading.title);
    txbOutput->clear();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (isVisible()) {
        Form_Activate();
    }
    show();
    // Placed once shown, when the frame that top, left, width and height include is known.
    const QRect main = placement.frame;
    const int top = main.top() + placement.gridContainerTop + Px(kBelowGridContainer);
    // The window reaches down to just below the main window's bottom edge.
    const int height = std::max(main.bottom() + 1 - top + Px(kExtraHeight), Px(kSmallestHeight));
    mainWidth_ = std::max(main.width(), Px(6000));
    // Wide enough for the longest line (the exact moments make the lines of transits long),
    // as far as the screen allows.
    {
        const QFontMetrics metrics(txbOutput->font());
        int longest = 0;
        for (const QString& line : content_.output.split(QLatin1Char('\n'))) {
            longest = std::max(longest, metrics.horizontalAdvance(line.trimmed()));
        }
        const int needed = longest + 2 * Px(kCopyLeft) +
                           txbOutput->verticalScrollBar()->sizeHint().width() +
                           2 * txbOutput->frameWidth() + 2 * metrics.averageCharWidth();
        const QScreen* screen = this->screen();
        const int room = screen != nullptr ? screen->availableGeometry().width() : needed;
        mainWidth_ = std::max(mainWidth_, std::min(needed, room));
    }
    const QSize frame = frameGeometry().size() - size();
    move(main.left(), top);
    resize(std::max(1, mainWidth_ - frame.width()), std::max(1, height - frame.height()));
    raise();
    activateWindow();
    cmdClose->show();
}

void frmDurations::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Activate();
}

// Each showing starts from the first sort choice with durations shown.
void frmDurations::Form_Activate() {
    lblSortBy->setText(texts_.ProgramText(text::SortBy));
    cmdCopy->setText(texts_.ProgramText(text::DurationsCopy));
    cmdClose->setText(texts_.ProgramText(text::DurationsClose));
    chkShowDuration->setText(QStringLiteral("Show &durations"));

    const bool transits = ModeHasDurations(content_.mode);
    if (transits && !content_.sortChoices.isEmpty()) {
        content_.showDurations = true;
        SelectSort(content_, 0, texts_);
    }
    {
        blnFillingSortList = true;
        const QSignalBlocker blocker(cboSortBy);
        cboSortBy->clear();
        for (const SortChoice& choice : content_.sortChoices) {
            cboSortBy->addItem(choice.text);
        }
        cboSortBy->setCurrentIndex(content_.sortIndex);
        blnFillingSortList = false;
    }
    cboSortBy->setVisible(transits && content_.sortListVisible);
    lblSortBy->setVisible(cboSortBy->isVisibleTo(this));
    {
        const QSignalBlocker blocker(chkShowDuration);
        chkShowDuration->setChecked(content_.showDurations);
    }
    chkShowDuration->setVisible(transits);
    ShowOutput();
    // The window opens on the list, which the keys then scroll.
    txbOutput->setFocus();
}

void frmDurations::closeEvent(QCloseEvent* event) {
    // The close box only hides the window, as Close does.
    event->ignore();
    cmdClose_Click();
}

void frmDurations::cboSortBy_Click(int index) {
    if (blnFillingSortList || index < 0) {
        return;
    }
    const bool durationsWereShown = content_.showDurations;
    SelectSort(content_, index, texts_);
    if (content_.showDurations != durationsWereShown) {
        FitWidthToDurations();
    }
    {
        const QSignalBlocker blocker(chkShowDuration);
        chkShowDuration->setChecked(content_.showDurations);
    }
    ShowOutput();
    if (cmdClose->isVisible() && cmdClose->isEnabled()) {
        cmdClose->setFocus();
    }
}

void frmDurations::chkShowDuration_Click(bool checked) {
    txbOutput->clear();
    SetShowDurations(content_, checked, texts_);
    FitWidthToDurations();
    ShowOutput();
}

void frmDurations::FitWidthToDurations() {
    // As wide as the main window with the dates, half as wide without them.
    if (!isMaximized() && mainWidth_ > 0) {
        const int frameWidth = frameGeometry().width() - width();
        resize(std::max(1, (content_.showDurations ? mainWidth_ : mainWidth_ / 2) - frameWidth),
               height());
    }
}

void frmDurations::cmdCopy_Click() {
    dialogs_.SetClipboardText(CopyText(content_));
}

void frmDurations::cmdClose_Click() {
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    hide();
}

void frmDurations::ShowOutput() {
    txbOutput->setPlainText(content_.output);
}

} // namespace orbivex
