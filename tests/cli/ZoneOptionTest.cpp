// Every command of orbivex-cli takes the same zones: those of the program's time-zone list.
#include "cli/CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using orbivex::test::CliResult;
using orbivex::test::RunCli;

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
        const CliResult date = RunCli({"date", "--year", "2024", "--month", "1", "--day", "5",
                                       "--hour", "12:00", "--zone", name, "--json"});
        ASSERT_EQ(date.exitCode, 0) << date.err.toStdString();
        EXPECT_NEAR(Json(date)[QStringLiteral("julianDay")].toDouble(), expected, 1e-9);
        const CliResult positions = RunCli(
            {"positions", "--date", "2024-01-05", "--time", "12:00", "--zone", name, "--json"});
        ASSERT_EQ(positions.exitCode, 0) << positions.err.toStdString();
        EXPECT_NEAR(Json(positions)[QStringLiteral("julianDay")].toDouble(), expected, 1e-9);
        const CliResult chart =
            RunCli({"chart", "--mode", "world", "--world", "2024-01-05 12:00 " + name, "--json"});
        ASSERT_EQ(chart.exitCode, 0) << chart.err.toStdString();
        EXPECT_NEAR(Json(chart)[QStringLiteral("julianDays")].toArray()[0].toDouble(), expected,
                    1e-9);
    }
}
