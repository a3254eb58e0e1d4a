#pragma once
// Small text routines used to build messages and column-aligned lists: the digit filter of the
// year boxes, counts written in words at the start of a sentence, and padding with spaces.

#include <QLocale>
#include <QString>

namespace orbivex {

// Keeps the characters "0123456789-+" of text; a leading minus sign survives only when
// minusAllowed, a leading plus sign only when plusAllowed, and every further character must be
// a digit. "19a8-4" gives "1984"; " 2,024 " gives "2024"; "-500" without signs gives "500".
QString DigitsOnly(const QString& text, bool minusAllowed, bool plusAllowed);

// A count in words for 0 to 99 ("No", "One", ... "Twenty", "Twenty one", ... "Ninety nine"),
// and in digits with the locale's digit grouping from 100 on ("1,234" in English). A negative
// number, which is not a count, is written in digits as well.
QString NumberInWords(int n, const QLocale& locale);
QString NumberInWords(int n); // with the default locale

// Right-justifies (PadLeft) or left-justifies (PadRight) text in width characters with spaces.
// A text that is already at least width long, or a negative width, leaves the text unchanged:
// nothing is ever cut.
QString PadLeft(const QString& text, int width);
QString PadRight(const QString& text, int width);

} // namespace orbivex
