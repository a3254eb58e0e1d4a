#pragma once
// Program texts: every caption and message is a numbered text, read from the UTF-8 text file
// "orbx.dat" in the program folder. Lines are "<number> <language code> <text>"; English is
// the language the program uses. Blank lines and lines whose first non-blank character is "#"
// are ignored.

#include <QHash>
#include <QString>

#include <array>

namespace orbivex {

// Languages of the text file, by index: 0 en, 1 de, 2 es, 3 pt, 4 it, 5 fr.
using LanguageIndex = int;
inline constexpr LanguageIndex English = 0;
inline constexpr int NumLanguages = 6;
inline constexpr std::array<const char*, NumLanguages> LanguageCodes{"en", "de", "es",
                                                                     "pt", "it", "fr"};
// The language index of a code ("en" ...), -1 for an unknown code. Codes are lower case.
LanguageIndex LanguageOfCode(QStringView code);

inline constexpr int MaxProgramTextNumber = 32767;
// A text holds at most this many characters.
inline constexpr int MaxProgramTextLength = 1024;
// A larger file is refused as "too much program text" before it is read.
inline constexpr qint64 MaxProgramTextFileBytes = 8 * 1024 * 1024;

// Load result codes besides the counts and line-based codes.
inline constexpr int NoProgramText = 0;
inline constexpr int ProgramTextCannotOpen = -1;
inline constexpr int ProgramTextTooMuch = -3;
inline constexpr int ProgramTextEmptyFile = -6;
inline constexpr int ProgramTextReadError = -7;
// A line that is not "<number> <language code> <text>" (no number, a number outside
// 1..MaxProgramTextNumber, no or an unknown language code, bytes that are not UTF-8).
inline constexpr int ProgramTextMalformedLine = -9;

class ProgramTexts {
  public:
    ProgramTexts() = default;

    // Loads the file; returns the number of texts loaded (> 0) or an error code:
    // 0 no text, -1 cannot open, -3 too much text, -6 empty file, -7 read error,
    // -9 malformed line, -1000 - line: text too long, -1500 - line: duplicate,
    // -500 - line: a number and a language but no text. Lines are counted from 1, comment and
    // blank lines included. The load stops at the first faulty line.
    // A failed load leaves the texts loaded before unchanged.
    int Load(const QString& path);
    // Load on the bytes of a file already read; `path` names the file in messages. The same
    // results as Load, "cannot open" and "read error" aside.
    int LoadFromBytes(QByteArray bytes, const QString& path);

    // The message shown when Load returned `result` (<= 0) for `path`; "" for a success.
    // The line-based codes overlap beyond line 500 (too long at line 600 reads as a duplicate
    // at line 100), so after a failed Load prefer LastLoadFailure(), which knows the kind.
    static QString LoadFailureMessage(int result, const QString& path);

    // The message for the last failed Load, with the true line number and, for a malformed
    // line, what is wrong with it; "" when the last Load succeeded or none ran.
    QString LastLoadFailure() const { return lastFailure_; }

    // Builds texts directly (for tests and tools): number -> English text.
    static ProgramTexts FromEntries(const QHash<int, QString>& english);

    // The English text of a number; "" when there is none, and "" for the text "~".
    QString ProgramText(int number) const;
    // The same in another language (index 0..5); "" for an unknown language.
    QString ProgramTextIn(int number, LanguageIndex language) const;
    // Whether the file holds a text (possibly "~") for the number in the language.
    bool HasText(int number, LanguageIndex language = English) const;

    // ProgramText with the placeholders [r1]..[r5] and "^" substituted.
    QString ProgramTextWith(int number, const QString& r1 = {}, const QString& r2 = {},
                            const QString& r3 = {}, const QString& r4 = {},
                            const QString& r5 = {}) const;

    // Number of texts held, all languages together.
    int size() const;

  private:
    // Remembers the message of a failed load (its own, or the standard one) and returns code.
    int Fail(int code, const QString& path, const QString& message = {});

    std::array<QHash<int, QString>, NumLanguages> texts_;
    QString lastFailure_;
};

// Replaces [r1] always, then [r2]..[r5] as long as each value is not empty (the chain stops at
// the first empty value), then every "^" by CR LF. A text with neither "^" nor "[r" is
// returned unchanged. The values are inserted as they are: a "^" or "[r2]" inside a value is
// not replaced again, so a file name or other user text passes through intact.
QString SubstitutePlaceholders(const QString& text, const QString& r1, const QString& r2 = {},
                               const QString& r3 = {}, const QString& r4 = {},
                               const QString& r5 = {});

} // namespace orbivex
