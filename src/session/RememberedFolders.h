#pragma once
// The folder last used for each kind of file, kept in the settings, so that the next file
// dialog for that kind opens where the user was, across restarts; without one (or once it is
// gone) the dialogs open in the user's documents folder, or the home folder when there is none.

#include "session/Dialogs.h"

namespace orbivex {

enum class FileKind { StateFile, Image };

// The folder the file dialogs of that kind open in.
QString StartFolder(FileKind kind);
// Keeps the folder of a file the user has just chosen.
void RememberFolder(FileKind kind, const QString& chosenFile);

// Dialogs whose file dialogs open in the remembered folder of one kind of file (unless the
// caller names a file) and remember the folder of the file chosen; the rest passes through.
class FolderRememberingDialogs : public Dialogs {
  public:
    FolderRememberingDialogs(Dialogs& dialogs, FileKind kind) : dialogs_(dialogs), kind_(kind) {}

    void ShowMessage(QWidget* parent, const QString& text, const QString& title,
                     Icon icon) override {
        dialogs_.ShowMessage(parent, text, title, icon);
    }
    Answer Ask(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
               Answer defaultAnswer, Icon icon) override {
        return dialogs_.Ask(parent, text, title, buttons, defaultAnswer, icon);
    }
    QString GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                            const QString& initialName) override;
    QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                            const QString& initialName) override;
    QString GetSaveFileNameAndType(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& initialName, QString& pickedPattern) override;
    PrintResult Print(QWidget* parent, const QString& title, const PaintPages& paint) override {
        return dialogs_.Print(parent, title, paint);
    }
    void PrintPreview(QWidget* parent, const QString& title, const PaintPages& paint) override {
        dialogs_.PrintPreview(parent, title, paint);
    }
    void PopUp(QWidget* parent, const QString& message, int width, int height, int intervalMs,
               int top, int left) override {
        dialogs_.PopUp(parent, message, width, height, intervalMs, top, left);
    }
    void SetClipboardText(const QString& text) override { dialogs_.SetClipboardText(text); }
    bool OpenExternally(const QString& target, std::function<void()> failedLater) override {
        return dialogs_.OpenExternally(target, std::move(failedLater));
    }

  private:
    QString Remembered(const QString& chosen);

    Dialogs& dialogs_;
    FileKind kind_;
};

} // namespace orbivex
