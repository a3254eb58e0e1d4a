#include "present/Symbols.h"
#include "common/TestSupport.h"
#include "core/Bodies.h"

#include <gtest/gtest.h>

namespace orbivex {
namespace {

TEST(Symbols, EveryBodyAndSignLetterHasItsAstrologicalSymbol) {
    const std::array<char16_t, 11> bodySymbols{0,      0x2641, 0x263F, 0x2640, 0x2642, 0x2643,
                                               0x2644, 0x2645, 0x2646, 0x2647, 0x2609};
    for (BodyIndex body : AllBodies) {
        EXPECT_EQ(SymbolText(Bodies[body].symbolLetter), QString(QChar(bodySymbols[Index(body)])))
            << Bodies[body].name;
    }
    EXPECT_EQ(SymbolText(CentreSymbolLetter), QString(QChar(bodySymbols[10])));
    for (ZodiacSign sign = 0; sign < NumZodiacSigns; ++sign) {
        EXPECT_EQ(SymbolText(ZodiacSigns[sign].symbolLetter), QString(QChar(0x2648 + sign)))
            << ZodiacSigns[sign].name;
    }
    // Anything else is shown as it is.
    EXPECT_EQ(SymbolText("q"), QStringLiteral("q"));
    EXPECT_EQ(SymbolText("LL"), QStringLiteral("LL"));
    EXPECT_EQ(SymbolText(""), QString());
    EXPECT_EQ(SymbolText(QStringLiteral("Transiting")), QStringLiteral("Transiting"));
}

} // namespace
} // namespace orbivex
