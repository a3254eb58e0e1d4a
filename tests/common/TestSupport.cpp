#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>

namespace orbivex::test {

QString ProgramFolder() {
    return QCoreApplication::applicationDirPath();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(bytes) == bytes.size();
}

} // namespace orbivex::test
