// orbivex-cli aspectarian: every exact heliocentric aspect between the bodies in a span of days,
// in time order, as text, JSON or CSV.
#include "calendar/Calendar.h"
#include "cli/CliDates.h"
#include "cli/CliPlaces.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "core/Ephemeris.h"
#include "present/Aspectarian.h"
#include "session/ChartLibrary.h"
#include "session/ProgramState.h"
#include "session/StateTransfer.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <string>

namespace orbivex::cli {

namespace {

// The day number of a day text in the date set, or nothing after writing why.
std::optional<int> DayNumberOfOption(Context& context, const QString& text, const TimeZones& zones,
                                     DateSet dateSet, int& status) {
    const QString command = QStringLiteral("aspectarian");
    if (const Status read = ReadDayText(text, dateSet); !read) {
        status = CommandUsageError(context, command, read.error());
        return std::nullopt;
    }
    if (!ConvertDateSet(context, dateSet, zones, WorldDate, status)) {
        return std::nullopt;
    }
    return static_cast<int>(std::floor(InputDateToLocalJD(dateSet).value()));
}

QJsonObject EventJson(const ExactAspect& event, const MomentZone& zone) {
    return {
        {QStringLiteral("time"), AspectarianTimeText(event.julianDay, zone)},
        {QStringLiteral("julianDay"), AspectarianJulianDay(event.julianDay)},
        {QStringLiteral("first"), BodyName(event.first)},
        {QStringLiteral("second"), BodyName(event.second)},
        {QStringLiteral("aspect"), AspectJsonName(event.kind)},
        {QStringLiteral("angle"), AspectKinds[static_cast<std::size_t>(event.kind)].angleDegrees},
    };
}

} // namespace

int RunAspectarian(const QStringList& arguments, Context& context) {
    const QString command = QStringLiteral("aspectarian");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists every exact heliocentric aspect between the bodies from the "
                       "beginning of the --from day to the end of the --to day in the zone, in "
                       "time order: the moment in the zone to the minute, the body with the "
                       "shorter period, the aspect and the body with the longer period (the "
                       "first is the faster one on average, not always at that moment). Aspects "
                       "switched off in the configuration (of --state, else the default one) are "
                       "left out; Pluto takes part only from 1600 to 2199. JSON gives each "
                       "moment's Julian day on Universal "
                       "Time as well. Days are read and written in the calendar of --calendar, "
                       "else of --state, else the Gregorian one. Events are written as they are "
                       "found, so any span runs in the same small memory."));
    const QCommandLineOption fromOption(QStringLiteral("from"), QStringLiteral("The first day."),
                                        QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption toOption(QStringLiteral("to"), QStringLiteral("The last day."),
                                      QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption zoneOption(
        QStringLiteral("zone"),
        QStringLiteral("The zone of the days and times: %1 (default: GMT).").arg(ZoneFormsText()),
        QStringLiteral("ZONE"), QStringLiteral("GMT"));
    const QCommandLineOption placeOption(
        QStringLiteral("world-place"),
        QStringLiteral("Tell the days and times in the zone of this place (without --zone), in "
                       "the local mean time of the place while its zone kept local mean time: "
                       "%1.")
            .arg(PlaceFormsText()),
        QStringLiteral("PLACE"));
    const QCommandLineOption bodiesOption(
        QStringLiteral("bodies"),
        QStringLiteral("Only aspects between two of these bodies (default: all nine)."),
        QStringLiteral("A,B,..."));
    const QCommandLineOption aspectsOption(
        QStringLiteral("aspects"),
        QStringLiteral("Only these aspects: conjunction, opposition, square, trine, sextile, "
                       "semisextile, quincunx (default: all that are switched on)."),
        QStringLiteral("A,B,..."));
    const QCommandLineOption stateOption(
        QStringLiteral("state"),
        QStringLiteral("Take the configuration (the aspects switched on) and the calendar from a "
                       "state file."),
        QStringLiteral("FILE"));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("Write the events as JSON."));
    const QCommandLineOption csvOption(QStringLiteral("csv"),
                                       QStringLiteral("Write the events as CSV with a header."));
    const QCommandLineOption calendarOption = CalendarOption();
    parser.addOptions({fromOption, toOption, zoneOption, placeOption, bodiesOption, aspectsOption,
                       stateOption, calendarOption, jsonOption, csvOption});
    if (const auto status = ParseCommandLine(
            parser, arguments, command,
            QStringLiteral("Usage: orbivex-cli aspectarian --from YYYY-MM-DD --to YYYY-MM-DD "
                           "[--zone ZONE] [--world-place PLACE] [--bodies A,B,...] "
                           "[--aspects conjunction,square,...] "
                           "[--state FILE] [--calendar CALENDAR] [--json|--csv]"),
            context)) {
        return *status;
    }
    if (!parser.isSet(fromOption) || !parser.isSet(toOption)) {
        return CommandUsageError(context, command, QStringLiteral("--from and --to are required"));
    }
    if (parser.isSet(jsonOption) && parser.isSet(csvOption)) {
        return CommandUsageError(context, command,
                                 QStringLiteral("--json and --csv cannot be combined"));
    }

    ProgramState state;
    if (parser.isSet(stateOption)) {
        if (const Status loaded = LoadState(parser.value(stateOption), state); !loaded) {
            context.err << "orbivex-cli " << command << ": " << loaded.error() << '\n';
            return ExitFailure;
        }
    }
    const QString zoneText = parser.value(zoneOption);
    const TimeZones zones = MakeTimeZones(0, IsNorthAmericanZoneName(zoneText));
    DateSet dateSet = TodayDateSet(state.dateSets[WorldDate].calendar);
    if (const Status applied = ApplyCalendarOption(parser, calendarOption, std::span(&dateSet, 1));
        !applied) {
        return CommandUsageError(context, command, applied.error());
    }
    if (const Status read = ReadZoneText(zoneText, dateSet); !read) {
        return CommandUsageError(context, command, read.error());
    }
    if (parser.isSet(placeOption)) {
        if (!parser.isSet(zoneOption)) {
            SetZoneText(dateSet, {}); // the place's zone, not the default GMT
        }
        std::optional<Place> place;
        if (const Status read = ApplyPlaceOption(context, command, parser.value(placeOption),
                                                 DefaultChartLibraryFile(), dateSet, place);
            !read) {
            return CommandUsageError(context, command,
                                     QStringLiteral("--world-place: ") + read.error());
        }
    }
    const MomentZone zone = MomentZoneOf(dateSet, zones);

    int status = ExitSuccess;
    const auto first = DayNumberOfOption(context, parser.value(fromOption), zones, dateSet, status);
    if (!first) {
        return status;
    }
    const auto last = DayNumberOfOption(context, parser.value(toOption), zones, dateSet, status);
    if (!last) {
        return status;
    }
    if (*last < *first) {
        return CommandUsageError(context, command,
                                 QStringLiteral("--to must not come before --from"));
    }
    // From the local midnight that begins the first day to the one that ends the last.
    AspectarianRequest request = AspectarianRequestOf(state.settings, LocalDayStart(*first, zone),
                                                      LocalDayStart(*last + 1, zone));
    if (parser.isSet(bodiesOption)) {
        if (const Status read = ReadAspectarianBodies(parser.value(bodiesOption), request); !read) {
            return CommandUsageError(context, command, read.error());
        }
    }
    if (parser.isSet(aspectsOption)) {
        if (const Status read = ReadAspectarianKinds(parser.value(aspectsOption), request); !read) {
            return CommandUsageError(context, command, read.error());
        }
    }

    Ephemeris ephemeris(context.programFolder);
    if (!LoadPlutoTable(context, ephemeris)) {
        return ExitFailure;
    }
    // The events come a window of time after the other and go out as they come: memory stays
    // the same whatever the span.
    bool anyEvent = false;
    const auto written = [&context] { return context.out.status() == QTextStream::Ok; };
    if (parser.isSet(jsonOption)) {
        context.out << "{\n    \"format\": \"" << FormatName("aspectarian")
                    << "\",\n    \"events\": [";
        StreamExactAspects(ephemeris, request, [&](const ExactAspectWindow& window) {
            for (const ExactAspect& event : window.events) {
                context.out << (anyEvent ? ",\n        " : "\n        ")
                            << QString::fromUtf8(QJsonDocument(EventJson(event, zone))
                                                     .toJson(QJsonDocument::Compact));
                anyEvent = true;
            }
            return written();
        });
        context.out << (anyEvent ? "\n    ]\n}\n" : "]\n}\n");
    } else if (parser.isSet(csvOption)) {
        context.out << AspectarianCsvHeader() << '\n';
        StreamExactAspects(ephemeris, request, [&](const ExactAspectWindow& window) {
            for (const ExactAspect& event : window.events) {
                context.out << AspectarianCsvRow(event, zone) << '\n';
            }
            return written();
        });
    } else {
        // Bytes straight to the device: tens of thousands of lines a century.
        const AspectarianLineWriter writer(zone);
        context.out.flush();
        QIODevice* device = context.out.device();
        std::string text;
        StreamExactAspects(ephemeris, request, [&](const ExactAspectWindow& window) {
            text.clear();
            for (const ExactAspect& event : window.events) {
                writer.AppendLine(text, event);
            }
            if (device == nullptr) {
                context.out << QString::fromStdString(text);
                return written();
            }
            return device->write(text.data(), static_cast<qint64>(text.size())) ==
                   static_cast<qint64>(text.size());
        });
    }
    context.out.flush();
    if (ephemeris.UsesBuiltInTheory()) {
        context.err << "orbivex-cli: warning: the ephemeris files were not found; positions "
                       "come from the less precise built-in theory.\n";
    }
    return ExitSuccess;
}

} // namespace orbivex::cli
