#include "support/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orbivex {

namespace {

bool HoldsProgramTexts(const QString& folder) {
    return QFileInfo::exists(folder + QStringLiteral("/orbx.dat"));
}

} // namespace

QString ProgramDataFolder(const QString& executableFolder) {
    if (HoldsProgramTexts(executableFolder)) {
        return executableFolder;
    }
    const QString installed =
        QDir::cleanPath(executableFolder + QStringLiteral("/../share/orbivex"));
    if (HoldsProgramTexts(installed)) {
        return installed;
    }
    return executableFolder;
}

QString ProgramDataFolder() {
    return ProgramDataFolder(QCoreApplication::applicationDirPath());
}

} // namespace orbivex
