#include "cli/CliRun.h"
#include "common/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

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
        RunPattern({"--pattern", "grand trine", "--world", "2024-03-01 12:00 GMT"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "March 5, 2024, 12:00 (GMT)\nGrand trine found.\nSteps: 4\n");

    const CliResult two = RunPattern(
        {"--pattern", "T-SQUARE", "--at-least", "2", "--world", "2024-01-01", "--step", "day"});
    ASSERT_EQ(two.exitCode, 0) << two.err.toStdString();
    EXPECT_EQ(two.out, "January 15, 2024, 12:00 (GMT)\nTwo T-squares found.\nSteps: 14\n");
}

// June 15, 1609 holds two rectangles that share an opposition; the first day with three is
// June 17.
TEST(RunCommand, EachRectangleCountsOnceInTheStopTest) {
    const CliResult run = RunPattern(
        {"--pattern", "rectangle", "--at-least", "3", "--world", "1609-06-10 12:00 GMT"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "June 17, 1609, 12:00 (GMT)\nThree rectangles found.\nSteps: 7\n");
}

TEST(RunCommand, JsonOfARunSeekingBodies) {
    const CliResult run = RunPattern({"--pattern", "Grand Trine", "--bodies", "ju,Saturn",
                                      "--world", "2024-01-01 12:00 GMT", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = Json(run);
    EXPECT_TRUE(result[QStringLiteral("found")].toBool());
    EXPECT_EQ(result[QStringLiteral("steps")].toInt(), 871);
    EXPECT_EQ(result[QStringLiteral("date")][QStringLiteral("text")].toString(),
              "2026-05-21 12:00 GMT");
    EXPECT_DOUBLE_EQ(result[QStringLiteral("date")][QStringLiteral("julianDay")].toDouble(),
                     2460311.0 + 871);
    EXPECT_EQ(result[QStringLiteral("message")].toString(),
              "Grand trine found\ninvolving Jupiter Saturn.");
}

TEST(RunCommand, StepUnits) {
    const CliResult years = RunPattern(
        {"--pattern", "rectangle", "--world", "2000-01-01 12:00 GMT", "--step", "year", "--json"});
    ASSERT_EQ(years.exitCode, 0) << years.err.toStdString();
    EXPECT_EQ(Json(years)[QStringLiteral("date")][QStringLiteral("text")].toString(),
              "2048-01-01 12:00 GMT");
    const CliResult halfHours = RunPattern({"--pattern", "midpoint", "--bodies", "earth", "--world",
                                            "2024-01-01", "--step", "halfhour"});
    ASSERT_EQ(halfHours.exitCode, 0) << halfHours.err.toStdString();
    EXPECT_EQ(halfHours.out,
              "January 2, 2024, 02:00 (GMT)\nMidpoint found\ninvolving Earth.\nSteps: 28\n");
}

TEST(RunCommand, NothingFoundExitsWithStatusOne) {
    const CliResult limited = RunPattern(
        {"--pattern", "6-stellium", "--world", "2024-01-01", "--max-steps", "30", "--json"});
    EXPECT_EQ(limited.exitCode, 1);
    const QJsonObject result = Json(limited);
    EXPECT_FALSE(result[QStringLiteral("found")].toBool());
    EXPECT_EQ(result[QStringLiteral("steps")].toInt(), 30);
    EXPECT_DOUBLE_EQ(result[QStringLiteral("date")][QStringLiteral("julianDay")].toDouble(),
                     2460311.0 + 30);
    EXPECT_EQ(result[QStringLiteral("message")].toString(),
              "No 6-stellium found in 30 steps, up to January 31, 2024, 12:00 (GMT).");

    // The calendar ends with 2799: the run stops where the next step would leave it.
    const CliResult end = RunPattern(
        {"--pattern", "grand trine", "--bodies", "ju,sa,ne", "--world", "2799-12-25 12:00 GMT"});
    EXPECT_EQ(end.exitCode, 1);
    EXPECT_EQ(end.out, "No grand trine found in 6 steps, up to December 31, 2799, 12:00 (GMT); "
                       "the next step does not convert: World date lies in or after the year "
                       "2800.\nSteps: 6\n");
}

TEST(RunCommand, BadOptionsAndDates) {
    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{"--world", "2024-01-01"}, "--pattern is required"},
        {{"--pattern", "kite"}, "--world is required"},
        {{"--pattern", "square", "--world", "2024-01-01"}, "unknown pattern 'square'"},
        {{"--pattern", "kite", "--at-least", "1", "--world", "2024-01-01"}, "2 to 9"},
        {{"--pattern", "kite", "--at-least", "10", "--world", "2024-01-01"}, "2 to 9"},
        {{"--pattern", "kite", "--bodies", "mars,mars", "--world", "2024-01-01"},
         "Planet specified more than once."},
        {{"--pattern", "kite", "--bodies", "ma,ve,ma", "--world", "2024-01-01"},
         "Planet specified more than once."},
        {{"--pattern", "kite", "--bodies", "ma,ve,ju,sa", "--world", "2024-01-01"},
         "at most three"},
        {{"--pattern", "kite", "--bodies", "ma,,ve", "--world", "2024-01-01"}, "unknown body ''"},
        {{"--pattern", "kite", "--bodies", "Sun", "--world", "2024-01-01"}, "unknown body 'Sun'"},
        {{"--pattern", "kite", "--world", "2024-01-01", "--step", "fortnight"}, "unknown step"},
        {{"--pattern", "kite", "--world", "2024-01-01", "--max-steps", "0"}, "positive"},
        {{"--pattern", "kite", "--world", "1 May 2024"}, "YYYY-MM-DD"},
        {{"--pattern", "kite", "--world", "2024-01-01", "extra"}, "unexpected argument"},
    };
    for (const auto& c : cases) {
        const CliResult run = RunPattern(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
            << run.err.toStdString() << " for " << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.out, "");
    }
}
