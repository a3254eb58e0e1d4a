#pragma once

#include <cmath>

namespace orbivex {

// Rounds to the nearest integer, an exact half going to the even neighbour (banker's rounding),
// the rule every displayed minute of arc follows.
inline double RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double difference = value - lower;
    if (difference < 0.5) {
        return lower;
    }
    if (difference > 0.5) {
        return lower + 1.0;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

} // namespace orbivex
