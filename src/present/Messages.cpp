#include "present/Messages.h"

#include <QDir>
#include <QStringList>

namespace orbivex {

QString ReplaceQuestion(const QString& name) {
    return QDir::toNativeSeparators(name) + QStringLiteral(" already exists.\r\n") +
           QStringLiteral("Do you want to replace it?");
}

QString PlaceTakenNote(const QString& text, const FoundPlace& found) {
    if (found.others.isEmpty()) {
        return {};
    }
    QStringList others;
    for (const Place& other : found.others.mid(0, 3)) {
        others.append(QStringLiteral("\u201C") + PlaceName(other, found.others) +
                      QStringLiteral("\u201D"));
    }
    return QStringLiteral("\u201C%1\u201D is taken as %2; for another place write %3.")
        .arg(text.trimmed(), PlaceLine(found.place), others.join(QStringLiteral(" or ")));
}

} // namespace orbivex
