#include "cli/CliRun.h"
#include "common/TestSupport.h"
#include "session/StateTransfer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orbivex::test::CliResult;
using orbivex::test::RunCli;

namespace {

CliResult Durations(QStringList arguments) {
    return RunCli(QStringList{QStringLiteral("durations")} + arguments);
}

QJsonObject Json(const CliResult& run) {
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

const QStringList WorldChart{"--mode", "world", "--world", "2024-03-20 12:00 GMT"};

} // namespace

TEST(DurationsCommand, PrintsTheTitleABlankLineAndTheList) {
    const CliResult run = Durations(WorldChart);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2 + 13 + 1);
    EXPECT_EQ(lines[0], "World transits on March 20, 2024, 12:00 (GMT).    Orbs: 4° to 10°   ");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Earth   trine (0°6')          Pluto   from March 13, 2024,     to "
                        "March 27, 2024     (15 days)");
    EXPECT_TRUE(run.out.contains(
        QStringLiteral("\nNeptune sextile (2°53')       Pluto   from May 8, 2019,        to "
                       "September 28, 2036 (17 years, 145 days)\n")));
    EXPECT_EQ(lines.last(), "");

    const CliResult plain =
        Durations(WorldChart + QStringList{"--no-durations", "--sort", "planet"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    const QStringList listed = plain.out.split(QLatin1Char('\n')).mid(2);
    EXPECT_EQ(listed[0], "Earth   square (4°58')        Mercury");
    EXPECT_EQ(listed[12], "Neptune sextile (2°53')       Pluto  ");
    EXPECT_FALSE(plain.out.contains(QStringLiteral(" from ")));
}

TEST(DurationsCommand, NatalReportAndAChartWithoutAspects) {
    const CliResult natal =
        Durations({"--mode", "natal1", "--birth1", "1970-06-15 06:30 GMT+1:00"});
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
    state.mode = orbivex::PersonalFirst;
    state.dateSets[orbivex::WorldDate] = {QStringLiteral("2024"), 3, 20, 25, 24};
    state.dateSets[orbivex::FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
    state.settings.orbPositions.fill(0);
    state.settings.orbPositions[7] = 1;
    const QString path = folder.filePath(QStringLiteral("no-orbs.pat"));
    ASSERT_EQ(orbivex::SaveState(path, state), "");
    const CliResult none = Durations({"--state", path});
    ASSERT_EQ(none.exitCode, 0) << none.err.toStdString();
    EXPECT_TRUE(none.out.endsWith(
        QStringLiteral("\n\nThere are no personal transits within the orbs at this date.\n")));
    const CliResult missing = Durations({"--state", folder.filePath(QStringLiteral("x.pat"))});
    EXPECT_EQ(missing.exitCode, 4);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("x.pat")));
}

TEST(DurationsCommand, JsonHoldsTheRecordsInListOrder) {
    const CliResult run = Durations(WorldChart + QStringList{"--sort", "duration", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = Json(run);
    EXPECT_TRUE(result[QStringLiteral("title")].toString().startsWith(
        QStringLiteral("World transits on March 20, 2024")));
    const QJsonArray records = result[QStringLiteral("records")].toArray();
    ASSERT_EQ(records.size(), 13);
    int previous = 0;
    for (const QJsonValue& value : records) {
        const int duration = value[QStringLiteral("duration")].toInt();
        EXPECT_GE(duration, previous);
        previous = duration;
    }
    const QJsonObject longest = records.last().toObject();
    EXPECT_EQ(longest[QStringLiteral("body1")].toInt(), 8);
    EXPECT_EQ(longest[QStringLiteral("body2")].toInt(), 9);
    EXPECT_EQ(longest[QStringLiteral("kind")].toInt(), 5);
    EXPECT_NEAR(longest[QStringLiteral("deviation")].toDouble(), 0.050459, 1e-9);
    EXPECT_EQ(longest[QStringLiteral("beginning")].toInt(), 2458612);
    EXPECT_EQ(longest[QStringLiteral("end")].toInt(), 2464965);
    EXPECT_EQ(longest[QStringLiteral("duration")].toInt(), 6354);

    // Unknown days and natal charts give null.
    const CliResult late = Durations({"--mode", "world", "--world", "2199-06-15", "--json"});
    ASSERT_EQ(late.exitCode, 0) << late.err.toStdString();
    int unknownEnds = 0;
    for (const QJsonValue& value : Json(late)[QStringLiteral("records")].toArray()) {
        if (value[QStringLiteral("end")].isNull()) {
            ++unknownEnds;
            EXPECT_TRUE(value[QStringLiteral("duration")].isNull());
            EXPECT_EQ(value[QStringLiteral("body2")].toInt(), 9);
        }
    }
    EXPECT_EQ(unknownEnds, 3);
    const CliResult natal = Durations({"--mode", "natal1", "--birth1", "1970-06-15", "--json"});
    const QJsonArray natalRecords = Json(natal)[QStringLiteral("records")].toArray();
    ASSERT_FALSE(natalRecords.isEmpty());
    for (const QJsonValue& value : natalRecords) {
        EXPECT_TRUE(value[QStringLiteral("beginning")].isNull());
        EXPECT_TRUE(value[QStringLiteral("end")].isNull());
        EXPECT_TRUE(value[QStringLiteral("duration")].isNull());
    }
}

TEST(DurationsCommand, BadSortKeysAreRefused) {
    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {WorldChart + QStringList{"--sort", "size"}, "unknown sort key 'size'"},
        {WorldChart + QStringList{"--sort", "transiting"}, "personal transits only"},
        {{"--mode", "synastry", "--birth1", "1970-06-15", "--birth2", "1985-11-02", "--sort",
          "aspect"},
         "world and personal transits only"},
        {{"--world", "2024-03-20"}, "--mode is required"},
    };
    for (const auto& c : cases) {
        const CliResult run = Durations(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
}
