// orbivex-cli chart: the Compute of the main window for one mode, printed as the grid and the
// report, or as JSON.
#include "calendar/DateInput.h"
#include "cli/ChartOptions.h"
#include "cli/Commands.h"
#include "core/Ephemeris.h"
#include "navigation/Compute.h"
#include "support/ProgramTexts.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace orbivex::cli {

namespace {

QJsonValue Longitude(double value) {
    return QJsonValue(value);
}

QJsonObject ChartJson(const ProgramState& state) {
    QJsonArray julianDays;
    for (double jd : state.ChartJulianDays) {
        julianDays.append(jd);
    }
    QJsonArray first;
    QJsonArray second;
    for (BodyIndex body = 1; body <= MaxBodies; ++body) {
        first.append(Longitude(state.positions(body, 0)));
        second.append(Longitude(state.positions(body, 1)));
    }
    QJsonArray aspects;
    for (const FoundAspect& aspect : state.aspects) {
        aspects.append(QJsonObject{
            {QStringLiteral("body1"), aspect.body1},
            {QStringLiteral("body2"), aspect.body2},
            {QStringLiteral("kind"), aspect.kind},
            {QStringLiteral("deviation"), aspect.deviation},
            {QStringLiteral("motion"), aspect.motion.trimmed()},
            {QStringLiteral("bold"), state.grid.cells[aspect.cell].bold},
            {QStringLiteral("cell"), aspect.cell},
        });
    }
    QJsonArray aspectCounts;
    for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
        aspectCounts.append(state.aspectCounts.count[kind]);
    }
    QJsonArray patternCounts;
    for (int count : state.patternCounts.count) {
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
    const bool twoCharts = IsTwoChartMode(state.mode);
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

bool ParseDateSetText(const QString& text, DateSet& dateSet, QString& error) {
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(-?\d+)-(\d{1,2})-(\d{1,2})(?:[ T]+(\d{1,2}:\d{2}))?(?:\s+(\S+))?\s*$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        error =
            QStringLiteral("'%1' is not a date of the form YYYY-MM-DD[ HH:MM][ ZONE]").arg(text);
        return false;
    }
    DateSet result;
    result.yearText = match.captured(1);
    result.monthIndex = match.captured(2).toInt();
    result.dayIndex = match.captured(3).toInt();
    if (result.monthIndex < 1 || result.monthIndex > 12) {
        error = QStringLiteral("'%1': the month must be 01 to 12").arg(text);
        return false;
    }
    if (result.dayIndex < 1 || result.dayIndex > 31) {
        error = QStringLiteral("'%1': the day must be 01 to 31").arg(text);
        return false;
    }
    if (match.hasCaptured(4)) {
        result.hourIndex = HourEntryOfText(match.captured(4));
        if (result.hourIndex < 1) {
            error = QStringLiteral("'%1': the time must be a whole or half hour, 00:00 to 23:30")
                        .arg(text);
            return false;
        }
    }
    if (match.hasCaptured(5)) {
        result.timezoneIndex = TimezoneEntryOfText(match.captured(5));
        if (result.timezoneIndex < 1) {
            error = QStringLiteral("'%1': the zone must be GMT, GMT+H:MM, GMT-H:MM, +HH:MM or "
                                   "-HH:MM on a whole or half hour up to 11:30, or a North "
                                   "American zone name")
                        .arg(text);
            return false;
        }
    }
    dateSet = result;
    return true;
}

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

int RunChart(const QStringList& arguments, Context& context) {
    const QString command = QStringLiteral("chart");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Computes a chart as the Compute command of the program does and prints its title, "
        "the aspect grid (one line per row, cells separated by ' | ') and the report.\n"
        "DATE is YYYY-MM-DD[ HH:MM][ ZONE]; without a time the time is 12:00, without a zone "
        "the computer's. Without --world the world date is the present moment."));
    const ChartOptions options;
    options.AddTo(parser);
    if (const auto status = ParseCommandLine(
            parser, arguments, command,
            QStringLiteral("Usage: orbivex-cli chart ") + ChartOptions::UsageText(), context)) {
        return *status;
    }
    ProgramState state;
    if (const int status = ReadChartOptions(parser, options, command, context, state);
        status != ExitSuccess) {
        return status;
    }
    ProgramTexts texts;
    Ephemeris ephemeris(context.programFolder);
    if (const int status = LoadAndCompute(context, state, texts, ephemeris);
        status != ExitSuccess) {
        return status;
    }
    if (parser.isSet(options.json)) {
        context.out << QJsonDocument(ChartJson(state)).toJson(QJsonDocument::Indented);
    } else {
        PrintChart(state, context.out);
    }
    return ExitSuccess;
}

} // namespace orbivex::cli
