// Orbivex, the desktop program.
#include "app/QtDialogs.h"
#include "app/frmMain.h"
#include "support/Version.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <utility>

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
    "  --library FILE  Keep the chart library in FILE instead of orbivex-charts.sqlite\n"
    "                  beside the user state file.\n"
    "  -h, --help      Display this help and quit.\n"
    "  -v, --version   Display the version and quit.\n"
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
    // QApplication has taken the options it knows; --library is the program's own, anything
    // else is a mistake.
    QStringList arguments = QApplication::arguments().mid(1);
    orbivex::frmMainSetup setup = orbivex::frmMainSetup::ForThisProgram();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments[i];
        if (argument != QStringLiteral("--library") &&
            !argument.startsWith(QStringLiteral("--library="))) {
            continue;
        }
        QString file = argument.mid(10);
        arguments.remove(i);
        if (argument == QStringLiteral("--library") && i < arguments.size()) {
            file = arguments.takeAt(i);
        }
        if (file.isEmpty()) {
            std::fputs("orbivex: --library needs a FILE\n", stderr);
            return 2;
        }
        // The program hands the file to orbivex-cli, which may start elsewhere.
        setup.libraryFile = QFileInfo(file).absoluteFilePath();
        --i;
    }
    if (!arguments.isEmpty()) {
        std::fprintf(stderr,
                     "orbivex: unknown argument '%s'\nRun 'orbivex --help' for the options.\n",
                     arguments.first().toLocal8Bit().constData());
        return 2;
    }

    orbivex::QtDialogs dialogs;
    orbivex::frmMain window(dialogs, std::move(setup));
    if (!window.Form_Load()) {
        return 1;
    }
    return QApplication::exec();
}
