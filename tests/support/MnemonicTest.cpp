#include "support/Mnemonic.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

using namespace orbivex;

TEST(Mnemonic, PlainTextAndLetterOfACaption) {
    struct Case {
        const char* caption;
        const char* plain;
        char letter; // 0: none
    };
    const Case cases[] = {
        {"&Save", "Save", 's'},
        {"Sa&ve as ...", "Save as ...", 'v'},
        {"Natal aspects &1st birthdate", "Natal aspects 1st birthdate", '1'},
        {"Salt && &Pepper", "Salt & Pepper", 'p'},
        {"R&&D", "R&D", 0},
        {"Trailing &", "Trailing &", 0},
        {"No mark", "No mark", 0},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        const QString caption = QString::fromUtf8(c.caption);
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(WithoutMnemonic(caption), QString::fromUtf8(c.plain));
        EXPECT_EQ(MnemonicLetter(caption), c.letter ? QChar(QLatin1Char(c.letter)) : QChar());
    }
}
