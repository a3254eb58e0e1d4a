#include "app/frmView.h"

#include "app/Dialogs.h"
#include "draw/Fonts.h"
#include "draw/LayoutUnits.h"
#include "present/ViewerDisplay.h"
#include "session/ViewerText.h"
#include "support/Mnemonic.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace orbivex {

namespace {

// Window measures in layout units.
constexpr int kMinimumWidth = 8000;
constexpr int kMinimumHeight = 2000;
constexpr int kMargin = 120;
constexpr int kButtonWidth = 1200;

// Placement of the help viewer relative to the main window.
constexpr int kHelpTopOffset = 380;
constexpr int kHelpLeftOffset = 100;
constexpr int kHelpWidthReduction = 200;
constexpr int kHelpHeightReduction = 480;

} // namespace

frmView::frmView(Dialogs& dialogs, const ProgramTexts& texts, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), texts_(texts) {
    setObjectName(QStringLiteral("frmView"));
    setMinimumSize(LayoutUnitsToPixels(kMinimumWidth), LayoutUnitsToPixels(kMinimumHeight));
    resize(LayoutUnitsToPixels(12000), LayoutUnitsToPixels(8000));

    txbView = new QPlainTextEdit(this);
    txbView->setObjectName(QStringLiteral("txbView"));
    txbView->setReadOnly(true);
    txbView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txbView->setAccessibleName(texts_.ProgramText(text::HelpTextName));

    cmdCopyToClipboard = new QPushButton(QStringLiteral("&Copy to clipboard"), this);
    cmdCopyToClipboard->setObjectName(QStringLiteral("cmdCopyToClipboard"));
    cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    const QFont buttonFont = ProgramFont(QStringLiteral("Arial"), 9);
    cmdCopyToClipboard->setFont(buttonFont);
    cmdClose->setFont(buttonFont);

    connect(cmdClose, &QPushButton::clicked, this, &frmView::cmdClose_Click);
    // Escape closes the window as Close does.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &frmView::cmdClose_Click);
    connect(cmdCopyToClipboard, &QPushButton::clicked, this, &frmView::cmdCopyToClipboard_Click);

    // The text fills the window; Copy stands under its left edge, Close under its right.
    for (QPushButton* button : {cmdCopyToClipboard, cmdClose}) {
        button->setMinimumWidth(LayoutUnitsToPixels(kButtonWidth));
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopyToClipboard);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    const int margin = LayoutUnitsToPixels(kMargin);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(txbView, 1);
    layout->addLayout(buttons);
}

void frmView::Form_Activate() {
    cmdCopyToClipboard->setVisible(!blnCopyToClipboardInvisible);
    if (blnFileDisplayed || activating_ || !isVisible()) {
        return;
    }
    activating_ = true;
    cmdClose->setText(QStringLiteral("C&lose"));
    txbView->clear();
    txbView->setReadOnly(true);
    displayedText_.clear();

    const ViewerFile file = ReadViewerFile(strFilename);
    switch (file.status) {
    case ViewerFile::Status::Read:
        displayedText_ = ViewerDisplayText(file.text);
        txbView->setPlainText(displayedText_);
        txbView->moveCursor(QTextCursor::Start);
        // The keys scroll the text at once.
        txbView->setFocus();
        blnFileDisplayed = true;
        break;
    case ViewerFile::Status::Empty:
        dialogs_.ShowMessage(this, texts_.ProgramTextWith(text::HelpFileEmpty, strFilename),
                             texts_.ProgramText(text::HelpFileEmptyTitle),
                             Dialogs::Icon::Exclamation);
        hide();
        break;
    case ViewerFile::Status::Failed:
        dialogs_.ShowMessage(
            this,
            texts_.ProgramTextWith(text::HelpFileUnreadable, strFilename, file.errorDescription),
            texts_.ProgramText(text::HelpFileUnreadableTitle), Dialogs::Icon::Exclamation);
        hide();
        break;
    }
    activating_ = false;
}

bool frmView::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QWidget::event(event);
}

void frmView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window that is shown may never be activated (another window keeps the focus), yet it
    // must not stay empty; reading once the show has completed covers both cases.
    QTimer::singleShot(0, this, &frmView::Form_Activate);
}

void frmView::closeEvent(QCloseEvent* event) {
    blnFileDisplayed = false;
    event->accept();
}

void frmView::cmdClose_Click() {
    // Only hidden: the next Help shows the same text without reading the file again.
    hide();
}

void frmView::cmdCopyToClipboard_Click() {
    dialogs_.SetClipboardText(displayedText_);
}

void ShowHelp(frmView& view, const QWidget& mainWindow, const QString& programFolder,
              const ProgramTexts& texts) {
    if (view.isMinimized()) {
        view.setWindowState(view.windowState() & ~Qt::WindowMinimized);
    } else if (!view.isMaximized() && !view.isFullScreen()) {
        const QRect main = mainWindow.geometry();
        view.setGeometry(main.left() + LayoutUnitsToPixels(kHelpLeftOffset),
                         main.top() + LayoutUnitsToPixels(kHelpTopOffset),
                         std::max(1, main.width() - LayoutUnitsToPixels(kHelpWidthReduction)),
                         std::max(1, main.height() - LayoutUnitsToPixels(kHelpHeightReduction)));
    }
    view.strFilename = QDir(programFolder).filePath(QLatin1String(kHelpFileName));
    view.setWindowTitle(WithoutMnemonic(texts.ProgramText(text::Help)));
    view.blnCopyToClipboardInvisible = true;
    view.txbView->setFont(ProgramFont(QStringLiteral("Arial"), 11));
    view.show();
    view.raise();
    view.activateWindow();
}

} // namespace orbivex
