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

QString UserManualFile(const QString& dataFolder) {
    const QString name = QLatin1String(kUserManualFileName);
    const QString beside = QDir(dataFolder).filePath(name);
    if (QFileInfo(beside).isFile()) {
        return beside;
    }
    const QString installed =
        QDir::cleanPath(dataFolder + QStringLiteral("/../doc/orbivex/") + name);
    if (QFileInfo(installed).isFile()) {
        return installed;
    }
    return beside;
}

} // namespace orbivex
