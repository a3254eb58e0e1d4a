#include "present/Symbols.h"

#include <array>

namespace orbivex {

namespace {

struct SymbolMapping {
    char letter;
    char16_t symbol;
};

constexpr std::array<SymbolMapping, 22> SymbolMappings{{
    // Bodies, then the centre symbol.
    {'L', u'\u2641'}, // Earth
    {'f', u'\u263F'}, // Mercury
    {'g', u'\u2640'}, // Venus
    {'h', u'\u2642'}, // Mars
    {'j', u'\u2643'}, // Jupiter
    {'S', u'\u2644'}, // Saturn
    {'F', u'\u2645'}, // Uranus
    {'G', u'\u2646'}, // Neptune
    {'J', u'\u2647'}, // Pluto
    {'s', u'\u2609'}, // the Sun at the centre of a heliocentric chart
    // Signs, Aries to Pisces.
    {'x', u'\u2648'},
    {'c', u'\u2649'},
    {'v', u'\u264A'},
    {'b', u'\u264B'},
    {'n', u'\u264C'},
    {'m', u'\u264D'},
    {'X', u'\u264E'},
    {'C', u'\u264F'},
    {'V', u'\u2650'},
    {'B', u'\u2651'},
    {'N', u'\u2652'},
    {'M', u'\u2653'},
}};

} // namespace

QString SymbolFontFamily() {
    return QStringLiteral("DejaVu Sans");
}

QString SymbolText(QStringView letter) {
    if (letter.size() == 1) {
        for (const SymbolMapping& mapping : SymbolMappings) {
            if (letter.front() == QLatin1Char(mapping.letter)) {
                return QString(QChar(mapping.symbol));
            }
        }
    }
    return letter.toString();
}

QString SymbolText(const char* letter) {
    return SymbolText(QString::fromLatin1(letter));
}

QString BodySymbol(BodyIndex body) {
    if (!IsBody(body)) {
        return {};
    }
    return SymbolText(Bodies[body].symbolLetter);
}

QString CentreSymbol() {
    return SymbolText(CentreSymbolLetter);
}

QString SignSymbol(ZodiacSign sign) {
    if (sign < 0 || sign >= NumZodiacSigns) {
        return {};
    }
    return SymbolText(ZodiacSigns[sign].symbolLetter);
}

} // namespace orbivex
