#include "support/ProgramTexts.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

namespace {

class TextFile : public ::testing::Test {
  protected:
    // Writes the bytes to a fresh file and loads it into `texts`.
    int LoadBytes(const QByteArray& bytes) {
        const QString path = PathOf("orbx.dat");
        EXPECT_TRUE(test::WriteAll(path, bytes));
        return texts.Load(path);
    }
    QString PathOf(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    ProgramTexts texts;
};

} // namespace

TEST_F(TextFile, LoadsLanguagesCommentsAndBlankLines) {
    const int result = LoadBytes("\xEF\xBB\xBF# Captions\r\n"
                                 "\r\n"
                                 "19 en Compute\r\n"
                                 "19 de Berechnen\r\n"
                                 "   # an indented comment\n"
                                 "126 en ~\n"
                                 "145 en is incomplete: year, month and day are needed.\n"
                                 "200 en   indented  \n"
                                 "300 fr Fran\xC3\xA7\x61is"); // no line break at the end
    EXPECT_EQ(result, 6);
    EXPECT_EQ(texts.size(), 6);
    EXPECT_EQ(texts.LastLoadFailure(), u""_s);
    EXPECT_EQ(texts.ProgramText(19), u"Compute"_s);
    EXPECT_EQ(texts.ProgramTextIn(19, LanguageOfCode(u"de")), u"Berechnen"_s);
    EXPECT_EQ(texts.ProgramTextIn(300, LanguageOfCode(u"fr")), QStringLiteral("Français"));
    EXPECT_EQ(texts.ProgramText(300), u""_s); // no English text
    EXPECT_EQ(texts.ProgramText(126), u""_s); // "~" is the empty text
    EXPECT_TRUE(texts.HasText(126));          // ... but it is there
    EXPECT_FALSE(texts.HasText(127));
    EXPECT_EQ(texts.ProgramText(200), u"  indented  "_s); // blanks after one separator
    EXPECT_EQ(texts.ProgramText(145), u"is incomplete: year, month and day are needed."_s);
    EXPECT_EQ(texts.ProgramText(0), u""_s);
    EXPECT_EQ(texts.ProgramTextIn(19, 7), u""_s);
}

TEST_F(TextFile, LineFaultsGiveTheirCodeAndTheLineNumber) {
    const QByteArray longText(MaxProgramTextLength + 1, 'x');
    const QByteArray fullText(MaxProgramTextLength, 'x');
    struct Case {
        QByteArray bytes;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"# head\n1 en One\n2 en Two\n1 en Again\n", -1504, "Duplicate in program text at line 4."},
        {"1 en One\n\n2 en " + longText + "\n", -1003, "String too long at line 3."},
        {"1 en One\n2 en\n", -502, "Missing string at line 2."},
        {"1 en One\n2 en    \r\n", -502, "Missing string at line 2."},
        {"x1 en One\n", ProgramTextMalformedLine,
         "Malformed program text at line 1: \"x1\" is not a text number."},
        {"1 en One\n0 en Zero\n", ProgramTextMalformedLine,
         "Malformed program text at line 2: text number 0 is outside 1 to 32767."},
        {"99999999999999999999 en Big\n", ProgramTextMalformedLine,
         "Malformed program text at line 1: text number 99999999999999999999 is outside 1 to "
         "32767."},
        {"1 en One\n2\n", ProgramTextMalformedLine,
         "Malformed program text at line 2: no language code after the text number."},
        {"1 EN One\n", ProgramTextMalformedLine,
         "Malformed program text at line 1: unknown language code \"EN\"."},
        {"1 en One\n2 en Bad \xFF byte\n", ProgramTextMalformedLine,
         "Malformed program text at line 2: not UTF-8 text."},
        {"x1 en One\n2 en Bad \xFF byte\n", ProgramTextMalformedLine,
         "Malformed program text at line 1: \"x1\" is not a text number."},
        {"1 en One\r\n2 en Fine \xC3\xA9\r\n3 en Cut \xC3\n", ProgramTextMalformedLine,
         "Malformed program text at line 3: not UTF-8 text."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.left(40).toStdString());
        EXPECT_EQ(LoadBytes(c.bytes), c.code);
        EXPECT_EQ(texts.LastLoadFailure(), QString::fromLatin1(c.message));
        EXPECT_EQ(texts.size(), 0);
    }
    // The same number in two languages is no duplicate; a text of exactly the limit loads.
    EXPECT_EQ(LoadBytes("1 en One\n1 de Eins\n2 en " + fullText + "\n"), 3);
}

TEST_F(TextFile, FileFaultsAndAFailedLoadKeepsTheTextsBefore) {
    ASSERT_EQ(LoadBytes("5 en Five\n"), 1);

    EXPECT_EQ(texts.Load(PathOf("missing.dat")), ProgramTextCannotOpen);
    EXPECT_EQ(texts.LastLoadFailure(),
              u"Cannot open file containing program text.\r\n"_s + PathOf("missing.dat"));
    EXPECT_EQ(texts.Load(dir.path()), ProgramTextCannotOpen); // a folder is no file
    EXPECT_EQ(LoadBytes(""), ProgramTextEmptyFile);
    EXPECT_EQ(texts.LastLoadFailure(), u"File is empty."_s);
    EXPECT_EQ(LoadBytes("# only a comment\n\n"), NoProgramText);
    EXPECT_EQ(texts.LastLoadFailure(), u"No program text was read."_s);
    EXPECT_EQ(LoadBytes("5 en Changed\n6 en\n"), -502);

    QFile big(PathOf("big.dat"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(MaxProgramTextFileBytes + 1));
    big.close();
    EXPECT_EQ(texts.Load(PathOf("big.dat")), ProgramTextTooMuch);
    EXPECT_EQ(texts.LastLoadFailure(), u"Too much program text."_s);

    EXPECT_EQ(texts.ProgramText(5), u"Five"_s);
    EXPECT_EQ(texts.size(), 1);
}

TEST(ProgramTextLoadMessages, ResultCodesAsTheStartUpShowsThem) {
    const QString path = QStringLiteral("/opt/orbivex/orbx.dat");
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(0, path), u"No program text was read."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-1, path),
              u"Cannot open file containing program text.\r\n/opt/orbivex/orbx.dat"_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-2, path), u"Particular memory allocation error."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-3, path), u"Too much program text."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-4, path), u"Text not recovered."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-5, path), u"Error -5"_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-6, path), u"File is empty."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-7, path), u"Error reading file."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-8, path), u"General memory allocation error."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-9, path), u"Error -9"_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-500, path), u"Error -500"_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-501, path), u"Missing string at line 1."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-600, path), u"Missing string at line 100."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-1000, path), u"Missing string at line 500."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-1001, path), u"String too long at line 1."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-1234, path), u"String too long at line 234."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-1500, path), u"String too long at line 500."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(-1501, path),
              u"Duplicate in program text at line 1."_s);
    EXPECT_EQ(ProgramTexts::LoadFailureMessage(7, path), u""_s);
}

TEST_F(TextFile, LineFaultsBeyondLine500KeepTheirKindInTheMessage) {
    QByteArray bytes;
    for (int n = 1; n <= 599; ++n) {
        bytes += QByteArray::number(n) + " en Text\n";
    }
    bytes += "600 en\n";
    EXPECT_EQ(LoadBytes(bytes), -1100); // decodes as a too-long line 100
    EXPECT_EQ(texts.LastLoadFailure(), u"Missing string at line 600."_s);
}

TEST(Placeholders, ChainStopsAtTheFirstEmptyValue) {
    const QString crlf = QStringLiteral("\r\n");
    EXPECT_EQ(SubstitutePlaceholders(u"Moved [r1]^[r2]"_s, u"3"_s, u""_s),
              u"Moved 3"_s + crlf + u"[r2]"_s);
    EXPECT_EQ(SubstitutePlaceholders(u"[r1] [r2] [r3] [r4] [r5]"_s, u"a"_s, u"b"_s, u""_s, u"d"_s,
                                     u"e"_s),
              u"a b [r3] [r4] [r5]"_s);
    EXPECT_EQ(SubstitutePlaceholders(u"[r1][r2][r3][r4][r5][r1]"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s,
                                     u"5"_s),
              u"123451"_s);
    EXPECT_EQ(SubstitutePlaceholders(u"x[r1]y"_s, u""_s), u"xy"_s); // [r1] goes even when empty
    // An empty r1 does not stop the chain: it starts at r2.
    EXPECT_EQ(SubstitutePlaceholders(u"[r1][r3] only"_s, u""_s, u"b"_s, u"c"_s), u"c only"_s);
    EXPECT_EQ(SubstitutePlaceholders(u"[R1] [r6] [r 1] [r1"_s, u"v"_s), u"[R1] [r6] [r 1] [r1"_s);
    // Nothing to substitute: returned as it is.
    EXPECT_EQ(SubstitutePlaceholders(u"Plain text"_s, u"v"_s), u"Plain text"_s);
    EXPECT_EQ(SubstitutePlaceholders(u"a^^b"_s, u""_s), u"a"_s + crlf + crlf + u"b"_s);
    // Values are inserted as they are, not scanned again.
    EXPECT_EQ(SubstitutePlaceholders(u"File [r1] at [r2]"_s, u"C:\\a^b [r2].pat"_s, u"noon"_s),
              u"File C:\\a^b [r2].pat at noon"_s);
}

TEST(Placeholders, ProgramTextWithLooksUpAndSubstitutes) {
    const ProgramTexts texts = ProgramTexts::FromEntries(
        {{391, u"Set all non-zero orbs to [r1]?^[r2]"_s}, {126, u"~"_s}, {19, u"Compute"_s}});
    EXPECT_EQ(texts.ProgramTextWith(391, u"3°"_s), u"Set all non-zero orbs to 3°?\r\n[r2]"_s);
    EXPECT_EQ(texts.ProgramTextWith(126, u"x"_s), u""_s);
    EXPECT_EQ(texts.ProgramTextWith(5, u"x"_s), u""_s);
    EXPECT_EQ(texts.ProgramText(19), u"Compute"_s);
    EXPECT_EQ(texts.size(), 3);
}
