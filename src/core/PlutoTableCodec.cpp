#include "core/PlutoTableCodec.h"

#include <cmath>

namespace orbivex {

std::array<char, 4> EncodePlutoEntry(double degrees, int line) {
    long seconds = std::lround(degrees * 3600.0);
    seconds %= 360L * 3600L;
    if (seconds < 0) {
        seconds += 360L * 3600L;
    }
    const int wholeDegrees = static_cast<int>(seconds / 3600);
    const int minutes = static_cast<int>((seconds / 60) % 60);
    const int secs = static_cast<int>(seconds % 60);
    return {
        static_cast<char>(minutes + 60 + line % 7),
        static_cast<char>(secs + 60),
        static_cast<char>(wholeDegrees / 60 + 58 + line % 55),
        static_cast<char>(wholeDegrees % 60 + 59),
    };
}

std::optional<double> DecodePlutoEntry(const char* codes, int line) {
    const int k1 = static_cast<unsigned char>(codes[0]);
    const int k2 = static_cast<unsigned char>(codes[1]);
    const int k3 = static_cast<unsigned char>(codes[2]);
    const int k4 = static_cast<unsigned char>(codes[3]);
    const int minutes = k1 - 60 - line % 7;
    const int seconds = k2 - 60;
    const int sixties = k3 - 58 - line % 55;
    const int units = k4 - 59;
    if (minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 || sixties < 0 || sixties > 5 ||
        units < 0 || units > 59) {
        return std::nullopt;
    }
    const int degrees = sixties * 60 + units;
    if (degrees >= 360) {
        return std::nullopt;
    }
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

} // namespace orbivex
