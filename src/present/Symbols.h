#pragma once
// The astrological symbol font stores its symbols as plain letters ("j" is Jupiter, "x" is
// Aries). The installed stand-in font draws the Unicode astrological symbols instead, so every
// symbol letter is mapped to its Unicode character before it is drawn.

#include "core/Bodies.h"

#include <QString>
#include <QStringView>

namespace orbivex {

// The family that draws the symbols ("DejaVu Sans").
QString SymbolFontFamily();

// The Unicode symbol of a symbol letter: body letters 1..9 give the planet symbols (Earth ♁),
// the centre letter "s" gives ☉ and the sign letters give ♈ .. ♓. Any other text is returned
// unchanged, so a caption that is not a symbol letter still shows as itself.
QString SymbolText(QStringView letter);
QString SymbolText(const char* letter);

// The symbol of a body.
QString BodySymbol(BodyIndex body);
// The symbol drawn at the centre of the chart wheel (☉).
QString CentreSymbol();
// The symbol of sign 0..11; "" for any other index.
QString SignSymbol(ZodiacSign sign);

} // namespace orbivex
