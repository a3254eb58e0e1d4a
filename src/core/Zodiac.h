#pragma once
// The zodiac the signs are counted in: from the fixed equinox of J2000, in which every
// longitude is computed, or from the mean equinox of the chart's own date. Only the signs
// move; longitudes and aspects stay in J2000.

#include <QString>
#include <optional>

namespace orbivex {

enum class ZodiacChoice {
    J2000,  // signs from the equinox of J2000 (the default)
    OfDate, // signs from the mean equinox of the date
};

// "j2000" or "date", as the command line and the state files write it.
QString ZodiacName(ZodiacChoice zodiac);
// The choice of such a name (any letter case); nothing for another text.
std::optional<ZodiacChoice> ZodiacOfName(const QString& name);

// The general precession in longitude from J2000 to the mean equinox of the instant jd (UT),
// in radians: positive after 2000, negative before. Taken from the ephemeris library's own
// precession, as the difference between the Earth's heliocentric longitude of date and of J2000.
double PrecessionSinceJ2000(double jd);

// What to add to a J2000 longitude to count its sign in the zodiac at the instant jd: 0 for
// J2000, the precession for the zodiac of date.
double ZodiacOffset(ZodiacChoice zodiac, double jd);

// The longitude plus the offset, within [0, full circle).
double LongitudeInZodiac(double longitude, double offset);

} // namespace orbivex
