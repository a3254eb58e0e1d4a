#include "support/StrProc.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

TEST(DigitsOnly, KeepsDigitsAndOnlyAnAllowedLeadingSign) {
    EXPECT_EQ(DigitsOnly(QStringLiteral("19a8-4"), true, true), u"1984"_s);
    EXPECT_EQ(DigitsOnly(QStringLiteral("-500"), false, false), u"500"_s);
    EXPECT_EQ(DigitsOnly(QStringLiteral("-500"), true, false), u"-500"_s);
    EXPECT_EQ(DigitsOnly(QStringLiteral("+500"), true, false), u"500"_s);
    EXPECT_EQ(DigitsOnly(QStringLiteral("+500"), false, true), u"+500"_s);
    // Only the first kept character may be a sign; later signs are dropped.
    EXPECT_EQ(DigitsOnly(QStringLiteral("--5"), true, true), u"-5"_s);
    EXPECT_EQ(DigitsOnly(QStringLiteral("+-5"), true, true), u"+5"_s);
    // A sign after dropped letters is still the leading kept character.
    EXPECT_EQ(DigitsOnly(QStringLiteral("x-7"), true, false), u"-7"_s);
    EXPECT_EQ(DigitsOnly(QStringLiteral(" 2,024 "), false, false), u"2024"_s);
    EXPECT_EQ(DigitsOnly(QString(), true, true), u""_s);
    EXPECT_EQ(DigitsOnly(QStringLiteral("abc"), true, true), u""_s);
    // Digits of other scripts are not the ASCII digits a year is read from.
    EXPECT_EQ(DigitsOnly(QStringLiteral("\u0661\u0662 3"), false, false), u"3"_s);
}

TEST(NumberInWords, WordsUpToNinetyNineThenGroupedDigits) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const std::pair<int, const char*> cases[] = {
        {0, "No"},           {1, "One"},     {13, "Thirteen"},    {20, "Twenty"},
        {21, "Twenty one"},  {30, "Thirty"}, {47, "Forty seven"}, {80, "Eighty"},
        {99, "Ninety nine"}, {100, "100"},   {1234, "1,234"},     {2147483647, "2,147,483,647"},
    };
    for (const auto& [n, words] : cases) {
        EXPECT_EQ(NumberInWords(n, english), QString::fromUtf8(words)) << n;
    }
    EXPECT_EQ(NumberInWords(1234, QLocale(QLocale::German, QLocale::Germany)), u"1.234"_s);
    EXPECT_EQ(NumberInWords(-3, english), u"-3"_s);
}

TEST(Padding, PadsWithSpacesButNeverCuts) {
    EXPECT_EQ(PadLeft(QStringLiteral("7"), 2), u" 7"_s);
    EXPECT_EQ(PadRight(QStringLiteral("7"), 3), u"7  "_s);
    EXPECT_EQ(PadLeft(QStringLiteral("123"), 2), u"123"_s);
    EXPECT_EQ(PadRight(QStringLiteral("123"), 2), u"123"_s);
    EXPECT_EQ(PadLeft(QStringLiteral("12"), 2), u"12"_s);
    EXPECT_EQ(PadLeft(QStringLiteral("ab"), -1), u"ab"_s);
    EXPECT_EQ(PadRight(QStringLiteral("ab"), -5), u"ab"_s);
    EXPECT_EQ(PadLeft(QString(), 3), u"   "_s);
    EXPECT_EQ(PadRight(QString(), 0), u""_s);
}
