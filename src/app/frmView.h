#pragma once
// The read-only text viewer the Help command shows the help file in. It reads its file the first
// time it becomes active and keeps the text while it is only hidden; closing it through its
// frame forgets the text, so the next showing reads the file afresh.

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace orbivex {

class Dialogs;
class ProgramTexts;

class frmView : public QWidget {
    Q_OBJECT

  public:
    frmView(Dialogs& dialogs, const ProgramTexts& texts, QWidget* parent = nullptr);

    QString strFilename;
    bool blnCopyToClipboardInvisible = false;
    bool blnFileDisplayed = false;

    QPlainTextEdit* txbView = nullptr;
    QPushButton* cmdCopyToClipboard = nullptr;
    QPushButton* cmdClose = nullptr;

    // The text put into the text box by the last successful read, CR LF line breaks included.
    const QString& DisplayedText() const { return displayedText_; }

    // Reads and shows the file unless it is displayed already; on failure tells the user why
    // and hides the viewer.
    void Form_Activate();

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void cmdClose_Click();
    void cmdCopyToClipboard_Click();

    Dialogs& dialogs_;
    const ProgramTexts& texts_;
    QString displayedText_;
    bool activating_ = false;
};

// The Help command of the main window: places the viewer over the main window (or restores it
// when minimized), points it at the help file of the program folder and shows it, not modal.
void ShowHelp(frmView& view, const QWidget& mainWindow, const QString& programFolder,
              const ProgramTexts& texts);

// The name of the help file in the program folder.
inline constexpr char kHelpFileName[] = "orbx_help.txt";

} // namespace orbivex
