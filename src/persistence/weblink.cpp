#include "persistence/weblink.h"

#include "persistence/Dialogs.h"

#include <algorithm>

namespace orbivex {

namespace {

constexpr int kFirstSuccessCode = 33;

} // namespace

QString TargetExtension(const QString& target) {
    const qsizetype separator =
        std::max(target.lastIndexOf(QLatin1Char('\\')), target.lastIndexOf(QLatin1Char('/')));
    const QString name = target.mid(separator + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        return {};
    }
    return name.mid(dot + 1).toLower();
}

QString BrowserLaunchMessage(int code, const QString& target) {
    if (code >= kFirstSuccessCode) {
        return {};
    }
    QString message = QStringLiteral("Error launching web browser, error code = ") +
                      QString::number(code) + QStringLiteral(".");
    const QString paragraph = QStringLiteral("\r\n\r\n");
    switch (code) {
    case kNoAssociationCode:
        message += paragraph + QStringLiteral("File extension '") + TargetExtension(target) +
                   QStringLiteral("' is not associated with any application program.");
        break;
    case kOutOfMemoryCode:
        message += paragraph + QStringLiteral("Out of memory.");
        break;
    case kTryAgainCode:
        message += paragraph + QStringLiteral("Please try once more.");
        break;
    default:
        break;
    }
    return message;
}

bool OpenInBrowser(const QString& target, Dialogs& dialogs, QWidget* parent) {
    if (dialogs.OpenExternally(target)) {
        return true;
    }
    dialogs.ShowMessage(parent, BrowserLaunchMessage(kNoAssociationCode, target),
                        QStringLiteral("Cannot launch web browser"), Dialogs::Icon::Exclamation);
    return false;
}

bool lblURL_Click(const QString& labelText, Dialogs& dialogs, QWidget* parent) {
    return OpenInBrowser(QStringLiteral("http://") + labelText, dialogs, parent);
}

} // namespace orbivex
