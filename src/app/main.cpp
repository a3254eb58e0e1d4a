// Orbivex, the desktop program.
#include "app/QtDialogs.h"
#include "app/frmMain.h"
#include "support/Version.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// What `orbivex --help` prints; the manual page orbivex(1) is made from it at build time.
constexpr char kHelp[] =
    "Usage: orbivex [OPTION]\n"
    "\n"
    "Orbivex shows the heliocentric aspects of Earth, Mercury, Venus, Mars, Jupiter, Saturn,\n"
    "Uranus, Neptune and Pluto for any moment from year 1 to 2799 as an aspect grid, a chart\n"
    "wheel and reports: world transits, natal aspects, personal transits and synastry. It starts\n"
    "with the dates, mode and settings of the last session when they were saved, else with the\n"
    "world transits of the present moment. Everything else happens in its window; Help and the\n"
    "user manual describe it.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Display this help and quit.\n"
    "  -v, --version  Display the version and quit.\n"
    "\n"
    "The options of every Qt program, such as -platform NAME, are taken as well.\n";

bool Is(const char* argument, const char* shortName, const char* longName) {
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

} // namespace

int main(int argc, char** argv) {
    // Answered before the application exists, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (Is(argv[i], "-h", "--help")) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (Is(argv[i], "-v", "--version")) {
            std::printf("orbivex %s\n", orbivex::ProgramVersion());
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbivex"));
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QString::fromLatin1(orbivex::ProgramVersion()));
    // QApplication has taken the options it knows; anything left is a mistake.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (!arguments.isEmpty()) {
        std::fprintf(stderr,
                     "orbivex: unknown argument '%s'\nRun 'orbivex --help' for the options.\n",
                     arguments.first().toLocal8Bit().constData());
        return 2;
    }

    orbivex::QtDialogs dialogs;
    orbivex::frmMain window(dialogs, orbivex::frmMainSetup::ForThisProgram());
    if (!window.Form_Load()) {
        return 1;
    }
    return QApplication::exec();
}
