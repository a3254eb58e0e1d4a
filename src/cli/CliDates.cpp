#include "cli/CliDates.h"

#include "calendar/Calendar.h"
#include "calendar/DateFormat.h"
#include "calendar/NamedZones.h"
#include "present/Messages.h"
#include "support/ProgramTexts.h"

#include <QDate>

#include <array>
#include <charconv>
#include <cmath>

namespace orbivex::cli {

QString ZoneFormsText() {
    return QStringLiteral("GMT, GMT+H:MM, GMT-H:MM, +HH:MM or -HH:MM on a whole or half hour up "
                          "to 11:30 either side, GMT+12:00, GMT+13:00, GMT+14:00, GMT+5:45, "
                          "GMT+8:45, GMT+12:45, GMT+13:45, or a North American zone name such as "
                          "EST/CDT, or a zone of the time-zone database such as Europe/Paris");
}

namespace {

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// White space as a date text separates its parts by it: ASCII only.
bool IsSpace(QChar c) {
    return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
}

// The end of the run of characters from `from` on for which `test` holds.
template <typename Test> qsizetype RunEnd(QStringView text, qsizetype from, Test test) {
    while (from < text.size() && test(text[from])) {
        ++from;
    }
    return from;
}

} // namespace

// The texts are read by hand rather than by regular expressions: compiling those took longer
// than all the rest of reading and converting a date.
Status ReadDayText(const QString& text, DateSet& dateSet) {
    const QStringView day = QStringView(text).trimmed();
    const bool minus = day.startsWith(QLatin1Char('-'));
    const qsizetype yearEnd = RunEnd(day, minus ? 1 : 0, IsDigit);
    const qsizetype monthEnd = RunEnd(day, yearEnd + 1, IsDigit);
    const qsizetype dayEnd = RunEnd(day, monthEnd + 1, IsDigit);
    const qsizetype monthDigits = monthEnd - yearEnd - 1;
    const qsizetype dayDigits = dayEnd - monthEnd - 1;
    if (yearEnd == (minus ? 1 : 0) || yearEnd >= day.size() || day[yearEnd] != QLatin1Char('-') ||
        monthDigits < 1 || monthDigits > 2 || monthEnd >= day.size() ||
        day[monthEnd] != QLatin1Char('-') || dayDigits < 1 || dayDigits > 2 ||
        dayEnd != day.size()) {
        return Fail(QStringLiteral("'%1' is not a date written as YYYY-MM-DD.").arg(text));
    }
    const int month = day.mid(yearEnd + 1, monthDigits).toInt();
    const int dayOfMonth = day.mid(monthEnd + 1, dayDigits).toInt();
    if (month < 1 || month > 12) {
        return Fail(QStringLiteral("'%1': the month must be 01 to 12.").arg(text));
    }
    if (dayOfMonth < 1 || dayOfMonth >= DayEntryCount) {
        return Fail(QStringLiteral("'%1': the day must be 01 to 31.").arg(text));
    }
    // The year box takes digits only; every year with a minus sign lies before year 1, and so
    // does year 0, which the conversion then reports as it does for the window.
    dateSet.yearText = minus ? QStringLiteral("0") : day.left(yearEnd).toString();
    dateSet.monthIndex = month;
    dateSet.dayIndex = dayOfMonth;
    return {};
}

Status ReadTimeText(const QString& text, DateSet& dateSet) {
    const std::optional<ClockTime> time = ClockTimeOfText(QStringView(text).trimmed());
    if (!time) {
        return Fail(QStringLiteral("'%1' is not a time written as HH:MM.").arg(text));
    }
    if (time->hours > 23 || time->minutes > 59) {
        return Fail(QStringLiteral("The time %1 does not exist.").arg(text));
    }
    SetMinuteOfDay(dateSet, time->hours * 60 + time->minutes);
    return {};
}

Status ReadZoneText(const QString& text, DateSet& dateSet) {
    if (TimezoneEntryOfText(text) < 1 && !IsZoneName(text)) {
        return Fail(QStringLiteral("'%1' is not a zone; write %2.").arg(text, ZoneFormsText()));
    }
    SetZoneText(dateSet, text);
    return {};
}

namespace {

// The end of what may follow the day of a DATE at `from`: optional spaces, a zone and spaces;
// -1 when something else follows. `zone` receives the zone, if any.
qsizetype ZoneEnd(QStringView date, qsizetype from, QStringView& zone) {
    const qsizetype start = RunEnd(date, from, IsSpace);
    const qsizetype end = RunEnd(date, start, [](QChar c) { return !IsSpace(c); });
    if (end > start && start == from) {
        return -1; // the zone must be set apart by white space
    }
    zone = date.mid(start, end - start);
    return RunEnd(date, end, IsSpace) == date.size() ? date.size() : -1;
}

} // namespace

Status ReadDateText(const QString& text, DateSet& dateSet) {
    // -?D+-D+-D+, then optionally a time D+:D+ after spaces or a "T", then optionally a zone
    // after spaces.
    const QStringView date(text);
    const qsizetype dayStart = RunEnd(date, 0, IsSpace);
    qsizetype at =
        dayStart < date.size() && date[dayStart] == QLatin1Char('-') ? dayStart + 1 : dayStart;
    for (int part = 0; part < 3 && at >= 0; ++part) {
        const qsizetype end = RunEnd(date, at, IsDigit);
        const bool dash = part < 2 && end < date.size() && date[end] == QLatin1Char('-');
        at = end > at && (part == 2 || dash) ? end + (dash ? 1 : 0) : -1;
    }
    QStringView time;
    QStringView zone;
    if (at >= 0) {
        const qsizetype dayEnd = at;
        // A time counts only when what follows it can end the DATE.
        const qsizetype timeStart = RunEnd(
            date, at, [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('T'); });
        const qsizetype hoursEnd = RunEnd(date, timeStart, IsDigit);
        const qsizetype timeEnd =
            hoursEnd > timeStart && hoursEnd < date.size() && date[hoursEnd] == QLatin1Char(':')
                ? RunEnd(date, hoursEnd + 1, IsDigit)
                : hoursEnd + 1;
        if (timeStart > at && timeEnd > hoursEnd + 1 && ZoneEnd(date, timeEnd, zone) >= 0) {
            time = date.mid(timeStart, timeEnd - timeStart);
        } else {
            at = ZoneEnd(date, at, zone);
        }
        if (at >= 0) {
            DateSet read;
            read.calendar = dateSet.calendar;
            Status readAll = ReadDayText(date.mid(dayStart, dayEnd - dayStart).toString(), read);
            if (readAll && !time.isEmpty()) {
                readAll = ReadTimeText(time.toString(), read);
            }
            if (readAll && !zone.isEmpty()) {
                readAll = ReadZoneText(zone.toString(), read);
            }
            if (readAll) {
                dateSet = read;
            }
            return readAll;
        }
    }
    return Fail(
        QStringLiteral("'%1' is not a date written as YYYY-MM-DD[ HH:MM][ ZONE].").arg(text));
}

int MonthOfText(const QString& text) {
    const QString trimmed = text.trimmed();
    bool isNumber = false;
    const int number = trimmed.toInt(&isNumber);
    if (isNumber) {
        return number >= 1 && number <= 12 ? number : 0;
    }
    for (int month = 1; month <= 12; ++month) {
        for (const bool abbreviated : {false, true}) {
            const QString name = MonthName(month, abbreviated);
            if (trimmed.compare(name, Qt::CaseInsensitive) == 0 ||
                (name.endsWith(QLatin1Char('.')) &&
                 trimmed.compare(name.chopped(1), Qt::CaseInsensitive) == 0)) {
                return month;
            }
        }
    }
    return 0;
}

DateSet TodayDateSet(CalendarChoice calendar) {
    DateSet like;
    like.calendar = calendar;
    return DateSetOfDay(static_cast<int>(QDate::currentDate().toJulianDay()), like);
}

QCommandLineOption CalendarOption() {
    return QCommandLineOption(QStringLiteral("calendar"),
                              QStringLiteral("The calendar of the dates: gregorian (the "
                                             "default), julian, or auto (Julian before 15 "
                                             "October 1582)."),
                              QStringLiteral("CALENDAR"));
}

QCommandLineOption ZodiacOption() {
    return QCommandLineOption(QStringLiteral("zodiac"),
                              QStringLiteral("The zodiac of the signs: j2000 (the default) or "
                                             "date (from the mean equinox of the chart's date)."),
                              QStringLiteral("ZODIAC"));
}

Status ApplyZodiacOption(const QCommandLineParser& parser, const QCommandLineOption& option,
                         ZodiacChoice& zodiac) {
    if (!parser.isSet(option)) {
        return {};
    }
    const std::optional<ZodiacChoice> chosen = ZodiacOfName(parser.value(option));
    if (!chosen) {
        return Fail(
            QStringLiteral("--zodiac takes j2000 or date, not '%1'.").arg(parser.value(option)));
    }
    zodiac = *chosen;
    return {};
}

Status ApplyCalendarOption(const QCommandLineParser& parser, const QCommandLineOption& option,
                           std::span<DateSet> dateSets) {
    if (!parser.isSet(option)) {
        return {};
    }
    const std::optional<CalendarChoice> calendar = CalendarOfName(parser.value(option));
    if (!calendar) {
        return Fail(QStringLiteral("--calendar takes gregorian, julian or auto, not '%1'.")
                        .arg(parser.value(option)));
    }
    SetCalendar(dateSets, *calendar);
    return {};
}

DateSet DateSetOfDay(int dayNumber, const DateSet& like) {
    EuroDateRecord record;
    record.jdn = dayNumber;
    record.calendar = CalendarLetterOfJdn(like.calendar, dayNumber);
    JDNToEuroDate(record);
    DateSet dateSet = like;
    dateSet.yearText = record.year > 0 ? QString::number(record.year) : QStringLiteral("0");
    dateSet.monthIndex = record.month;
    dateSet.dayIndex = record.day;
    return dateSet;
}

QString DateSetText(const DateSet& dateSet, const TimeZones& zones) {
    const DateSet converted = DateSetAsConverted(dateSet, zones);
    const Expected<double, DateError> local = InputDateToLocalJD(converted);
    if (!local) {
        return {};
    }
    EuroDateRecord record;
    record.jdn = static_cast<std::int32_t>(std::floor(*local));
    record.calendar = CalendarLetterOfJdn(converted.calendar, record.jdn);
    JDNToEuroDate(record);
    const bool zoneChosen = ZoneChosen(converted);
    // Written piece by piece, not with arg(): every chart of a batch writes its dates.
    QString text;
    text.reserve(40);
    const auto appendNumber = [&text](int value, qsizetype width) {
        std::array<char, 16> digits{};
        const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        for (qsizetype length = end - digits.data(); length < width; ++length) {
            text += QLatin1Char('0');
        }
        text += QLatin1StringView(digits.data(), end);
    };
    appendNumber(record.year, 4);
    text += QLatin1Char('-');
    appendNumber(record.month, 2);
    text += QLatin1Char('-');
    appendNumber(record.day, 2);
    text += QLatin1Char(' ');
    text += TimeOfDayOfDateSet(converted);
    text += QLatin1Char(' ');
    text += zoneChosen ? ZoneTextOf(converted, zones.list) : QStringLiteral("GMT");
    return text;
}

std::optional<double> ConvertDateSet(Context& context, DateSet& dateSet, const TimeZones& zones,
                                     int index, int& status, const QString& note) {
    dateSet = DateSetAsConverted(dateSet, zones);
    const Expected<double, DateError> julianDay = InputDateToAJDate(dateSet, zones);
    const std::optional<UnusualLocalTime> unusualTime =
        julianDay ? UnusualLocalTimeOf(dateSet) : std::nullopt;
    if (julianDay && !unusualTime) {
        return *julianDay;
    }
    // The texts are read only now: a date that converts does not need them.
    ProgramTexts texts;
    if (texts.Load(context.programFolder + QStringLiteral("/orbx.dat")) <= 0) {
        context.err << texts.LastLoadFailure() << '\n';
        status = ExitFailure;
        return std::nullopt;
    }
    if (julianDay) {
        // A skipped or doubled local time converts; the note says how it was read.
        context.err << LocalTimeNote(texts, index, *unusualTime) << '\n';
        return *julianDay;
    }
    context.err << ReportDateError(texts, index, julianDay.error()).message;
    if (!note.isEmpty()) {
        context.err << ' ' << note;
    }
    context.err << '\n';
    status = ExitDateError;
    return std::nullopt;
}

} // namespace orbivex::cli
