#include "support/StrProc.h"

#include <array>

namespace orbivex {

namespace {

constexpr std::array<const char*, 21> SmallNumberWords{
    "No",       "One",     "Two",     "Three",     "Four",     "Five",     "Six",
    "Seven",    "Eight",   "Nine",    "Ten",       "Eleven",   "Twelve",   "Thirteen",
    "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen", "Twenty"};

// Index n / 10 for n from 20 to 99.
constexpr std::array<const char*, 10> TensWords{"",      "",      "Twenty",  "Thirty", "Forty",
                                                "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString DigitsOnly(const QString& text, bool minusAllowed, bool plusAllowed) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (IsAsciiDigit(c) || c == QLatin1Char('-') || c == QLatin1Char('+')) {
            kept.append(c);
        }
    }
    QString result;
    result.reserve(kept.size());
    qsizetype start = 0;
    if (!kept.isEmpty()) {
        const QChar first = kept.front();
        if ((first == QLatin1Char('-') && minusAllowed) ||
            (first == QLatin1Char('+') && plusAllowed)) {
            result.append(first);
            start = 1;
        }
    }
    for (qsizetype i = start; i < kept.size(); ++i) {
        if (IsAsciiDigit(kept.at(i))) {
            result.append(kept.at(i));
        }
    }
    return result;
}

QString NumberInWords(int n, const QLocale& locale) {
    if (n >= 0 && n <= 20) {
        return QString::fromLatin1(SmallNumberWords[static_cast<std::size_t>(n)]);
    }
    if (n > 20 && n < 100) {
        const QString tens = QString::fromLatin1(TensWords[static_cast<std::size_t>(n / 10)]);
        if (n % 10 == 0) {
            return tens;
        }
        return tens + QLatin1Char(' ') +
               QString::fromLatin1(SmallNumberWords[static_cast<std::size_t>(n % 10)]).toLower();
    }
    return locale.toString(n);
}

QString NumberInWords(int n) {
    return NumberInWords(n, QLocale());
}

QString PadLeft(const QString& text, int width) {
    if (width < 0 || text.size() >= width) {
        return text;
    }
    return text.rightJustified(width, QLatin1Char(' '));
}

QString PadRight(const QString& text, int width) {
    if (width < 0 || text.size() >= width) {
        return text;
    }
    return text.leftJustified(width, QLatin1Char(' '));
}

} // namespace orbivex
