// Writes the daily Pluto table: Pluto's heliocentric J2000 ecliptic longitude (geometric) at
// 0 h UT of every day from 1 January 1600 to 1 January 2200, one coded line per day, from the
// Swiss Ephemeris. Usage: make-pluto-table OUTPUT
#include "core/Ephemeris.h"
#include "core/PlutoTableCodec.h"

#include <swephexp.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-pluto-table OUTPUT\n");
        return 2;
    }
    swe_set_ephe_path(orbivex::SystemEphemerisFolder);
    const int flags = SEFLG_SWIEPH | SEFLG_HELCTR | SEFLG_J2000 | SEFLG_NONUT | SEFLG_TRUEPOS;

    std::string table;
    table.reserve(static_cast<size_t>(orbivex::PlutoTableEntries) * 6);
    for (int line = 0; line < orbivex::PlutoTableEntries; ++line) {
        const double jd = orbivex::PlutoTableFirstDay + line - 0.5; // 0 h UT of the day
        double result[6] = {};
        char error[256] = {};
        const int returned = swe_calc_ut(jd, SE_PLUTO, flags, result, error);
        if (returned < 0 || (returned & SEFLG_SWIEPH) == 0) {
            std::fprintf(stderr, "make-pluto-table: no ephemeris file for Pluto at JD %.1f: %s\n",
                         jd, error);
            return 1;
        }
        const auto codes = orbivex::EncodePlutoEntry(result[0], line);
        table.append(codes.data(), codes.size());
        table.append("\r\n");
    }
    swe_close();

    // Write beside the target and rename, so that an interrupted build leaves no half table.
    const std::string temporary = std::string(argv[1]) + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        std::perror(temporary.c_str());
        return 1;
    }
    const bool written = std::fwrite(table.data(), 1, table.size(), file) == table.size();
    if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), argv[1]) != 0) {
        std::perror(argv[1]);
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
