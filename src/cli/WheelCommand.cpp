// orbivex-cli wheel: the chart wheel of a chart, saved as the PNG or SVG image that "Save as
// ..." of the program saves (or, with --screen, as the window shows it).
#include "cli/ChartOptions.h"
#include "cli/Commands.h"
#include "draw/ChartWheel.h"
#include "draw/ImageExport.h"
#include "draw/WheelOfState.h"
#include "draw/WheelSvg.h"
#include "support/ProgramTexts.h"

namespace orbivex::cli {

int RunWheel(const QStringList& arguments, Context& context) {
    const QString command = QStringLiteral("wheel");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Computes a chart as the Compute command of the program does and saves "
                       "its chart wheel as a PNG image, composed as the program's \"Save as "
                       "...\" saves it: with the title, the dates and the notes. A FILE ending "
                       "in .svg is written as a vector image (SVG); any other FILE is a PNG "
                       "image, and gets the .png ending when it lacks it; when the PNG cannot "
                       "be written the image is saved as FILE.bmp.\n") +
        ChartOptionsDescription());
    const ChartOptions options = AddChartOptions(parser);
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("The image file to write (PNG or SVG)."),
                                       QStringLiteral("FILE.png|FILE.svg"));
    const QCommandLineOption screenOption(
        QStringLiteral("screen"),
        QStringLiteral("Save the wheel as the window shows it, with its legends."));
    parser.addOptions({outOption, screenOption});
    if (const auto status = ParseCommandLine(
            parser, arguments, command,
            QStringLiteral("Usage: orbivex-cli wheel --mode MODE [--world DATE] [--birth1 DATE] "
                           "[--birth2 DATE] [--state FILE] [--radians] [--screen] "
                           "--out FILE.png|FILE.svg"),
            context)) {
        return *status;
    }
    if (!parser.isSet(outOption) || parser.value(outOption).isEmpty()) {
        return CommandUsageError(context, command,
                                 QStringLiteral("--out FILE.png is required (or FILE.svg)"));
    }

    ProgramState state;
    ProgramTexts texts;
    if (const auto status =
            ComputeChartOfOptions(parser, options, command, context, state, texts)) {
        return *status;
    }
    const WheelDrawing drawing = DrawChartWheel(WheelInputOf(state), texts);
    if (drawing.status == WheelStatus::FiltersRefused) {
        context.err << "orbivex-cli wheel: " << ForTerminal(drawing.message) << '\n';
        return ExitFailure;
    }
    if (drawing.status == WheelStatus::NoRoomForGlyph) {
        context.err << "orbivex-cli wheel: warning: " << ForTerminal(drawing.message) << '\n';
    }
    const QString out = parser.value(outOption);
    if (out.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        const WheelSvg svg = parser.isSet(screenOption)
                                 ? DrawWheelSvg(WheelInputOf(state), texts)
                                 : ComposeExportSvg(ExportInputOf(state, texts), texts);
        const ImageSaveOutcome outcome = SaveSvgFile(svg.svg, out, texts);
        if (outcome.result != ImageSaveResult::Saved) {
            context.err << "orbivex-cli wheel: " << ForTerminal(outcome.message) << '\n';
            return ExitFailure;
        }
        context.out << ForTerminal(outcome.message) << '\n';
        return ExitSuccess;
    }
    const QImage image = parser.isSet(screenOption)
                             ? drawing.image
                             : ComposeExportImage(ExportInputOf(state, texts), texts);
    const ImageSaveOutcome outcome = SaveImageFiles(image, ImageFileNamesFor(out), texts);
    if (outcome.result != ImageSaveResult::Saved) {
        context.err << "orbivex-cli wheel: " << ForTerminal(outcome.message) << '\n';
        return ExitFailure;
    }
    context.out << ForTerminal(outcome.message) << '\n';
    return ExitSuccess;
}

} // namespace orbivex::cli
