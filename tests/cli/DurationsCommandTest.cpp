#include "cli/CliRun.h"
#include "common/TestSupport.h"
#include "session/StateTransfer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using orbivex::test::CliResult;
using orbivex::test::RunCli;

namespace {

CliResult Durations(QStringList arguments) {
    return RunCli(QStringList{QStringLiteral("durations")} + arguments);
}

QJsonObject Json(const CliResult& run) {
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

const QStringList WorldChart{u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20 12:00 GMT"_s};

} // namespace

TEST(DurationsCommand, PrintsTheTitleABlankLineAndTheList) {
    const CliResult run = Durations(WorldChart);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2 + 13 + 1);
    EXPECT_EQ(lines[0], u"World transits on March 20, 2024, 12:00 (GMT).    Orbs: 4° to 10°   "_s);
    EXPECT_EQ(lines[1], u""_s);
    EXPECT_EQ(lines[2], u"Earth   trine (0°6')          Pluto   from March 13, 2024,     exact "
                        "March 20, 2024 at 09:37 GMT     to March 27, 2024     (15 days)"_s);
    EXPECT_TRUE(run.out.contains(
        QStringLiteral("\nNeptune sextile (2°53')       Pluto   from May 8, 2019,        exact "
                       "June 5, 2029 at 07:34 GMT       to September 28, 2036 (17 years, 145 "
                       "days)\n")));
    EXPECT_EQ(lines.last(), u""_s);

    const CliResult plain =
        Durations(WorldChart + QStringList{u"--no-durations"_s, u"--sort"_s, u"planet"_s});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    const QStringList listed = plain.out.split(QLatin1Char('\n')).mid(2);
    EXPECT_EQ(listed[0], u"Earth   square (4°58')        Mercury"_s);
    EXPECT_EQ(listed[12], u"Neptune sextile (2°53')       Pluto  "_s);
    EXPECT_FALSE(plain.out.contains(QStringLiteral(" from ")));
}

TEST(DurationsCommand, NatalReportAndAChartWithoutAspects) {
    const CliResult natal =
        Durations({u"--mode"_s, u"natal1"_s, u"--birth1"_s, u"1970-06-15 06:30 GMT+1:00"_s});
    ASSERT_EQ(natal.exitCode, 0) << natal.err.toStdString();
    EXPECT_TRUE(natal.out.startsWith(QStringLiteral(
        "Natal aspects for June 15, 1970, 06:30 (GMT+1:00).    Orbs: 4° to 10°   Positions are "
        "heliocentric.\n\nThere are twelve aspects in this natal chart:\n\n")));
    EXPECT_TRUE(natal.out.endsWith(QStringLiteral("\nEnd of report.\n")));
    EXPECT_FALSE(natal.out.contains(QLatin1Char('\r')));

    // Every orb at 0°: the chart has no aspect, and the Report's message says so.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    orbivex::ProgramState state;
    state.mode = orbivex::ChartMode::PersonalFirst;
    state.dateSets[orbivex::WorldDate] = {QStringLiteral("2024"), 3, 20, 25, 24};
    state.dateSets[orbivex::FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
    state.settings.orbs.degrees.fill(0);
    state.settings.orbs.degrees[7] = 1;
    const QString path = folder.filePath(QStringLiteral("no-orbs.pat"));
    ASSERT_EQ(MessageOf(orbivex::SaveState(path, state)), u""_s);
    const CliResult none = Durations({u"--state"_s, path});
    ASSERT_EQ(none.exitCode, 0) << none.err.toStdString();
    EXPECT_TRUE(none.out.endsWith(
        QStringLiteral("\n\nThere are no personal transits within the orbs at this date.\n")));
    const CliResult missing = Durations({u"--state"_s, folder.filePath(QStringLiteral("x.pat"))});
    EXPECT_EQ(missing.exitCode, 4);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("x.pat")));
}

TEST(DurationsCommand, JsonHoldsTheRecordsInListOrder) {
    const CliResult run =
        Durations(WorldChart + QStringList{u"--sort"_s, u"duration"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = Json(run);
    EXPECT_TRUE(result[QStringLiteral("title")].toString().startsWith(
        QStringLiteral("World transits on March 20, 2024")));
    const QJsonArray records = result[QStringLiteral("records")].toArray();
    ASSERT_EQ(records.size(), 13);
    int previous = 0;
    for (const QJsonValue& value : records) {
        const int days = value[QStringLiteral("days")].toInt();
        EXPECT_GE(days, previous);
        previous = days;
    }
    EXPECT_EQ(records.last().toObject(),
              QJsonDocument::fromJson(R"({"first": "Neptune", "second": "Pluto",
                  "aspect": "sextile", "orb": 2.8911, "days": 6354,
                  "beginning": {"text": "May 8, 2019", "dayNumber": 2458612},
                  "end": {"text": "September 28, 2036", "dayNumber": 2464965},
                  "exact": {"text": "June 5, 2029 at 07:34 GMT", "julianDay": 2462292.815563}})")
                  .object());

    // Unknown days are null; a personal transit names the transiting body first.
    const CliResult late =
        Durations({u"--mode"_s, u"world"_s, u"--world"_s, u"2199-06-15"_s, u"--json"_s});
    ASSERT_EQ(late.exitCode, 0) << late.err.toStdString();
    int unknownEnds = 0;
    for (const QJsonValue& value : Json(late)[QStringLiteral("records")].toArray()) {
        if (value[QStringLiteral("end")].isNull()) {
            ++unknownEnds;
            EXPECT_TRUE(value[QStringLiteral("days")].isNull());
            EXPECT_EQ(value[QStringLiteral("second")].toString(), QStringLiteral("Pluto"));
        }
    }
    EXPECT_EQ(unknownEnds, 3);
    const CliResult personal =
        Durations({u"--mode"_s, u"personal1"_s, u"--world"_s, u"2024-03-20 12:00 GMT"_s,
                   u"--birth1"_s, u"1970-06-15"_s, u"--sort"_s, u"natal"_s, u"--json"_s});
    const QJsonObject first = Json(personal)[QStringLiteral("records")][0].toObject();
    EXPECT_EQ(first[QStringLiteral("second")].toString(), QStringLiteral("Venus"));
    EXPECT_EQ(first[QStringLiteral("first")].toString(), QStringLiteral("Jupiter"));
}

TEST(DurationsCommand, BadSortKeysAreRefused) {
    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {WorldChart + QStringList{u"--sort"_s, u"size"_s}, "unknown sort key 'size'"},
        {WorldChart + QStringList{u"--sort"_s, u"transiting"_s}, "personal transits only"},
        {{u"--mode"_s, u"synastry"_s, u"--birth1"_s, u"1970-06-15"_s, u"--birth2"_s,
          u"1985-11-02"_s, u"--sort"_s, u"aspect"_s},
         "world and personal transits only"},
        {{u"--world"_s, u"2024-03-20"_s}, "--mode is required"},
    };
    for (const auto& c : cases) {
        const CliResult run = Durations(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
        EXPECT_EQ(run.out, u""_s);
    }
}

// A walk stops at the ends of the years 1 to 2799 of the calendar; a day beyond them (a
// beginning "before the year 1") is null in JSON, as the list names no date for it.
TEST(DurationsCommand, DaysOutsideTheCalendarsYearsAreNull) {
    const struct {
        const char* world;
        const char* calendar;
        int firstDay; // 1 January 1 and 1 January 2800 of the calendar
        int endDay;
    } cases[] = {
        {"0001-01-01 12:00 GMT", "gregorian", 1721426, 2743739},
        {"2799-12-31 12:00 GMT", "gregorian", 1721426, 2743739},
        {"2799-12-31 12:00 +14:00", "gregorian", 1721426, 2743739},
        {"0001-01-01 12:00 GMT", "julian", 1721424, 2743758},
        {"2799-12-31 12:00 -11:00", "julian", 1721424, 2743758},
        {"0001-01-02 12:00 +14:00", "auto", 1721424, 2743739},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.world);
        const QStringList chart{u"--mode"_s,     u"world"_s,
                                u"--world"_s,    QString::fromUtf8(c.world),
                                u"--calendar"_s, QString::fromUtf8(c.calendar)};
        const CliResult json = Durations(chart + QStringList{u"--json"_s});
        const CliResult text = Durations(chart);
        ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
        int nullBeginnings = 0;
        for (const QJsonValue& record : Json(json)[QStringLiteral("records")].toArray()) {
            nullBeginnings += record[QStringLiteral("beginning")].isNull() ? 1 : 0;
            for (const QString& key : {u"beginning"_s, u"end"_s}) {
                const QJsonValue day = record[key];
                if (!day.isNull()) {
                    const int number = day[QStringLiteral("dayNumber")].toInt();
                    EXPECT_GE(number, c.firstDay)
                        << day[QStringLiteral("text")].toString().toStdString();
                    EXPECT_LT(number, c.endDay)
                        << day[QStringLiteral("text")].toString().toStdString();
                }
            }
        }
        EXPECT_EQ(nullBeginnings, static_cast<int>(text.out.count(u"before the year 1"_s) +
                                                   text.out.count(u"from an unknown date"_s)));
    }
}
