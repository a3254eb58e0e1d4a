// orbivex-cli sheet: the chart sheet of a chart (its title, dates, wheel, grid and reports on
// one A4 page) as the program prints it, saved as a PDF file.
#include "cli/ChartOptions.h"
#include "cli/Commands.h"
#include "cli/DrawingModule.h"
#include "cli/WheelStyleOptions.h"
#include "core/Ephemeris.h"
#include "present/PictureInput.h"
#include "session/SaveTarget.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

namespace orbivex::cli {

namespace {} // namespace

int RunSheet(const QStringList& arguments, Context& context, const DrawingFunctions& drawing) {
    const QString command = QStringLiteral("sheet");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Computes a chart as the Compute command of the program does and saves "
                       "its chart sheet, as the program's Print command prints it, as a "
                       "one-page A4 PDF file: the title with the dates and zones, the chart "
                       "wheel, the aspect grid with its report, and the aspects' durations (or "
                       "the natal report). A FILE without the .pdf ending gets it.\n") +
        ChartOptionsDescription());
    const ChartOptions options = AddChartOptions(parser);
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("The PDF file to write."),
                                       QStringLiteral("FILE.pdf"));
    parser.addOption(outOption);
    const WheelStyleOptions styleOptions = AddWheelStyleOptions(parser);
    if (const auto status = ParseCommandLine(
            parser, arguments, command,
            QStringLiteral(
                "Usage: orbivex-cli sheet --mode MODE [--world DATE] [--birth1 DATE] "
                "[--birth2 DATE] [--world-place PLACE] [--birth1-place PLACE] "
                "[--birth2-place PLACE] [--state FILE] [--radians] [--style classic|modern] "
                "[--theme light|dark] --out FILE.pdf"),
            context)) {
        return *status;
    }
    if (!parser.isSet(outOption) || parser.value(outOption).isEmpty()) {
        return CommandUsageError(context, command, QStringLiteral("--out FILE.pdf is required"));
    }
    if (const auto status = CheckWheelStyleOptions(parser, styleOptions, command, context)) {
        return *status;
    }

    ProgramState state;
    ProgramTexts texts;
    Ephemeris ephemeris(context.programFolder);
    if (const auto status =
            ComputeChartOfOptions(parser, options, command, context, state, texts, ephemeris)) {
        return *status;
    }
    ApplyWheelStyleOptions(parser, styleOptions, state);
    SheetJob job;
    job.sheet = SheetInputOf(state, ephemeris, texts);
    job.path =
        NameWithExtension(parser.value(outOption), QStringLiteral(".pdf"), OtherExtension::Append);
    const QString& path = job.path;
    if (const Status written = drawing.saveSheet(job, texts); !written) {
        context.err << "orbivex-cli sheet: cannot write " << path << ": " << written.error()
                    << '\n';
        return ExitFailure;
    }
    context.out << ForTerminal(texts.ProgramText(text::SheetSavedAs)) << '\n' << path << '\n';
    return ExitSuccess;
}

} // namespace orbivex::cli
