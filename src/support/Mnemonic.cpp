#include "support/Mnemonic.h"

namespace orbivex {

QString WithoutMnemonic(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i; // the mark goes; "&&" keeps its second "&"
        }
        plain.append(caption.at(i));
    }
    return plain;
}

QChar MnemonicLetter(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&')) {
            continue;
        }
        if (caption.at(i + 1) != QLatin1Char('&')) {
            return caption.at(i + 1).toLower();
        }
        ++i;
    }
    return {};
}

} // namespace orbivex
