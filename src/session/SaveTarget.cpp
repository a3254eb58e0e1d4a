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

SaveTarget SaveTargetOf(const QString& chosen, const QString& extension, OtherExtension other) {
    SaveTarget target;
    target.name = NameWithExtension(chosen, extension, other);
    target.askToReplace = target.name != chosen && QFileInfo(target.name).isFile();
    return target;
}

} // namespace orbivex
