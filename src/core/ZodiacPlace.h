#pragma once
// A longitude's place in the zodiac as the program's short text writes it, without building
// the text: for output written in bulk (the JSON of a batch of charts).

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace orbivex {

// Where the short text form puts an ecliptic longitude in radians: the sign (index into
// ZodiacSigns), the whole degree in it and the minute, rounded as the text is. Nothing for a
// negative, NaN or over-full-circle longitude (a body without a position).
struct ZodiacPlace {
    int sign = 0;
    int degree = 0;
    int minute = 0;
};
std::optional<ZodiacPlace> ZodiacPlaceOf(double longitude);
// The short text of a place, "15Ari7": at most 7 characters, kept without allocating.
struct ZodiacShortText {
    std::array<char, 8> chars{};
    std::size_t size = 0;
    std::string_view View() const { return {chars.data(), size}; }
};
ZodiacShortText ShortZodiacText(const ZodiacPlace& place);

} // namespace orbivex
