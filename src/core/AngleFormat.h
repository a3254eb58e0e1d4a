#pragma once

#include <QString>

namespace orbivex {

// An angle in radians as whole degrees, "°", rounded minutes and "'" ("123°45'", "5°44'").
// omitZeroMinutes: "10°" instead of "10°0'"; keepMinuteSpace: "12° 5'"; allowNegative: a
// negative angle gets "-" in front instead of giving ""; carryWholeMinute: 59.99' rounds up
// into the next degree even at 359°. Above the full circle the text is empty.
QString FormatDegreesMinutes(double angle, bool omitZeroMinutes = false,
                             bool keepMinuteSpace = false, bool allowNegative = false,
                             bool carryWholeMinute = false);

} // namespace orbivex
