// orbivex-cli positions, run as a user runs it: a separate process, its output and exit status.
#include "core/AngleFormat.h"
#include "core/Bodies.h"
#include "core/Ephemeris.h"

#include "common/TestSupport.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::BodyIndex;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome
RunPositions(const QStringList& arguments,
             const QString& program = QStringLiteral(ORBIVEX_CLI_PATH),
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, QStringList{QStringLiteral("positions")} + arguments);
    Outcome outcome;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "orbivex-cli did not finish: " << process.errorString().toStdString();
        return outcome;
    }
    outcome.exitCode = process.exitCode();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

QStringList Lines(const QString& text) {
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList Fields(const QString& line) {
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The program beside a copy of the data it needs, in a folder of the test's own.
QString CopyOfProgram(const QTemporaryDir& folder) {
    const QString copy = folder.filePath(QStringLiteral("orbivex-cli"));
    EXPECT_TRUE(QFile::copy(QStringLiteral(ORBIVEX_CLI_PATH), copy));
    return copy;
}

} // namespace

TEST(PositionsCommand, TextShowsTheJulianDateAndEachBodyInThreeForms) {
    const Outcome outcome = RunPositions({QStringLiteral("--date"), QStringLiteral("2000-01-01")});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_EQ(outcome.err, QString());
    const QStringList lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 10);
    // 12:00 GMT of 1 January 2000.
    EXPECT_EQ(lines[0], QStringLiteral("JD 2451545.000000"));

    Ephemeris ephemeris(test::ProgramFolder());
    ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
              QString());
    for (BodyIndex body : AllBodies) {
        const QStringList fields = Fields(lines[BodyNumber(body)]);
        ASSERT_EQ(fields.size(), 5) << lines[BodyNumber(body)].toStdString();
        EXPECT_EQ(fields[0], QString::number(BodyNumber(body)));
        EXPECT_EQ(fields[1], BodyName(body));
        const double longitude = fields[4].toDouble();
        EXPECT_EQ(fields[4].section(QLatin1Char('.'), 1).size(), 9);
        EXPECT_NEAR(longitude, ephemeris.PositionOfBody(body, 2451545.0).Longitude(), 1e-9) << body;
        EXPECT_EQ(fields[2], FormatDegreesMinutes(longitude));
        EXPECT_EQ(fields[3], FormatZodiacPosition(longitude, false));
    }
    // Earth at 100°23', in 10° 23' of Cancer.
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1 Earth   100°23' 10Can23 1.75193")))
        << lines[1].toStdString();
}

TEST(PositionsCommand, TimeAndZoneGiveTheUniversalJulianDate) {
    struct Case {
        QStringList arguments;
        const char* firstLine;
    };
    const QString date = QStringLiteral("--date");
    const QString time = QStringLiteral("--time");
    const QString zone = QStringLiteral("--zone");
    const std::vector<Case> cases{
        {{date, QStringLiteral("2000-01-01"), time, QStringLiteral("00:00"), zone,
          QStringLiteral("GMT+1:00")},
         "JD 2451544.458333"},
        {{date, QStringLiteral("2000-01-01"), time, QStringLiteral("00:00"), zone,
          QStringLiteral("+01:00")},
         "JD 2451544.458333"},
        {{date, QStringLiteral("2000-01-01"), time, QStringLiteral("00:00"), zone,
          QStringLiteral("GMT")},
         "JD 2451544.500000"},
        {{date, QStringLiteral("2000-01-01"), time, QStringLiteral("23:30"), zone,
          QStringLiteral("GMT-11:30")},
         "JD 2451545.958333"},
        {{date, QStringLiteral("0001-01-01"), time, QStringLiteral("05:30"), zone,
          QStringLiteral("GMT+5:30")},
         "JD 1721425.500000"},
        {{date, QStringLiteral("2799-12-31")}, "JD 2743738.000000"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunPositions(c.arguments);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
        EXPECT_EQ(Lines(outcome.out).value(0), QString::fromLatin1(c.firstLine))
            << c.arguments.join(QLatin1Char(' ')).toStdString();
    }
}

TEST(PositionsCommand, TodayAtNoonIsTheDefault) {
    const qint64 before = QDate::currentDate().toJulianDay();
    const Outcome outcome = RunPositions({});
    const qint64 after = QDate::currentDate().toJulianDay();
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const QString first = Lines(outcome.out).value(0);
    EXPECT_TRUE(first == QStringLiteral("JD %1.000000").arg(before) ||
                first == QStringLiteral("JD %1.000000").arg(after))
        << first.toStdString();
}

TEST(PositionsCommand, JsonNamesBodiesAndSaysWhyPlutoIsMissing) {
    const struct {
        const char* date;
        const char* missing; // Pluto's reason, or nullptr when it has a position
    } cases[] = {
        {"2000-01-01", nullptr}, {"1500-06-01", "before table"}, {"2250-06-01", "after table"}};
    for (const auto& c : cases) {
        const Outcome outcome = RunPositions(
            {QStringLiteral("--date"), QString::fromLatin1(c.date), QStringLiteral("--json")});
        ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
        const QJsonObject root = QJsonDocument::fromJson(outcome.out.toUtf8()).object();
        EXPECT_EQ(root.value(QStringLiteral("date"))[QStringLiteral("text")].toString(),
                  QString::fromLatin1(c.date) + QStringLiteral(" 12:00 GMT"));
        const QJsonArray positions = root.value(QStringLiteral("positions")).toArray();
        ASSERT_EQ(positions.size(), 9);
        const QJsonObject pluto = positions[8].toObject();
        EXPECT_EQ(pluto.value(QStringLiteral("body")).toString(), QStringLiteral("Pluto"));
        if (c.missing != nullptr) {
            EXPECT_TRUE(pluto.value(QStringLiteral("longitude")).isNull());
            EXPECT_EQ(pluto.value(QStringLiteral("missing")).toString(),
                      QString::fromLatin1(c.missing));
        } else {
            EXPECT_NEAR(pluto.value(QStringLiteral("longitude")).toDouble(), 250.54625, 1e-9);
        }
    }
    // Earth in degrees, its sign and the text the grid shows.
    const Outcome outcome = RunPositions({u"--date"_s, u"2000-01-01"_s, u"--json"_s});
    const QJsonObject earth = QJsonDocument::fromJson(outcome.out.toUtf8())
                                  .object()
                                  .value(QStringLiteral("positions"))[0]
                                  .toObject();
    EXPECT_NEAR(earth.value(QStringLiteral("longitude")).toDouble(), 100.378578, 1e-6);
    EXPECT_EQ(earth.value(QStringLiteral("sign")).toString(), QStringLiteral("Cancer"));
    EXPECT_EQ(earth.value(QStringLiteral("text")).toString(), QStringLiteral("10Can23"));
}

TEST(PositionsCommand, PlutoOutsideItsTableShowsAMarkerInText) {
    const Outcome early = RunPositions({QStringLiteral("--date"), QStringLiteral("1500-06-01")});
    ASSERT_EQ(early.exitCode, 0);
    const QStringList lines = Lines(early.out);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(Fields(lines[BodyNumber(Pluto)]),
              (QStringList{QStringLiteral("9"), QStringLiteral("Pluto"), QStringLiteral("<")}));
    EXPECT_EQ(Fields(lines[BodyNumber(Neptune)]).size(), 5);

    const Outcome late = RunPositions({QStringLiteral("--date"), QStringLiteral("2200-01-01")});
    EXPECT_EQ(Fields(Lines(late.out).value(BodyNumber(Pluto))).value(2), QStringLiteral(">"));
}

TEST(PositionsCommand, RunOfDaysPrintsOneLinePerDay) {
    const Outcome outcome =
        RunPositions({QStringLiteral("--from"), QStringLiteral("2199-12-31"),
                      QStringLiteral("--days"), QStringLiteral("3"), QStringLiteral("--time"),
                      QStringLiteral("00:00"), QStringLiteral("--zone"), QStringLiteral("+05:30")});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const QStringList lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 3);
    for (int day = 0; day < 3; ++day) {
        const QStringList fields = Fields(lines[day]);
        ASSERT_EQ(fields.size(), 10) << lines[day].toStdString();
        // 00:00 at +5:30 is 18:30 UT of the day before.
        EXPECT_EQ(fields[0], QString::number(2524593 - 0.5 - 5.5 / 24.0 + day, 'f', 6));
        for (int column = 1; column <= 8; ++column) {
            EXPECT_EQ(fields[column].section(QLatin1Char('.'), 1).size(), 7);
        }
    }
    // The table's last whole day is 31 December 2199: 1 January 2200 local is still in it
    // (18:30 UT of 31 December), 2 January is not.
    EXPECT_NE(Fields(lines[1])[9], QStringLiteral(">"));
    EXPECT_EQ(Fields(lines[2])[9], QStringLiteral(">"));

    // The same numbers as one instant at a time.
    const Outcome single = RunPositions({QStringLiteral("--date"), QStringLiteral("2200-01-01"),
                                         QStringLiteral("--time"), QStringLiteral("00:00"),
                                         QStringLiteral("--zone"), QStringLiteral("+05:30")});
    const QStringList singleLines = Lines(single.out);
    ASSERT_EQ(singleLines.size(), 10);
    for (BodyIndex body : AllBodies) {
        EXPECT_NEAR(Fields(lines[1])[BodyNumber(body)].toDouble(),
                    RadiansToDegrees(Fields(singleLines[BodyNumber(body)]).value(4).toDouble()),
                    1e-7)
            << body;
    }
}

TEST(PositionsCommand, BadInputSaysWhatIsWrongWithItsExitStatus) {
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* message;
    };
    const auto args = [](const char* text) {
        return QString::fromLatin1(text).split(QLatin1Char(' '));
    };
    const std::vector<Case> cases{
        {args("--time 12:60"), 2, "does not exist"},
        {args("--time 25:00"), 2, "The time 25:00 does not exist"},
        {args("--time noon"), 2, "not a time written as HH:MM"},
        {args("--zone GMT-12:00"), 2, "not a zone"},
        {args("--zone -11:31"), 2, "not a zone"},
        {args("--zone GMT+5:15"), 2, "not a zone"},
        {args("--zone EST"), 2, "not a zone"},
        {args("--date 2000/01/01"), 2, "not a date written as YYYY-MM-DD"},
        {args("--date 2024-13-01"), 2, "the month must be 01 to 12"},
        {args("--date 2000-01-01 --from 2000-01-01 --days 2"), 2, "cannot be combined"},
        {args("--from 2000-01-01"), 2, "go together"},
        {args("--days 5"), 2, "go together"},
        {args("--from 2000-01-01 --days 0"), 2, "--days takes a number"},
        {args("--from 2000-01-01 --days many"), 2, "--days takes a number"},
        {args("--bogus"), 2, "unknown option '--bogus'"},
        {args("--date 2000-01-01 extra"), 2, "Unexpected argument 'extra'"},
        // The dates themselves are checked for every command alike (ZoneOptionTest.cpp); a run
        // must end before 2800 too.
        {args("--from 2799-12-31 --days 2"), 3, "ends on 2800-01-01"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunPositions(c.arguments);
        const std::string what = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(outcome.exitCode, c.exitCode) << what;
        EXPECT_TRUE(outcome.err.contains(QString::fromLatin1(c.message)))
            << what << ": " << outcome.err.toStdString();
        EXPECT_EQ(outcome.out, QString()) << what;
    }
    const Outcome help = RunPositions({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--from YYYY-MM-DD --days N")));
}

TEST(PositionsCommand, AMissingOrBrokenPlutoTableEndsWithStatusFour) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString program = CopyOfProgram(folder);
    const Outcome missing =
        RunPositions({QStringLiteral("--date"), QStringLiteral("2000-01-01")}, program);
    EXPECT_EQ(missing.exitCode, 4);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("was not found"))) << missing.err.toStdString();
    EXPECT_EQ(missing.out, QString());

    QByteArray table = test::ReadAll(test::ProgramFolder() + QLatin1Char('/') +
                                     QString::fromLatin1(PlutoTableFileName));
    ASSERT_FALSE(table.isEmpty());
    table[6 * 99 + 2] = '~'; // line 100
    ASSERT_TRUE(test::WriteAll(folder.filePath(QString::fromLatin1(PlutoTableFileName)), table));
    const Outcome broken = RunPositions({QStringLiteral("--from"), QStringLiteral("2000-01-01"),
                                         QStringLiteral("--days"), QStringLiteral("2")},
                                        program);
    EXPECT_EQ(broken.exitCode, 4);
    EXPECT_TRUE(broken.err.contains(QStringLiteral("Line 100 of the Pluto table")))
        << broken.err.toStdString();
}

TEST(PositionsCommand, WarnsWhenTheEphemerisFilesAreNotFound) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    // The library takes this variable before any folder it is given.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SE_EPHE_PATH"), empty.path());
    const Outcome outcome = RunPositions({QStringLiteral("--date"), QStringLiteral("2000-01-01")},
                                         QStringLiteral(ORBIVEX_CLI_PATH), environment);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(Lines(outcome.out).size(), 10);
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("built-in theory")))
        << outcome.err.toStdString();

    const Outcome normal = RunPositions({QStringLiteral("--date"), QStringLiteral("2000-01-01")});
    EXPECT_FALSE(normal.err.contains(QStringLiteral("built-in theory")));
}
