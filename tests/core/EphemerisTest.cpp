#include "core/Ephemeris.h"
#include "core/PlutoTableCodec.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <functional>

using namespace orbivex;
using enum orbivex::BodyIndex;

namespace {

constexpr int32 Flags = SEFLG_SWIEPH | SEFLG_HELCTR | SEFLG_J2000 | SEFLG_NONUT | SEFLG_TRUEPOS;

// Longitude straight from the library, in degrees, at a Julian date on Universal Time.
double LibraryDegrees(int body, double jdUt) {
    double x[6] = {};
    char error[AS_MAXCH] = {};
    EXPECT_GE(swe_calc_ut(jdUt, body, Flags, x, error), 0) << error;
    return x[0];
}

// The Universal Time of a Julian date given in Terrestrial (dynamical) Time.
double UtOfTt(double jdTt) {
    return jdTt - swe_deltat_ex(jdTt, SEFLG_SWIEPH, nullptr);
}

// Difference of two longitudes in arcseconds, modulo the full circle.
double ArcsecondsApart(double radians, double degrees) {
    const double difference = std::remainder(RadiansToDegrees(radians) - degrees, 360.0);
    return std::fabs(difference) * 3600.0;
}

// A loaded ephemeris on the program folder, where the build writes the Pluto table.
Ephemeris LoadedEphemeris() {
    Ephemeris ephemeris(test::ProgramFolder());
    EXPECT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
              QString());
    return ephemeris;
}

// Writes a coded table of `lines` days whose entry i is degreesOf(i).
bool WriteTable(const QString& path, int lines, const std::function<double(int)>& degreesOf) {
    QByteArray bytes;
    bytes.reserve(lines * 6);
    for (int line = 0; line < lines; ++line) {
        const auto codes = EncodePlutoEntry(degreesOf(line), line);
        bytes.append(codes.data(), 4);
        bytes.append("\r\n");
    }
    return test::WriteAll(path, bytes);
}

} // namespace

TEST(PlutoTable, EveryEntryMatchesTheEphemerisWithinOneArcsecond) {
    const Ephemeris ephemeris = LoadedEphemeris();
    ASSERT_TRUE(ephemeris.PlutoTableLoaded());
    EXPECT_EQ(ephemeris.NumBodies(), 9);
    double worst = 0.0;
    int worstDay = 0;
    for (int day = PlutoTableFirstDay; day <= PlutoTableLastDay; ++day) {
        // Entry of day N is Pluto at 0 h UT, JD N - 0.5.
        const double apart =
            ArcsecondsApart(DegreesToRadians(ephemeris.PlutoTableEntry(day).value_or(-1.0)),
                            LibraryDegrees(SE_PLUTO, day - 0.5));
        if (apart > worst) {
            worst = apart;
            worstDay = day;
        }
    }
    EXPECT_LT(worst, 1.0) << "worst at day " << worstDay;
}

TEST(PlutoTable, InterpolatesWithinTheDayAndAcrossTheZeroDegreeSeam) {
    const Ephemeris ephemeris = LoadedEphemeris();
    // Where Pluto passes 0° between 1600 and 2200.
    int seamDay = 0;
    for (int day = PlutoTableFirstDay; day < PlutoTableLastDay && seamDay == 0; ++day) {
        if (ephemeris.PlutoTableEntry(day) > 350.0 && ephemeris.PlutoTableEntry(day + 1) < 10.0) {
            seamDay = day;
        }
    }
    ASSERT_NE(seamDay, 0);
    // Pluto passed the equinox point in 1820 (day numbers 2385801 to 2386166).
    EXPECT_GE(seamDay, 2385801);
    EXPECT_LE(seamDay, 2386166);

    const std::vector<int> days{seamDay, 2451545, 2305448, 2524593};
    for (int day : days) {
        for (double fraction : {0.0, 0.25, 0.5, 0.9}) {
            const double jd = day - 0.5 + fraction;
            const Position position = ephemeris.PositionOfBody(Pluto, jd);
            ASSERT_TRUE(position.Known());
            const double longitude = position.Longitude();
            EXPECT_GE(longitude, 0.0);
            EXPECT_LT(longitude, FullCircle);
            EXPECT_LT(ArcsecondsApart(longitude, LibraryDegrees(SE_PLUTO, jd)), 1.0)
                << "day " << day << " + " << fraction;
        }
    }
}

TEST(PlutoTable, MarkersOutsideTheTable) {
    const Ephemeris ephemeris = LoadedEphemeris();
    // The table begins with the civil day 1 January 1600 (JD 2305447.5 at 0 h UT) ...
    EXPECT_EQ(ephemeris.PositionOfBody(Pluto, 2305447.5 - 1e-6).Status(),
              PositionStatus::BeforeTable);
    EXPECT_TRUE(ephemeris.PositionOfBody(Pluto, 2305447.5).Known());
    // ... and its last whole day is 31 December 2199; 1 January 2200 only closes that day.
    EXPECT_TRUE(ephemeris.PositionOfBody(Pluto, 2524593.5 - 1e-6).Known());
    EXPECT_EQ(ephemeris.PositionOfBody(Pluto, 2524593.5).Status(), PositionStatus::AfterTable);
    EXPECT_EQ(ephemeris.PositionOfBody(Pluto, 1721425.5).Status(), PositionStatus::BeforeTable);
    EXPECT_EQ(ephemeris.PositionOfBody(Pluto, 1e12).Status(), PositionStatus::AfterTable);
    EXPECT_EQ(ephemeris.PositionOfBody(Pluto, std::nan("")).Status(), PositionStatus::Unavailable);
    // Other bodies have a position on every day of the years 1 to 2799.
    EXPECT_TRUE(ephemeris.PositionOfBody(Neptune, 1721425.5).Known());
    EXPECT_TRUE(ephemeris.PositionOfBody(Earth, 2743738.4).Known());
    EXPECT_EQ(ephemeris.PositionOfBody(Mars, std::nan("")).Status(), PositionStatus::Unavailable);
    EXPECT_EQ(ephemeris.PositionOfBody(Mars, 1e12).Status(), PositionStatus::Unavailable);
}

TEST(PlutoTable, SeamRuleInBothDirectionsOnACraftedTable) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = QStringLiteral("crafted.slx");
    Ephemeris ephemeris(folder.path());
    const double first = PlutoTableFirstDay - 0.5; // 0 h UT of entry 0

    // Forward: entry i = 0.25° + i/2°, so entry 719 is 359.75° and entry 720 is 0.25°.
    ASSERT_TRUE(WriteTable(folder.filePath(file), PlutoTableEntries,
                           [](int i) { return std::fmod(0.25 + 0.5 * i, 360.0); }));
    ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(file)), QString());
    EXPECT_NEAR(RadiansToDegrees(ephemeris.PositionOfBody(Pluto, first + 719.25).Longitude()),
                359.875, 1e-9);
    EXPECT_NEAR(RadiansToDegrees(ephemeris.PositionOfBody(Pluto, first + 719.5).Longitude()), 0.0,
                1e-9);
    EXPECT_NEAR(RadiansToDegrees(ephemeris.PositionOfBody(Pluto, first + 719.75).Longitude()),
                0.125, 1e-9);

    // Backward: entry i = 0.25° - i/2°, so entry 0 is 0.25° and entry 1 is 359.75°.
    ASSERT_TRUE(WriteTable(folder.filePath(file), PlutoTableEntries,
                           [](int i) { return std::fmod(360.25 - 0.5 * (i % 720), 360.0); }));
    ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(file)), QString());
    EXPECT_NEAR(RadiansToDegrees(ephemeris.PositionOfBody(Pluto, first + 0.25).Longitude()), 0.125,
                1e-9);
    EXPECT_NEAR(RadiansToDegrees(ephemeris.PositionOfBody(Pluto, first + 0.5).Longitude()), 0.0,
                1e-9);
    EXPECT_NEAR(RadiansToDegrees(ephemeris.PositionOfBody(Pluto, first + 0.75).Longitude()),
                359.875, 1e-9);
}

TEST(PlutoTable, ABrokenTableNamesTheProblemAndKeepsThePreviousTable) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray good = test::ReadAll(test::ProgramFolder() + QLatin1Char('/') +
                                          QString::fromLatin1(PlutoTableFileName));
    ASSERT_FALSE(good.isEmpty());
    ASSERT_TRUE(test::WriteAll(folder.filePath(QStringLiteral("good.slx")), good));
    Ephemeris ephemeris(folder.path());
    ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QStringLiteral("good.slx"))), QString());
    const Position before = ephemeris.PositionOfBody(Pluto, 2451545.0);

    QByteArray badCode = good;
    badCode[6 * 5000] = ' '; // first code of line 5001: far below its range
    QByteArray shortLine = good;
    shortLine.remove(6 * 7 + 3, 1); // line 8 keeps three characters
    QByteArray longer = good + "AAAA\r\n";
    QByteArray truncated = good.left(6 * 1000);
    // The last line, and a code a step above its range (line 1000's offsets: 6 and 10).
    QByteArray badLast = good;
    badLast[6 * (PlutoTableEntries - 1) + 1] = 'x';
    QByteArray tooHigh = good;
    tooHigh[6 * 999 + 2] = static_cast<char>(63 + 999 % 55 + 1);
    QByteArray strayReturn = good;
    strayReturn[6 * 300 + 5] = '\r';
    QByteArray unixEnds = good;
    unixEnds.replace("\r\n", "\n");
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* error; // "" when the table loads
    };
    const std::vector<Case> cases{
        {"bad.slx", badCode, "Line 5001 of the Pluto table"},
        {"last.slx", badLast, "Line 219147 of the Pluto table"},
        {"high.slx", tooHigh, "Line 1000 of the Pluto table"},
        {"return.slx", strayReturn, "is malformed"},
        {"short.slx", shortLine, "Line 8 of the Pluto table"},
        {"truncated.slx", truncated, "has only 1000 lines; it needs 219147"},
        {"longer.slx", longer, "has more than 219147 lines"},
        {"empty.slx", QByteArray(), "has only 0 lines"},
        {"unix.slx", unixEnds, ""},
        {"final.slx", good + "\r\n\r\n", ""},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromLatin1(c.name);
        ASSERT_TRUE(test::WriteAll(folder.filePath(name), c.bytes));
        const QString error = MessageOf(ephemeris.LoadPlutoTable(name));
        if (*c.error == '\0') {
            EXPECT_EQ(error, QString()) << c.name;
        } else {
            EXPECT_TRUE(error.contains(QString::fromLatin1(c.error)))
                << c.name << ": " << error.toStdString();
            EXPECT_TRUE(error.contains(name)) << error.toStdString();
        }
        EXPECT_EQ(ephemeris.PositionOfBody(Pluto, 2451545.0), before) << c.name;
    }

    const QString missing = MessageOf(ephemeris.LoadPlutoTable(QStringLiteral("missing.slx")));
    EXPECT_TRUE(missing.contains(QStringLiteral("was not found"))) << missing.toStdString();
    // A folder where the file should be cannot be read, even by an administrator.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.slx")));
    const QString unreadable = MessageOf(ephemeris.LoadPlutoTable(QStringLiteral("folder.slx")));
    EXPECT_TRUE(unreadable.contains(QStringLiteral("cannot be read"))) << unreadable.toStdString();
    EXPECT_EQ(ephemeris.PositionOfBody(Pluto, 2451545.0), before);
    EXPECT_EQ(ephemeris.NumBodies(), 9);

    Ephemeris fresh(folder.path());
    EXPECT_NE(MessageOf(fresh.LoadPlutoTable(QStringLiteral("bad.slx"))), QString());
    EXPECT_FALSE(fresh.PlutoTableLoaded());
    EXPECT_EQ(fresh.NumBodies(), 8);
    EXPECT_EQ(fresh.PositionOfBody(Pluto, 2451545.0).Status(), PositionStatus::Unavailable);
}

TEST(Positions, AgreeWithPublishedHeliocentricJ2000Longitudes) {
    const Ephemeris ephemeris = LoadedEphemeris();
    struct Case {
        BodyIndex body;
        double jdTt;          // the published instant, in dynamical time
        double degrees;       // heliocentric ecliptic longitude, equinox and ecliptic J2000
        double toleranceArcs; // the published theory's own error included
    };
    const std::vector<Case> cases{
        // Pluto, 1992 October 13.0 TD (a worked example of a Pluto theory fitted to DE200).
        {Pluto, 2448908.5, 232.74009, 3.0},
        // Check values of the VSOP87B planetary theory (its equinox and ecliptic J2000).
        {Earth, 2378495.0, 101.70034415, 2.0},   // 1799 December 30
        {Mars, 2341970.0, 171.30182054, 2.0},    // 1699 December 29
        {Jupiter, 2305445.0, 139.36250771, 2.0}, // 1599 December 29
        {Saturn, 2268920.0, 56.21970235, 2.0},   // 1499 December 19
    };
    for (const Case& c : cases) {
        const double longitude = ephemeris.PositionOfBody(c.body, UtOfTt(c.jdTt)).Longitude();
        EXPECT_LT(ArcsecondsApart(longitude, c.degrees), c.toleranceArcs) << c.body;
    }
    EXPECT_FALSE(ephemeris.UsesBuiltInTheory());
}

TEST(Positions, AllBodiesAtOnceEqualOneByOneAndInParallel) {
    const Ephemeris ephemeris = LoadedEphemeris();
    std::vector<double> jds;
    for (int day = 0; day < 2000; ++day) {
        jds.push_back(2305000.25 + day * 97.3); // 1598 to 2130, days and hours apart
    }
    const std::vector<PositionSet> parallel = ephemeris.PositionsOfBodiesAt(jds, 3);
    ASSERT_EQ(parallel.size(), jds.size());
    for (std::size_t row = 0; row < jds.size(); row += 37) {
        const PositionSet single = ephemeris.PositionsOfBodies(jds[row]);
        for (BodyIndex body : AllBodies) {
            const Position expected = ephemeris.PositionOfBody(body, jds[row]);
            EXPECT_EQ(single[body], expected) << body << " at " << jds[row];
            EXPECT_EQ(parallel[row][body], expected) << body << " at " << jds[row];
        }
    }
    EXPECT_EQ(parallel.front()[Pluto].Status(), PositionStatus::BeforeTable);
    EXPECT_TRUE(ephemeris.PositionsOfBodiesAt({}).empty());
}

TEST(Positions, DoNotDependOnWhatWasComputedBefore) {
    // Just after the start of a file of the library (1800, 1200), and just before it: an instant
    // computed after one of the other side comes out as on its own, to the last bit, whichever
    // way it is asked for.
    const std::vector<std::pair<double, double>> cases{
        {2378962.6041666665, 2378000.5}, // 12 April 1801 after June 1798
        {2378000.5, 2378962.6041666665},
        {2159500.5, 2159000.5}, // 1200
    };
    for (const auto& [jd, before] : cases) {
        const PositionSet alone = Ephemeris(test::ProgramFolder()).PositionsOfBodies(jd);
        const Ephemeris ephemeris(test::ProgramFolder());
        ephemeris.PositionsOfBodies(before);
        EXPECT_EQ(ephemeris.PositionsOfBodies(jd), alone) << jd;
        ephemeris.PositionOfBody(Earth, before);
        EXPECT_EQ(ephemeris.PositionOfBody(Mercury, jd), alone[Mercury]) << jd;
        const std::array<double, 2> both{before, jd};
        EXPECT_EQ(ephemeris.PositionsOfBodiesAt(both, 1)[1], alone) << jd;
    }
}

TEST(Positions, FallbackToTheBuiltInTheoryIsDetected) {
    QTemporaryDir program;
    QTemporaryDir system;
    ASSERT_TRUE(program.isValid() && system.isValid());
    {
        const Ephemeris blind(program.path(), system.path());
        const double mars = blind.PositionOfBody(Mars, 2451545.0).Longitude();
        EXPECT_TRUE(blind.UsesBuiltInTheory());
        // Still a sound position, to a few arcseconds.
        EXPECT_LT(ArcsecondsApart(mars, 359.4477460), 5.0);
        const Ephemeris other(test::ProgramFolder());
        EXPECT_FALSE(other.UsesBuiltInTheory());
        other.PositionOfBody(Mars, 2451545.0);
        EXPECT_FALSE(other.UsesBuiltInTheory());
    }
    const Ephemeris blind(program.path(), system.path());
    blind.PositionsOfBodiesAt(std::vector<double>(600, 2451545.0), 2);
    EXPECT_TRUE(blind.UsesBuiltInTheory());
    // Nothing computed (not a finite instant) leaves the finding as it was.
    blind.PositionsOfBodies(std::nan(""));
    EXPECT_TRUE(blind.UsesBuiltInTheory());

    const Ephemeris seeing(test::ProgramFolder());
    EXPECT_LT(ArcsecondsApart(seeing.PositionOfBody(Mars, 2451545.0).Longitude(), 359.4477460),
              0.01);
    EXPECT_FALSE(seeing.UsesBuiltInTheory());
}
