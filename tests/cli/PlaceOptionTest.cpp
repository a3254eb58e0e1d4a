// Places in orbivex-cli: `places` lists the atlas, and a date read at a place takes the place's
// zone and, while that zone kept local mean time, the local mean time of the place.
#include "cli/CliRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using orbivex::test::CliResult;
using orbivex::test::RunCli;

struct PlaceCase {
    QStringList arguments; // after "date --year Y --month M --day D --hour HH:MM"
    QString date;          // "YYYY-MM-DD HH:MM"
    int exitCode;
    double julianDay;   // by hand; 0 when the run fails
    QString errorHolds; // what standard error says
};

TEST(PlaceOption, DatesAtAPlaceAgainstInstantsWorkedOutByHand) {
    // JD of 0 h UT on the day, then the local time less the offset:
    // - Lyon 1850-03-01 12:00 at +0:19:23: 2396817.5 + (12:00 - 0:19:23) / 24 h = 2396817.986539
    // - Lyon, Paris's own mean time typed: 12:00 - 0:09:21, 2396817.993507
    // - Lyon 1970-07-14 12:00, Paris time +1:00 (no summer time in France before 1976):
    //   2440781.958333
    // - New York 1880-06-01 09:30 at -4:56:01 (74.0060° W): 14:26:01 UT, 2407867.5 + 0.601400
    // - Geneva's coordinates 1850-03-01 12:00 at +0:24:34 (6.1432° E): 2396817.5 + 0.482940
    const PlaceCase cases[] = {
        {{u"--place"_s, u"Lyon"_s},
         u"1850-03-01 12:00"_s,
         0,
         2396817.986539,
         u"local mean time of Lyon"_s},
        {{u"--place"_s, u"Lyon, France"_s, u"--zone"_s, u"Europe/Paris"_s},
         u"1850-03-01 12:00"_s,
         0,
         2396817.993507,
         {}},
        {{u"--place"_s, u"Lyon"_s}, u"1970-07-14 12:00"_s, 0, 2440781.958333, {}},
        {{u"--place"_s, u"New York"_s}, u"1880-06-01 09:30"_s, 0, 2407868.101400, u"UT-04:56:01"_s},
        {{u"--place"_s, u"46.2044N 6.1432E Europe/Zurich"_s},
         u"1850-03-01 12:00"_s,
         0,
         2396817.982940,
         u"UT+00:24:34"_s},
        {{u"--place"_s, u"46.2044,6.1432"_s, u"--zone"_s, u"Europe/Zurich"_s},
         u"1850-03-01 12:00"_s,
         0,
         2396817.982940,
         u"UT+00:24:34"_s},
        // Ambiguous: the most populous, and how to write the others.
        {{u"--place"_s, u"Springfield"_s},
         u"1990-01-01 12:00"_s,
         0,
         2447893.25,
         u"\"Springfield, Illinois\""_s},
        {{u"--place"_s, u"Nowhereqzx"_s},
         u"1990-01-01 12:00"_s,
         2,
         0,
         u"orbivex-cli places Nowhereqzx"_s},
        {{u"--place"_s, u"46.2044,6.1432"_s}, u"1990-01-01 12:00"_s, 2, 0, u"has no zone"_s},
    };
    for (const PlaceCase& c : cases) {
        const QStringList day = c.date.section(u' ', 0, 0).split(u'-');
        const CliResult run =
            RunCli(QStringList{u"date"_s, u"--year"_s, day[0], u"--month"_s, day[1], u"--day"_s,
                               day[2], u"--hour"_s, c.date.section(u' ', 1), u"--json"_s} +
                   c.arguments);
        const std::string what = c.arguments.join(u' ').toStdString() + " " + c.date.toStdString();
        ASSERT_EQ(run.exitCode, c.exitCode) << what << "\n" << run.err.toStdString();
        if (!c.errorHolds.isEmpty()) {
            EXPECT_TRUE(run.err.contains(c.errorHolds)) << what << "\n" << run.err.toStdString();
        }
        if (c.exitCode == 0) {
            const QJsonObject document = QJsonDocument::fromJson(run.out.toUtf8()).object();
            EXPECT_NEAR(document[u"julianDay"_s].toDouble(), c.julianDay, 1e-6) << what;
            EXPECT_EQ(document[u"localMeanTime"_s].toBool(), run.err.contains(u"local mean time"_s))
                << what;
        }
    }
}

TEST(PlaceOption, ChartCommandsReadEachDateAtItsPlace) {
    QTemporaryDir dir;
    const QString library = dir.filePath(u"charts.sqlite"_s);
    struct ChartCase {
        QStringList arguments;
        int exitCode;
        const char* date;   // the date of chart --json whose instant is checked; "" for none
        double julianDay;   // by hand, as in the date cases above
        QString errorHolds; // what standard error says
    };
    const QString lyon1850 = u"1850-03-01 12:00"_s;
    const ChartCase cases[] = {
        {{u"chart"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, lyon1850, u"--birth1-place"_s,
          u"Lyon"_s},
         0,
         "birth1",
         2396817.986539,
         u"1st birthdate: the time is the local mean time of Lyon"_s},
        // A zone in the date wins: Paris's own mean time.
        {{u"chart"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, lyon1850 + u" Europe/Paris"_s,
          u"--birth1-place"_s, u"Lyon"_s},
         0,
         "birth1",
         2396817.993507,
         {}},
        {{u"chart"_s, u"--mode"_s, u"synastry"_s, u"--birth1"_s, u"1970-07-14 12:00"_s,
          u"--birth1-place"_s, u"Lyon, France"_s, u"--birth2"_s, lyon1850, u"--birth2-place"_s,
          u"46.2044N 6.1432E Europe/Zurich"_s},
         0,
         "birth2",
         2396817.982940,
         u"UT+00:24:34"_s},
        {{u"chart"_s, u"--mode"_s, u"synastry"_s, u"--birth1"_s, u"1970-07-14 12:00"_s,
          u"--birth1-place"_s, u"Lyon"_s, u"--birth2"_s, lyon1850},
         0,
         "birth1",
         2440781.958333,
         {}},
        {{u"chart"_s, u"--mode"_s, u"world"_s, u"--world"_s, u"1880-06-01 09:30"_s,
          u"--world-place"_s, u"New York"_s},
         0,
         "world",
         2407868.101400,
         u"UT-04:56:01"_s},
        {{u"chart"_s, u"--mode"_s, u"world"_s, u"--world"_s, u"1990-01-01 12:00"_s,
          u"--world-place"_s, u"Springfield"_s},
         0,
         "world",
         2447893.25,
         u"\"Springfield, Illinois\""_s},
        {{u"durations"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, lyon1850, u"--birth1-place"_s,
          u"Nowhereqzx"_s},
         2,
         "",
         0,
         u"orbivex-cli places Nowhereqzx"_s},
        {{u"durations"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, lyon1850, u"--birth1-place"_s,
          u"Lyon"_s},
         0,
         "",
         0,
         u"local mean time of Lyon"_s},
        {{u"run"_s, u"--pattern"_s, u"grand sextile"_s, u"--world"_s, lyon1850, u"--world-place"_s,
          u"Lyon"_s, u"--max-steps"_s, u"1"_s},
         1,
         "",
         0,
         u"local mean time of Lyon"_s},
        {{u"wheel"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, lyon1850, u"--birth1-place"_s,
          u"Lyon"_s, u"--out"_s, dir.filePath(u"lyon.svg"_s)},
         0,
         "",
         0,
         u"local mean time of Lyon"_s},
        {{u"sheet"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, lyon1850, u"--birth1-place"_s,
          u"46.2044,6.1432"_s, u"--out"_s, dir.filePath(u"lyon.pdf"_s)},
         2,
         "",
         0,
         u"has no zone"_s},
    };
    for (const ChartCase& c : cases) {
        QStringList arguments = c.arguments + QStringList{u"--library"_s, library};
        if (c.date[0] != 0) {
            arguments << u"--json"_s;
        }
        const CliResult run = RunCli(arguments);
        const std::string what = c.arguments.join(u' ').toStdString();
        ASSERT_EQ(run.exitCode, c.exitCode) << what << "\n" << run.err.toStdString();
        if (!c.errorHolds.isEmpty()) {
            EXPECT_TRUE(run.err.contains(c.errorHolds)) << what << "\n" << run.err.toStdString();
        }
        if (c.date[0] != 0) {
            const QJsonObject dates =
                QJsonDocument::fromJson(run.out.toUtf8()).object()[u"dates"_s].toObject();
            EXPECT_NEAR(dates[QLatin1String(c.date)][u"julianDay"_s].toDouble(), c.julianDay, 1e-6)
                << what;
        }
    }
}

TEST(PlaceOption, TheAspectarianTellsItsTimesAtThePlace) {
    // The Venus-Saturn semisextile at 2396818.08643 (14:04:28 UT): 14:23:51 at Lyon's mean time
    // (+0:19:23), where Paris's own (+0:09:21) would give 14:14.
    const CliResult run = RunCli({u"aspectarian"_s, u"--from"_s, u"1850-03-01"_s, u"--to"_s,
                                  u"1850-03-01"_s, u"--world-place"_s, u"Lyon"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"1850-03-01 14:24 Europe/Paris"_s)) << run.out.toStdString();
}

TEST(PlaceOption, TheLibraryKeepsAPlaceAndOwnPlacesByName) {
    QTemporaryDir dir;
    const QString library = dir.filePath(u"charts.sqlite"_s);
    const auto Library = [&](QStringList arguments) {
        return RunCli(QStringList{u"library"_s} + arguments + QStringList{u"--library"_s, library});
    };
    CliResult run = Library({u"add"_s, u"--name"_s, u"Lyon child"_s, u"--date"_s,
                             u"1850-03-01 12:00"_s, u"--place"_s, u"Lyon"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"UT+00:19:23"_s)) << run.err.toStdString();
    run = Library({u"add"_s, u"--name"_s, u"Village child"_s, u"--date"_s, u"1850-03-01 12:00"_s,
                   u"--place"_s, u"Grandma's village=46.2044N 6.1432E Europe/Zurich"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Chosen again by its name, in the library and in a chart command.
    run = Library({u"edit"_s, u"Lyon child"_s, u"--place"_s, u"grandma's village"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    run =
        RunCli({u"chart"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, u"1850-03-01 12:00"_s,
                u"--birth1-place"_s, u"Grandma's village"_s, u"--library"_s, library, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const auto birth1Day = [](const CliResult& chart) {
        return QJsonDocument::fromJson(chart.out.toUtf8())
            .object()[u"dates"_s][u"birth1"_s][u"julianDay"_s]
            .toDouble();
    };
    EXPECT_NEAR(birth1Day(run), 2396817.982940, 1e-6);
    // An @NAME date brings the chart's place: Geneva's mean time, not the computer's zone.
    run = RunCli({u"chart"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, u"@Lyon child"_s,
                  u"--library"_s, library, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_NEAR(birth1Day(run), 2396817.982940, 1e-6);
    // A place given beside it moves the date there: Lyon's mean time.
    run = RunCli({u"chart"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, u"@Lyon child"_s,
                  u"--birth1-place"_s, u"Lyon"_s, u"--library"_s, library, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_NEAR(birth1Day(run), 2396817.986539, 1e-6);

    run = Library({u"show"_s, u"Village child"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject chart =
        QJsonDocument::fromJson(run.out.toUtf8()).object()[u"charts"_s][0].toObject();
    EXPECT_EQ(chart[u"place"_s].toString(), u"Grandma's village"_s);
    EXPECT_EQ(chart[u"placeDetails"_s][u"zone"_s].toString(), u"Europe/Zurich"_s);
    EXPECT_NEAR(chart[u"julianDay"_s].toDouble(), 2396817.982940, 1e-6);

    // Export and import keep the place whole.
    for (const QString& file : {dir.filePath(u"out.csv"_s), dir.filePath(u"out.jsonl"_s)}) {
        ASSERT_EQ(Library({u"export"_s, u"--out"_s, file}).exitCode, 0);
        const QString other = dir.filePath(u"other.sqlite"_s);
        QFile::remove(other);
        run = RunCli({u"library"_s, u"import"_s, file, u"--library"_s, other});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const CliResult shown =
            RunCli({u"library"_s, u"list"_s, u"--json"_s, u"--library"_s, other});
        EXPECT_EQ(QJsonDocument::fromJson(shown.out.toUtf8())
                      .object()[u"charts"_s]
                      .toArray()[1]
                      .toObject()[u"julianDay"_s]
                      .toDouble(),
                  chart[u"julianDay"_s].toDouble())
            << file.toStdString();
        // The place of one's own came along, and its name chooses it there too.
        EXPECT_EQ(RunCli({u"chart"_s, u"--mode"_s, u"natal1"_s, u"--birth1"_s, u"1850-03-01"_s,
                          u"--birth1-place"_s, u"Grandma's village"_s, u"--library"_s, other})
                      .exitCode,
                  0);
    }

    run = Library({u"add"_s, u"--name"_s, u"x"_s, u"--date"_s, u"1850-03-01"_s, u"--place"_s,
                   u"Nowhereqzx"_s});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(u"NAME=LATITUDE LONGITUDE ZONE"_s)) << run.err.toStdString();
}

TEST(PlacesCommand, ListsTheAtlasMostPopulousFirst) {
    const CliResult run =
        RunCli({u"places"_s, u"Springfield, US"_s, u"--limit"_s, u"3"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray places =
        QJsonDocument::fromJson(run.out.toUtf8()).object()[u"places"_s].toArray();
    ASSERT_EQ(places.size(), 3);
    EXPECT_EQ(places[0].toObject()[u"write"_s].toString(), u"Springfield, Missouri"_s);
    EXPECT_EQ(places[2].toObject()[u"zone"_s].toString(), u"America/Chicago"_s);
    EXPECT_GE(places[0].toObject()[u"population"_s].toInteger(),
              places[1].toObject()[u"population"_s].toInteger());

    EXPECT_EQ(RunCli({u"places"_s, u"Nowhereqzx"_s}).exitCode, 1);
    EXPECT_EQ(RunCli({u"places"_s}).exitCode, 2);
    EXPECT_EQ(RunCli({u"places"_s, u"Lyon"_s, u"--limit"_s, u"0"_s}).exitCode, 2);
}

} // namespace
