// Checks the program-text file that ships with the program: it loads, every number the program
// asks for has an English text, and the captions and replaceable words are as the code expects.
#include "support/Mnemonic.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

using namespace orbivex;

namespace {

// Every text number the program asks for, as inclusive ranges.
const std::vector<std::pair<int, int>> NumbersInUse{
    {1, 43},    {51, 53},   {56, 62},   {64, 91},   {95, 106},  {117, 117}, {120, 122},
    {126, 135}, {145, 149}, {153, 157}, {159, 162}, {165, 166}, {168, 179}, {184, 185},
    {253, 253}, {310, 311}, {342, 351}, {354, 362}, {364, 364}, {368, 369}, {372, 372},
    {382, 387}, {390, 391}, {395, 396}, {398, 399}, {402, 402}, {430, 435},
};

ProgramTexts LoadShippedTexts() {
    ProgramTexts texts;
    const QString path = QDir(test::ProgramFolder()).filePath(QStringLiteral("orbx.dat"));
    const int result = texts.Load(path);
    EXPECT_GT(result, 0) << texts.LastLoadFailure().toStdString();
    return texts;
}

} // namespace

TEST(ShippedTextFile, EveryNumberInUseHasAnEnglishText) {
    const ProgramTexts texts = LoadShippedTexts();
    for (const auto& [first, last] : NumbersInUse) {
        for (int number = first; number <= last; ++number) {
            EXPECT_TRUE(texts.HasText(number)) << "text " << number;
            EXPECT_FALSE(texts.ProgramText(number).trimmed().isEmpty()) << "text " << number;
        }
    }
}

TEST(ShippedTextFile, CaptionsAreTheLayoutCaptions) {
    const ProgramTexts texts = LoadShippedTexts();
    const std::pair<int, const char*> captions[] = {
        {text::ProgramName, "Orbivex"},
        {text::FirstDateSetName, "World date"},
        {5, "1st birthdate"},
        {6, "2nd birthdate"},
        {8, "Clear"},
        {9, "World transits"},
        {10, "Natal aspects 1st birthdate"},
        {11, "Natal aspects 2nd birthdate"},
        {12, "Personal transits 1st birthdate"},
        {13, "Personal transits 2nd birthdate"},
        {14, "Synastry"},
        {15, "Save"},
        {16, "Quit"},
        {text::Help, "Help"},
        {18, "Now"},
        {19, "Compute"},
        {20, "Configure"},
        {21, "Forward"},
        {22, "Back"},
        {text::Run, "Run"},
        {37, "Display chart"},
        {38, "Report"},
        {39, "Save as ..."},
        {40, "Load from ..."},
        {117, "Cancel"},
        {120, "Run quickly"},
        {121, "Find at least"},
        {161, "personal transits"},
        {354, "Select orbs for world transits and natal aspects."},
        {355, "Left-click on lines to cycle through 12 colors."},
        {356, "Right-click to toggle inclusion of an aspect."},
        {357, "Proportion of above orbs for use with"},
        {358, "Set all non-zero orbs to:"},
        {359, "Orb for midpoints"},
        {360, "Use boldface when separation is less than"},
        {361, "1 degree"},
        {362, "of orb"},
        {364, "Display North American timezones"},
        {368, "Reset to default"},
        {369, "Use settings"},
        {372, "Hide"},
        {398, "Restore"},
    };
    for (const auto& [number, caption] : captions) {
        // The words stand; captions of buttons and options add their keyboard letter.
        EXPECT_EQ(WithoutMnemonic(texts.ProgramText(number)), QString::fromUtf8(caption))
            << "text " << number;
    }
}

TEST(ShippedTextFile, ReplaceableWordsArePresent) {
    const ProgramTexts texts = LoadShippedTexts();
    // 127: every "N" becomes the total, so it must hold exactly one.
    EXPECT_EQ(texts.ProgramText(127).count(QLatin1Char('N')), 1);
    EXPECT_EQ(texts.ProgramText(127).replace(QLatin1Char('N'), QStringLiteral("12")),
              u"12 aspects in all."_s);
    EXPECT_EQ(texts.ProgramText(73).count(QStringLiteral("20")), 1);
    EXPECT_TRUE(texts.ProgramText(73).contains(QStringLiteral("[natal chart]")));
    EXPECT_TRUE(texts.ProgramText(72).contains(QStringLiteral("[natal chart]")));
    EXPECT_TRUE(texts.ProgramText(80).contains(QStringLiteral("[5 degrees]")));
    for (const char* word : {"[date]", "[time]", "[exactness]"}) {
        EXPECT_TRUE(texts.ProgramText(349).contains(QString::fromLatin1(word))) << word;
    }
    EXPECT_TRUE(texts.ProgramText(391).contains(QStringLiteral("NEW_ORB")));
    EXPECT_TRUE(texts.ProgramText(26).contains(QStringLiteral(" degrees")));
    // The date-error texts follow the name of the date set.
    EXPECT_EQ(texts.ProgramText(4) + QLatin1Char(' ') + texts.ProgramText(145),
              u"World date is incomplete: enter the year and choose the month and the day."_s);
}

// Every named text number whose comment quotes its text has that text in the shipped file (a
// quote ending in "..." gives the text's beginning).
TEST(ShippedTextFile, NamedTextNumbersHoldTheTextsTheirCommentsQuote) {
    const ProgramTexts texts = LoadShippedTexts();
    QFile header(QStringLiteral(ORBIVEX_TEXT_NUMBERS_HEADER));
    ASSERT_TRUE(header.open(QIODevice::ReadOnly | QIODevice::Text));
    const QRegularExpression named(
        QStringLiteral(R"re(constexpr int (\w+) = (\d+);\s*// "(.*)"$)re"));
    int checked = 0;
    for (const QString& line : QString::fromUtf8(header.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = named.match(line.trimmed());
        if (!match.hasMatch()) {
            continue;
        }
        QString quoted = match.captured(3);
        quoted.replace(QStringLiteral("\\\""), QStringLiteral("\""));
        const QString text = texts.ProgramText(match.captured(2).toInt());
        const bool cut = quoted.endsWith(QStringLiteral("..."));
        EXPECT_TRUE(cut ? text.startsWith(quoted.chopped(3)) : text == quoted)
            << match.captured(1).toStdString() << ": " << text.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 80);
}
