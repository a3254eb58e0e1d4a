#pragma once
// The coded line format of the daily Pluto table: four printable characters per day, line i
// for day i (day 0 is 1 January 1600). With offsets i mod 7 and i mod 55 mixed into the codes:
//   minutes = k1 - 60 - (i mod 7)
//   seconds = k2 - 60
//   degrees = (k3 - 58 - (i mod 55)) * 60 + (k4 - 59)
// so each entry holds a longitude to the whole second of arc.

#include <QByteArray>
#include <array>
#include <optional>

namespace orbivex {

// Codes a longitude in degrees [0, 360) for line `line`, rounded to the nearest second of arc.
std::array<char, 4> EncodePlutoEntry(double degrees, int line);

// Decodes the first four characters of line `line`; nothing when a code is out of range.
std::optional<double> DecodePlutoEntry(const char* codes, int line);

// The same entry in whole seconds of arc [0, 1296000), exact; nothing when a code is out of
// range. Inline: the table loader runs it for every one of its 219147 lines.
inline std::optional<int> DecodePlutoArcseconds(const char* codes, int line) {
    const int minutes = static_cast<unsigned char>(codes[0]) - 60 - line % 7;
    const int seconds = static_cast<unsigned char>(codes[1]) - 60;
    const int sixties = static_cast<unsigned char>(codes[2]) - 58 - line % 55;
    const int units = static_cast<unsigned char>(codes[3]) - 59;
    // One unsigned comparison per code catches both ends of its range.
    if (static_cast<unsigned>(minutes) > 59 || static_cast<unsigned>(seconds) > 59 ||
        static_cast<unsigned>(sixties) > 5 || static_cast<unsigned>(units) > 59) {
        return std::nullopt;
    }
    const int degrees = sixties * 60 + units;
    if (degrees >= 360) {
        return std::nullopt;
    }
    return degrees * 3600 + minutes * 60 + seconds;
}

} // namespace orbivex
