// Orbivex, the desktop program.
#include "app/Timings.h"
#include "app/frmMain.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbivex"));
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QStringLiteral(ORBIVEX_VERSION));

    orbivex::TimedDialogs dialogs;
    orbivex::frmMain window(dialogs, orbivex::frmMainSetup::ForThisProgram());
    std::unique_ptr<orbivex::StartupTimer> timer;
    const QByteArray timings = qgetenv("ORBIVEX_TIMINGS");
    if (!timings.isEmpty()) {
        timer = std::make_unique<orbivex::StartupTimer>(window, dialogs, timings == "exit");
    }
    if (!window.Form_Load()) {
        return 1;
    }
    return QApplication::exec();
}
