#pragma once
// Everything the program asks of the desktop besides its own windows: message boxes,
// questions, file dialogs, pop-up notes, the clipboard and opening a web address. The windows
// reach these only through this interface; the program passes the real one, tests a scripted
// one that answers from a list and records what was shown.

#include "session/MessageIcon.h"

#include <QString>
#include <functional>

class QPainter;
class QWidget;

namespace orbivex {

class Dialogs {
  public:
    using Icon = MessageIcon;
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Dialogs() = default;

    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& title,
                             Icon icon) = 0;
    virtual Answer Ask(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                       Answer defaultAnswer, Icon icon) = 0;
    // An empty text when the user cancels. filter: "Orbivex state (*.pat)".
    virtual QString GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                    const QString& initialName) = 0;
    virtual QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                    const QString& initialName) = 0;
    // A save dialog offering several file types, filter in pairs: "PNG images|*.png|SVG
    // images|*.svg". Also tells which pattern the user picked ("*.svg"), or "" when that is not
    // known; a name typed without an extension is left without one. An empty name on cancel.
    virtual QString GetSaveFileNameAndType(QWidget* parent, const QString& title,
                                           const QString& filter, const QString& initialName,
                                           QString& pickedPattern) {
        pickedPattern.clear();
        return GetSaveFileName(parent, title, filter, initialName);
    }

    // Draws a document onto a printer: the painter is begun on it, and the device's size is
    // the page's paint area.
    using PaintPages = std::function<void(QPainter&)>;
    enum class PrintResult { Printed, Cancelled, Failed };
    // The system's print dialog; when the user accepts, the document is printed on the printer
    // and with the settings chosen. Failed when the printer could not be started.
    virtual PrintResult Print(QWidget* parent, const QString& title, const PaintPages& paint) = 0;
    // The print preview: the document as it will be printed, which the user may print from
    // there (through the print dialog) or close.
    virtual void PrintPreview(QWidget* parent, const QString& title, const PaintPages& paint) = 0;
    // A borderless note that closes itself after intervalMs or when clicked; the caller waits.
    // Sizes and positions are in layout units (1/1440 inch, 15 to a pixel); top/left are
    // screen positions, or negative to centre the note on the screen.
    virtual void PopUp(QWidget* parent, const QString& message, int width, int height,
                       int intervalMs, int top, int left) = 0;
    virtual void SetClipboardText(const QString& text) = 0;
    // Opens a web address or document with the desktop's associated program. False when that
    // program could not be started; `failedLater` is called if the opener, once started, ends
    // saying that it found nothing to open the target with.
    virtual bool OpenExternally(const QString& target, std::function<void()> failedLater) = 0;

    // True while a message, question, file dialog or pop-up of this seam is on screen. Timers
    // keep firing under a dialog; what they pace (the steps of a pattern run) waits for it, so
    // that nothing changes under a question before it is answered.
    bool DialogOpen() const { return openDialogs_ > 0; }

  protected:
    // Held by an implementation for as long as one of its dialogs is on screen.
    class OpenDialog {
      public:
        explicit OpenDialog(Dialogs& dialogs) : dialogs_(dialogs) { ++dialogs_.openDialogs_; }
        ~OpenDialog() { --dialogs_.openDialogs_; }
        OpenDialog(const OpenDialog&) = delete;
        OpenDialog& operator=(const OpenDialog&) = delete;

      private:
        Dialogs& dialogs_;
    };

  private:
    int openDialogs_ = 0;
};

} // namespace orbivex
