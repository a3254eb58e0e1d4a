#include "present/Messages.h"

#include <QDir>

namespace orbivex {

QString ReplaceQuestion(const QString& name) {
    return QDir::toNativeSeparators(name) + QStringLiteral(" already exists.\r\n") +
           QStringLiteral("Do you want to replace it?");
}

} // namespace orbivex
