// Orbivex, the desktop program.
#include "app/QtDialogs.h"
#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbivex"));
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QStringLiteral(ORBIVEX_VERSION));

    orbivex::QtDialogs dialogs;
    orbivex::frmMain window(dialogs, orbivex::frmMainSetup::ForThisProgram());
    if (!window.Form_Load()) {
        return 1;
    }
    return QApplication::exec();
}
