#include "cli/CliRun.h"
#include "common/TestSupport.h"
#include "core/AngleFormat.h"
#include "core/Bodies.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using orbivex::test::CliResult;
using orbivex::test::RunCli;

namespace {

CliResult Chart(QStringList arguments) {
    return RunCli(QStringList{QStringLiteral("chart")} + arguments);
}

QJsonObject Json(const CliResult& run) {
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

int BodyOf(const QString& name) {
    for (const orbivex::BodyIndex body : orbivex::AllBodies) {
        if (orbivex::BodyName(body) == name) {
            return orbivex::BodyNumber(body);
        }
    }
    return 0;
}

orbivex::AspectKind KindOf(const QString& name) {
    for (const orbivex::AspectKind kind : orbivex::AllAspectKinds) {
        if (orbivex::AspectName(kind).toLower() == name) {
            return kind;
        }
    }
    return orbivex::AspectKind::NoAspect;
}

} // namespace

TEST(ChartCommand, TextShowsTitleGridRowsAndReport) {
    const CliResult run = Chart({u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20 12:00 GMT"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    ASSERT_GT(lines.size(), 13);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Heliocentric world transits.")));
    EXPECT_EQ(lines[1], u""_s);
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("180°2' 0Lib2 | ")));
    EXPECT_EQ(lines[3].count(QStringLiteral(" | ")), 8); // nine cells in every row
    // Bodies by their abbreviations, never by the letters of the symbol font.
    EXPECT_EQ(lines[3], QStringLiteral("Ea | Me | Ve | Ma | Ju | Sa | Ur | Ne | Pl"));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("Ea | Sqr 4°58' + | ")));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral(" | Me | "))); // hidden cells are empty
    EXPECT_TRUE(run.out.contains(QStringLiteral("\n13 aspects in all.\n")));

    const CliResult symbols = Chart({u"--mode"_s, u"synastry"_s, u"--birth1"_s, u"1970-06-15"_s,
                                     u"--birth2"_s, u"1985-11-02"_s, u"--symbols"_s});
    ASSERT_EQ(symbols.exitCode, 0) << symbols.err.toStdString();
    const QStringList rows = symbols.out.split(QLatin1Char('\n'));
    EXPECT_TRUE(rows[3].endsWith(QStringLiteral(" | ♁ | ☿ | ♀ | ♂ | ♃ | ♄ | ♅ | ♆ | ♇")));
    EXPECT_TRUE(rows[4].contains(QStringLiteral(" | ♁ | "))) << rows[4].toStdString();
}

// Venus-Jupiter-Mars-Saturn and Venus-Uranus-Mars-Saturn share the opposition Mars-Saturn.
TEST(ChartCommand, EachRectangleIsListedAndCountedOnce) {
    const QStringList world{u"--mode"_s, u"world"_s, u"--world"_s, u"1609-06-15 12:00 GMT"_s};
    const CliResult text = Chart(world);
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_EQ(text.out.count(QStringLiteral("Rectangle: ")), 2);
    EXPECT_TRUE(text.out.contains(QStringLiteral("Rectangle: Ve-Ju-Ma-Sa (mean orb 3°20')\n"
                                                 "Rectangle: Ve-Ur-Ma-Sa (mean orb 3°31')\n\n")));
    const CliResult json = Chart(world + QStringList{u"--json"_s});
    int rectangles = 0;
    for (const QJsonValue& pattern : Json(json)[QStringLiteral("patterns")].toArray()) {
        rectangles += pattern[QStringLiteral("pattern")] == QStringLiteral("rectangle") ? 1 : 0;
    }
    EXPECT_EQ(rectangles, 2);
}

// The JSON holds what the grid shows: each aspect in its cell, with its kind, orb and motion.
TEST(ChartCommand, JsonAspectsAreTheGridsAspects) {
    const QStringList charts[] = {
        {u"--mode"_s, u"world"_s, u"--world"_s, u"1609-06-15 12:00 GMT"_s},
        {u"--mode"_s, u"natal1"_s, u"--birth1"_s, u"1970-06-15 06:30 +01:00"_s},
        {u"--mode"_s, u"personal1"_s, u"--world"_s, u"2024-03-20"_s, u"--birth1"_s,
         u"1970-06-15 06:30 +01:00"_s},
        {u"--mode"_s, u"synastry"_s, u"--birth1"_s, u"1970-06-15"_s, u"--birth2"_s,
         u"1985-11-02"_s},
    };
    for (const QStringList& arguments : charts) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const CliResult text = Chart(arguments);
        const CliResult json = Chart(arguments + QStringList{u"--json"_s});
        ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
        const QStringList rows = text.out.split(QLatin1Char('\n')).mid(2);
        const QJsonObject chart = Json(json);
        const bool twoSets = chart[QStringLiteral("positions")][QStringLiteral("second")].isArray();
        const QJsonArray aspects = chart[QStringLiteral("aspects")].toArray();
        EXPECT_EQ(aspects.size(), chart[QStringLiteral("counts")][QStringLiteral("total")].toInt());
        int cells = 0;
        for (const QString& row : rows) {
            cells +=
                static_cast<int>(row.count(QRegularExpression(QStringLiteral("[-+] ?( \\||$)"))));
        }
        for (const QJsonValue& value : aspects) {
            const int first = BodyOf(value[QStringLiteral("first")].toString());
            const int second = BodyOf(value[QStringLiteral("second")].toString());
            const int row = twoSets ? second + 1 : first + 1;
            const int column = twoSets ? first + 1 : second - 1;
            const QString motion = value[QStringLiteral("motion")].toString();
            const orbivex::AspectKind kind = KindOf(value[QStringLiteral("aspect")].toString());
            const QString expected = orbivex::AspectAbbreviation(kind) + QLatin1Char(' ') +
                                     orbivex::FormatDegreesMinutes(orbivex::DegreesToRadians(
                                         value[QStringLiteral("orb")].toDouble())) +
                                     (motion == QLatin1String("applying")     ? QStringLiteral(" -")
                                      : motion == QLatin1String("separating") ? QStringLiteral(" +")
                                                                              : QString());
            EXPECT_EQ(rows.value(row).split(QStringLiteral(" | ")).value(column), expected);
            EXPECT_EQ(value[QStringLiteral("angle")].toInt(),
                      static_cast<int>(
                          orbivex::AspectKinds[static_cast<std::size_t>(kind)].angleDegrees));
        }
        if (!twoSets) {
            EXPECT_EQ(cells, aspects.size()); // no aspect of the grid is missing
        }
    }
}

TEST(ChartCommand, StateFileGivesDatesModeAndSettingsAndOptionsOverrideIt) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("natal.pat"));
    QByteArray file;
    const char* lines[] = {
        " 3 ",      " 20 ",    "2024",    " 25 ",    " 24 ",     " 6 ", " 15 ",  "1970",
        " 14 ",     " 26 ",    " 0 ",     " 0 ",     "",         " 0 ", " 0 ",   "#FALSE#",
        "#TRUE#",   "#FALSE#", "#FALSE#", "#FALSE#", "#FALSE#",  " 1 ", " 1 ",   " 2 ",
        "#TRUE#",   "#FALSE#", " 2 ",     "2",       "2",        "2",   "2",     "2",
        "2",        "2",       "1",       "65535",   "16711935", "255", "65280", "16776960",
        "16744576", "8421504", " 2 ",     " 2 "};
    for (const char* line : lines) {
        file += QByteArray(line) + "\r\n";
    }
    ASSERT_TRUE(orbivex::test::WriteAll(path, file));
    const CliResult natal = Chart({u"--state"_s, path, u"--json"_s});
    ASSERT_EQ(natal.exitCode, 0) << natal.err.toStdString();
    EXPECT_EQ(Json(natal)[QStringLiteral("mode")].toString(), QStringLiteral("natal1"));
    EXPECT_TRUE(Json(natal)[QStringLiteral("title")].toString().contains(QStringLiteral("2°")));

    const CliResult world = Chart({u"--state"_s, path, u"--mode"_s, u"world"_s, u"--json"_s});
    ASSERT_EQ(world.exitCode, 0);
    EXPECT_EQ(Json(world)[QStringLiteral("dates")].toObject(),
              QJsonDocument::fromJson(
                  R"({"world": {"text": "2024-03-20 12:00 GMT", "julianDay": 2460390.0,
                                "place": null, "localMeanTime": false}})")
                  .object());
}

TEST(ChartCommand, BadInputIsRefusedWithItsExitStatus) {
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{u"--mode"_s, u"galactic"_s}, 2, "unknown mode"},
        {{u"--world"_s, u"2024-03-20"_s}, 2, "--mode is required"},
        {{u"--mode"_s, u"world"_s, u"--world"_s, u"2024-13-01"_s}, 2, "month"},
        {{u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20 10:75"_s}, 2, "does not exist"},
        {{u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20 10:00 GMT+12:30"_s}, 2, "zone"},
        {{u"--mode"_s, u"world"_s, u"--world"_s, u"2023-02-29"_s}, 3, "does not exist"},
        {{u"--mode"_s, u"world"_s, u"--world"_s, u"2800-01-01"_s}, 3, "2800"},
        {{u"--mode"_s, u"natal2"_s}, 3, "2nd birthdate"},
        {{u"--state"_s, u"/nonexistent/x.pat"_s}, 4, "x.pat"},
    };
    for (const Case& c : cases) {
        const CliResult run = Chart(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
            << c.arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, u""_s);
    }
}
