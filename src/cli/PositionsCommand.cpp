// orbivex-cli positions: the heliocentric J2000 longitudes of the nine bodies at one instant,
// or for a run of consecutive days.
#include "calendar/Calendar.h"
#include "calendar/DateFormat.h"
#include "cli/CliDates.h"
#include "cli/CliPlaces.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "core/AngleFormat.h"
#include "core/Bodies.h"
#include "core/Ephemeris.h"
#include "core/WorkerPool.h"
#include "core/Zodiac.h"
#include "session/ChartLibrary.h"
#include "support/FixedDecimal.h"

#include <QCommandLineParser>
#include <QFileDevice>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orbivex::cli {

namespace {

constexpr int MaxDays = 1'000'000;

// What a body without a position shows in place of its longitude.
const char* MarkerOf(const Position& position) {
    switch (position.Status()) {
    case PositionStatus::BeforeTable:
        return "<";
    case PositionStatus::AfterTable:
        return ">";
    case PositionStatus::Known:
    case PositionStatus::Unavailable:
        break;
    }
    return "?";
}

int UsageError(Context& context, const QString& message) {
    return CommandUsageError(context, QStringLiteral("positions"), message);
}

// The sign text follows the zodiac (zodiacOffset); the degrees stay J2000.
void PrintInstantText(Context& context, double jd, const PositionSet& positions,
                      double zodiacOffset) {
    context.out << "JD " << QString::number(jd, 'f', 6) << '\n';
    for (BodyIndex body : AllBodies) {
        const Position& position = positions[body];
        const double longitude = position.Longitude();
        QString line = QStringLiteral("%1 %2 ").arg(BodyNumber(body)).arg(BodyName(body), -7);
        if (!position.Known()) {
            line += QLatin1String(MarkerOf(position));
        } else {
            line +=
                QStringLiteral("%1 %2 %3")
                    .arg(FormatDegreesMinutes(longitude), -7)
                    .arg(FormatZodiacPosition(LongitudeInZodiac(longitude, zodiacOffset), false),
                         -7)
                    .arg(longitude, 0, 'f', 9);
        }
        context.out << line << '\n';
    }
}

// Lines [first, last) of the run: the Julian date, then the nine longitudes in degrees.
std::string DayLines(const std::vector<double>& jds, const std::vector<PositionSet>& rows,
                     std::size_t first, std::size_t last) {
    std::string text;
    text.reserve((last - first) * 128);
    for (std::size_t row = first; row < last; ++row) {
        AppendFixedDecimal(text, jds[row], 6);
        for (BodyIndex body : AllBodies) {
            const Position& position = rows[row][body];
            text += ' ';
            if (!position.Known()) {
                text += MarkerOf(position);
            } else {
                AppendFixedDecimal(text, RadiansToDegrees(position.Longitude()), 7);
            }
        }
        text += '\n';
    }
    return text;
}

// Writes bytes of text to the output: straight to its device when it has one.
void WriteText(Context& context, const std::string& text) {
    QIODevice* device = context.out.device();
    if (device != nullptr) {
        device->write(text.data(), static_cast<qsizetype>(text.size()));
    } else {
        context.out << QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }
}

} // namespace

namespace {

// What the options ask for: one instant, or a run of days, each at the same time and zone.
struct Request {
    DateSet first; // the instant, or the first day of the run
    int dayCount = 1;
    bool run = false;
    bool json = false;
    bool northAmericanZone = false; // the zone was given by its North American name
    ZodiacChoice zodiac = ZodiacChoice::J2000;
    std::optional<DatePlace> place;
};

// The offset that JSON positions take at the instant jd: none in the zodiac of J2000, so that
// they have no longitude of date.
std::optional<double> JsonZodiacOffset(ZodiacChoice zodiac, double jd) {
    return zodiac == ZodiacChoice::OfDate ? std::optional<double>(PrecessionSinceJ2000(jd))
                                          : std::nullopt;
}

// Reads the options into `request`; on a fault writes the message and returns the exit status.
std::optional<int> ParseRequest(const QStringList& arguments, Context& context, Request& request) {
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show these options."));
    const QCommandLineOption date(QStringLiteral("date"),
                                  QStringLiteral("The local date (default: today)."),
                                  QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption time(QStringLiteral("time"),
                                  QStringLiteral("The local time of day (default: 12:00)."),
                                  QStringLiteral("HH:MM"), QStringLiteral("12:00"));
    const QCommandLineOption zone(
        QStringLiteral("zone"), QStringLiteral("The zone: %1 (default: GMT).").arg(ZoneFormsText()),
        QStringLiteral("ZONE"), QStringLiteral("GMT"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Write the positions as JSON."));
    const QCommandLineOption from(QStringLiteral("from"),
                                  QStringLiteral("The first of a run of consecutive days."),
                                  QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption days(
        QStringLiteral("days"),
        QStringLiteral("The number of days of the run, 1 to %1.").arg(MaxDays),
        QStringLiteral("N"));
    const QCommandLineOption place(
        QStringLiteral("place"),
        QStringLiteral("The place of --date: %1. Without --zone the date is read in the place's "
                       "zone, and in the local mean time of the place while its zone kept local "
                       "mean time.")
            .arg(PlaceFormsText()),
        QStringLiteral("PLACE"));
    const QCommandLineOption calendar = CalendarOption();
    const QCommandLineOption zodiac = ZodiacOption();
    parser.addOptions({help, date, time, zone, place, calendar, zodiac, json, from, days});
    if (!parser.parse(arguments)) {
        return UsageError(context, ParseErrorText(parser));
    }
    if (parser.isSet(help)) {
        // The parser's own first line names the program without its command; say it fully.
        const QString options = parser.helpText().section(QLatin1Char('\n'), 1);
        context.out << "Usage:\n"
                       "  orbivex-cli positions [--date YYYY-MM-DD] [--time HH:MM] [--zone ZONE] "
                       "[--place PLACE] [--json]\n"
                       "  orbivex-cli positions --from YYYY-MM-DD --days N [--time HH:MM] "
                       "[--zone ZONE] [--json]\n\n"
                       "Heliocentric ecliptic longitudes (J2000) of Earth, Mercury to Neptune "
                       "and Pluto,\nat one instant or on each of a run of days.\n"
                    << options;
        return ExitSuccess;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(context, QStringLiteral("Unexpected argument '%1'.")
                                       .arg(parser.positionalArguments().constFirst()));
    }
    request.run = parser.isSet(from);
    request.json = parser.isSet(json);
    if (request.run && parser.isSet(date)) {
        return UsageError(context, QStringLiteral("--date and --from cannot be combined."));
    }
    if (request.run && parser.isSet(place)) {
        return UsageError(context, QStringLiteral("--place goes with --date, not with a run."));
    }
    if (request.run != parser.isSet(days)) {
        return UsageError(context, QStringLiteral("--from and --days go together."));
    }
    if (request.run) {
        bool number = false;
        request.dayCount = parser.value(days).toInt(&number);
        if (!number || request.dayCount < 1 || request.dayCount > MaxDays) {
            return UsageError(context, QStringLiteral("--days takes a number from 1 to %1, not "
                                                      "'%2'.")
                                           .arg(MaxDays)
                                           .arg(parser.value(days)));
        }
    }
    Status read = ApplyCalendarOption(parser, calendar, std::span(&request.first, 1));
    request.first = TodayDateSet(request.first.calendar);
    if (read) {
        read = ApplyZodiacOption(parser, zodiac, request.zodiac);
    }
    if (read) {
        read = ReadTimeText(parser.value(time), request.first);
    }
    // With a place and no zone, the place gives the zone.
    if (read && (parser.isSet(zone) || !parser.isSet(place))) {
        read = ReadZoneText(parser.value(zone), request.first);
    }
    if (read && parser.isSet(place)) {
        const Atlas atlas;
        const Expected<DatePlace, QString> found = ReadPlace(
            context, QStringLiteral("positions"), atlas, parser.value(place),
            parser.isSet(zone) ? parser.value(zone) : QString(), DefaultChartLibraryFile());
        if (!found) {
            return UsageError(context, QStringLiteral("--place: ") + found.error());
        }
        request.place = *found;
        ApplyPlaceZone(*request.place, request.first);
    }
    if (read && (request.run || parser.isSet(date))) {
        read = ReadDayText(parser.value(request.run ? from : date), request.first);
    }
    if (!read) {
        return UsageError(context, read.error());
    }
    request.northAmericanZone = IsNorthAmericanZoneName(parser.value(zone));
    return std::nullopt;
}

// Whether some of the output could not be written (a full disk).
bool OutputFailed(const Context& context) {
    const auto* device = qobject_cast<const QFileDevice*>(context.out.device());
    return context.out.status() != QTextStream::Ok ||
           (device != nullptr && device->error() != QFileDevice::NoError);
}

// Computes the run in blocks, so that memory stays small however many days are asked for, and
// hands each block to print(first day of the block, its Julian dates, its positions). A run
// whose output could not be written stops there rather than compute what cannot be written.
template <typename Print>
void ComputeRun(const Context& context, const Ephemeris& ephemeris, int dayCount,
                double firstJulianDay, Print print) {
    constexpr int BlockDays = 32768;
    for (int block = 0; block < dayCount && !OutputFailed(context); block += BlockDays) {
        std::vector<double> jds(static_cast<std::size_t>(std::min(BlockDays, dayCount - block)));
        for (std::size_t day = 0; day < jds.size(); ++day) {
            jds[day] = firstJulianDay + block + static_cast<int>(day);
        }
        print(block, jds, ephemeris.PositionsOfBodiesAt(jds));
    }
}

// The run as text: blocks of days computed and formatted on the workers, without locale or
// text conversions, and written in order as blocks of bytes. A few blocks are in hand at a
// time, so memory stays small however many days are asked for; a run whose output could not
// be written stops there rather than compute what cannot be written.
void PrintRunText(Context& context, const Ephemeris& ephemeris, int dayCount,
                  double firstJulianDay) {
    constexpr int BlockDays = 512;
    const auto blocks = static_cast<std::size_t>((dayCount + BlockDays - 1) / BlockDays);
    context.out.flush();
    const auto makeBlock = [&](std::size_t block, const Ephemeris& worker) {
        const int first = static_cast<int>(block) * BlockDays;
        std::vector<double> jds(static_cast<std::size_t>(std::min(BlockDays, dayCount - first)));
        for (std::size_t day = 0; day < jds.size(); ++day) {
            jds[day] = firstJulianDay + first + static_cast<int>(day);
        }
        return DayLines(jds, worker.PositionsOfBodiesAt(jds, 1), 0, jds.size());
    };
    if (blocks == 1) {
        WriteText(context, makeBlock(0, ephemeris));
        return;
    }
    // The calling thread computes blocks too: one worker fewer than there are cores.
    const auto cores = static_cast<std::size_t>(std::max(1U, std::thread::hardware_concurrency()));
    WorkerPool pool(ephemeris, static_cast<int>(std::clamp<std::size_t>(cores - 1, 1, blocks - 1)));
    MakeInOrder<std::string>(
        pool, blocks, 2 * cores, makeBlock,
        [&](std::size_t, const std::string& text) {
            WriteText(context, text);
            return !OutputFailed(context);
        },
        &ephemeris);
}

// The run as JSON: one row a line.
void PrintRunJson(Context& context, const Ephemeris& ephemeris, const Request& request,
                  const TimeZones& zones, double firstJulianDay, int firstDay) {
    context.out << "{\n    \"format\": \"" << FormatName("positions") << "\",\n    \"rows\": [";
    ComputeRun(
        context, ephemeris, request.dayCount, firstJulianDay,
        [&](int block, const std::vector<double>& jds, const std::vector<PositionSet>& rows) {
            for (std::size_t day = 0; day < jds.size(); ++day) {
                const int number = block + static_cast<int>(day);
                const DateSet dateSet = DateSetOfDay(firstDay + number, request.first);
                const QJsonObject row{
                    {QStringLiteral("date"), DateJson(DateSetText(dateSet, zones), jds[day])},
                    {QStringLiteral("positions"),
                     PositionsJson(rows[day], JsonZodiacOffset(request.zodiac, jds[day]))},
                };
                context.out << (number == 0 ? "\n        " : ",\n        ")
                            << QString::fromUtf8(QJsonDocument(row).toJson(QJsonDocument::Compact));
            }
        });
    context.out << "\n    ]\n}\n";
}

} // namespace

int RunPositions(const QStringList& arguments, Context& context) {
    Request request;
    if (const std::optional<int> status = ParseRequest(arguments, context, request)) {
        return *status;
    }
    const TimeZones zones = MakeTimeZones(TimezoneOffsetMinutes(), request.northAmericanZone);
    int status = ExitSuccess;
    const std::optional<double> firstJulianDay =
        ConvertDateSet(context, request.first, zones, WorldDate, status);
    if (!firstJulianDay) {
        return status;
    }
    const bool meanTime = request.place && NoteMeanTime(context, QStringLiteral("positions"),
                                                        request.place->place, request.first);
    // The converted date set has its hour and zone; each day of a run takes the same.
    const int firstDay = static_cast<int>(std::floor(InputDateToLocalJD(request.first).value()));
    if (request.run) {
        DateSet last = DateSetOfDay(firstDay + (request.dayCount - 1), request.first);
        EuroDateRecord first;
        first.jdn = firstDay;
        first.calendar = CalendarLetterOfJdn(request.first.calendar, first.jdn);
        JDNToEuroDate(first);
        EuroDateRecord end;
        end.jdn = firstDay + (request.dayCount - 1);
        end.calendar = CalendarLetterOfJdn(request.first.calendar, end.jdn);
        JDNToEuroDate(end);
        const QString note = QStringLiteral("(The run of %1 days from %2 ends on %3.)")
                                 .arg(request.dayCount)
                                 .arg(FormatEuroDate(first), FormatEuroDate(end));
        if (!ConvertDateSet(context, last, zones, WorldDate, status, note)) {
            return status;
        }
    }
    Ephemeris ephemeris(context.programFolder);
    const Status loaded = ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName));
    if (!loaded) {
        context.err << "orbivex-cli positions: " << loaded.error() << '\n';
        return ExitFailure;
    }
    if (request.run && request.json) {
        PrintRunJson(context, ephemeris, request, zones, *firstJulianDay, firstDay);
    } else if (request.run) {
        PrintRunText(context, ephemeris, request.dayCount, *firstJulianDay);
    } else {
        const PositionSet positions = ephemeris.PositionsOfBodies(*firstJulianDay);
        if (request.json) {
            QJsonObject date = DateJson(DateSetText(request.first, zones), *firstJulianDay);
            AddDatePlace(date, request.place ? &request.place->place : nullptr, meanTime);
            WriteJson(
                context.out,
                {{QStringLiteral("format"), FormatName("positions")},
                 {QStringLiteral("date"), date},
                 {QStringLiteral("positions"),
                  PositionsJson(positions, JsonZodiacOffset(request.zodiac, *firstJulianDay))}});
        } else {
            PrintInstantText(context, *firstJulianDay, positions,
                             ZodiacOffset(request.zodiac, *firstJulianDay));
        }
    }
    context.out.flush();
    if (ephemeris.UsesBuiltInTheory()) {
        context.err << "orbivex-cli positions: warning: the ephemeris files were found neither "
                       "in "
                    << context.programFolder << " nor in " << SystemEphemerisFolder
                    << "; Earth to Neptune come from the library's built-in theory, which is "
                       "less precise.\n";
    }
    return ExitSuccess;
}

} // namespace orbivex::cli
