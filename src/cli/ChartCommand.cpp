// orbivex-cli chart: the Compute of the main window for one mode, printed as the grid and the
// report, or as JSON.
#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "cli/ChartOptions.h"
#include "cli/CliDates.h"
#include "cli/Commands.h"
#include "core/Ephemeris.h"
#include "session/Compute.h"
#include "session/StateTransfer.h"
#include "support/ProgramTexts.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace orbivex::cli {

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

// A longitude in radians, or for a missing one the negative marker the JSON has always had:
// -99 before Pluto's table, -100 after it, -1 otherwise.
QJsonValue Longitude(const Position& position) {
    switch (position.Status()) {
    case PositionStatus::Known:
        return position.Longitude();
    case PositionStatus::BeforeTable:
        return NoPositionBeforeTable;
    case PositionStatus::AfterTable:
        return NoPositionAfterTable;
    case PositionStatus::Unavailable:
        break;
    }
    return NoPosition;
}

QString MotionText(Motion motion) {
    switch (motion) {
    case Motion::Applying:
        return QStringLiteral("-");
    case Motion::Separating:
        return QStringLiteral("+");
    case Motion::None:
        break;
    }
    return {};
}

QJsonObject ChartJson(const ProgramState& state) {
    const Chart& chart = state.chart;
    const bool twoCharts = chart.TwoSets();
    QJsonArray julianDays;
    for (double jd : state.ChartJulianDays) {
        julianDays.append(jd);
    }
    QJsonArray first;
    QJsonArray second;
    for (BodyIndex body = 1; body <= MaxBodies; ++body) {
        first.append(Longitude(chart.positions[0][static_cast<std::size_t>(body)]));
        second.append(Longitude(chart.positions[1][static_cast<std::size_t>(body)]));
    }
    QJsonArray aspects;
    for (const ChartAspect& aspect : chart.aspects) {
        aspects.append(QJsonObject{
            {QStringLiteral("body1"), aspect.first},
            {QStringLiteral("body2"), aspect.second},
            {QStringLiteral("kind"), aspect.kind},
            {QStringLiteral("deviation"), aspect.deviation},
            {QStringLiteral("motion"), MotionText(aspect.motion)},
            {QStringLiteral("bold"), aspect.bold},
            {QStringLiteral("cell"), twoCharts ? SquareAspectCell(aspect.first, aspect.second)
                                               : TriangularAspectCell(aspect.first, aspect.second)},
        });
    }
    QJsonArray aspectCounts;
    for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
        aspectCounts.append(chart.aspectCounts.count[static_cast<std::size_t>(kind)]);
    }
    QJsonArray patternCounts;
    for (int count : chart.patternCounts.count) {
        patternCounts.append(count);
    }
    QJsonArray cells;
    for (int index = 0; index < state.grid.intNumCells; ++index) {
        const GridCell& cell = state.grid.cells[index];
        const GridPosition position = GetRowCol(index, state.grid.intNumCols);
        cells.append(QJsonObject{
            {QStringLiteral("index"), index},
            {QStringLiteral("row"), position.intRow},
            {QStringLiteral("col"), position.intCol},
            {QStringLiteral("text"), cell.text},
            {QStringLiteral("visible"), cell.visible},
            {QStringLiteral("bold"), cell.bold},
            {QStringLiteral("color"), cell.foreColour},
        });
    }
    return QJsonObject{
        {QStringLiteral("mode"), state.mode},
        {QStringLiteral("title"), state.title},
        {QStringLiteral("julianDays"), julianDays},
        {QStringLiteral("positions"),
         QJsonObject{{QStringLiteral("first"), first},
                     {QStringLiteral("second"), twoCharts ? QJsonValue(second) : QJsonValue()}}},
        {QStringLiteral("aspects"), aspects},
        {QStringLiteral("aspectCounts"), aspectCounts},
        {QStringLiteral("patternCounts"), patternCounts},
        {QStringLiteral("report"), twoCharts ? state.report1 : state.report},
        {QStringLiteral("cells"), cells},
    };
}

void PrintChart(const ProgramState& state, QTextStream& out) {
    out << state.title << "\n\n";
    const AspectGrid& grid = state.grid;
    for (int row = 0; row < grid.intNumRows; ++row) {
        QStringList cells;
        for (int col = 0; col < grid.intNumCols; ++col) {
            const GridCell& cell = grid.Cell(row, col);
            QString text = cell.visible ? cell.text : QString();
            cells.append(text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
        }
        out << cells.join(QStringLiteral(" | ")) << '\n';
    }
    const QString report = IsTwoChartMode(state.mode) ? state.report1 : state.report;
    out << '\n' << QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!report.endsWith(QLatin1Char('\n'))) {
        out << '\n';
    }
}

} // namespace

bool LoadProgramTexts(Context& context, ProgramTexts& texts) {
    if (texts.Load(context.programFolder + QStringLiteral("/orbx.dat")) > 0) {
        return true;
    }
    context.err << texts.LastLoadFailure() << '\n';
    return false;
}

bool LoadPlutoTable(Context& context, Ephemeris& ephemeris) {
    const QString error = ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName));
    if (error.isEmpty()) {
        return true;
    }
    context.err << error << '\n';
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
    };
    parser.addOptions({options.mode, options.world, options.birth1, options.birth2, options.state,
                       options.radians});
    return options;
}

QString ChartOptionsDescription() {
    return QStringLiteral("DATE is YYYY-MM-DD[ HH:MM][ ZONE]; without a time the time is 12:00, "
                          "without a zone the computer's. ZONE is %1. Without --world the world "
                          "date is the present moment.")
        .arg(ZoneFormsText());
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
        return CommandUsageError(context, command, parser.errorText());
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
        const QString error = LoadState(parser.value(options.state), state);
        if (!error.isEmpty()) {
            context.err << "orbivex-cli " << command << ": " << parser.value(options.state) << ": "
                        << error << '\n';
            return ExitFailure;
        }
    } else if (!parser.isSet(options.mode)) {
        return CommandUsageError(context, command,
                                 QStringLiteral("--mode is required without --state"));
    }
    if (parser.isSet(options.mode)) {
        const QString name = parser.value(options.mode);
        const auto found = std::find_if(ModeNames.begin(), ModeNames.end(),
                                        [&](ModeName m) { return name == QLatin1String(m.name); });
        if (found == ModeNames.end()) {
            return CommandUsageError(context, command,
                                     QStringLiteral("unknown mode '%1'").arg(name));
        }
        state.mode = found->mode;
    }
    const std::array<const QCommandLineOption*, 3> dateOptions{&options.world, &options.birth1,
                                                               &options.birth2};
    for (int set = 0; set < NumDateSets; ++set) {
        if (!parser.isSet(*dateOptions[set])) {
            continue;
        }
        QString error;
        if (!ParseDateSetText(parser.value(*dateOptions[set]), state.dateSets[set], error)) {
            return CommandUsageError(context, command, error);
        }
    }
    if (!parser.isSet(options.state) && !parser.isSet(options.world)) {
        SetWorldDateToNow(state.dateSets[WorldDate], state.zones);
    }
    state.radians = parser.isSet(options.radians);

    if (!LoadProgramTexts(context, texts) || !LoadPlutoTable(context, ephemeris)) {
        return ExitFailure;
    }
    const ComputeOutcome outcome = Compute(state, {ephemeris, texts});
    if (!outcome.ok()) {
        context.err << outcome.dateError.message << '\n';
        return ExitDateError;
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
    parser.addOption(jsonOption);
    if (const auto status = ParseCommandLine(
            parser, arguments, command,
            QStringLiteral("Usage: orbivex-cli chart --mode MODE [--world DATE] [--birth1 DATE] "
                           "[--birth2 DATE] [--state FILE] [--radians] [--json]"),
            context)) {
        return *status;
    }
    ProgramState state;
    ProgramTexts texts;
    if (const auto status =
            ComputeChartOfOptions(parser, options, command, context, state, texts)) {
        return *status;
    }
    if (parser.isSet(jsonOption)) {
        context.out << QJsonDocument(ChartJson(state)).toJson(QJsonDocument::Indented);
    } else {
        PrintChart(state, context.out);
    }
    return ExitSuccess;
}

} // namespace orbivex::cli
