#include "cli/CliRun.h"
#include "common/TestSupport.h"
#include "session/StateTransfer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orbivex::test::CliResult;

namespace {

CliResult Aspectarian(QStringList arguments) {
    arguments.prepend(QStringLiteral("aspectarian"));
    return orbivex::test::RunCli(arguments);
}

const QStringList January2027{QStringLiteral("--from"), QStringLiteral("2027-01-01"),
                              QStringLiteral("--to"), QStringLiteral("2027-01-31")};

QStringList Lines(const CliResult& run) {
    return run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

TEST(AspectarianCommand, TextJsonAndCsvListTheSameEventsInTimeOrder) {
    const CliResult text = Aspectarian(January2027);
    const CliResult json = Aspectarian(January2027 + QStringList{QStringLiteral("--json")});
    const CliResult csv = Aspectarian(January2027 + QStringList{QStringLiteral("--csv")});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();

    const QStringList lines = Lines(text);
    EXPECT_EQ(lines.first(), QStringLiteral("2027-01-01 16:49 GMT  Mercury opposition  Earth"));
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(document[QStringLiteral("format")].toString(),
              QStringLiteral("orbivex.aspectarian.v2"));
    const QJsonArray events = document[QStringLiteral("events")].toArray();
    const QStringList rows = Lines(csv);
    ASSERT_GT(lines.size(), 40);
    ASSERT_EQ(events.size(), lines.size());
    ASSERT_EQ(rows.size(), lines.size() + 1);
    EXPECT_EQ(rows.first(), QStringLiteral("time,julianDay,first,second,aspect,angle"));
    EXPECT_EQ(rows[1], QStringLiteral("2027-01-01 16:49 GMT,2461407.200740,Mercury,Earth,"
                                      "opposition,180"));
    double previous = 0.0;
    for (const QJsonValue& event : events) {
        const double jd = event[QStringLiteral("julianDay")].toDouble();
        EXPECT_GE(jd, previous);
        previous = jd;
    }
}

TEST(AspectarianCommand, BodiesAspectsZoneAndTheConfigurationChooseTheEvents) {
    const QStringList mercuryEarth =
        January2027 + QStringList{QStringLiteral("--bodies"), QStringLiteral("earth,Mercury")};
    const QStringList squares = Lines(Aspectarian(
        mercuryEarth + QStringList{QStringLiteral("--aspects"), QStringLiteral("square")}));
    ASSERT_EQ(squares.size(), 1);
    for (const QString& line : squares) {
        EXPECT_TRUE(line.endsWith(QStringLiteral("Mercury square      Earth")))
            << line.toStdString();
    }
    // The same moment told in a zone five hours west.
    const QStringList west = Lines(Aspectarian(
        mercuryEarth + QStringList{QStringLiteral("--zone"), QStringLiteral("GMT-5:00")}));
    EXPECT_TRUE(west.first().startsWith(QStringLiteral("2027-01-01 11:49 GMT-5:00")));
    // A named zone: its offset at each moment (summer time in July) and its name.
    const QStringList paris{QStringLiteral("--zone"), QStringLiteral("Europe/Paris"),
                            QStringLiteral("--bodies"), QStringLiteral("Mercury,Earth")};
    EXPECT_EQ(Lines(Aspectarian(January2027 + paris)).first(),
              QStringLiteral("2027-01-01 17:49 Europe/Paris  Mercury opposition  Earth"));
    EXPECT_EQ(
        Lines(Aspectarian(QStringList{QStringLiteral("--from"), QStringLiteral("2027-07-07"),
                                      QStringLiteral("--to"), QStringLiteral("2027-07-07")} +
                          paris)),
        QStringList{QStringLiteral("2027-07-07 15:15 Europe/Paris  Mercury semisextile Earth")});

    // Squares switched off in a state file (an orb of 0: a colour of 0 is not kept in state
    // files) are left out, even when asked for.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("off.pat"));
    orbivex::ProgramState state;
    state.settings.orbs.degrees[orbivex::Index(orbivex::AspectKind::Square) - 1] = 0;
    ASSERT_EQ(MessageOf(orbivex::WriteStateFile(path, orbivex::ToStateFile(state))), QString());
    const CliResult off = Aspectarian(mercuryEarth + QStringList{QStringLiteral("--state"), path});
    ASSERT_EQ(off.exitCode, 0) << off.err.toStdString();
    EXPECT_FALSE(off.out.contains(QStringLiteral(" square ")));
    EXPECT_EQ(Lines(off).size(), 3);
    EXPECT_TRUE(Lines(Aspectarian(mercuryEarth + QStringList{QStringLiteral("--state"), path,
                                                             QStringLiteral("--aspects"),
                                                             QStringLiteral("square")}))
                    .isEmpty());

    // The calendar of a state file reads and writes the days; --calendar goes before it.
    const QString julian = folder.filePath(QStringLiteral("julian.pat"));
    orbivex::SetCalendar(state.dateSets, orbivex::CalendarChoice::Julian);
    ASSERT_TRUE(orbivex::WriteStateFile(julian, orbivex::ToStateFile(state)));
    const QStringList february1500{QStringLiteral("--from"),  QStringLiteral("1500-02-27"),
                                   QStringLiteral("--to"),    QStringLiteral("1500-02-27"),
                                   QStringLiteral("--state"), julian};
    EXPECT_EQ(Lines(Aspectarian(february1500)),
              QStringList{QStringLiteral("1500-02-27 16:33 GMT  Venus   quincunx    Earth")});
    EXPECT_FALSE(Lines(Aspectarian(february1500 + QStringList{QStringLiteral("--calendar"),
                                                              QStringLiteral("gregorian")}))
                     .contains(QStringLiteral("1500-02-27 16:33 GMT  Venus   quincunx    Earth")));
}

TEST(AspectarianCommand, BadInputIsRefusedWithItsExitStatus) {
    const struct {
        QStringList arguments;
        int status;
        const char* message;
    } cases[] = {
        {{QStringLiteral("--from"), QStringLiteral("2027-01-01")}, 2, "--from and --to"},
        {January2027 + QStringList{QStringLiteral("--bodies"), QStringLiteral("Moon")}, 2,
         "unknown body 'Moon'"},
        {January2027 + QStringList{QStringLiteral("--aspects"), QStringLiteral("Sqr")}, 2,
         "unknown aspect 'Sqr'"},
        {January2027 + QStringList{QStringLiteral("--json"), QStringLiteral("--csv")}, 2,
         "cannot be combined"},
        {{QStringLiteral("--from"), QStringLiteral("2027-02-01"), QStringLiteral("--to"),
          QStringLiteral("2027-01-01")},
         2,
         "--to must not come before --from"},
        {{QStringLiteral("--from"), QStringLiteral("2027-02-30"), QStringLiteral("--to"),
          QStringLiteral("2027-03-01")},
         3,
         ""},
        {{QStringLiteral("--from"), QStringLiteral("2799-12-01"), QStringLiteral("--to"),
          QStringLiteral("2800-01-01")},
         3,
         ""},
        {January2027 + QStringList{QStringLiteral("--state"), QStringLiteral("/nonexistent.pat")},
         4, "nonexistent.pat"},
    };
    for (const auto& c : cases) {
        const CliResult run = Aspectarian(c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

// The first body is the one with the shorter period, not always the faster one at the moment:
// on 26 August 1981 Pluto, near its perihelion, moved faster than Neptune, which still comes
// first, as the help says.
TEST(AspectarianCommand, FirstIsTheBodyWithTheShorterPeriod) {
    EXPECT_EQ(Lines(Aspectarian({QStringLiteral("--from"), QStringLiteral("1981-08-26"),
                                 QStringLiteral("--to"), QStringLiteral("1981-08-26"),
                                 QStringLiteral("--bodies"), QStringLiteral("Pluto,Neptune")})),
              QStringList{QStringLiteral("1981-08-26 12:23 GMT  Neptune sextile     Pluto")});
    EXPECT_TRUE(Aspectarian({QStringLiteral("--help")})
                    .out.simplified()
                    .contains(QStringLiteral("the body with the shorter period")));
}
