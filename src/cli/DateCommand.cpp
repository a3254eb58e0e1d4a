// orbivex-cli date: converts one date set as the world date of the main window does.
#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "cli/CliDates.h"
#include "cli/CliPlaces.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "session/ChartLibrary.h"

#include <QCommandLineParser>

namespace orbivex::cli {

namespace {

int UsageError(Context& context, const QString& message) {
    return CommandUsageError(context, QStringLiteral("date"), message);
}

} // namespace

int RunDate(const QStringList& arguments, Context& context) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts a date set into a Julian date (UT), as the world date of the program does.\n"
        "Without --hour the time is 12:00; without --zone the zone is the computer's (when the "
        "time-zone list has it, otherwise Greenwich)."));
    const QCommandLineOption yearOption(QStringLiteral("year"),
                                        QStringLiteral("The year, as typed in the year box."),
                                        QStringLiteral("TEXT"));
    const QCommandLineOption monthOption(QStringLiteral("month"),
                                         QStringLiteral("The month: 1 to 12 or its name."),
                                         QStringLiteral("M"));
    const QCommandLineOption dayOption(QStringLiteral("day"), QStringLiteral("The day: 1 to 31."),
                                       QStringLiteral("D"));
    const QCommandLineOption hourOption(QStringLiteral("hour"),
                                        QStringLiteral("The time of day, 00:00 to 23:59."),
                                        QStringLiteral("HH:MM"));
    const QCommandLineOption zoneOption(QStringLiteral("zone"),
                                        QStringLiteral("The time zone: %1.").arg(ZoneFormsText()),
                                        QStringLiteral("ZONE"));
    const QCommandLineOption placeOption(
        QStringLiteral("place"),
        QStringLiteral("The place: %1. Without --zone the date is read in the place's zone, and "
                       "in the local mean time of the place while its zone kept local mean time.")
            .arg(PlaceFormsText()),
        QStringLiteral("PLACE"));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("Write the result as JSON."));
    const QCommandLineOption calendarOption = CalendarOption();
    parser.addOptions({yearOption, monthOption, dayOption, hourOption, zoneOption, placeOption,
                       calendarOption, jsonOption});
    if (const auto status = ParseCommandLine(
            parser, arguments, QStringLiteral("date"),
            QStringLiteral(
                "Usage: orbivex-cli date --year TEXT --month M --day D "
                "[--hour HH:MM] [--zone ZONE] [--place PLACE] [--calendar CALENDAR] [--json]"),
            context)) {
        return *status;
    }
    for (const QCommandLineOption* required : {&yearOption, &monthOption, &dayOption}) {
        if (!parser.isSet(*required)) {
            return UsageError(context,
                              QStringLiteral("--%1 is required").arg(required->names().first()));
        }
    }

    DateSet dateSet;
    dateSet.yearText = parser.value(yearOption);
    dateSet.monthIndex = MonthOfText(parser.value(monthOption));
    if (dateSet.monthIndex == 0) {
        return UsageError(context,
                          QStringLiteral("--month must be 1 to 12 or a month name, not '%1'")
                              .arg(parser.value(monthOption)));
    }
    bool isNumber = false;
    dateSet.dayIndex = parser.value(dayOption).trimmed().toInt(&isNumber);
    if (!isNumber || dateSet.dayIndex < 1 || dateSet.dayIndex >= DayEntryCount) {
        return UsageError(context, QStringLiteral("--day must be a number from 1 to 31, not '%1'")
                                       .arg(parser.value(dayOption)));
    }
    if (const Status applied = ApplyCalendarOption(parser, calendarOption, std::span(&dateSet, 1));
        !applied) {
        return UsageError(context, applied.error());
    }
    if (parser.isSet(hourOption)) {
        if (const Status read = ReadTimeText(parser.value(hourOption), dateSet); !read) {
            return UsageError(context, QStringLiteral("--hour: ") + read.error());
        }
    }
    // A zone given by its North American name is shown by that name.
    bool northAmericanNames = false;
    if (parser.isSet(zoneOption)) {
        if (const Status read = ReadZoneText(parser.value(zoneOption), dateSet); !read) {
            return UsageError(context, QStringLiteral("--zone: ") + read.error());
        }
        northAmericanNames = IsNorthAmericanZoneName(parser.value(zoneOption));
    }

    const Atlas atlas;
    std::optional<DatePlace> place;
    if (parser.isSet(placeOption)) {
        Expected<DatePlace, QString> read =
            ReadPlace(context, QStringLiteral("date"), atlas, parser.value(placeOption),
                      parser.isSet(zoneOption) ? parser.value(zoneOption) : QString(),
                      DefaultChartLibraryFile());
        if (!read) {
            return UsageError(context, QStringLiteral("--place: ") + read.error());
        }
        place = *read;
        ApplyPlaceZone(*place, dateSet);
    }

    const TimeZones zones = MakeTimeZones(TimezoneOffsetMinutes(), northAmericanNames);
    int status = ExitSuccess;
    std::optional<double> julianDay = ConvertDateSet(context, dateSet, zones, WorldDate, status);
    if (!julianDay) {
        return status;
    }
    const bool meanTime =
        place && NoteMeanTime(context, QStringLiteral("date"), place->place, dateSet);
    const double localJulianDay = InputDateToLocalJD(dateSet).value();
    const QString text = InputDateToString(dateSet, zones, false);

    if (parser.isSet(jsonOption)) {
        QJsonObject document{{QStringLiteral("format"), FormatName("date")},
                             {QStringLiteral("julianDay"), *julianDay},
                             {QStringLiteral("localJulianDay"), localJulianDay},
                             {QStringLiteral("text"), text}};
        AddDatePlace(document, place ? &place->place : nullptr, meanTime);
        WriteJson(context.out, document);
        return ExitSuccess;
    }
    context.out << "Julian date (UT):  " << QString::number(*julianDay, 'f', 6) << '\n'
                << "Local Julian date: " << QString::number(localJulianDay, 'f', 6) << '\n'
                << "Date:              " << text << '\n';
    if (place) {
        context.out << "Place:             " << PlaceLine(place->place) << '\n';
    }
    return ExitSuccess;
}

} // namespace orbivex::cli
