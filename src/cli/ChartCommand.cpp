// orbivex-cli chart: the Compute of the main window for one mode, printed as the grid and the
// report, or as JSON.
#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "cli/ChartJson.h"
#include "cli/ChartOptions.h"
#include "cli/CliDates.h"
#include "cli/CliPlaces.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "cli/LibraryDates.h"
#include "core/Chart.h"
#include "core/Ephemeris.h"
#include "present/ChartView.h"
#include "present/GridText.h"
#include "present/Messages.h"
#include "present/Symbols.h"
#include "session/Compute.h"
#include "session/StateTransfer.h"
#include "support/ProgramTexts.h"

#include <QCommandLineParser>
#include <QFileDevice>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orbivex::cli {
using enum ChartMode;

namespace {

struct ModeName {
    const char* name;
    ChartMode mode;
};

constexpr std::array<ModeName, 6> ModeNames{{
    {"world", WorldTransits},
    {"natal1", NatalFirst},
    {"natal2", NatalSecond},
    {"personal1", PersonalFirst},
    {"personal2", PersonalSecond},
    {"synastry", SynastryMode},
}};

} // namespace

QString ModeOptionName(ChartMode mode) {
    const auto found = std::find_if(ModeNames.begin(), ModeNames.end(),
                                    [&](ModeName m) { return m.mode == mode; });
    return found == ModeNames.end() ? QString() : QLatin1String(found->name);
}

std::optional<ChartMode> ModeOfOptionName(const QString& name) {
    const auto found = std::find_if(ModeNames.begin(), ModeNames.end(),
                                    [&](ModeName m) { return name == QLatin1String(m.name); });
    return found == ModeNames.end() ? std::nullopt : std::optional<ChartMode>(found->mode);
}

namespace {

// What a glyph cell of the grid shows in a terminal: the body's two-letter abbreviation, or
// with `symbols` its Unicode symbol. The cells hold the letters of the symbol font, which mean
// nothing outside it.
QString GlyphText(const GridCell& cell, bool symbols) {
    for (BodyIndex body : AllBodies) {
        if (cell.text == QLatin1String(Bodies[body].symbolLetter)) {
            return symbols ? BodySymbol(body) : BodyAbbreviation(body);
        }
    }
    return cell.text;
}

void PrintChart(const ChartView& view, bool symbols, QTextStream& out) {
    out << view.title << "\n\n";
    for (const QStringList& cells : GridCellTexts(
             view.grid, [symbols](const GridCell& cell) { return GlyphText(cell, symbols); })) {
        out << cells.join(QStringLiteral(" | ")) << '\n';
    }
    const QString& report = view.report;
    out << '\n' << QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!report.endsWith(QLatin1Char('\n'))) {
        out << '\n';
    }
}

} // namespace

QString UnknownModeMessage(const QString& name) {
    return QStringLiteral("unknown mode '%1'").arg(name);
}

bool LoadProgramTexts(Context& context, ProgramTexts& texts) {
    if (texts.Load(context.programFolder + QStringLiteral("/orbx.dat")) > 0) {
        return true;
    }
    context.err << texts.LastLoadFailure() << '\n';
    return false;
}

bool LoadPlutoTable(Context& context, Ephemeris& ephemeris) {
    const Status loaded = ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName));
    if (loaded) {
        return true;
    }
    context.err << loaded.error() << '\n';
    return false;
}

ChartOptions AddChartOptions(QCommandLineParser& parser) {
    ChartOptions options{
        QCommandLineOption(
            QStringLiteral("mode"),
            QStringLiteral("world, natal1, natal2, personal1, personal2 or synastry."),
            QStringLiteral("MODE")),
        QCommandLineOption(QStringLiteral("world"), QStringLiteral("World date."),
                           QStringLiteral("DATE")),
        QCommandLineOption(QStringLiteral("birth1"), QStringLiteral("First birthdate."),
                           QStringLiteral("DATE")),
        QCommandLineOption(QStringLiteral("birth2"), QStringLiteral("Second birthdate."),
                           QStringLiteral("DATE")),
        QCommandLineOption(
            QStringLiteral("state"),
            QStringLiteral("Take dates, mode and configuration from a state file; the other "
                           "options override it."),
            QStringLiteral("FILE")),
        QCommandLineOption(QStringLiteral("radians"), QStringLiteral("Angles in radians.")),
        CalendarOption(),
        ZodiacOption(),
        LibraryOption(),
        PlaceOption(QStringLiteral("world-place"), QStringLiteral("world date")),
        PlaceOption(QStringLiteral("birth1-place"), QStringLiteral("first birthdate")),
        PlaceOption(QStringLiteral("birth2-place"), QStringLiteral("second birthdate")),
    };
    parser.addOptions({options.mode, options.world, options.birth1, options.birth2, options.state,
                       options.radians, options.calendar, options.zodiac, options.library,
                       options.worldPlace, options.birth1Place, options.birth2Place});
    return options;
}

QString ChartOptionsDescription() {
    return QStringLiteral("DATE is YYYY-MM-DD[ HH:MM][ ZONE]; without a time the time is 12:00, "
                          "without a zone the computer's, or with a place the place's. ZONE is "
                          "%1. A DATE @ID or @NAME is that chart of the chart library, with its "
                          "place. Without --world the world date is the present moment. PLACE "
                          "is %2.")
        .arg(ZoneFormsText(), PlaceFormsText());
}

QString ParseErrorText(const QCommandLineParser& parser) {
    // The parser lists every unknown name, and reads a value such as "-100" after an unknown
    // option as the options 1, 0 and 0: the first name is the one the user wrote.
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) {
        return parser.errorText();
    }
    const QString name = unknown.first();
    return QStringLiteral("unknown option '%1%2'")
        .arg(name.size() > 1 ? QStringLiteral("--") : QStringLiteral("-"), name);
}

int FinishOutput(Context& context, const char* command, int status) {
    context.out.flush();
    QString reason;
    if (const auto* device = qobject_cast<const QFileDevice*>(context.out.device());
        device != nullptr && device->error() != QFileDevice::NoError) {
        reason = device->errorString();
    }
    errno = 0;
    if ((std::fflush(stdout) != 0 || std::ferror(stdout) != 0) && reason.isEmpty()) {
        reason = QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EIO));
    }
    if (reason.isEmpty() && context.out.status() != QTextStream::Ok) {
        reason = QStringLiteral("the output was cut off");
    }
    if (reason.isEmpty()) {
        return status;
    }
    context.err << "orbivex-cli " << command << ": cannot write standard output: " << reason
                << '\n';
    return ExitFailure;
}

QString ForTerminal(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

int CommandUsageError(Context& context, const QString& command, const QString& message) {
    context.err << "orbivex-cli " << command << ": " << message << '\n'
                << "Run 'orbivex-cli " << command << " --help' for the options.\n";
    return ExitUsage;
}

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                                    const QString& command, const QString& usage,
                                    Context& context) {
    const QCommandLineOption helpOption = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        return CommandUsageError(context, command, ParseErrorText(parser));
    }
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(0, help.indexOf(QLatin1Char('\n')), usage);
        context.out << help;
        return ExitSuccess;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return CommandUsageError(
            context, command,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    }
    return std::nullopt;
}

std::optional<int> ComputeChartOfOptions(const QCommandLineParser& parser,
                                         const ChartOptions& options, const QString& command,
                                         Context& context, ProgramState& state,
                                         ProgramTexts& texts) {
    Ephemeris ephemeris(context.programFolder);
    return ComputeChartOfOptions(parser, options, command, context, state, texts, ephemeris);
}

std::optional<int> ComputeChartOfOptions(const QCommandLineParser& parser,
                                         const ChartOptions& options, const QString& command,
                                         Context& context, ProgramState& state, ProgramTexts& texts,
                                         Ephemeris& ephemeris) {
    state.zones = MakeTimeZones(TimezoneOffsetMinutes(), state.settings.northAmericanZones);
    if (parser.isSet(options.state)) {
        const Status loaded = LoadState(parser.value(options.state), state);
        if (!loaded) {
            context.err << "orbivex-cli " << command << ": " << loaded.error() << '\n';
            return ExitFailure;
        }
    } else if (!parser.isSet(options.mode)) {
        return CommandUsageError(context, command,
                                 QStringLiteral("--mode is required without --state"));
    }
    if (parser.isSet(options.mode)) {
        const QString name = parser.value(options.mode);
        const std::optional<ChartMode> mode = ModeOfOptionName(name);
        if (!mode) {
            return CommandUsageError(context, command, UnknownModeMessage(name));
        }
        state.mode = *mode;
    }
    if (const Status applied = ApplyCalendarOption(parser, options.calendar, state.dateSets);
        !applied) {
        return CommandUsageError(context, command, applied.error());
    }
    if (const Status applied = ApplyZodiacOption(parser, options.zodiac, state.settings.zodiac);
        !applied) {
        return CommandUsageError(context, command, applied.error());
    }
    const std::array<const QCommandLineOption*, 3> dateOptions{&options.world, &options.birth1,
                                                               &options.birth2};
    for (int set = 0; set < NumDateSets; ++set) {
        if (!parser.isSet(*dateOptions[set])) {
            continue;
        }
        // A DATE stands for the whole date set: the place a state file gave it goes with it,
        // and a chart of the library brings its own.
        std::optional<Place> place;
        const std::optional<DateReadFailure> failure =
            ReadDateOrChart(parser.value(*dateOptions[set]), state.dateSets[set],
                            LibraryFileOf(parser, options.library), &place);
        if (failure && failure->status == ExitUsage) {
            return CommandUsageError(context, command, failure->message);
        }
        if (failure) {
            context.err << "orbivex-cli " << command << ": " << failure->message << '\n';
            return failure->status;
        }
        state.places[set] = place;
    }
    const std::array<const QCommandLineOption*, 3> placeOptions{
        &options.worldPlace, &options.birth1Place, &options.birth2Place};
    for (int set = 0; set < NumDateSets; ++set) {
        if (!parser.isSet(*placeOptions[set])) {
            continue;
        }
        if (const Status read = ApplyPlaceOption(context, command, parser.value(*placeOptions[set]),
                                                 LibraryFileOf(parser, options.library),
                                                 state.dateSets[set], state.places[set]);
            !read) {
            return CommandUsageError(
                context, command,
                QStringLiteral("--%1: %2").arg(placeOptions[set]->names().first(), read.error()));
        }
    }
    if (!parser.isSet(options.state) && !parser.isSet(options.world)) {
        SetWorldDateToNow(state.dateSets[WorldDate], state.zones);
    }
    state.radians = parser.isSet(options.radians);

    if (!LoadProgramTexts(context, texts) || !LoadPlutoTable(context, ephemeris)) {
        return ExitFailure;
    }
    const ComputeOutcome outcome = Compute(state, {ephemeris});
    if (!outcome) {
        context.err << ReportDateError(texts, outcome.error()).message << '\n';
        return ExitDateError;
    }
    for (const QString& note : ComputeNoteTexts(texts, *outcome)) {
        context.err << note << '\n';
    }
    if (ephemeris.UsesBuiltInTheory()) {
        context.err << "orbivex-cli: warning: the ephemeris files were not found; positions "
                       "come from the less precise built-in theory.\n";
    }
    return std::nullopt;
}

int RunChart(const QStringList& arguments, Context& context) {
    const QString command = QStringLiteral("chart");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Computes a chart as the Compute command of the program does and prints "
                       "its title, the aspect grid (one line per row, cells separated by ' | ') "
                       "and the report.\n") +
        ChartOptionsDescription());
    const ChartOptions options = AddChartOptions(parser);
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("Write the chart as JSON."));
    const QCommandLineOption symbolsOption(
        QStringLiteral("symbols"),
        QStringLiteral("Name the bodies of the grid by their astrological symbols (Unicode) "
                       "instead of their two-letter abbreviations."));
    parser.addOptions({jsonOption, symbolsOption});
    if (const auto status = ParseCommandLine(
            parser, arguments, command,
            QStringLiteral("Usage: orbivex-cli chart --mode MODE [--world DATE] [--birth1 DATE] "
                           "[--birth2 DATE] [--world-place PLACE] [--birth1-place PLACE] "
                           "[--birth2-place PLACE] [--state FILE] [--radians] [--symbols] "
                           "[--json]"),
            context)) {
        return *status;
    }
    ProgramState state;
    ProgramTexts texts;
    if (const auto status =
            ComputeChartOfOptions(parser, options, command, context, state, texts)) {
        return *status;
    }
    const ChartView view = BuildChartView(state.chart, ChartDisplayOf(state), texts);
    if (parser.isSet(jsonOption)) {
        context.out << QString::fromUtf8(
            ChartJson(state, view, ChartPlacesOf(state), JsonLayout::Indented));
    } else {
        PrintChart(view, parser.isSet(symbolsOption), context.out);
    }
    return ExitSuccess;
}

} // namespace orbivex::cli
