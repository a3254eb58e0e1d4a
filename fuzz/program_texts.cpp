// The program text file sits beside the program, where anyone may edit it. Whatever it holds,
// a load either succeeds with as many texts as it reports or fails with a message and keeps
// the texts loaded before; and any line of it goes through the placeholder substitution that
// showing a text takes.
#include "FuzzSupport.h"
#include "support/ProgramTexts.h"

#include <QStringList>

using namespace orbivex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    ProgramTexts texts = ProgramTexts::FromEntries({{1, QStringLiteral("kept")}});
    const int result = texts.LoadFromBytes(bytes, QStringLiteral("fuzz.dat"));
    if (result <= 0) {
        fuzz::Require(texts.ProgramText(1) == QLatin1String("kept"),
                      "a failed load changed the texts");
        fuzz::Require(texts.size() == 1, "a failed load changed the number of texts");
        fuzz::Require(!texts.LastLoadFailure().isEmpty(), "a failed load gave no message");
        fuzz::Require(
            !ProgramTexts::LoadFailureMessage(result, QStringLiteral("fuzz.dat")).isEmpty(),
            "a failure code has no message");
    } else {
        fuzz::Require(texts.size() == result, "the count differs from the texts held");
        fuzz::Require(texts.LastLoadFailure().isEmpty(), "a successful load kept a message");
    }

    for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        // [r1] takes a value that looks like a placeholder, [r2] a caret: neither is replaced
        // again, and [r4] stays as it is, since the empty [r3] ends the chain.
        const QString shown = SubstitutePlaceholders(
            line, QStringLiteral("[r2]"), QStringLiteral("^"), QString(), QStringLiteral("x"));
        fuzz::Require(!shown.contains(QLatin1Char('^')) || line.contains(QLatin1String("[r2]")),
                      "a caret of the text was not replaced");
        fuzz::Require(shown.count(QLatin1String("[r4]")) >= line.count(QLatin1String("[r4]")),
                      "a placeholder after an empty value was replaced");
    }
    return 0;
}
