#include "core/EphemerisInfo.h"

#include <QDir>

#include <swephexp.h>

namespace orbivex {

QString EphemerisLibraryVersion() {
    char version[AS_MAXCH] = {};
    return QString::fromLatin1(swe_version(version));
}

EphemerisData FindEphemerisData(const QString& dataFolder, const QString& systemFolder) {
    for (const QString& folder : {dataFolder, systemFolder}) {
        const QStringList files = QDir(folder).entryList(
            {QStringLiteral("sepl*.se1"), QStringLiteral("seplm*.se1")}, QDir::Files, QDir::Name);
        if (!folder.isEmpty() && !files.isEmpty()) {
            return {QDir(folder).absolutePath(), files};
        }
    }
    return {};
}

} // namespace orbivex
