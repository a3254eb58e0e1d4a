#include "session/StateFile.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orbivex {

using enum AspectKind;
using enum ChartMode;
namespace {

StateFileContents SampleContents() {
    StateFileContents c;
    c.dateSets[0] = {5, 17, QStringLiteral("2024"), 25, 26};
    c.dateSets[1] = {12, 31, QStringLiteral("1984"), 1, 0};
    c.dateSets[2] = {0, 0, QString(), 0, 0};
    c.SelectMode(WorldTransits);
    c.stepUnitIndex = 1;
    c.useBoldface = true;
    c.boldfaceFactorIndex = 2;
    c.oneDegreeOfOrb = true;
    c.proportionOfOrb = false;
    c.divisorIndex = {2, 3};
    c.orbPosition = {10, 9, 6, 7, 5, 4, 5, 1};
    for (const AspectKind kind : AllAspectKinds) {
        c.aspectColour[Index(kind)] = AspectKinds[kind].defaultColour;
    }
    c.midpointOrbIndex = 2;
    return c;
}

const QByteArray SampleBytes = QByteArrayLiteral(" 5 \r\n 17 \r\n2024\r\n 25 \r\n 26 \r\n"
                                                 " 12 \r\n 31 \r\n1984\r\n 1 \r\n 0 \r\n"
                                                 " 0 \r\n 0 \r\n\r\n 0 \r\n 0 \r\n"
                                                 "#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n"
                                                 "#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n"
                                                 " 1 \r\n 1 \r\n 2 \r\n#TRUE#\r\n#FALSE#\r\n 2 \r\n"
                                                 "10\r\n9\r\n6\r\n7\r\n5\r\n4\r\n5\r\n1\r\n"
                                                 "65535\r\n16711935\r\n255\r\n65280\r\n"
                                                 "16776960\r\n16744576\r\n8421504\r\n"
                                                 " 2 \r\n 3 \r\n");

// The sample file with line `number` (1-based) replaced.
QByteArray WithLine(int number, const QByteArray& replacement) {
    QList<QByteArray> lines = SampleBytes.split('\n');
    lines[number - 1] = replacement + '\r';
    return lines.join('\n');
}

QByteArray FirstLines(int count) {
    const QList<QByteArray> lines = SampleBytes.split('\n');
    return lines.mid(0, count).join('\n') + '\n';
}

TEST(StateFile, WritesTheExactBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("state.pat"));
    ASSERT_EQ(MessageOf(WriteStateFile(path, SampleContents())), QString());
    EXPECT_EQ(test::ReadAll(path), SampleBytes);
    EXPECT_EQ(FormatStateFile(SampleContents()), SampleBytes);
}

TEST(StateFile, RoundTripsEveryValue) {
    StateFileContents c = SampleContents();
    c.dateSets[2] = {7, 4, QStringLiteral("1776"), 48, 47};
    c.dateSets[1].yearText = QStringLiteral(" 2,024 ");    // comma and edge spaces: quoted
    c.dateSets[0].yearText = QStringLiteral("19\u00e984"); // Latin-1 survives as a byte
    c.SelectMode(SynastryMode);
    c.stepUnitIndex = 4;
    c.useBoldface = false;
    c.boldfaceFactorIndex = 8;
    c.oneDegreeOfOrb = false;
    c.proportionOfOrb = true;
    c.divisorIndex = {0, 4};
    c.orbPosition = {0, 15, 1, 2, 3, 4, 5, 6};
    c.aspectColour = {0, 1, 16777215, 0, 255, 65280, 16711680, 12345};
    c.midpointOrbIndex = 7;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.pat"));
    ASSERT_EQ(MessageOf(WriteStateFile(path, c)), QString());
    const QByteArray bytes = test::ReadAll(path);
    EXPECT_EQ(bytes.count("\r\n"), 44);
    EXPECT_TRUE(bytes.contains("\r\n\" 2,024 \"\r\n"));
    EXPECT_TRUE(bytes.startsWith(" 5 \r\n 17 \r\n19\xe9"
                                 "84\r\n"));

    Expected<StateFileContents> read;
    ASSERT_EQ(MessageOf(read = ReadStateFile(path)), QString());
    EXPECT_EQ(read, c);
    EXPECT_EQ(read->SelectedMode(), SynastryMode);
}

TEST(StateFile, KeyedLinesFollowTheClassicOnesOnlyWhenUsed) {
    StateFileContents c = SampleContents();
    c.dateSets[0].typedMinute = 12 * 60 + 7;
    c.dateSets[2].typedMinute = 59;
    c.dateSets[2].zoneName = QStringLiteral("America/Argentina/Buenos_Aires");
    c.calendar = CalendarChoice::Auto;
    c.zodiac = ZodiacChoice::OfDate;
    const QByteArray bytes = FormatStateFile(c);
    EXPECT_EQ(bytes, SampleBytes + "calendar=auto\r\nzodiac=date\r\nworld.time=12:07\r\n"
                                   "birth2.time=00:59\r\n"
                                   "birth2.zone=America/Argentina/Buenos_Aires\r\n");
    Expected<StateFileContents> read;
    ASSERT_EQ(MessageOf(read = ParseStateFile(bytes)), QString());
    EXPECT_EQ(read, c);

    struct Case {
        const char* tail;
        const char* problem; // "" when the file reads
    };
    const Case cases[] = {
        {"future.key=whatever\r\nworld.time=12:07\r\n", ""}, // unknown keys are skipped
        {"\r\nnot a keyed line\r\n", ""},
        {"world.time=24:07\r\n", "Line 45 (world.time)"},
        {"birth1.time=noon\r\n", "Line 45 (birth1.time)"},
        {"world.zone=\r\n", "Line 45 (world.zone)"},
        {"world.zone=Europe/Paris\xa0\r\n", "Line 45 (world.zone)"}, // a no-break space
        {"calendar=mayan\r\n", "Line 45 (calendar)"},
        {"birth1.place=\r\n", "Line 45 (birth1.place)"},
        {"zodiac=sidereal\r\n", "Line 45 (zodiac)"},
        {"world.place=Lyon|||FR|Europe/Paris|45.7|4.8|0\r\n", ""},
        {"world.place=Lyon|||FR|Europe/Paris|45.7|4.8\r\n", "Line 45 (world.place)"},
        {"world.place=|||FR|Europe/Paris|45.7|4.8|0\r\n", "Line 45 (world.place)"},
        {"world.place=Lyon|||FR|Europe/Paris|95|4.8|0\r\n", "Line 45 (world.place)"},
        {"world.place=Lyon|||FR|Europe/Paris|nan|4.8|0\r\n", "Line 45 (world.place)"},
        {"birth2.atplace=yes\r\n", "Line 45 (birth2.atplace)"},
    };
    for (const Case& k : cases) {
        const QString problem = MessageOf(ParseStateFile(SampleBytes + k.tail));
        EXPECT_EQ(problem.isEmpty(), k.problem[0] == 0) << k.tail << problem.toStdString();
        if (!problem.isEmpty()) {
            EXPECT_TRUE(problem.startsWith(QString::fromUtf8(k.problem))) << problem.toStdString();
        }
    }
    c.dateSets[1].typedMinute = MinutesPerDay;
    EXPECT_FALSE(CheckStateFileContents(c));
    c.dateSets[1].typedMinute = -1;
    c.dateSets[1].place =
        Place{u"Grandma|s \u0142\u0105ka=village"_s, {}, {}, {}, u"Europe/Warsaw"_s, 50.1, 19.9, 0};
    c.dateSets[1].atPlace = true;
    ASSERT_EQ(MessageOf(ParseStateFile(FormatStateFile(c))), QString());
    EXPECT_EQ(ParseStateFile(FormatStateFile(c)), c) << "any name, through percent-encoding";
    c.dateSets[1].place->latitude = 91;
    EXPECT_FALSE(CheckStateFileContents(c)) << "a place the reader would refuse is not written";
}

TEST(StateFile, YearTextThatCannotBeStoredDoesNotBreakTheFile) {
    StateFileContents c = SampleContents();
    c.dateSets[0].yearText = QStringLiteral("20\r\n2\u5e744"); // line break, CJK: left out
    c.dateSets[1].yearText = QStringLiteral("\"1984");         // a leading quote cannot stay
    c.dateSets[2].yearText = QStringLiteral("19\"84");         // an inner one can
    const QByteArray bytes = FormatStateFile(c);
    EXPECT_EQ(bytes.count("\r\n"), 44);
    Expected<StateFileContents> read;
    ASSERT_EQ(MessageOf(read = ParseStateFile(bytes)), QString());
    EXPECT_EQ(read->dateSets[0].yearText, QStringLiteral("2024"));
    EXPECT_EQ(read->dateSets[1].yearText, QStringLiteral("1984"));
    EXPECT_EQ(read->dateSets[2].yearText, QStringLiteral("19\"84"));
}

TEST(StateFile, RefusesToWriteValuesTheReaderWouldReject) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("state.pat"));
    ASSERT_TRUE(test::WriteAll(path, "old"));
    StateFileContents c = SampleContents();
    c.dateSets[1].dayIndex = 32;
    EXPECT_TRUE(
        MessageOf(WriteStateFile(path, c)).contains(QStringLiteral("day of the first birthdate")));
    c = SampleContents();
    c.aspectColour[7] = -1;
    EXPECT_FALSE(WriteStateFile(path, c));
    c = SampleContents();
    c.dateSets[0].yearText = QString(StateFileContents::MaxYearTextLength + 1, QLatin1Char('1'));
    EXPECT_FALSE(WriteStateFile(path, c));
    EXPECT_EQ(test::ReadAll(path), QByteArray("old"));
}

TEST(StateFile, AcceptsTheLenientForms) {
    struct Case {
        int line;
        QByteArray text;
        std::function<bool(const StateFileContents&)> holds;
    };
    const std::vector<Case> cases = {
        {2, "17", [](const auto& c) { return c.dateSets[0].dayIndex == 17; }},
        {2, "\t 17  ,anything", [](const auto& c) { return c.dateSets[0].dayIndex == 17; }},
        {2, "+17", [](const auto& c) { return c.dateSets[0].dayIndex == 17; }},
        {1, "-1 ", [](const auto& c) { return c.dateSets[0].monthIndex == 0; }},
        {22, "-1 ", [](const auto& c) { return c.stepUnitIndex == 0; }},
        {5, " 54 ", [](const auto& c) { return c.dateSets[0].timezoneIndex == 54; }},
        {5, " 55 ", [](const auto& c) { return c.dateSets[0].timezoneIndex == 0; }},
        {10, " 32767 ", [](const auto& c) { return c.dateSets[1].timezoneIndex == 0; }},
        {15, "99999999999999999999999",
         [](const auto& c) { return c.dateSets[2].timezoneIndex == 0; }},
        {5, "-1", [](const auto& c) { return c.dateSets[0].timezoneIndex == 0; }},
        {17, "-1", [](const auto& c) { return c.modeOption[ModeNumber(NatalFirst)]; }},
        {16, " 0 ", [](const auto& c) { return !c.modeOption[ModeNumber(WorldTransits)]; }},
        {26, "#true#", [](const auto& c) { return c.proportionOfOrb; }},
        {3, "\"2,024\"", [](const auto& c) { return c.dateSets[0].yearText == u"2,024"_s; }},
        {3, "  1984  ", [](const auto& c) { return c.dateSets[0].yearText == u"1984"_s; }},
        {3, "1984,5", [](const auto& c) { return c.dateSets[0].yearText == u"1984"_s; }},
        {3, "\xe9t\xe9",
         [](const auto& c) { return c.dateSets[0].yearText == u"\u00e9t\u00e9"_s; }},
        {36, "0",
         [](const auto& c) {
             return c.aspectColour[1] == 0 && c.ColourOr(Conjunction, 123) == 123 &&
                    c.ColourOr(Opposition, 1) == 16711935;
         }},
    };
    for (const Case& test : cases) {
        Expected<StateFileContents> read;
        const QByteArray bytes = WithLine(test.line, test.text);
        EXPECT_EQ(MessageOf(read = ParseStateFile(bytes)), QString()) << test.text.constData();
        EXPECT_TRUE(test.holds(*read)) << "line " << test.line << ": " << test.text.constData();
    }
}

TEST(StateFile, RejectsMalformedLines) {
    const std::vector<std::pair<int, QByteArray>> cases = {
        {1, "abc"},
        {1, " 13 "},
        {2, " 32 "},
        {2, ""},
        {2, " 5 x"},
        {2, "5.5"},
        {2, "-"},
        {2, "99999999999999999999"},
        {3, "\"2024"},
        {3, "\"2024\" x"},
        {3, "20\x01"
            "24"},
        {4, " 49 "},
        {5, " -2 "},
        {16, "#MAYBE#"},
        {16, ""},
        {22, " 5 "},
        {23, " 2 "},
        {23, "-1"},
        {24, " 9 "},
        {27, " 5 "},
        {28, "16"},
        {35, "-1"},
        {36, "16777216"},
        {42, "-1"},
        {43, " 8 "},
        {44, " 5 "},
        {44, "x"},
        {12, QByteArray(2000, '1')},
        {3, QByteArray(StateFileContents::MaxYearTextLength + 1, '1')},
    };
    for (const auto& [line, text] : cases) {
        const QString problem = MessageOf(ParseStateFile(WithLine(line, text)));
        EXPECT_TRUE(problem.startsWith(QStringLiteral("Line %1 ").arg(line)))
            << "line " << line << " \"" << text.left(40).constData()
            << "\" gave: " << problem.toStdString();
    }
}

TEST(StateFile, LineCountAndLineEnds) {
    EXPECT_TRUE(
        MessageOf(ParseStateFile(FirstLines(30))).contains(QStringLiteral("after line 30")));
    EXPECT_NE(MessageOf(ParseStateFile(FirstLines(42))), QString());
    EXPECT_NE(MessageOf(ParseStateFile(QByteArray())), QString());

    Expected<StateFileContents> read;

    // Without the last line the synastry divisor copies the personal-transits one.
    ASSERT_EQ(MessageOf(read = ParseStateFile(FirstLines(43))), QString());
    EXPECT_EQ(read->divisorIndex[1], 2);
    ASSERT_EQ(MessageOf(read = ParseStateFile(FirstLines(43) + "  \r\n")), QString());
    EXPECT_EQ(read->divisorIndex[1], 2);

    // LF alone, no end after the last line, and lines beyond the 44th are all fine.
    QByteArray unixEnds = SampleBytes;
    unixEnds.replace("\r\n", "\n");
    ASSERT_EQ(MessageOf(read = ParseStateFile(unixEnds)), QString());
    EXPECT_EQ(read, SampleContents());
    ASSERT_EQ(MessageOf(read = ParseStateFile(SampleBytes.chopped(2))), QString());
    EXPECT_EQ(read, SampleContents());
    ASSERT_EQ(MessageOf(read = ParseStateFile(SampleBytes + "extra\r\n")), QString());
    EXPECT_EQ(read, SampleContents());
}

TEST(StateFile, AbsurdFilesGiveAMessage) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.pat"));
    EXPECT_TRUE(MessageOf(ReadStateFile(missing)).contains(QStringLiteral("missing.pat")));
    EXPECT_NE(MessageOf(ReadStateFile(dir.path())), QString());

    const QString huge = dir.filePath(QStringLiteral("huge.pat"));
    ASSERT_TRUE(test::WriteAll(huge, SampleBytes + QByteArray(8 * 1024 * 1024, ' ')));
    EXPECT_TRUE(MessageOf(ReadStateFile(huge)).contains(QStringLiteral("larger")));

    QByteArray garbage;
    for (int i = 0; i < 4000; ++i) {
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    }
    const QString binary = dir.filePath(QStringLiteral("binary.pat"));
    ASSERT_TRUE(test::WriteAll(binary, garbage));
    EXPECT_NE(MessageOf(ReadStateFile(binary)), QString());
}

TEST(StateFile, FailedSaveKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("state.pat"));
    ASSERT_TRUE(test::WriteAll(existing, SampleBytes));

    // The path is a folder.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.pat")));
    EXPECT_FALSE(WriteStateFile(dir.filePath(QStringLiteral("folder.pat")), SampleContents()));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("folder.pat"))).isDir());
    // The parent is a file, or missing.
    EXPECT_FALSE(WriteStateFile(existing + QStringLiteral("/inner.pat"), SampleContents()));
    EXPECT_FALSE(
        WriteStateFile(dir.filePath(QStringLiteral("no/such/folder.pat")), SampleContents()));
    EXPECT_EQ(test::ReadAll(existing), SampleBytes);
}

TEST(StateFile, SelectedModeIsTheLastOptionOn) {
    StateFileContents c;
    EXPECT_EQ(c.SelectedMode(), NoChartMode);
    c.modeOption[ModeNumber(NatalSecond)] = true;
    c.modeOption[ModeNumber(WorldTransits)] = true;
    EXPECT_EQ(c.SelectedMode(), NatalSecond);
    c.SelectMode(PersonalFirst);
    EXPECT_EQ(c.SelectedMode(), PersonalFirst);
    EXPECT_FALSE(c.modeOption[ModeNumber(NatalSecond)]);
}

} // namespace
} // namespace orbivex
