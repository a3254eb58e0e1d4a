#include "calendar/DateInput.h"
#include "cli/CliRun.h"
#include "common/TestSupport.h"
#include "present/Messages.h"
#include "support/ProgramTexts.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

namespace {

using test::CliResult;

// Runs "orbivex-cli date ARGS" with the computer's time zone set to timeZone.
CliResult RunDate(const QStringList& arguments, const QString& timeZone = QStringLiteral("UTC"),
                  const QString& program = QStringLiteral(ORBIVEX_CLI_PATH)) {
    return test::RunCli(QStringList{QStringLiteral("date")} + arguments, timeZone, program);
}

QStringList Date(const char* year, const char* month, const char* day) {
    return {QStringLiteral("--year"), QString::fromUtf8(year), QStringLiteral("--month"),
            QString::fromUtf8(month), QStringLiteral("--day"), QString::fromUtf8(day)};
}

QStringList With(QStringList arguments, const char* option, const char* value) {
    arguments << QString::fromUtf8(option) << QString::fromUtf8(value);
    return arguments;
}

QJsonObject JsonOf(const CliResult& run) {
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

// The date-error message the program shows for the world date and this error.
QString DateErrorMessage(DateError error) {
    ProgramTexts texts;
    const int loaded = texts.Load(test::ProgramFolder() + QStringLiteral("/orbx.dat"));
    EXPECT_GT(loaded, 0);
    return ReportDateError(texts, WorldDate, error).message;
}

} // namespace

TEST(DateCommand, ConvertsAWorldDate) {
    CliResult run =
        RunDate(With(With(Date("2000", "1", "1"), "--hour", "00:00"), "--zone", "GMT+1:00"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"Julian date (UT):  2451544.458333\n"
                       "Local Julian date: 2451545.000000\n"
                       "Date:              January 1, 2000, 00:00 (GMT+1:00)\n"_s);

    QStringList arguments =
        With(With(Date(" 2,024 ", "January", "5"), "--hour", "13:30"), "--zone", "-05:00");
    arguments << QStringLiteral("--json");
    run = RunDate(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject json = JsonOf(run);
    EXPECT_NEAR(json.value(QStringLiteral("julianDay")).toDouble(), 2460314.5 + (13.5 + 5.0) / 24.0,
                1e-9);
    EXPECT_NEAR(json.value(QStringLiteral("localJulianDay")).toDouble(), 2460315.0 + 13.5 / 24.0,
                1e-9);
    EXPECT_EQ(json.value(QStringLiteral("text")).toString(),
              u"January 5, 2024, 13:30 (GMT-5:00)"_s);
}

TEST(DateCommand, NorthAmericanNameConvertsAsItsOffset) {
    QStringList named = With(With(Date("2024", "3", "1"), "--hour", "08:00"), "--zone", "EST/CDT");
    QStringList plain = With(With(Date("2024", "3", "1"), "--hour", "08:00"), "--zone", "GMT-5:00");
    named << QStringLiteral("--json");
    plain << QStringLiteral("--json");
    const CliResult namedRun = RunDate(named);
    const CliResult plainRun = RunDate(plain);
    ASSERT_EQ(namedRun.exitCode, 0) << namedRun.err.toStdString();
    ASSERT_EQ(plainRun.exitCode, 0) << plainRun.err.toStdString();
    EXPECT_EQ(JsonOf(namedRun).value(QStringLiteral("julianDay")).toDouble(),
              JsonOf(plainRun).value(QStringLiteral("julianDay")).toDouble());
    EXPECT_EQ(JsonOf(namedRun).value(QStringLiteral("text")).toString(),
              u"March 1, 2024, 08:00 (EST/CDT)"_s);
}

TEST(DateCommand, MissingHourAndZoneTakeTheDefaultsOfTheComputer) {
    const struct {
        const char* computerZone;
        const char* out;
    } cases[] = {
        {"Asia/Kathmandu", "Julian date (UT):  2451544.760417\n"
                           "Local Julian date: 2451545.500000\n"
                           "Date:              January 1, 2000, 12:00 (GMT+5:45)\n"},
        {"Etc/GMT-13", "Julian date (UT):  2451544.458333\n"
                       "Local Julian date: 2451545.500000\n"
                       "Date:              January 1, 2000, 12:00 (GMT+13:00)\n"},
        // -12:00 has no entry in the list: the empty zone counts as Greenwich.
        {"Etc/GMT+12", "Julian date (UT):  2451545.000000\n"
                       "Local Julian date: 2451545.500000\n"
                       "Date:              January 1, 2000, 12:00 ()\n"},
    };
    for (const auto& c : cases) {
        const CliResult run = RunDate(Date("2000", "1", "1"), QString::fromUtf8(c.computerZone));
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QString::fromUtf8(c.out)) << c.computerZone;
    }
}

// The other faults are checked for every command alike (ZoneOptionTest.cpp); only this
// command can leave a date incomplete.
TEST(DateCommand, AnIncompleteDateGivesTheProgramsMessage) {
    const CliResult run = RunDate(Date("", "1", "1"));
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, u""_s);
    EXPECT_EQ(run.err, DateErrorMessage(DateError::Incomplete) + QLatin1Char('\n'));
}

TEST(DateCommand, BadOptionsAreUsageErrorsThatSayWhatIsWrong) {
    struct Case {
        QStringList arguments;
        const char* mentions;
    };
    const Case cases[] = {
        {QStringList{QStringLiteral("--month"), QStringLiteral("1"), QStringLiteral("--day"),
                     QStringLiteral("1")},
         "--year"},
        {Date("2000", "13", "1"), "--month"},
        {Date("2000", "0", "1"), "--month"},
        {Date("2000", "Smarch", "1"), "--month"},
        {Date("2000", "1", "32"), "--day"},
        {Date("2000", "1", "x"), "--day"},
        {With(Date("2000", "1", "1"), "--hour", "10:60"), "--hour"},
        {With(Date("2000", "1", "1"), "--hour", "24:00"), "--hour"},
        {With(Date("2000", "1", "1"), "--zone", "GMT-12:00"), "--zone"},
        {With(Date("2000", "1", "1"), "--zone", "Mars"), "--zone"},
        {With(Date("2000", "1", "1"), "--colour", "red"), "colour"},
        {Date("2000", "1", "1") << QStringLiteral("extra"), "extra"},
    };
    for (const Case& c : cases) {
        const CliResult run = RunDate(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.mentions))) << run.err.toStdString();
        EXPECT_EQ(run.out, u""_s);
    }
}

TEST(DateCommand, MessagesComeFromTheTextFileBesideTheProgram) {
    // A copy of the program in a folder of its own, first without a text file, then with one.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("orbivex-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORBIVEX_CLI_PATH), program));

    CliResult run = RunDate(Date("2023", "2", "29"), QStringLiteral("UTC"), program);
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(run.err.contains(folder.filePath(QStringLiteral("orbx.dat"))))
        << run.err.toStdString();
    // A date that converts does not need the texts.
    run = RunDate(Date("2023", "2", "28"), QStringLiteral("UTC"), program);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();

    ASSERT_TRUE(test::WriteAll(folder.filePath(QStringLiteral("orbx.dat")),
                               "4 en World date\n"
                               "4 de Weltdatum\n"
                               "145 en is incomplete.\n"
                               "146 en does not exist.\n"
                               "147 en lies before year 1.\n"
                               "148 en lies after 2799.\n"
                               "153 en Date error\n"));
    const std::pair<QStringList, const char*> cases[] = {
        {Date("", "1", "1"), "World date is incomplete.\n"},
        {Date("2023", "2", "29"), "World date does not exist.\n"},
        {Date("0", "1", "1"), "World date lies before year 1.\n"},
        {Date("12345678901234567890", "1", "1"), "World date lies after 2799.\n"},
    };
    for (const auto& [arguments, message] : cases) {
        run = RunDate(arguments, QStringLiteral("UTC"), program);
        EXPECT_EQ(run.exitCode, 3);
        EXPECT_EQ(run.err, QString::fromUtf8(message));
        EXPECT_EQ(run.out, u""_s);
    }
}
