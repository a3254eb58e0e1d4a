#include "session/SaveTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orbivex {

QString NameWithExtension(const QString& chosen, const QString& extension, OtherExtension other) {
    if (chosen.endsWith(extension, Qt::CaseInsensitive)) {
        return chosen;
    }
    QString name = chosen;
    const qsizetype fileStart = name.lastIndexOf(QLatin1Char('/')) + 1;
    if (name.endsWith(QLatin1Char('.'))) {
        // "keep." means "keep" with the extension, not "keep..pat".
        while (name.size() > fileStart && name.endsWith(QLatin1Char('.'))) {
            name.chop(1);
        }
        return name + extension;
    }
    const bool hasExtension = QFileInfo(name.sliced(fileStart)).suffix().size() > 0;
    if (hasExtension && other == OtherExtension::Keep) {
        return name;
    }
    return name + extension;
}

QString ConfirmedSaveTarget(Dialogs& dialogs, QWidget* parent, const QString& chosen,
                            const QString& extension, OtherExtension other, const QString& title) {
    const QString target = NameWithExtension(chosen, extension, other);
    // Only a regular file is asked about; anything else the writer refuses with its reason.
    if (target == chosen || !QFileInfo(target).isFile()) {
        return target;
    }
    const Dialogs::Answer answer = dialogs.Ask(
        parent,
        QDir::toNativeSeparators(target) + QStringLiteral(" already exists.\r\n") +
            QStringLiteral("Do you want to replace it?"),
        title, Dialogs::Buttons::YesNo, Dialogs::Answer::No, Dialogs::Icon::Exclamation);
    return answer == Dialogs::Answer::Yes ? target : QString();
}

} // namespace orbivex
