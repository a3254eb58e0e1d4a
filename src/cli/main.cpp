// orbivex-cli: computes what the desktop program shows, for scripts and for checking.
#include "cli/Commands.h"
#include "cli/DrawingModule.h"
#include "support/DataFolder.h"
#include "support/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <cstring>
#include <memory>

namespace {

using orbivex::cli::Command;

constexpr Command commands[] = {
    {"positions", "heliocentric J2000 longitudes of the nine bodies", orbivex::cli::RunPositions},
    {"date", "the Julian date of a date set", orbivex::cli::RunDate},
    {"places", "places of the atlas: zone, latitude, longitude", orbivex::cli::RunPlaces},
    {"chart", "the aspect grid and report of a chart", orbivex::cli::RunChart},
    {"run", "step the world date until a chart shows an aspect pattern", orbivex::cli::RunRun},
    {"durations", "beginnings, ends and durations of a chart's aspects",
     orbivex::cli::RunDurations},
    {"aspectarian", "every exact heliocentric aspect in a span of days",
     orbivex::cli::RunAspectarian},
    {"batch", "the charts of every line of a file, in one process", orbivex::cli::RunBatch},
    {"library", "the chart library: add, list, show, edit, remove, import, export",
     orbivex::cli::RunLibrary},
};

void PrintUsage(QTextStream& stream) {
    stream << "Usage: orbivex-cli COMMAND [OPTIONS]\n\nCommands:\n";
    for (const Command& command : commands) {
        stream << "  " << QString::fromUtf8(command.name).leftJustified(12) << ' '
               << command.summary << '\n';
    }
    for (const orbivex::cli::DrawingCommand& command : orbivex::cli::kDrawingCommands) {
        stream << "  " << QString::fromUtf8(command.name).leftJustified(12) << ' '
               << command.summary << '\n';
    }
    stream << "\nRun 'orbivex-cli COMMAND --help' for the options of a command.\n";
}

bool CommandDraws(int argc, char** argv) {
    if (argc < 2) {
        return false;
    }
    for (const orbivex::cli::DrawingCommand& command : orbivex::cli::kDrawingCommands) {
        if (std::strcmp(argv[1], command.name) == 0) {
            return true;
        }
    }
    return false;
}

// Runs a drawing command: the chart is computed here, the module draws it. The arguments are
// taken as given before the application object is made, since QGuiApplication takes away
// those it reads itself (such as --style), which the commands need.
int RunWithDrawing(int& argc, char** argv, const orbivex::cli::DrawingFunctions& drawing) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const std::unique_ptr<QCoreApplication> app(drawing.makeApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("orbivex-cli"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(orbivex::ProgramVersion()));
    QTextStream out(stdout);
    QTextStream err(stderr);
    orbivex::cli::Context context{out, err, orbivex::ProgramDataFolder()};
    const bool wheel = arguments.value(0) == QLatin1String("wheel");
    const int status = wheel ? orbivex::cli::RunWheel(arguments, context, drawing)
                             : orbivex::cli::RunSheet(arguments, context, drawing);
    return orbivex::cli::FinishOutput(context, wheel ? "wheel" : "sheet", status);
}

// The folder of the running program. QCoreApplication would tell it, but the drawing module
// has to be found before any application exists: it makes the QGuiApplication of its commands.
QString ExecutableFolder() {
    const QString path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

// Loads the drawing module (beside the program in a build, in the program's library folder
// when installed) and runs the command with it.
int RunDrawingCommand(int& argc, char** argv) {
    QTextStream err(stderr);
    const QString folder = ExecutableFolder();
    const QString name = QStringLiteral(ORBIVEX_DRAWING_MODULE);
    const QStringList places = {
        folder,
        QDir::cleanPath(folder + QLatin1Char('/') + QStringLiteral(ORBIVEX_DRAWING_MODULE_DIR))};
    for (const QString& place : places) {
        const QString path = place + QLatin1Char('/') + name;
        if (folder.isEmpty() || !QFileInfo(path).isFile()) {
            continue;
        }
        QLibrary module(path);
        const auto entry = reinterpret_cast<orbivex::cli::DrawingEntry>(
            module.resolve(orbivex::cli::kDrawingEntryName));
        if (entry == nullptr) {
            err << "orbivex-cli: the drawing module cannot be loaded: " << module.errorString()
                << '\n';
            return orbivex::cli::ExitFailure;
        }
        return RunWithDrawing(argc, argv, *entry());
    }
    err << "orbivex-cli: " << argv[1] << " needs the drawing module " << name
        << ", which is neither beside the program nor in " << places.last() << '\n';
    return orbivex::cli::ExitFailure;
}

} // namespace

int main(int argc, char** argv) {
    if (CommandDraws(argc, argv)) {
        return RunDrawingCommand(argc, argv);
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orbivex-cli"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(orbivex::ProgramVersion()));
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
        out << "orbivex-cli " << orbivex::ProgramVersion() << '\n';
        return orbivex::cli::ExitSuccess;
    }
    orbivex::cli::Context context{out, err, orbivex::ProgramDataFolder()};
    for (const Command& command : commands) {
        if (arguments.first() == QLatin1String(command.name)) {
            return orbivex::cli::FinishOutput(context, command.name,
                                              command.run(arguments, context));
        }
    }
    err << "orbivex-cli: unknown command '" << arguments.first() << "'\n\n";
    PrintUsage(err);
    return orbivex::cli::ExitUsage;
}
