// The drawing module of orbivex-cli: runs the commands that draw, in a QGuiApplication on the
// offscreen platform, so that they need no display.
#include "cli/DrawingModule.h"
#include "cli/Commands.h"
#include "support/DataFolder.h"
#include "support/Version.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

struct Runner {
    const char* name;
    orbivex::cli::CommandFunction run;
};

constexpr Runner runners[] = {
    {"wheel", orbivex::cli::RunWheel},
    {"sheet", orbivex::cli::RunSheet},
};

// Qt's messages as Qt writes them, but for its warning, where no XDG_RUNTIME_DIR is set, that
// it looked for the user's runtime folder: the drawing never uses that folder, and a command's
// standard error is for its own messages.
void WriteQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
        return;
    }
    std::fprintf(stderr, "%s\n",
                 qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

} // namespace

extern "C" Q_DECL_EXPORT int OrbivexCliDraw(int* argc, char** argv) {
    // Text drawn into an image needs the font database of a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(WriteQtMessage);
    // The arguments as given: QGuiApplication takes away those it reads itself (such as
    // --style), which the commands need.
    QStringList arguments;
    for (int i = 1; i < *argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QGuiApplication app(*argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orbivex-cli"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(orbivex::ProgramVersion()));
    QTextStream out(stdout);
    QTextStream err(stderr);

    orbivex::cli::Context context{out, err, orbivex::ProgramDataFolder()};
    for (const Runner& runner : runners) {
        if (!arguments.isEmpty() && arguments.first() == QLatin1String(runner.name)) {
            return orbivex::cli::FinishOutput(context, runner.name, runner.run(arguments, context));
        }
    }
    err << "orbivex-cli: the drawing module has no command '" << arguments.value(0) << "'\n";
    return orbivex::cli::ExitUsage;
}
