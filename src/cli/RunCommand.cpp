// orbivex-cli run: the pattern run of world transits at full speed. The world date steps
// forward from the date given, the chart is computed at each step and the stop test decides,
// exactly as in the program, only without the wait between steps.
#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "cli/CliDates.h"
#include "cli/CliPlaces.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "cli/LibraryDates.h"
#include "core/Ephemeris.h"
#include "present/Messages.h"
#include "present/PatternTexts.h"
#include "session/PatternRun.h"
#include "support/ProgramTexts.h"

#include <QCommandLineParser>

#include <limits>

namespace orbivex::cli {
using enum PatternIndex;
using enum ChartMode;

namespace {

struct StepName {
    const char* name;
    StepUnit unit;
};

constexpr std::array<StepName, NumStepUnits> StepNames{{
    {"halfhour", HalfHourStep},
    {"day", DayStep},
    {"week", WeekStep},
    {"month", MonthStep},
    {"year", YearStep},
}};

int UsageError(Context& context, const QString& message) {
    return CommandUsageError(context, QStringLiteral("run"), message);
}

// A body by its name or its two-letter abbreviation, any case; none when none has it.
std::optional<BodyIndex> BodyOfText(const QString& text) {
    const QString trimmed = text.trimmed();
    for (BodyIndex body : AllBodies) {
        if (trimmed.compare(BodyName(body), Qt::CaseInsensitive) == 0 ||
            trimmed.compare(BodyAbbreviation(body), Qt::CaseInsensitive) == 0) {
            return body;
        }
    }
    return std::nullopt;
}

QString PatternNameList() {
    QStringList names;
    for (PatternIndex pattern : AllPatterns) {
        names << QLatin1Char('"') + PatternName(pattern) + QLatin1Char('"');
    }
    return names.join(QStringLiteral(", "));
}

// The choices of the run window from the options, or what is wrong with them.
Status ParseChoices(const QCommandLineParser& parser, const QCommandLineOption& patternOption,
                    const QCommandLineOption& atLeastOption, const QCommandLineOption& bodiesOption,
                    PatternRun& run) {
    if (!parser.isSet(patternOption)) {
        return Fail(QStringLiteral("--pattern is required"));
    }
    const PatternIndex pattern = PatternIndexOfName(parser.value(patternOption).trimmed());
    if (pattern == NoPattern) {
        return Fail(QStringLiteral("unknown pattern '%1'; the patterns are %2")
                        .arg(parser.value(patternOption), PatternNameList()));
    }
    std::array<int, 3> bodies{};
    if (parser.isSet(bodiesOption)) {
        const QStringList names = parser.value(bodiesOption).split(QLatin1Char(','));
        if (names.size() > 3) {
            return Fail(QStringLiteral("--bodies names at most three bodies"));
        }
        for (qsizetype i = 0; i < names.size(); ++i) {
            const std::optional<BodyIndex> body = BodyOfText(names[i]);
            if (!body) {
                return Fail(QStringLiteral("unknown body '%1'").arg(names[i]));
            }
            bodies[static_cast<size_t>(i)] = BodyNumber(*body);
        }
        if (SoughtBodiesRepeat(bodies)) {
            return Fail(RepeatedBodyMessage());
        }
    }
    if (parser.isSet(atLeastOption)) {
        bool isNumber = false;
        const int atLeast = parser.value(atLeastOption).toInt(&isNumber);
        if (!isNumber || atLeast < 2 || atLeast > 9) {
            return Fail(QStringLiteral("--at-least must be a number from 2 to 9"));
        }
        run.findAtLeast = true;
        run.numToFindIndex = atLeast - 2;
    }
    run.AcceptChoices(pattern, bodies);
    return {};
}

struct RunOutcome {
    bool found = false;
    int steps = 0;
    double julianDay = 0.0; // the world date of the last step that stood
    QString date;           // as the window writes it: "March 5, 2024, 12:00 (GMT)"
    QString dateText;       // as a DATE option: "2024-03-05 12:00 GMT"
    QString message;
};

// reason: why the run ended before --max-steps, ending with a full stop; "" when it did not.
QString NotFoundMessage(const PatternRun& run, int steps, const QString& date,
                        const QString& reason) {
    QString message = QStringLiteral("No %1 found in %2 step%3, up to %4")
                          .arg(PatternName(run.patternToFind).toLower())
                          .arg(steps)
                          .arg(steps == 1 ? QString() : QStringLiteral("s"))
                          .arg(date);
    return reason.isEmpty() ? message + QLatin1Char('.') : message + QStringLiteral("; ") + reason;
}

void PrintOutcome(const RunOutcome& outcome, bool json, QTextStream& out) {
    if (json) {
        QJsonObject date = DateJson(outcome.dateText, outcome.julianDay);
        AddDatePlace(date, nullptr, false);
        WriteJson(out, {{QStringLiteral("format"), FormatName("run")},
                        {QStringLiteral("found"), outcome.found},
                        {QStringLiteral("steps"), outcome.steps},
                        {QStringLiteral("date"), date},
                        {QStringLiteral("message"), ForTerminal(outcome.message)}});
        return;
    }
    if (outcome.found) {
        out << outcome.date << '\n';
    }
    out << QString(outcome.message).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    out << "Steps: " << outcome.steps << '\n';
}

} // namespace

int RunRun(const QStringList& arguments, Context& context) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Steps the world date forward, computing the world-transit chart at each step, until "
            "the chart shows the pattern, as the Run command of the program does but without "
            "waiting between steps. Prints the date of the step that found it, the message of the "
            "find and the number of steps; exits with status 1 when no step found it.\n"
            "DATE is YYYY-MM-DD[ HH:MM][ ZONE]; without a time the time is 12:00, without a zone "
            "the computer's, or with --world-place the place's. ZONE is %1. A DATE @ID or @NAME "
            "is that chart of the chart library, with its place. PLACE is %2.")
            .arg(ZoneFormsText(), PlaceFormsText()));
    const QCommandLineOption patternOption(
        QStringLiteral("pattern"),
        QStringLiteral("The pattern sought, by its name in any case: %1.").arg(PatternNameList()),
        QStringLiteral("NAME"));
    const QCommandLineOption atLeastOption(
        QStringLiteral("at-least"),
        QStringLiteral("Stop only at a chart with at least N of the pattern (2 to 9)."),
        QStringLiteral("N"));
    const QCommandLineOption bodiesOption(
        QStringLiteral("bodies"),
        QStringLiteral("Up to three bodies, by name or abbreviation, separated by commas, that "
                       "an occurrence of the pattern must hold."),
        QStringLiteral("A,B,C"));
    const QCommandLineOption worldOption(QStringLiteral("world"),
                                         QStringLiteral("The world date to start from."),
                                         QStringLiteral("DATE"));
    const QCommandLineOption stepOption(
        QStringLiteral("step"), QStringLiteral("halfhour, day (the default), week, month or year."),
        QStringLiteral("UNIT"));
    const QCommandLineOption maxStepsOption(
        QStringLiteral("max-steps"),
        QStringLiteral("Give up after N steps (by default the run goes on until the end of the "
                       "year 2799)."),
        QStringLiteral("N"));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("Write the result as JSON."));
    const QCommandLineOption calendarOption = CalendarOption();
    const QCommandLineOption libraryOption = LibraryOption();
    const QCommandLineOption placeOption =
        PlaceOption(QStringLiteral("world-place"), QStringLiteral("world date"));
    parser.addOptions({patternOption, atLeastOption, bodiesOption, worldOption, placeOption,
                       stepOption, maxStepsOption, calendarOption, libraryOption, jsonOption});
    if (const auto status = ParseCommandLine(
            parser, arguments, QStringLiteral("run"),
            QStringLiteral("Usage: orbivex-cli run --pattern NAME [--at-least N] "
                           "[--bodies A,B,C] --world DATE [--world-place PLACE] [--step UNIT] "
                           "[--max-steps N] [--library FILE] [--json]"),
            context)) {
        return *status;
    }

    PatternRun run;
    if (const Status chosen = ParseChoices(parser, patternOption, atLeastOption, bodiesOption, run);
        !chosen) {
        return UsageError(context, chosen.error());
    }
    ProgramState state;
    state.mode = WorldTransits;
    state.zones = MakeTimeZones(TimezoneOffsetMinutes(), state.settings.northAmericanZones);
    if (!parser.isSet(worldOption)) {
        return UsageError(context, QStringLiteral("--world is required"));
    }
    if (const Status applied = ApplyCalendarOption(parser, calendarOption, state.dateSets);
        !applied) {
        return UsageError(context, applied.error());
    }
    if (const std::optional<DateReadFailure> failure =
            ReadDateOrChart(parser.value(worldOption), state.dateSets[WorldDate],
                            LibraryFileOf(parser, libraryOption), &state.places[WorldDate])) {
        if (failure->status == ExitUsage) {
            return UsageError(context, failure->message);
        }
        context.err << "orbivex-cli run: " << failure->message << '\n';
        return failure->status;
    }
    if (parser.isSet(placeOption)) {
        if (const Status read =
                ApplyPlaceOption(context, QStringLiteral("run"), parser.value(placeOption),
                                 LibraryFileOf(parser, libraryOption), state.dateSets[WorldDate],
                                 state.places[WorldDate]);
            !read) {
            return UsageError(context, QStringLiteral("--world-place: ") + read.error());
        }
    }
    state.stepUnitIndex = DayStep;
    if (parser.isSet(stepOption)) {
        const QString name = parser.value(stepOption);
        const auto found = std::find_if(StepNames.begin(), StepNames.end(), [&](StepName s) {
            return name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0;
        });
        if (found == StepNames.end()) {
            return UsageError(context, QStringLiteral("unknown step unit '%1'").arg(name));
        }
        state.stepUnitIndex = found->unit;
    }
    int maxSteps = std::numeric_limits<int>::max();
    if (parser.isSet(maxStepsOption)) {
        bool isNumber = false;
        maxSteps = parser.value(maxStepsOption).toInt(&isNumber);
        if (!isNumber || maxSteps < 1) {
            return UsageError(context, QStringLiteral("--max-steps must be a positive number"));
        }
    }

    ProgramTexts texts;
    Ephemeris ephemeris(context.programFolder);
    if (!LoadProgramTexts(context, texts) || !LoadPlutoTable(context, ephemeris)) {
        return ExitFailure;
    }
    // The starting date as the window holds it before Run: converted, with its time and zone
    // chosen, so that the first step already moves it.
    RunOutcome outcome;
    int status = ExitSuccess;
    const std::optional<double> start =
        ConvertDateSet(context, state.dateSets[WorldDate], state.zones, WorldDate, status);
    if (!start) {
        return status;
    }
    if (state.places[WorldDate]) {
        NoteMeanTime(context, QStringLiteral("run"), *state.places[WorldDate],
                     state.dateSets[WorldDate]);
    }
    outcome.julianDay = *start;

    ComputeContext computeContext{ephemeris};
    computeContext.chartOnly = true; // nothing is shown between the steps
    QString failure;
    while (outcome.steps < maxSteps) {
        const RunStepResult step = StepRun(state, computeContext, run);
        if (!step.stands) {
            failure = step.step.compute
                          ? QStringLiteral("the world date cannot be stepped further.")
                          : QStringLiteral("the next step does not convert: ") +
                                ReportDateError(texts, step.step.compute.error()).message;
            break;
        }
        ++outcome.steps;
        outcome.julianDay = state.ChartJulianDays[WorldDate].julianDay;
        if (step.stop.found) {
            outcome.found = true;
            outcome.message = RunStopMessage(step.stop, texts);
            break;
        }
    }
    DateSet shown = state.dateSets[WorldDate];
    outcome.date = InputDateToString(shown, state.zones, false);
    outcome.dateText = DateSetText(shown, state.zones);
    if (!outcome.found) {
        outcome.message = NotFoundMessage(run, outcome.steps, outcome.date, failure);
    }
    if (ephemeris.UsesBuiltInTheory()) {
        context.err << "orbivex-cli: warning: the ephemeris files were not found; positions "
                       "come from the less precise built-in theory.\n";
    }
    PrintOutcome(outcome, parser.isSet(jsonOption), context.out);
    return outcome.found ? ExitSuccess : ExitNotFound;
}

} // namespace orbivex::cli
