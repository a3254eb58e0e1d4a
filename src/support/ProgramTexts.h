#pragma once
// Program texts: every caption and message is a numbered text, read from the UTF-8 text file
// "orbx.dat" in the program folder. Lines are "<number> <language code> <text>"; English is
// the language the program uses.

#include <QHash>
#include <QString>

namespace orbivex {

class ProgramTexts {
  public:
    ProgramTexts() = default;

    // Loads the file; returns the number of texts loaded (> 0) or an error code:
    // 0 no text, -1 cannot open, -3 too much text, -6 empty file, -7 read error,
    // -1000 - line: text too long, -1500 - line: duplicate, -500 - line: missing text.
    // A failed load leaves the texts loaded before unchanged.
    int Load(const QString& path);

    // The message shown when Load returned `result` (<= 0) for `path`.
    static QString LoadFailureMessage(int result, const QString& path);

    // Builds texts directly (for tests and tools): number -> English text.
    static ProgramTexts FromEntries(const QHash<int, QString>& english);

    // The English text of a number; "" when there is none, and "" for the text "~".
    QString ProgramText(int number) const;

    // ProgramText with the placeholders [r1]..[r5] and "^" substituted.
    QString ProgramTextWith(int number, const QString& r1 = {}, const QString& r2 = {},
                            const QString& r3 = {}, const QString& r4 = {},
                            const QString& r5 = {}) const;

    int size() const;

  private:
    QHash<int, QString> english_;
};

// Replaces [r1] always, then [r2]..[r5] as long as each value is not empty (the chain stops at
// the first empty value), then every "^" by CR LF. A text with neither "^" nor "[r" is
// returned unchanged.
QString SubstitutePlaceholders(const QString& text, const QString& r1, const QString& r2 = {},
                               const QString& r3 = {}, const QString& r4 = {},
                               const QString& r5 = {});

} // namespace orbivex
