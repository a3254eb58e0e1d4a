#pragma once
// The program's own Dialogs: Qt message boxes and file dialogs, the system clipboard, the
// desktop's opening of documents and addresses, and the pop-up note.

#include "app/Dialogs.h"

#include <memory>

namespace orbivex {

class frmPopUp;

// A file-type filter as a Qt file dialog takes it. Accepts "Description (*.ext)" as it is, and
// the paired form "Description (*.ext) | *.ext" (more pairs separated by "|" give more entries),
// in which each description gets its pattern in parentheses unless it names it already.
QString QtFileFilter(const QString& filter);

// The extension of a file-type entry's first pattern without its dot: "pat" for
// "State files (*.pat)"; "" when it has none, as "All files (*)".
QString DefaultSuffixOf(const QString& nameFilter);

// Message texts break lines with CR LF; a message box shows plain text with "\n" breaks.
QString MessageBoxText(const QString& text);

class QtDialogs : public Dialogs {
  public:
    QtDialogs();
    ~QtDialogs() override;

    void ShowMessage(QWidget* parent, const QString& text, const QString& title,
                     Icon icon) override;
    Answer Ask(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
               Answer defaultAnswer, Icon icon) override;
    QString GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                            const QString& initialName) override;
    QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                            const QString& initialName) override;
    // Negative top or left centre the note on the screen.
    void PopUp(QWidget* parent, const QString& message, int width, int height, int intervalMs,
               int top, int left) override;
    void SetClipboardText(const QString& text) override;
    bool OpenExternally(const QString& target, std::function<void()> failedLater) override;
    QString GetSaveFileNameAndType(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& initialName, QString& pickedPattern) override;
    PrintResult Print(QWidget* parent, const QString& title, const PaintPages& paint) override;
    void PrintPreview(QWidget* parent, const QString& title, const PaintPages& paint) override;

  private:
    // One note window, reused, so that each pop-up restarts the same timer.
    std::unique_ptr<frmPopUp> popUp_;
};

} // namespace orbivex
