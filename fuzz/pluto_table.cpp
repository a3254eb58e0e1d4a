// The Pluto table is a data file beside the program. Whatever it holds, loading it either
// fails with a message naming the table and leaves no table behind, or gives a longitude in
// [0, 360) for every day of the table.
#include "FuzzSupport.h"
#include "core/Ephemeris.h"

using namespace orbivex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Ephemeris ephemeris{QString(), QString()};
    const QString name = QStringLiteral("fuzz.slx");
    const Status loaded = ephemeris.LoadPlutoTableFromBytes(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), name);
    if (!loaded) {
        fuzz::Require(loaded.error().contains(name), "the message does not name the table");
        fuzz::Require(!ephemeris.PlutoTableLoaded(), "a rejected table was kept");
        return 0;
    }
    for (int jdn = PlutoTableFirstDay; jdn <= PlutoTableLastDay; ++jdn) {
        const std::optional<double> degrees = ephemeris.PlutoTableEntry(jdn);
        fuzz::Require(degrees && *degrees >= 0.0 && *degrees < 360.0,
                      "an entry lies outside 0 to 360");
    }
    return 0;
}
