// orbivex-cli: computes what the desktop program shows, for scripts and for checking.
#include "cli/Commands.h"
#include "support/DataFolder.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using orbivex::cli::Command;

constexpr Command commands[] = {
    {"positions", "heliocentric J2000 longitudes of the nine bodies", orbivex::cli::RunPositions},
    {"date", "the Julian date of a date set", orbivex::cli::RunDate},
    {"chart", "the aspect grid and report of a chart", orbivex::cli::RunChart},
    {"wheel", "the chart wheel of a chart as a PNG image", orbivex::cli::RunWheel},
    {"run", "step the world date until a chart shows an aspect pattern", orbivex::cli::RunRun},
    {"durations", "beginnings, ends and durations of a chart's aspects",
     orbivex::cli::RunDurations},
};

void PrintUsage(QTextStream& stream) {
    stream << "Usage: orbivex-cli COMMAND [OPTIONS]\n\nCommands:\n";
    for (const Command& command : commands) {
        stream << "  " << QString::fromUtf8(command.name).leftJustified(12) << ' '
               << command.summary << '\n';
    }
    stream << "\nRun 'orbivex-cli COMMAND --help' for the options of a command.\n";
}

// Text drawn into an image needs the font database of a GUI application. The commands that
// draw get one on the offscreen platform, so they need no display.
bool CommandDraws(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], "wheel") == 0;
}

} // namespace

int main(int argc, char** argv) {
    std::unique_ptr<QCoreApplication> app;
    if (CommandDraws(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("orbivex-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORBIVEX_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        PrintUsage(arguments.isEmpty() ? err : out);
        return arguments.isEmpty() ? orbivex::cli::ExitUsage : orbivex::cli::ExitSuccess;
    }
    if (arguments.first() == QLatin1String("--version")) {
        out << "orbivex-cli " << ORBIVEX_VERSION << '\n';
        return orbivex::cli::ExitSuccess;
    }
    orbivex::cli::Context context{out, err, orbivex::ProgramDataFolder()};
    for (const Command& command : commands) {
        if (arguments.first() == QLatin1String(command.name)) {
            return command.run(arguments, context);
        }
    }
    err << "orbivex-cli: unknown command '" << arguments.first() << "'\n\n";
    PrintUsage(err);
    return orbivex::cli::ExitUsage;
}
