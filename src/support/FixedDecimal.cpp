#include "support/FixedDecimal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace orbivex {

namespace {

constexpr std::array<double, 10> PowersOfTen{1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// Below this the product value * 10^decimals is off the exact product by less than 1e-3
// (half a unit in the last place of a double under 2^43 is at most 2^-10).
constexpr double MaxScaled = 8e12;
constexpr double TieMargin = 1e-3;

void AppendWithCharconv(std::string& text, double value, int decimals) {
    char buffer[400]; // room for any double in fixed notation
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    text.append(buffer, result.ptr);
}

} // namespace

void AppendFixedDecimal(std::string& text, double value, int decimals) {
    if (decimals < 0 || decimals >= static_cast<int>(PowersOfTen.size())) {
        AppendWithCharconv(text, value, decimals);
        return;
    }
    // Round the scaled value to an integer and print its digits. Only when the scaled value
    // lies so near a half that the rounding error of the product could decide the direction
    // is the exact conversion asked for.
    const double scaled = value * PowersOfTen[static_cast<std::size_t>(decimals)];
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (!(scaled >= 0.0 && scaled < MaxScaled) || std::fabs(fraction - 0.5) < TieMargin) {
        AppendWithCharconv(text, value, decimals);
        return;
    }
    auto number = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    // Digits from the last one backwards, with the point and at least one digit before it.
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* first = end;
    for (int place = 0; place < decimals || number != 0 || place == decimals; ++place) {
        if (place == decimals && decimals > 0) {
            *--first = '.';
        }
        *--first = static_cast<char>('0' + number % 10);
        number /= 10;
    }
    text.append(first, end);
}

} // namespace orbivex
