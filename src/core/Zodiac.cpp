#include "core/Zodiac.h"

#include "core/Bodies.h"

#include <cmath>
#include <swephexp.h>

namespace orbivex {

QString ZodiacName(ZodiacChoice zodiac) {
    return zodiac == ZodiacChoice::OfDate ? QStringLiteral("date") : QStringLiteral("j2000");
}

std::optional<ZodiacChoice> ZodiacOfName(const QString& name) {
    const QString lower = name.trimmed().toLower();
    if (lower == u"j2000") {
        return ZodiacChoice::J2000;
    }
    if (lower == u"date") {
        return ZodiacChoice::OfDate;
    }
    return std::nullopt;
}

namespace {

// The IAU 2006 polynomial of the general precession in longitude, for an instant the library
// could not compute (it never fails within the years the program converts).
double PrecessionPolynomial(double jd) {
    const double t = (jd - 2451545.0) / 36525.0;
    const double arcseconds =
        t * (5028.796195 + t * (1.1054348 + t * (0.00007964 + t * (-0.000023857 - t * 3.83e-8))));
    return DegreesToRadians(arcseconds / 3600.0);
}

} // namespace

double PrecessionSinceJ2000(double jd) {
    if (!std::isfinite(jd)) {
        return 0.0;
    }
    // The built-in theory needs no files and gives the same frame rotation as the files: the
    // difference of one position in two frames does not depend on the position's accuracy.
    // Without nutation the equinox of date is the mean one. The few minutes between Universal
    // and Terrestrial Time move the equinox by a thousandth of an arc second.
    constexpr int32 flags = SEFLG_MOSEPH | SEFLG_HELCTR | SEFLG_NONUT | SEFLG_TRUEPOS;
    double ofDate[6] = {};
    double ofJ2000[6] = {};
    char error[AS_MAXCH] = {};
    if (swe_calc(jd, SE_EARTH, flags, ofDate, error) < 0 ||
        swe_calc(jd, SE_EARTH, flags | SEFLG_J2000, ofJ2000, error) < 0 ||
        !std::isfinite(ofDate[0]) || !std::isfinite(ofJ2000[0])) {
        return PrecessionPolynomial(jd);
    }
    double degrees = ofDate[0] - ofJ2000[0];
    degrees -= 360.0 * std::round(degrees / 360.0);
    return DegreesToRadians(degrees);
}

double ZodiacOffset(ZodiacChoice zodiac, double jd) {
    return zodiac == ZodiacChoice::OfDate ? PrecessionSinceJ2000(jd) : 0.0;
}

double LongitudeInZodiac(double longitude, double offset) {
    double shifted = std::fmod(longitude + offset, FullCircle);
    if (shifted < 0.0) {
        shifted += FullCircle;
    }
    return shifted >= FullCircle ? 0.0 : shifted;
}

} // namespace orbivex
