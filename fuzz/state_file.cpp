// State files come from anywhere the user points the Load command at. Whatever the bytes, the
// reader either takes the whole file or gives why not; and a file it takes is one the writer
// can write again, which then reads back as the same contents.
#include "FuzzSupport.h"
#include "session/StateFile.h"

using namespace orbivex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Expected<StateFileContents> read = ParseStateFile(fuzz::Bytes(data, size));
    if (!read) {
        fuzz::Require(!read.error().isEmpty(), "a rejected file without a reason");
        return 0;
    }
    fuzz::Require(static_cast<bool>(CheckStateFileContents(*read)),
                  "an accepted file holds values the writer refuses");
    const QByteArray written = FormatStateFile(*read);
    const Expected<StateFileContents> again = ParseStateFile(written);
    fuzz::Require(static_cast<bool>(again), "a written file does not read back");
    fuzz::Require(*again == *read, "writing and reading back changed a value");
    fuzz::Require(FormatStateFile(*again) == written, "a second write differs from the first");
    return 0;
}
