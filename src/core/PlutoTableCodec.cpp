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
    const std::optional<int> arcseconds = DecodePlutoArcseconds(codes, line);
    if (!arcseconds) {
        return std::nullopt;
    }
    const int degrees = *arcseconds / 3600;
    const int minutes = *arcseconds / 60 % 60;
    const int seconds = *arcseconds % 60;
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

} // namespace orbivex
