#include "app/QtDialogs.h"

#include "app/frmPopUp.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace orbivex {

namespace {

QMessageBox::Icon MessageBoxIcon(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Stop:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton StandardButton(Dialogs::Answer answer) {
    switch (answer) {
    case Dialogs::Answer::Ok:
        return QMessageBox::Ok;
    case Dialogs::Answer::Yes:
        return QMessageBox::Yes;
    case Dialogs::Answer::No:
        return QMessageBox::No;
    case Dialogs::Answer::Cancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

} // namespace

QString QtFileFilter(const QString& filter) {
    if (!filter.contains(QLatin1Char('|'))) {
        return filter.trimmed();
    }
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString pattern = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        if (description.isEmpty() && pattern.isEmpty()) {
            continue;
        }
        if (pattern.isEmpty() || description.contains(pattern)) {
            entries.append(description);
        } else {
            entries.append(description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
        }
    }
    return entries.join(QStringLiteral(";;"));
}

QString MessageBoxText(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() = default;

void QtDialogs::ShowMessage(QWidget* parent, const QString& text, const QString& title, Icon icon) {
    const OpenDialog open(*this);
    QMessageBox box(MessageBoxIcon(icon), title, MessageBoxText(text), QMessageBox::Ok, parent);
    // Messages carry file names and descriptions from outside; never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

Dialogs::Answer QtDialogs::Ask(QWidget* parent, const QString& text, const QString& title,
                               Buttons buttons, Answer defaultAnswer, Icon icon) {
    const OpenDialog open(*this);
    QMessageBox::StandardButtons standardButtons = QMessageBox::Ok;
    Answer escapeAnswer = Answer::Ok;
    switch (buttons) {
    case Buttons::Ok:
        break;
    case Buttons::YesNo:
        standardButtons = QMessageBox::Yes | QMessageBox::No;
        escapeAnswer = Answer::No;
        break;
    case Buttons::YesNoCancel:
        standardButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escapeAnswer = Answer::Cancel;
        break;
    }
    QMessageBox box(MessageBoxIcon(icon), title, MessageBoxText(text), standardButtons, parent);
    box.setTextFormat(Qt::PlainText);
    const QMessageBox::StandardButton defaultButton = StandardButton(defaultAnswer);
    if (standardButtons.testFlag(defaultButton)) {
        box.setDefaultButton(defaultButton);
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // Closed without a button (Escape or the frame).
        return escapeAnswer;
    }
}

QString DefaultSuffixOf(const QString& nameFilter) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([^ ;)*?]+)"));
    return pattern.match(nameFilter).captured(1);
}

namespace {

// The save dialog, which asks before it replaces a file. A name typed without an extension is
// given the one of the chosen file type before that question, so that the question is about
// the file the save will write ("null" in /dev asks about /dev/null.pat, not /dev/null).
QString SaveFileName(QWidget* parent, const QString& title, const QString& initialName,
                     const QString& filter, QString* pickedFilter) {
    QFileDialog dialog(parent, title, initialName, QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const auto useSuffixOf = [&dialog](const QString& nameFilter) {
        dialog.setDefaultSuffix(DefaultSuffixOf(nameFilter));
    };
    useSuffixOf(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    if (pickedFilter != nullptr) {
        *pickedFilter = dialog.selectedNameFilter();
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtDialogs::GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& initialName) {
    const OpenDialog open(*this);
    return SaveFileName(parent, title, initialName, filter, nullptr);
}

QString QtDialogs::GetSaveFileNameAndType(QWidget* parent, const QString& title,
                                          const QString& filter, const QString& initialName,
                                          QString& pickedPattern) {
    const OpenDialog open(*this);
    QString picked;
    const QString name = SaveFileName(parent, title, initialName, filter, &picked);
    // "SVG images (*.svg)" gives "*.svg".
    const qsizetype from = picked.lastIndexOf(QLatin1Char('('));
    const qsizetype to = picked.lastIndexOf(QLatin1Char(')'));
    pickedPattern =
        from >= 0 && to > from ? picked.mid(from + 1, to - from - 1).trimmed() : QString();
    return name;
}

namespace {

// Sheets are laid out for A4; the print dialog may choose another paper.
void SetUpPrinter(QPrinter& printer, const QString& title) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer.setDocName(title);
}

bool PaintOnPrinter(QPrinter& printer, const Dialogs::PaintPages& paint) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    paint(painter);
    return painter.end();
}

} // namespace

Dialogs::PrintResult QtDialogs::Print(QWidget* parent, const QString& title,
                                      const PaintPages& paint) {
    const OpenDialog open(*this);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, title);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted) {
        return PrintResult::Cancelled;
    }
    return PaintOnPrinter(printer, paint) ? PrintResult::Printed : PrintResult::Failed;
}

void QtDialogs::PrintPreview(QWidget* parent, const QString& title, const PaintPages& paint) {
    const OpenDialog open(*this);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, title);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* target) { PaintOnPrinter(*target, paint); });
    preview.exec();
}

QString QtDialogs::GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& initialName) {
    const OpenDialog open(*this);
    return QFileDialog::getOpenFileName(parent, title, initialName, QtFileFilter(filter));
}

void QtDialogs::PopUp(QWidget* parent, const QString& message, int width, int height,
                      int intervalMs, int top, int left) {
    const OpenDialog open(*this);
    if (!popUp_) {
        popUp_ = std::make_unique<frmPopUp>();
    }
    if (parent != nullptr && parent->screen() != nullptr) {
        popUp_->setScreen(parent->screen());
    }
    if (top < 0 || left < 0) {
        popUp_->PopUpCenterScreen(message, width, height, intervalMs);
    } else {
        popUp_->PopUp(message, width, height, intervalMs, top, left);
    }
}

void QtDialogs::SetClipboardText(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(text);
    }
}

bool QtDialogs::OpenExternally(const QString& target, std::function<void()> failedLater) {
    // The desktop's own opener, with the target as one argument: no shell ever sees it.
    const QUrl url = QUrl::fromUserInput(target);
    if (!url.isValid()) {
        return false;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Qt counts xdg-open as a success once it has started; it ends with a status other than 0
    // when it finds no program for the target, and only then is the user told. It is not
    // waited for: with some desktops it lasts as long as the browser it started.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        auto* process = new QProcess(QCoreApplication::instance());
        process->setProgram(opener);
        process->setArguments(
            {url.isLocalFile() ? url.toLocalFile() : QString::fromUtf8(url.toEncoded())});
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process, &QProcess::finished, process,
                         [process, failedLater](int exitCode, QProcess::ExitStatus status) {
                             process->deleteLater();
                             // Killed (at the program's end) is no verdict on the target.
                             if (status == QProcess::NormalExit && exitCode != 0 && failedLater) {
                                 failedLater();
                             }
                         });
        process->start();
        if (process->waitForStarted()) {
            return true;
        }
        delete process;
        return false;
    }
#endif
    (void)failedLater;
    return QDesktopServices::openUrl(url);
}

} // namespace orbivex
