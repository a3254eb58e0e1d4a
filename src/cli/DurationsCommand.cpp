// orbivex-cli durations: what the durations window shows for a chart: the title, then the
// aspects with their beginnings, ends and durations (world and personal transits) or the natal
// report (natal aspects and synastry); or the records as JSON.
#include "calendar/CalendarYears.h"
#include "calendar/DateFormat.h"
#include "cli/ChartOptions.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "core/Ephemeris.h"
#include "present/DurationsReport.h"
#include "support/ProgramTexts.h"

#include <QCommandLineParser>

#include <cmath>

namespace orbivex::cli {
using enum ChartMode;

namespace {

// The sort names of the command line, with the world-transit list entry and the
// personal-transit one.
struct SortName {
    const char* name;
    int worldIndex; // -1: not offered in world transits
    int personalIndex;
};

constexpr std::array<SortName, 8> SortNames{{
    {"exactness", 0, 0},
    {"aspect", 1, 1},
    {"planet", 2, 2},
    {"natal", -1, 2},
    {"transiting", -1, 3},
    {"beginning", 3, 4},
    {"ending", 4, 5},
    {"duration", 5, 6},
}};

// A day of the durations (a local civil day) by its long date and day number; null when
// unknown, and for a day outside the years 1 to 2799 of the calendar (the list's "before the
// year 1").
QJsonValue DayJson(const std::optional<int>& day, CalendarChoice calendar) {
    if (!day || !DayInCalendarYears(calendar, *day)) {
        return QJsonValue::Null;
    }
    return QJsonObject{{QStringLiteral("text"), JDNToLongDate(*day, false, calendar)},
                       {QStringLiteral("dayNumber"), *day}};
}

// A record keeps its deviation to a millionth of a radian, so four decimals of a degree say
// all it knows.
double OrbDegrees(double radians) {
    return std::round(RadiansToDegrees(radians) * 1e4) / 1e4;
}

// An exact moment (UT) as the list tells it, in the world date's zone, and its Julian day to a
// tenth of a second; null when the aspect has none.
QJsonValue ExactJson(const std::optional<double>& exact, const MomentZone& zone) {
    if (!exact) {
        return QJsonValue::Null;
    }
    return QJsonObject{{QStringLiteral("text"), ExactMomentText(*exact, zone)},
                       {QStringLiteral("julianDay"), std::round(*exact * 1e6) / 1e6}};
}

QJsonObject DurationsJson(const DurationsContent& content) {
    // A personal-transit record holds the natal body first; JSON puts the transiting body
    // first, as the chart does.
    const bool personal = content.mode == PersonalFirst || content.mode == PersonalSecond;
    QJsonArray records;
    for (const QString& record : content.records) {
        DurationFields fields;
        if (!ReadDurationRecord(record, fields)) {
            continue;
        }
        records.append(QJsonObject{
            {QStringLiteral("first"), BodyName(personal ? fields.body2 : fields.body1)},
            {QStringLiteral("second"), BodyName(personal ? fields.body1 : fields.body2)},
            {QStringLiteral("aspect"), AspectJsonName(fields.kind)},
            {QStringLiteral("orb"), OrbDegrees(fields.deviation)},
            {QStringLiteral("beginning"), DayJson(fields.beginning, content.zone.calendar)},
            {QStringLiteral("end"), DayJson(fields.end, content.zone.calendar)},
            {QStringLiteral("days"),
             fields.duration ? QJsonValue(*fields.duration) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("exact"), ExactJson(fields.exact, content.zone)},
        });
    }
    return QJsonObject{
        {QStringLiteral("format"), FormatName("durations")},
        {QStringLiteral("mode"), ModeOptionName(content.mode)},
        {QStringLiteral("title"), ForTerminal(content.heading.title).trimmed()},
        {QStringLiteral("records"), records},
    };
}

} // namespace

int RunDurations(const QStringList& arguments, Context& context) {
    const QString command = QStringLiteral("durations");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Computes a chart as the Compute command of the program does and prints "
                       "what its Report shows: the title line, a blank line, then the aspects "
                       "with the days on which they began and end and their durations (world "
                       "and personal transits), or the natal report (natal aspects and "
                       "synastry). JSON holds the title and the records in list order (the "
                       "transiting body first in personal transits); days, durations and exact "
                       "moments that are not known, and all of them in natal aspects and "
                       "synastry, are null.\n") +
        ChartOptionsDescription());
    const ChartOptions options = AddChartOptions(parser);
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("Write the records as JSON."));
    const QCommandLineOption sortOption(
        QStringLiteral("sort"),
        QStringLiteral("The order of the list in world and personal transits: exactness "
                       "(default), aspect, planet, beginning, ending or duration; in personal "
                       "transits planet (or natal) orders by the natal body and transiting by "
                       "the transiting one."),
        QStringLiteral("KEY"));
    const QCommandLineOption noDurationsOption(
        QStringLiteral("no-durations"),
        QStringLiteral("List the aspects without their beginnings, ends and durations (text "
                       "only: the JSON always holds them)."));
    parser.addOptions({jsonOption, sortOption, noDurationsOption});
    if (const auto status = ParseCommandLine(
            parser, arguments, command,
            QStringLiteral("Usage: orbivex-cli durations --mode MODE [--world DATE] [--birth1 "
                           "DATE] [--birth2 DATE] [--world-place PLACE] [--birth1-place PLACE] "
                           "[--birth2-place PLACE] [--state FILE] [--radians] [--json] [--sort "
                           "exactness|aspect|planet|beginning|ending|duration] [--no-durations]"),
            context)) {
        return *status;
    }

    if (parser.isSet(noDurationsOption) && parser.isSet(jsonOption)) {
        return CommandUsageError(
            context, command,
            QStringLiteral("--no-durations applies to the text; the JSON always holds the "
                           "beginnings, ends and durations"));
    }
    const SortName* sort = nullptr;
    if (parser.isSet(sortOption)) {
        const QString name = parser.value(sortOption);
        for (const SortName& candidate : SortNames) {
            if (name == QLatin1String(candidate.name)) {
                sort = &candidate;
            }
        }
        if (sort == nullptr) {
            return CommandUsageError(context, command,
                                     QStringLiteral("unknown sort key '%1'").arg(name));
        }
    }

    ProgramState state;
    ProgramTexts texts;
    Ephemeris ephemeris(context.programFolder);
    if (const auto status =
            ComputeChartOfOptions(parser, options, command, context, state, texts, ephemeris)) {
        return *status;
    }
    // The mode may come from a state file: the sort keys it offers are known only now.
    if (sort != nullptr) {
        if (!ModeHasDurations(state.mode)) {
            return CommandUsageError(
                context, command,
                QStringLiteral("--sort applies to world and personal transits only"));
        }
        if (state.mode == WorldTransits && sort->worldIndex < 0) {
            return CommandUsageError(
                context, command,
                QStringLiteral("sort key '%1' applies to personal transits only")
                    .arg(QLatin1String(sort->name)));
        }
    }

    const int sortIndex = sort == nullptr               ? 0
                          : state.mode == WorldTransits ? sort->worldIndex
                                                        : sort->personalIndex;
    // A list without durations needs no days unless its order does; JSON holds them all.
    DurationsContent content =
        parser.isSet(noDurationsOption) && !parser.isSet(jsonOption)
            ? MakeDurationsContentWithoutDays(state, ephemeris, texts, sortIndex)
            : MakeDurationsContent(state, ephemeris, texts);
    if (sort != nullptr) {
        SelectSort(content, sortIndex, texts);
    }
    if (parser.isSet(noDurationsOption)) {
        SetShowDurations(content, false, texts);
    }

    if (parser.isSet(jsonOption)) {
        WriteJson(context.out, DurationsJson(content));
        return ExitSuccess;
    }
    context.out << ForTerminal(content.heading.title) << "\n\n";
    if (content.records.empty()) {
        // What the Report command says of a chart without aspects.
        context.out << texts.ProgramText(
                           state.mode == PersonalFirst || state.mode == PersonalSecond ? 382 : 383)
                    << '\n';
        return ExitSuccess;
    }
    context.out << ForTerminal(content.output);
    return ExitSuccess;
}

} // namespace orbivex::cli
