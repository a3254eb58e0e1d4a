#pragma once
// The body and sign glyphs are stored as letters of an astrological symbol font. They are drawn
// with an ordinary Unicode font instead, so each letter is mapped to its astrological symbol.

#include <QString>

namespace orbivex {

// The Unicode symbol for a body or sign letter of core/Bodies.h ("L" Earth -> U+2641, "x" Aries
// -> U+2648, "s" the centre glyph -> U+2609 ...). A letter without a symbol is returned as it
// is, so nothing is ever lost from a cell.
QString SymbolText(const char* letter);
QString SymbolText(const QString& letter);

} // namespace orbivex
