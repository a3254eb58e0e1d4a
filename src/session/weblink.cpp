#include "session/weblink.h"

#include "session/Dialogs.h"
#include "support/DataFolder.h"
#include "support/ProgramTexts.h"

#include <QFileInfo>

namespace orbivex {

namespace {

constexpr int kManualMissingText = 433;
constexpr int kManualMissingTitleText = 434;
constexpr int kNoBrowserText = 435;

} // namespace

bool OpenInBrowser(const QString& target, const ProgramTexts& texts, Dialogs& dialogs,
                   QWidget* parent) {
    const QString message = texts.ProgramTextWith(kNoBrowserText, target);
    const QString title = QStringLiteral("Cannot launch web browser");
    // Said later when the opener, once started, finds no browser: over no window then, since
    // the one that asked may be gone by that time.
    const auto failedLater = [&dialogs, message, title] {
        dialogs.ShowMessage(nullptr, message, title, Dialogs::Icon::Exclamation);
    };
    if (dialogs.OpenExternally(target, failedLater)) {
        return true;
    }
    dialogs.ShowMessage(parent, message, title, Dialogs::Icon::Exclamation);
    return false;
}

bool OpenUserManual(const QString& programFolder, const ProgramTexts& texts, Dialogs& dialogs,
                    QWidget* parent) {
    const QString manual = UserManualFile(programFolder);
    if (!QFileInfo(manual).isFile()) {
        dialogs.ShowMessage(parent, texts.ProgramTextWith(kManualMissingText, manual),
                            texts.ProgramText(kManualMissingTitleText), Dialogs::Icon::Exclamation);
        return false;
    }
    return OpenInBrowser(manual, texts, dialogs, parent);
}

} // namespace orbivex
