#include "session/RememberedFolders.h"

#include "session/Registry3.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orbivex {

namespace {

QString KeyPath() {
    return QString::fromLatin1(Registry3::ProgramKeyPath) + QStringLiteral("\\Folders");
}

QString ValueName(FileKind kind) {
    switch (kind) {
    case FileKind::StateFile:
        return QStringLiteral("StateFiles");
    case FileKind::Image:
        return QStringLiteral("Images");
    }
    return QStringLiteral("Files");
}

QString DocumentsFolder() {
    // A documents folder that does not exist would be taken by the file dialog as a folder
    // and a file name in it ("Documents" in the home folder): the home folder stands in.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

QString StartFolder(FileKind kind) {
    QString folder;
    const QString status = Registry3::ReadValue(KeyPath(), ValueName(kind), folder);
    if (status.startsWith(QLatin1Char('0')) && QFileInfo(folder).isDir()) {
        return folder;
    }
    return DocumentsFolder();
}

void RememberFolder(FileKind kind, const QString& chosenFile) {
    if (chosenFile.isEmpty()) {
        return;
    }
    const QString folder = QFileInfo(chosenFile).absolutePath();
    if (QFileInfo(folder).isDir()) {
        // A folder that cannot be kept only means the next dialog opens in the documents
        // folder; it is no reason to trouble the user.
        Registry3::WriteValue(KeyPath(), ValueName(kind), folder);
    }
}

} // namespace orbivex
