// Every command of orbivex-cli reads its dates alike: the zones of the program's time-zone list,
// and for a date that does not convert the message the window shows for it.
#include "calendar/DateInput.h"
#include "cli/CliRun.h"
#include "common/TestSupport.h"
#include "present/Messages.h"
#include "support/ProgramTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using orbivex::test::CliResult;
using orbivex::test::RunCli;
using namespace Qt::Literals::StringLiterals;

namespace {

QJsonObject Json(const CliResult& run) {
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

} // namespace

TEST(ZoneOption, EveryCommandTakesTheZonesOfTheList) {
    const std::pair<const char*, int> zones[] = {
        {"EST/CDT", -300}, {"GMT+13:00", 780}, {"+14:00", 840},    {"GMT+5:45", 345},
        {"+08:45", 525},   {"GMT+12:45", 765}, {"gmt+13:45", 825},
    };
    for (const auto& [zone, offset] : zones) {
        SCOPED_TRACE(zone);
        // 5 January 2024, 12:00 local time.
        const double expected = 2460315.0 - offset / 1440.0;
        const QString name = QString::fromUtf8(zone);
        const CliResult date =
            RunCli({u"date"_s, u"--year"_s, u"2024"_s, u"--month"_s, u"1"_s, u"--day"_s, u"5"_s,
                    u"--hour"_s, u"12:00"_s, u"--zone"_s, name, u"--json"_s});
        ASSERT_EQ(date.exitCode, 0) << date.err.toStdString();
        EXPECT_NEAR(Json(date)[QStringLiteral("julianDay")].toDouble(), expected, 1e-9);
        const CliResult positions =
            RunCli({u"positions"_s, u"--date"_s, u"2024-01-05"_s, u"--time"_s, u"12:00"_s,
                    u"--zone"_s, name, u"--json"_s});
        ASSERT_EQ(positions.exitCode, 0) << positions.err.toStdString();
        EXPECT_NEAR(Json(positions)[QStringLiteral("date")][QStringLiteral("julianDay")].toDouble(),
                    expected, 1e-9);
        const CliResult chart = RunCli({u"chart"_s, u"--mode"_s, u"world"_s, u"--world"_s,
                                        u"2024-01-05 12:00 "_s + name, u"--json"_s});
        ASSERT_EQ(chart.exitCode, 0) << chart.err.toStdString();
        EXPECT_NEAR(Json(chart)[QStringLiteral("dates")][QStringLiteral("world")]
                               [QStringLiteral("julianDay")]
                                   .toDouble(),
                    expected, 1e-9);
    }
}

// One fault, one message: the window's, whichever command reads the date.
TEST(DateOption, EveryCommandGivesTheWindowsMessageForADateThatDoesNotConvert) {
    orbivex::ProgramTexts texts;
    ASSERT_GT(texts.Load(orbivex::test::ProgramFolder() + QStringLiteral("/orbx.dat")), 0);
    const struct {
        const char* year;
        const char* month;
        const char* day;
        orbivex::DateError error;
    } faults[] = {
        {"0", "1", "1", orbivex::DateError::BeforeYearOne},
        {"-500", "3", "1", orbivex::DateError::BeforeYearOne},
        {"2800", "1", "1", orbivex::DateError::FromYear2800},
        {"20000000000000000000", "1", "1", orbivex::DateError::FromYear2800},
        {"2023", "2", "29", orbivex::DateError::DoesNotExist},
    };
    for (const auto& fault : faults) {
        const QString day = QStringLiteral("%1-%2-%3")
                                .arg(QString::fromUtf8(fault.year), QString::fromUtf8(fault.month),
                                     QString::fromUtf8(fault.day));
        const QString world =
            orbivex::ReportDateError(texts, orbivex::WorldDate, fault.error).message;
        const QString birth =
            orbivex::ReportDateError(texts, orbivex::FirstBirthdate, fault.error).message;
        const std::pair<QStringList, QString> runs[] = {
            {{u"positions"_s, u"--date"_s, day}, world},
            {{u"positions"_s, u"--from"_s, day, u"--days"_s, u"3"_s}, world},
            {{u"chart"_s, u"--mode"_s, u"world"_s, u"--world"_s, day}, world},
            {{u"chart"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, day + u" 06:30 GMT+1:00"_s},
             birth},
            {{u"durations"_s, u"--mode"_s, u"world"_s, u"--world"_s, day}, world},
            {{u"run"_s, u"--pattern"_s, u"kite"_s, u"--world"_s, day}, world},
        };
        for (const auto& [arguments, message] : runs) {
            SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
            const CliResult run = RunCli(arguments);
            EXPECT_EQ(run.exitCode, 3);
            EXPECT_EQ(run.err, message + QLatin1Char('\n'));
            EXPECT_EQ(run.out, QString());
        }
        // The date command takes the year as the year box does: digits only.
        if (fault.year[0] != '-') {
            const CliResult date =
                RunCli({u"date"_s, u"--year"_s, QString::fromUtf8(fault.year), u"--month"_s,
                        QString::fromUtf8(fault.month), u"--day"_s, QString::fromUtf8(fault.day)});
            EXPECT_EQ(date.exitCode, 3);
            EXPECT_EQ(date.err, world + QLatin1Char('\n'));
        }
    }
}

// The forms a DATE may take, and the date each stands for.
TEST(DateOption, FormsOfADate) {
    const std::pair<const char*, const char*> forms[] = {
        {"2024-03-20", "2024-03-20 12:00 GMT"},
        {"  2024-3-5   07:00\tGMT+5:45 ", "2024-03-05 07:00 GMT+5:45"},
        {"2024-03-20T06:30", "2024-03-20 06:30 GMT"},
        {"2024-03-20 9:07 +05:30", "2024-03-20 09:07 GMT+5:30"},
        {"1944-06-06 06:30 Europe/Paris", "1944-06-06 06:30 Europe/Paris"},
        {"2024-03-20 EST/CDT", "2024-03-20 12:00 EST/CDT"},
        {"0800-01-01 23:30 -11:30", "0800-01-01 23:30 GMT-11:30"},
        {"2024-03-20 12:00 GMT x", nullptr},
        {"2024-03-20GMT", nullptr},
        {"20-03-2024x", nullptr},
        {"March 20, 2024", nullptr},
    };
    for (const auto& [form, date] : forms) {
        SCOPED_TRACE(form);
        const CliResult chart = RunCli({u"chart"_s, u"--mode"_s, u"world"_s, u"--world"_s,
                                        QString::fromUtf8(form), u"--json"_s});
        if (date == nullptr) {
            EXPECT_EQ(chart.exitCode, 2);
            EXPECT_TRUE(chart.err.contains(QStringLiteral("YYYY-MM-DD[ HH:MM][ ZONE]")))
                << chart.err.toStdString();
            continue;
        }
        ASSERT_EQ(chart.exitCode, 0) << chart.err.toStdString();
        EXPECT_EQ(
            Json(chart)[QStringLiteral("dates")][QStringLiteral("world")][QStringLiteral("text")]
                .toString(),
            QString::fromUtf8(date));
    }
}

// A local time that a named zone skipped or had twice converts every command's way, with a note
// on the choice made.
TEST(DateOption, SkippedAndDoubledLocalTimesAreNoted) {
    const std::pair<QStringList, const char*> runs[] = {
        {{QStringLiteral("chart"), QStringLiteral("--mode"), QStringLiteral("world"),
          QStringLiteral("--world"), QStringLiteral("2024-03-31 02:30 Europe/Paris")},
         "does not exist in Europe/Paris"},
        {{QStringLiteral("positions"), QStringLiteral("--date"), QStringLiteral("2024-10-27"),
          QStringLiteral("--time"), QStringLiteral("02:30"), QStringLiteral("--zone"),
          QStringLiteral("Europe/Paris")},
         "happened twice in Europe/Paris"},
    };
    for (const auto& [arguments, note] : runs) {
        const CliResult run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(note))) << run.err.toStdString();
    }
}

// Every command that reads dates takes --calendar.
TEST(CalendarOption, EveryCommandReadsItsDatesInTheCalendar) {
    const auto args = [](const char* text) {
        return QString::fromUtf8(text).split(QLatin1Char(' '));
    };
    const struct {
        QStringList arguments;
        int exitCode;
        const char* shows; // in the output or the errors
    } cases[] = {
        {args("chart --mode world --world 1500-02-29 --calendar julian --json"), 0,
         "1500-02-29 12:00"},
        {args("chart --mode world --world 1500-02-29"), 3, "does not exist"},
        {args("positions --date 1582-10-10 --calendar auto"), 3, "does not exist"},
        {args("run --pattern yod --world 1582-10-04 --calendar auto --max-steps 1"), 1, ""},
        {args("date --year 1582 --month 10 --day 4 --zone GMT --calendar julian --json"), 0,
         "2299160"},
        {args("durations --mode world --world 1600-01-01 --calendar mayan"), 2, "--calendar"},
        {args("aspectarian --from 1500-02-27 --to 1500-02-27 --calendar julian"), 0,
         "1500-02-27 16:33 GMT  Venus   quincunx    Earth"},
        {args("aspectarian --from 1500-02-29 --to 1500-03-01"), 3, "does not exist"},
        // Years 1 to 2799 of the calendar chosen, to their first and last days.
        {args("chart --mode world --world 0001-01-01 --calendar julian --json"), 0,
         "0001-01-01 12:00"},
        {args("positions --date 2799-12-31 --calendar julian"), 0, "Pluto"},
        {args("durations --mode world --world 0001-01-02 --calendar auto"), 0, "January 2, 1"},
        {args("aspectarian --from 2799-12-31 --to 2799-12-31 --calendar julian"), 0, "2799-12-31"},
        {args("date --year 2800 --month 1 --day 1 --calendar julian"), 3, "2800"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliResult run = RunCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE((run.out + run.err).contains(QString::fromUtf8(c.shows)));
    }
}

// --zodiac moves the signs, never the J2000 longitudes; Earth on 1 January 2026 at noon UT lies
// at 100°43' J2000, 0.36° before the equinox of date.
TEST(ZodiacOption, SignsFollowTheZodiacOfDate) {
    const auto args = [](const char* text) {
        return QString::fromUtf8(text).split(QLatin1Char(' '));
    };
    const QString noon = u"2026-01-01 12:00 GMT"_s;
    const struct {
        QStringList arguments;
        int exitCode;
        const char* shows;
        bool ofDate; // the JSON has longitudes of date
    } cases[] = {
        {args("chart --mode world --json --zodiac date --world") << noon, 0, "11Can5", true},
        {args("chart --mode world --json --world") << noon, 0, "10Can43", false},
        {args("positions --date 2026-01-01 --zone GMT --zodiac date --json"), 0, "11Can5", true},
        {args("positions --date 2026-01-01 --zone GMT --zodiac DATE"), 0, "11Can5", false},
        {args("durations --mode world --zodiac sidereal --world") << noon, 2, "--zodiac", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliResult run = RunCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE((run.out + run.err).contains(QString::fromUtf8(c.shows)));
        EXPECT_EQ(run.out.contains(u"\"longitudeOfDate\""_s), c.ofDate);
    }
}
