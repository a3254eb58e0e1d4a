#include "app/DialogFlows.h"

#include "draw/WheelSvg.h"
#include "present/Messages.h"
#include "support/DataFolder.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <QFileInfo>

namespace orbivex {

namespace {} // namespace

bool OpenInBrowser(const QString& target, const ProgramTexts& texts, Dialogs& dialogs,
                   QWidget* parent) {
    const QString message = texts.ProgramTextWith(text::NoBrowser, target);
    const QString title = QStringLiteral("Cannot launch web browser");
    // Said later when the opener, once started, finds no browser: over no window then, since
    // the one that asked may be gone by that time.
    const auto failedLater = [&dialogs, message, title] {
        dialogs.ShowMessage(nullptr, message, title, Dialogs::Icon::Exclamation);
    };
    if (dialogs.OpenExternally(target, failedLater)) {
        return true;
    }
    dialogs.ShowMessage(parent, message, title, Dialogs::Icon::Exclamation);
    return false;
}

bool OpenUserManual(const QString& programFolder, const ProgramTexts& texts, Dialogs& dialogs,
                    QWidget* parent) {
    const QString manual = UserManualFile(programFolder);
    if (!QFileInfo(manual).isFile()) {
        dialogs.ShowMessage(parent, texts.ProgramTextWith(text::ManualMissing, manual),
                            texts.ProgramText(text::ManualMissingTitle),
                            Dialogs::Icon::Exclamation);
        return false;
    }
    return OpenInBrowser(manual, texts, dialogs, parent);
}

QString FolderRememberingDialogs::Remembered(const QString& chosen) {
    RememberFolder(kind_, chosen);
    return chosen;
}

QString FolderRememberingDialogs::GetSaveFileName(QWidget* parent, const QString& title,
                                                  const QString& filter,
                                                  const QString& initialName) {
    return Remembered(dialogs_.GetSaveFileName(
        parent, title, filter, initialName.isEmpty() ? StartFolder(kind_) : initialName));
}

QString FolderRememberingDialogs::GetOpenFileName(QWidget* parent, const QString& title,
                                                  const QString& filter,
                                                  const QString& initialName) {
    return Remembered(dialogs_.GetOpenFileName(
        parent, title, filter, initialName.isEmpty() ? StartFolder(kind_) : initialName));
}

QString FolderRememberingDialogs::GetSaveFileNameAndType(QWidget* parent, const QString& title,
                                                         const QString& filter,
                                                         const QString& initialName,
                                                         QString& pickedPattern) {
    return Remembered(dialogs_.GetSaveFileNameAndType(
        parent, title, filter, initialName.isEmpty() ? StartFolder(kind_) : initialName,
        pickedPattern));
}

QString ConfirmedSaveTarget(Dialogs& dialogs, QWidget* parent, const QString& chosen,
                            const QString& extension, OtherExtension other, const QString& title) {
    const SaveTarget target = SaveTargetOf(chosen, extension, other);
    if (!target.askToReplace) {
        return target.name;
    }
    const Dialogs::Answer answer =
        dialogs.Ask(parent, ReplaceQuestion(target.name), title, Dialogs::Buttons::YesNo,
                    Dialogs::Answer::No, Dialogs::Icon::Exclamation);
    return answer == Dialogs::Answer::Yes ? target.name : QString();
}

ImageSaveResult SaveImageAs(Dialogs& dialogs, QWidget* parent, const QImage& image,
                            const ProgramTexts& texts, const QString& saveAsCaption) {
    const QString title = texts.ProgramText(text::SaveChartImageAs);
    const QString chosen = dialogs.GetSaveFileName(
        parent, title, texts.ProgramText(text::PngImages) + QStringLiteral(" (*.png)"), QString());
    if (chosen.isEmpty()) {
        return ImageSaveResult::Cancelled;
    }
    const QString png = ConfirmedSaveTarget(dialogs, parent, chosen, QStringLiteral(".png"),
                                            OtherExtension::Append, title);
    if (png.isEmpty()) {
        return ImageSaveResult::Cancelled;
    }
    const ImageSaveOutcome outcome = SaveImageFiles(image, ImageFileNamesFor(png), texts);
    dialogs.ShowMessage(parent, outcome.message, saveAsCaption, outcome.icon);
    return outcome.result;
}

ImageSaveResult SaveWheelImageAs(Dialogs& dialogs, QWidget* parent, const ExportInput& input,
                                 const ProgramTexts& texts, const QString& saveAsCaption) {
    const QString title = texts.ProgramText(text::SaveChartImageAs);
    const QString png = QStringLiteral(".png");
    const QString svg = QStringLiteral(".svg");
    QString picked;
    const QString chosen = dialogs.GetSaveFileNameAndType(
        parent, title,
        texts.ProgramText(text::PngImages) + QStringLiteral("|*.png|") +
            texts.ProgramText(text::SvgImages) + QStringLiteral("|*.svg"),
        QString(), picked);
    if (chosen.isEmpty()) {
        return ImageSaveResult::Cancelled;
    }
    const bool asSvg =
        chosen.endsWith(svg, Qt::CaseInsensitive) ||
        (!chosen.endsWith(png, Qt::CaseInsensitive) && picked == QStringLiteral("*.svg"));
    const QString name = ConfirmedSaveTarget(dialogs, parent, chosen, asSvg ? svg : png,
                                             OtherExtension::Append, title);
    if (name.isEmpty()) {
        return ImageSaveResult::Cancelled;
    }
    const ImageSaveOutcome outcome =
        asSvg ? SaveSvgFile(ComposeExportSvg(input, texts).svg, name, texts)
              : SaveImageFiles(ComposeExportImage(input, texts), ImageFileNamesFor(name), texts);
    dialogs.ShowMessage(parent, outcome.message, saveAsCaption, outcome.icon);
    return outcome.result;
}

} // namespace orbivex
