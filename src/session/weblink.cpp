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
    if (dialogs.OpenExternally(target)) {
        return true;
    }
    dialogs.ShowMessage(parent, texts.ProgramTextWith(kNoBrowserText, target),
                        QStringLiteral("Cannot launch web browser"), Dialogs::Icon::Exclamation);
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
