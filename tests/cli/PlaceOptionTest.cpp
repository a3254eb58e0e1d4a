// Places in orbivex-cli: `places` lists the atlas, and a date read at a place takes the place's
// zone and, while that zone kept local mean time, the local mean time of the place.
#include "cli/CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
