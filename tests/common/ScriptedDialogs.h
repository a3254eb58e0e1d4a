#pragma once
// A Dialogs for tests: records every message, question, file dialog, pop-up, clipboard text and
// opening that the code under test asks for, and answers questions and file dialogs from queues
// that the test fills beforehand. A question or file dialog with no answer queued fails the test.

#include "app/Dialogs.h"

#include <QString>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace orbivex::test {

class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind {
        Message,
        Question,
        SaveFile,
        OpenFile,
        PopUp,
        Clipboard,
        Open,
        Print,
        Preview
    };

    struct Call {
        Kind kind = Kind::Message;
        QString text;  // message, question, pop-up message, clipboard text or opened target
        QString title; // message box or file dialog title
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        Answer defaultAnswer = Answer::Ok;
        QString filter;                                               // file dialogs
        QString pickedPattern;                                        // typed save dialogs
        QString initialName;                                          // file dialogs
        int width = 0, height = 0, intervalMs = 0, top = 0, left = 0; // pop-ups
    };

    // Answers, taken in order.
    void QueueAnswer(Answer answer) { answers_.push_back(answer); }
    // File names for file dialogs, taken in order; "" stands for a cancelled dialog.
    void QueueFileName(const QString& name) { fileNames_.push_back(name); }
    // The file type a typed save dialog reports as picked ("*.svg"), taken in order; "" (or
    // none queued) when it reports none.
    void QueuePickedPattern(const QString& pattern) { pickedPatterns_.push_back(pattern); }
    // Where the print dialog and the preview print: the test's own page device (an image, a PDF
    // file). The print dialog prints when Answer::Ok is queued and is cancelled with
    // Answer::Cancel.
    void PrintOnto(std::function<bool(const PaintPages&)> target) {
        printTarget_ = std::move(target);
    }
    // Results of openings; an opening with none queued succeeds.
    void QueueOpenResult(bool opened) { openResults_.push_back(opened); }
    // The opener of the last OpenExternally, started, ends saying it could not open the target.
    void FailLastOpening() {
        if (openFailedLater_) {
            openFailedLater_();
        }
    }
    // Runs while the next message, question, file dialog or pop-up is open, as the timers and
    // clicks that a real dialog lets through would.
    void WhileNextDialogOpen(std::function<void()> action) { whileOpen_ = std::move(action); }

    const std::vector<Call>& Calls() const { return calls_; }
    std::vector<Call> CallsOf(Kind kind) const {
        std::vector<Call> result;
        for (const Call& call : calls_) {
            if (call.kind == kind) {
                result.push_back(call);
            }
        }
        return result;
    }
    size_t CountOf(Kind kind) const { return CallsOf(kind).size(); }
    void Clear() { calls_.clear(); }
    // Answers and file names queued but never asked for.
    size_t UnusedAnswers() const {
        return answers_.size() + fileNames_.size() + pickedPatterns_.size();
    }
    const QString& ClipboardText() const { return clipboard_; }

    void ShowMessage(QWidget*, const QString& text, const QString& title, Icon icon) override {
        const OpenDialog open(*this);
        RunWhileOpen();
        Call call;
        call.kind = Kind::Message;
        call.text = text;
        call.title = title;
        call.icon = icon;
        calls_.push_back(call);
    }

    Answer Ask(QWidget*, const QString& text, const QString& title, Buttons buttons,
               Answer defaultAnswer, Icon icon) override {
        const OpenDialog open(*this);
        RunWhileOpen();
        Call call;
        call.kind = Kind::Question;
        call.text = text;
        call.title = title;
        call.icon = icon;
        call.buttons = buttons;
        call.defaultAnswer = defaultAnswer;
        calls_.push_back(call);
        if (answers_.empty()) {
            ADD_FAILURE() << "Question asked with no answer queued: title \"" << title.toStdString()
                          << "\", text \"" << text.toStdString() << '"';
            return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
        }
        const Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    QString GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                            const QString& initialName) override {
        return FileDialog(Kind::SaveFile, title, filter, initialName);
    }

    QString GetOpenFileName(QWidget*, const QString& title, const QString& filter,
                            const QString& initialName) override {
        return FileDialog(Kind::OpenFile, title, filter, initialName);
    }

    void PopUp(QWidget*, const QString& message, int width, int height, int intervalMs, int top,
               int left) override {
        const OpenDialog open(*this);
        RunWhileOpen();
        Call call;
        call.kind = Kind::PopUp;
        call.text = message;
        call.width = width;
        call.height = height;
        call.intervalMs = intervalMs;
        call.top = top;
        call.left = left;
        calls_.push_back(call);
    }

    void SetClipboardText(const QString& text) override {
        Call call;
        call.kind = Kind::Clipboard;
        call.text = text;
        calls_.push_back(call);
        clipboard_ = text;
    }

    QString GetSaveFileNameAndType(QWidget*, const QString& title, const QString& filter,
                                   const QString& initialName, QString& pickedPattern) override {
        pickedPattern.clear();
        if (!pickedPatterns_.empty()) {
            pickedPattern = pickedPatterns_.front();
            pickedPatterns_.pop_front();
        }
        const QString name = FileDialog(Kind::SaveFile, title, filter, initialName);
        calls_.back().pickedPattern = pickedPattern;
        return name;
    }

    PrintResult Print(QWidget*, const QString& title, const PaintPages& paint) override {
        const OpenDialog open(*this);
        RunWhileOpen();
        Call call;
        call.kind = Kind::Print;
        call.title = title;
        calls_.push_back(call);
        if (answers_.empty()) {
            ADD_FAILURE() << "Print dialog shown with no answer queued";
            return PrintResult::Cancelled;
        }
        const Answer answer = answers_.front();
        answers_.pop_front();
        if (answer != Answer::Ok && answer != Answer::Yes) {
            return PrintResult::Cancelled;
        }
        return printTarget_ && printTarget_(paint) ? PrintResult::Printed : PrintResult::Failed;
    }

    void PrintPreview(QWidget*, const QString& title, const PaintPages& paint) override {
        const OpenDialog open(*this);
        RunWhileOpen();
        Call call;
        call.kind = Kind::Preview;
        call.title = title;
        calls_.push_back(call);
        if (printTarget_) {
            printTarget_(paint);
        }
    }

    bool OpenExternally(const QString& target, std::function<void()> failedLater) override {
        Call call;
        call.kind = Kind::Open;
        call.text = target;
        calls_.push_back(call);
        openFailedLater_ = std::move(failedLater);
        if (openResults_.empty()) {
            return true;
        }
        const bool opened = openResults_.front();
        openResults_.pop_front();
        return opened;
    }

  private:
    QString FileDialog(Kind kind, const QString& title, const QString& filter,
                       const QString& initialName) {
        const OpenDialog open(*this);
        RunWhileOpen();
        Call call;
        call.kind = kind;
        call.title = title;
        call.filter = filter;
        call.initialName = initialName;
        calls_.push_back(call);
        if (fileNames_.empty()) {
            ADD_FAILURE() << "File dialog shown with no file name queued: title \""
                          << title.toStdString() << '"';
            return {};
        }
        const QString name = fileNames_.front();
        fileNames_.pop_front();
        return name;
    }

    void RunWhileOpen() {
        if (whileOpen_) {
            const std::function<void()> action = std::move(whileOpen_);
            whileOpen_ = nullptr;
            action();
        }
    }

    std::vector<Call> calls_;
    std::function<void()> whileOpen_;
    std::deque<Answer> answers_;
    std::deque<QString> fileNames_;
    std::deque<bool> openResults_;
    std::function<void()> openFailedLater_;
    std::deque<QString> pickedPatterns_;
    std::function<bool(const PaintPages&)> printTarget_;
    QString clipboard_;
};

} // namespace orbivex::test
