#pragma once
// The flows of the windows that go through the dialog seam: the file dialogs that remember
// their folder, settling the file a "Save as" writes (asking before a file is replaced), saving
// the chart picture as an image, and opening the manual or a web address in the browser. The
// layers below decide and write; these ask and show.

#include "app/Dialogs.h"
#include "draw/ImageExport.h"
#include "session/RememberedFolders.h"
#include "session/SaveTarget.h"

#include <QImage>
#include <QString>

class QWidget;

namespace orbivex {

class ProgramTexts;

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

// The file a "Save as" writes, from the name the file dialog returned (SaveTargetOf); when the
// name with its extension added is an existing file, the user is asked first, titled `title`.
// "" when the user does not want it replaced.
QString ConfirmedSaveTarget(Dialogs& dialogs, QWidget* parent, const QString& chosen,
                            const QString& extension, OtherExtension other, const QString& title);

// The image half of "Save as ...": the save dialog (title program text 132, file type program
// text 133 for *.png), the files, and the message titled with the command's caption. A name
// that got ".png" added and names an existing file is replaced only when the user agrees.
// Cancelled when the dialog is cancelled or no name is given.
ImageSaveResult SaveImageAs(Dialogs& dialogs, QWidget* parent, const QImage& image,
                            const ProgramTexts& texts, const QString& saveAsCaption);

// "Save as ..." of the wheel: the save dialog (title program text 132) offers PNG and SVG
// images (program texts 133 and 566). A name ending in .png or .svg (any case) says the type;
// any other name takes the type picked in the dialog (PNG when it tells none) and gets its
// extension, replacing an existing file of that name only when the user agrees. The files are
// written as SaveImageFiles and SaveSvgFile write them, and the message is titled with the
// command's caption. Cancelled when the dialog is cancelled or no name is given.
ImageSaveResult SaveWheelImageAs(Dialogs& dialogs, QWidget* parent, const ExportInput& input,
                                 const ProgramTexts& texts, const QString& saveAsCaption);

// Opens the target (a local file or a web address) with the desktop's web browser; when none
// could be started, says so over `parent`, naming the target and what to do. Returns true
// when the opener was started; should it then find no browser, the same message follows.
bool OpenInBrowser(const QString& target, const ProgramTexts& texts, Dialogs& dialogs,
                   QWidget* parent = nullptr);

// The click on the main window's address label: opens the user manual that belongs to the
// program folder in the web browser, or says where the missing manual was expected.
bool OpenUserManual(const QString& programFolder, const ProgramTexts& texts, Dialogs& dialogs,
                    QWidget* parent = nullptr);

} // namespace orbivex
