// orbivex-cli wheel: the chart wheel of a chart, saved as the PNG or SVG image that "Save as
// ..." of the program saves (or, with --screen, as the window shows it).
#include "cli/ChartOptions.h"
#include "cli/Commands.h"
#include "cli/DrawingModule.h"
#include "cli/WheelStyleOptions.h"
#include "present/PictureInput.h"
#include "support/ProgramTexts.h"

#include <optional>

namespace orbivex::cli {

namespace {

constexpr int MinimumImageWidth = 100;
constexpr int MaximumImageWidth = 6000;

} // namespace

int RunWheel(const QStringList& arguments, Context& context, const DrawingFunctions& drawing) {
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
    const QCommandLineOption sizeOption(
        QStringLiteral("size"),
        QStringLiteral("The image's width in pixels, %1 to %2; the height keeps the wheel's "
                       "proportions. Without it the image has the size the program shows.")
            .arg(MinimumImageWidth)
            .arg(MaximumImageWidth),
        QStringLiteral("N"));
    parser.addOptions({outOption, screenOption, sizeOption});
    const WheelStyleOptions styleOptions = AddWheelStyleOptions(parser);
    if (const auto status = ParseCommandLine(
            parser, arguments, command,
            QStringLiteral("Usage: orbivex-cli wheel --mode MODE [--world DATE] [--birth1 DATE] "
                           "[--birth2 DATE] [--world-place PLACE] [--birth1-place PLACE] "
                           "[--birth2-place PLACE] [--state FILE] [--radians] [--screen] "
                           "[--style classic|modern] [--theme light|dark] [--size N] "
                           "--out FILE.png|FILE.svg"),
            context)) {
        return *status;
    }
    if (!parser.isSet(outOption) || parser.value(outOption).isEmpty()) {
        return CommandUsageError(context, command,
                                 QStringLiteral("--out FILE.png is required (or FILE.svg)"));
    }
    if (const auto status = CheckWheelStyleOptions(parser, styleOptions, command, context)) {
        return *status;
    }
    std::optional<int> width;
    if (parser.isSet(sizeOption)) {
        bool number = false;
        const int value = parser.value(sizeOption).toInt(&number);
        if (!number || value < MinimumImageWidth || value > MaximumImageWidth) {
            return CommandUsageError(
                context, command,
                QStringLiteral("--size must be a whole number of pixels from %1 to %2")
                    .arg(MinimumImageWidth)
                    .arg(MaximumImageWidth));
        }
        width = value;
    }

    ProgramState state;
    ProgramTexts texts;
    if (const auto status =
            ComputeChartOfOptions(parser, options, command, context, state, texts)) {
        return *status;
    }
    ApplyWheelStyleOptions(parser, styleOptions, state);
    WheelJob job;
    job.wheel = WheelInputOf(state);
    job.composition = ExportInputOf(state, texts);
    job.screen = parser.isSet(screenOption);
    job.width = width;
    job.out = parser.value(outOption);
    const WheelOutcome outcome = drawing.saveWheel(job, texts);
    if (!outcome.warning.isEmpty()) {
        context.err << "orbivex-cli wheel: warning: " << ForTerminal(outcome.warning) << '\n';
    }
    if (!outcome.saved) {
        context.err << "orbivex-cli wheel: " << ForTerminal(outcome.message) << '\n';
        return ExitFailure;
    }
    context.out << ForTerminal(outcome.message) << '\n';
    return ExitSuccess;
}

} // namespace orbivex::cli
