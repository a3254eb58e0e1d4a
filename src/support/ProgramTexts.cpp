#include "support/ProgramTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <optional>
#include <utility>

namespace orbivex {

namespace {

const QString TildeText = QStringLiteral("~");

// Line-based result codes: the line number is folded into the code.
int DuplicateCode(int line) {
    return -1500 - line;
}
int TooLongCode(int line) {
    return -1000 - line;
}
int MissingCode(int line) {
    return -500 - line;
}

QString LineMessage(const char* what, int line) {
    return QString::fromLatin1(what) + QLatin1Char(' ') + QString::number(line) + QLatin1Char('.');
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Characters as the reader counts them: a surrogate pair is one character.
qsizetype CharacterCount(QStringView text) {
    qsizetype count = 0;
    for (const QChar c : text) {
        if (!c.isLowSurrogate()) {
            ++count;
        }
    }
    return count;
}

struct LineFault {
    int code = 0;
    QString message;
};

struct ParsedLine {
    bool isText = false; // false for a blank or comment line
    int number = 0;
    LanguageIndex language = English;
    QString text;
};

// Parses one decoded line (without its line break). Returns the fault, if any.
// The number of the first line of bytes that is not UTF-8 text (1 for the first line).
int FirstLineNotUtf8(QByteArrayView bytes) {
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype stop = bytes.indexOf('\n', start);
        if (stop < 0) {
            stop = bytes.size();
        }
        ++lineNumber;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        (void)decoder.decode(bytes.sliced(start, stop - start));
        if (decoder.hasError()) {
            return lineNumber;
        }
        start = stop + 1;
    }
    return lineNumber;
}

std::optional<LineFault> ParseLine(QStringView line, int lineNumber, ParsedLine& parsed) {
    parsed = {};
    qsizetype pos = 0;
    const qsizetype end = line.size();
    while (pos < end && IsBlank(line[pos])) {
        ++pos;
    }
    if (pos == end || line[pos] == QLatin1Char('#')) {
        return std::nullopt;
    }
    const auto malformed = [lineNumber](const QString& why) {
        return LineFault{
            ProgramTextMalformedLine,
            QStringLiteral("Malformed program text at line %1: %2.").arg(lineNumber).arg(why)};
    };

    const qsizetype numberStart = pos;
    while (pos < end && !IsBlank(line[pos])) {
        ++pos;
    }
    const QStringView numberText = line.sliced(numberStart, pos - numberStart);
    for (const QChar c : numberText) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return malformed(QStringLiteral("\"%1\" is not a text number").arg(numberText));
        }
    }
    bool ok = false;
    const qlonglong number = numberText.toLongLong(&ok);
    if (!ok || number < 1 || number > MaxProgramTextNumber) {
        return malformed(QStringLiteral("text number %1 is outside 1 to %2")
                             .arg(numberText)
                             .arg(MaxProgramTextNumber));
    }

    while (pos < end && IsBlank(line[pos])) {
        ++pos;
    }
    if (pos == end) {
        return malformed(QStringLiteral("no language code after the text number"));
    }
    const qsizetype codeStart = pos;
    while (pos < end && !IsBlank(line[pos])) {
        ++pos;
    }
    const QStringView code = line.sliced(codeStart, pos - codeStart);
    const LanguageIndex language = LanguageOfCode(code);
    if (language < 0) {
        return malformed(QStringLiteral("unknown language code \"%1\"").arg(code));
    }

    // Exactly one blank separates the code from the text; further blanks belong to the text,
    // so a text may be indented on purpose.
    const QStringView text = pos < end ? line.sliced(pos + 1) : QStringView{};
    if (text.trimmed().isEmpty()) {
        return LineFault{MissingCode(lineNumber),
                         LineMessage("Missing string at line", lineNumber)};
    }
    if (CharacterCount(text) > MaxProgramTextLength) {
        return LineFault{TooLongCode(lineNumber),
                         LineMessage("String too long at line", lineNumber)};
    }
    parsed.isText = true;
    parsed.number = static_cast<int>(number);
    parsed.language = language;
    parsed.text = text.toString();
    return std::nullopt;
}

} // namespace

LanguageIndex LanguageOfCode(QStringView code) {
    for (LanguageIndex i = 0; i < NumLanguages; ++i) {
        if (code == QLatin1String(LanguageCodes[i])) {
            return i;
        }
    }
    return -1;
}

int ProgramTexts::Fail(int code, const QString& path, const QString& message) {
    lastFailure_ = message.isEmpty() ? LoadFailureMessage(code, path) : message;
    return code;
}

int ProgramTexts::Load(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return Fail(ProgramTextCannotOpen, path);
    }
    // The size is checked before reading, so that a huge file is never loaded.
    const qint64 fileSize = file.size();
    if (fileSize == 0) {
        return Fail(ProgramTextEmptyFile, path);
    }
    if (fileSize > MaxProgramTextFileBytes) {
        return Fail(ProgramTextTooMuch, path);
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != fileSize) {
        return Fail(ProgramTextReadError, path);
    }
    return LoadFromBytes(std::move(bytes), path);
}

int ProgramTexts::LoadFromBytes(QByteArray bytes, const QString& path) {
    const auto fail = [this, &path](int code, const QString& message = {}) {
        return Fail(code, path, message);
    };
    if (bytes.isEmpty()) {
        return fail(ProgramTextEmptyFile);
    }
    if (bytes.size() > MaxProgramTextFileBytes) {
        return fail(ProgramTextTooMuch);
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
    }

    // The whole file is decoded at once; only in a file that is not UTF-8 are the lines decoded
    // one by one, to find the first line at fault (the lines before it are read first, so that
    // their own faults are told first).
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString all = decoder.decode(bytes);
    const int lineNotUtf8 = decoder.hasError() ? FirstLineNotUtf8(bytes) : 0;
    std::array<QHash<int, QString>, NumLanguages> loaded;
    loaded[English].reserve(1024);
    int count = 0;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype stop = all.indexOf(QLatin1Char('\n'), start);
        if (stop < 0) {
            stop = all.size();
        }
        QStringView line = QStringView(all).sliced(start, stop - start);
        start = stop + 1;
        ++lineNumber;
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (lineNumber == lineNotUtf8) {
            return fail(ProgramTextMalformedLine,
                        QStringLiteral("Malformed program text at line %1: not UTF-8 text.")
                            .arg(lineNumber));
        }
        ParsedLine parsed;
        if (const auto fault = ParseLine(line, lineNumber, parsed)) {
            return fail(fault->code, fault->message);
        }
        if (!parsed.isText) {
            continue;
        }
        QHash<int, QString>& texts = loaded[parsed.language];
        if (texts.contains(parsed.number)) {
            return fail(DuplicateCode(lineNumber),
                        LineMessage("Duplicate in program text at line", lineNumber));
        }
        texts.insert(parsed.number, parsed.text);
        ++count;
    }
    if (count == 0) {
        return fail(NoProgramText);
    }
    texts_ = std::move(loaded);
    lastFailure_.clear();
    return count;
}

QString ProgramTexts::LoadFailureMessage(int result, const QString& path) {
    if (result > 0) {
        return {};
    }
    if (result < -1500) {
        return LineMessage("Duplicate in program text at line", -(result + 1500));
    }
    if (result <= -1001) {
        return LineMessage("String too long at line", -(result + 1000));
    }
    if (result <= -501) {
        return LineMessage("Missing string at line", -(result + 500));
    }
    switch (result) {
    case 0:
        return QStringLiteral("No program text was read.");
    case -1:
        return QStringLiteral("Cannot open file containing program text.\r\n") + path;
    case -2:
        return QStringLiteral("Particular memory allocation error.");
    case -3:
        return QStringLiteral("Too much program text.");
    case -4:
        return QStringLiteral("Text not recovered.");
    case -6:
        return QStringLiteral("File is empty.");
    case -7:
        return QStringLiteral("Error reading file.");
    case -8:
        return QStringLiteral("General memory allocation error.");
    default:
        return QStringLiteral("Error ") + QString::number(result);
    }
}

ProgramTexts ProgramTexts::FromEntries(const QHash<int, QString>& english) {
    ProgramTexts texts;
    texts.texts_[English] = english;
    return texts;
}

QString ProgramTexts::ProgramText(int number) const {
    return ProgramTextIn(number, English);
}

QString ProgramTexts::ProgramTextIn(int number, LanguageIndex language) const {
    if (language < 0 || language >= NumLanguages) {
        return {};
    }
    const QString text = texts_[language].value(number);
    return text == TildeText ? QString() : text;
}

bool ProgramTexts::HasText(int number, LanguageIndex language) const {
    return language >= 0 && language < NumLanguages && texts_[language].contains(number);
}

QString ProgramTexts::ProgramTextWith(int number, const QString& r1, const QString& r2,
                                      const QString& r3, const QString& r4,
                                      const QString& r5) const {
    return SubstitutePlaceholders(ProgramText(number), r1, r2, r3, r4, r5);
}

int ProgramTexts::size() const {
    int total = 0;
    for (const auto& texts : texts_) {
        total += static_cast<int>(texts.size());
    }
    return total;
}

QString SubstitutePlaceholders(const QString& text, const QString& r1, const QString& r2,
                               const QString& r3, const QString& r4, const QString& r5) {
    if (!text.contains(QLatin1Char('^')) && !text.contains(QLatin1String("[r"))) {
        return text;
    }
    const std::array<const QString*, 5> values{&r1, &r2, &r3, &r4, &r5};
    // [r1] is always replaced; [r2].. only while every value up to it is non-empty.
    int active = 1;
    while (active < 5 && !values[active]->isEmpty()) {
        ++active;
    }
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == QLatin1Char('^')) {
            result += QLatin1String("\r\n");
            ++i;
            continue;
        }
        if (c == QLatin1Char('[') && i + 3 < text.size() && text[i + 1] == QLatin1Char('r') &&
            text[i + 3] == QLatin1Char(']')) {
            const int k = text[i + 2].unicode() - u'0';
            if (k >= 1 && k <= active) {
                result += *values[k - 1];
                i += 4;
                continue;
            }
        }
        result += c;
        ++i;
    }
    return result;
}

} // namespace orbivex
