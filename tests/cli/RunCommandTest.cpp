#include "cli/CliRun.h"
#include "common/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using orbivex::test::CliResult;
using orbivex::test::RunCli;

namespace {

CliResult RunPattern(const QStringList& arguments) {
    return RunCli(QStringList{QStringLiteral("run")} + arguments);
}

QJsonObject Json(const CliResult& run) {
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

} // namespace

TEST(RunCommand, TextNamesTheDateTheFindAndTheSteps) {
    const CliResult run =
        RunPattern({u"--pattern"_s, u"grand trine"_s, u"--world"_s, u"2024-03-01 12:00 GMT"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"March 5, 2024, 12:00 (GMT)\nGrand trine found.\nSteps: 4\n"_s);

    const CliResult two = RunPattern({u"--pattern"_s, u"T-SQUARE"_s, u"--at-least"_s, u"2"_s,
                                      u"--world"_s, u"2024-01-01"_s, u"--step"_s, u"day"_s});
    ASSERT_EQ(two.exitCode, 0) << two.err.toStdString();
    EXPECT_EQ(two.out, u"January 15, 2024, 12:00 (GMT)\nTwo T-squares found.\nSteps: 14\n"_s);
}

// June 15, 1609 holds two rectangles that share an opposition; the first day with three is
// June 17.
TEST(RunCommand, EachRectangleCountsOnceInTheStopTest) {
    const CliResult run = RunPattern({u"--pattern"_s, u"rectangle"_s, u"--at-least"_s, u"3"_s,
                                      u"--world"_s, u"1609-06-10 12:00 GMT"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"June 17, 1609, 12:00 (GMT)\nThree rectangles found.\nSteps: 7\n"_s);
}

TEST(RunCommand, JsonOfARunSeekingBodies) {
    const CliResult run =
        RunPattern({u"--pattern"_s, u"Grand Trine"_s, u"--bodies"_s, u"ju,Saturn"_s, u"--world"_s,
                    u"2024-01-01 12:00 GMT"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = Json(run);
    EXPECT_TRUE(result[QStringLiteral("found")].toBool());
    EXPECT_EQ(result[QStringLiteral("steps")].toInt(), 871);
    EXPECT_EQ(result[QStringLiteral("date")][QStringLiteral("text")].toString(),
              u"2026-05-21 12:00 GMT"_s);
    EXPECT_DOUBLE_EQ(result[QStringLiteral("date")][QStringLiteral("julianDay")].toDouble(),
                     2460311.0 + 871);
    EXPECT_EQ(result[QStringLiteral("message")].toString(),
              u"Grand trine found\ninvolving Jupiter Saturn."_s);
}

TEST(RunCommand, StepUnits) {
    const CliResult years =
        RunPattern({u"--pattern"_s, u"rectangle"_s, u"--world"_s, u"2000-01-01 12:00 GMT"_s,
                    u"--step"_s, u"year"_s, u"--json"_s});
    ASSERT_EQ(years.exitCode, 0) << years.err.toStdString();
    EXPECT_EQ(Json(years)[QStringLiteral("date")][QStringLiteral("text")].toString(),
              u"2048-01-01 12:00 GMT"_s);
    const CliResult halfHours =
        RunPattern({u"--pattern"_s, u"midpoint"_s, u"--bodies"_s, u"earth"_s, u"--world"_s,
                    u"2024-01-01"_s, u"--step"_s, u"halfhour"_s});
    ASSERT_EQ(halfHours.exitCode, 0) << halfHours.err.toStdString();
    EXPECT_EQ(halfHours.out,
              u"January 2, 2024, 02:00 (GMT)\nMidpoint found\ninvolving Earth.\nSteps: 28\n"_s);
}

TEST(RunCommand, NothingFoundExitsWithStatusOne) {
    const CliResult limited = RunPattern({u"--pattern"_s, u"6-stellium"_s, u"--world"_s,
                                          u"2024-01-01"_s, u"--max-steps"_s, u"30"_s, u"--json"_s});
    EXPECT_EQ(limited.exitCode, 1);
    const QJsonObject result = Json(limited);
    EXPECT_FALSE(result[QStringLiteral("found")].toBool());
    EXPECT_EQ(result[QStringLiteral("steps")].toInt(), 30);
    EXPECT_DOUBLE_EQ(result[QStringLiteral("date")][QStringLiteral("julianDay")].toDouble(),
                     2460311.0 + 30);
    EXPECT_EQ(result[QStringLiteral("message")].toString(),
              u"No 6-stellium found in 30 steps, up to January 31, 2024, 12:00 (GMT)."_s);

    // The calendar ends with 2799: the run stops where the next step would leave it.
    const CliResult end = RunPattern({u"--pattern"_s, u"grand trine"_s, u"--bodies"_s,
                                      u"ju,sa,ne"_s, u"--world"_s, u"2799-12-25 12:00 GMT"_s});
    EXPECT_EQ(end.exitCode, 1);
    EXPECT_EQ(end.out, u"No grand trine found in 6 steps, up to December 31, 2799, 12:00 (GMT); "
                       "the next step does not convert: World date lies in or after the year "
                       "2800.\nSteps: 6\n"_s);
}

TEST(RunCommand, BadOptionsAndDates) {
    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{u"--world"_s, u"2024-01-01"_s}, "--pattern is required"},
        {{u"--pattern"_s, u"kite"_s}, "--world is required"},
        {{u"--pattern"_s, u"square"_s, u"--world"_s, u"2024-01-01"_s}, "unknown pattern 'square'"},
        {{u"--pattern"_s, u"kite"_s, u"--at-least"_s, u"1"_s, u"--world"_s, u"2024-01-01"_s},
         "2 to 9"},
        {{u"--pattern"_s, u"kite"_s, u"--at-least"_s, u"10"_s, u"--world"_s, u"2024-01-01"_s},
         "2 to 9"},
        {{u"--pattern"_s, u"kite"_s, u"--bodies"_s, u"mars,mars"_s, u"--world"_s, u"2024-01-01"_s},
         "Planet specified more than once."},
        {{u"--pattern"_s, u"kite"_s, u"--bodies"_s, u"ma,ve,ma"_s, u"--world"_s, u"2024-01-01"_s},
         "Planet specified more than once."},
        {{u"--pattern"_s, u"kite"_s, u"--bodies"_s, u"ma,ve,ju,sa"_s, u"--world"_s,
          u"2024-01-01"_s},
         "at most three"},
        {{u"--pattern"_s, u"kite"_s, u"--bodies"_s, u"ma,,ve"_s, u"--world"_s, u"2024-01-01"_s},
         "unknown body ''"},
        {{u"--pattern"_s, u"kite"_s, u"--bodies"_s, u"Sun"_s, u"--world"_s, u"2024-01-01"_s},
         "unknown body 'Sun'"},
        {{u"--pattern"_s, u"kite"_s, u"--world"_s, u"2024-01-01"_s, u"--step"_s, u"fortnight"_s},
         "unknown step"},
        {{u"--pattern"_s, u"kite"_s, u"--world"_s, u"2024-01-01"_s, u"--max-steps"_s, u"0"_s},
         "positive"},
        {{u"--pattern"_s, u"kite"_s, u"--world"_s, u"1 May 2024"_s}, "YYYY-MM-DD"},
        {{u"--pattern"_s, u"kite"_s, u"--world"_s, u"2024-01-01"_s, u"extra"_s},
         "unexpected argument"},
    };
    for (const auto& c : cases) {
        const CliResult run = RunPattern(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
            << run.err.toStdString() << " for " << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.out, u""_s);
    }
}
