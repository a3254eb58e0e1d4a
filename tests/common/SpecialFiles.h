#pragma once
// Things a save may be pointed at that are not regular files, made in a folder of the test's
// own: a named pipe, a folder, a device node (a copy of /dev/null's, where this user may make
// one) and a link to a named pipe. Never a real device: a save that wrongly replaced one would
// break the machine.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <unistd.h>

namespace orbivex::test {

struct SpecialFile {
    QString what;      // "named pipe"
    QString path;      // where it is
    QString kindWords; // what the refusal calls it: "named pipe, not a regular file"
};

// Makes each kind under `folder`, naming each `stem` + kind + `extension`. A kind this user
// may not make (a device node without the right to) is left out.
inline std::vector<SpecialFile> MakeSpecialFiles(const QString& folder, const QString& extension) {
    std::vector<SpecialFile> made;
    const auto path = [&](const char* name) {
        return QDir(folder).filePath(QLatin1String(name) + extension);
    };
    const QString pipe = path("pipe");
    if (::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0) {
        made.push_back(
            {QStringLiteral("named pipe"), pipe, QStringLiteral("named pipe, not a regular file")});
        const QString link = path("link-to-pipe");
        if (QFile::link(pipe, link)) {
            made.push_back({QStringLiteral("link to a named pipe"), link,
                            QStringLiteral("named pipe, not a regular file")});
        }
    }
    const QString folderPath = path("folder");
    if (QDir().mkdir(folderPath)) {
        made.push_back(
            {QStringLiteral("folder"), folderPath, QStringLiteral("folder, not a regular file")});
    }
    const QString device = path("device");
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0) {
        made.push_back(
            {QStringLiteral("device"), device, QStringLiteral("device, not a regular file")});
    }
    return made;
}

// Whether the node is still what it was made as.
inline bool StillSpecial(const SpecialFile& file) {
    struct stat status {};
    if (::stat(QFile::encodeName(file.path).constData(), &status) != 0) {
        return false;
    }
    return !S_ISREG(status.st_mode);
}

} // namespace orbivex::test
