#pragma once
// Captions of buttons and options carry their keyboard letter as "&" before it ("&Save"); "&&"
// stands for an ampersand. Where such a caption is shown as plain text (a message box's title,
// a window title, a report) the marks must not show.

#include <QString>

namespace orbivex {

// The caption as it reads: every single "&" removed, "&&" turned into "&".
QString WithoutMnemonic(const QString& caption);

// The letter a caption marks with "&", lower-cased; a null QChar when it marks none.
QChar MnemonicLetter(const QString& caption);

} // namespace orbivex
