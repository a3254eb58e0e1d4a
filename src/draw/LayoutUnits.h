#pragma once
// Window measures are kept in layout units of 1/1440 inch, fifteen to a screen pixel at 96 dots
// per inch; widgets take pixels.

#include <cmath>

namespace orbivex {

inline constexpr int kLayoutUnitsPerPixel = 15;

inline int LayoutUnitsToPixels(int layoutUnits) {
    return static_cast<int>(std::lround(static_cast<double>(layoutUnits) / kLayoutUnitsPerPixel));
}

inline constexpr int PixelsToLayoutUnits(int pixels) {
    return pixels * kLayoutUnitsPerPixel;
}

} // namespace orbivex
