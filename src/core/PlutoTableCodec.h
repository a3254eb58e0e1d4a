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

} // namespace orbivex
