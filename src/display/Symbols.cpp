#include "display/Symbols.h"

#include <array>

namespace orbivex {

namespace {

struct SymbolOfLetter {
    char letter;
    char16_t symbol;
};

// Bodies, the centre glyph of the wheel, then the twelve signs from Aries to Pisces.
constexpr std::array<SymbolOfLetter, 22> kSymbols{{
    {'L', u'\u2641'}, // Earth
    {'f', u'\u263F'}, // Mercury
    {'g', u'\u2640'}, // Venus
    {'h', u'\u2642'}, // Mars
    {'j', u'\u2643'}, // Jupiter
    {'S', u'\u2644'}, // Saturn
    {'F', u'\u2645'}, // Uranus
    {'G', u'\u2646'}, // Neptune
    {'J', u'\u2647'}, // Pluto
    {'s', u'\u2609'}, // the Sun at the centre of the wheel
    {'x', u'\u2648'}, {'c', u'\u2649'}, {'v', u'\u264A'}, {'b', u'\u264B'},
    {'n', u'\u264C'}, {'m', u'\u264D'}, {'X', u'\u264E'}, {'C', u'\u264F'},
    {'V', u'\u2650'}, {'B', u'\u2651'}, {'N', u'\u2652'}, {'M', u'\u2653'},
}};

} // namespace

QString SymbolText(const QString& letter) {
    if (letter.size() != 1) {
        return letter;
    }
    for (const SymbolOfLetter& entry : kSymbols) {
        if (letter.at(0) == QLatin1Char(entry.letter)) {
            return QString(QChar(entry.symbol));
        }
    }
    return letter;
}

QString SymbolText(const char* letter) {
    return SymbolText(QString::fromLatin1(letter == nullptr ? "" : letter));
}

} // namespace orbivex
