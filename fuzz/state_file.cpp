// State files come from anywhere the user points the Load command at. Whatever the bytes, the
// reader either takes the whole file or changes nothing; and a file it takes is one the writer
// can write again, which then reads back as the same contents.
#include "FuzzSupport.h"
#include "session/StateFile.h"

using namespace orbivex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StateFileContents read;
    read.dateSets[0].yearText = QStringLiteral("untouched");
    read.aspectColour[3] = 42;
    const StateFileContents before = read;
    const QString problem = ParseStateFile(fuzz::Bytes(data, size), read);
    if (!problem.isEmpty()) {
        fuzz::Require(read == before, "a rejected file changed the destination");
        return 0;
    }
    fuzz::Require(CheckStateFileContents(read).isEmpty(),
                  "an accepted file holds values the writer refuses");
    const QByteArray written = FormatStateFile(read);
    StateFileContents again;
    fuzz::Require(ParseStateFile(written, again).isEmpty(), "a written file does not read back");
    fuzz::Require(again == read, "writing and reading back changed a value");
    fuzz::Require(FormatStateFile(again) == written, "a second write differs from the first");
    return 0;
}
