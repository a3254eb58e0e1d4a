#pragma once
// A place of birth: where it is, the zone its clocks kept, and the local mean time of its own
// longitude. The atlas (Atlas.h) finds places by name; a place the atlas lacks is written as its
// coordinates and a zone.

#include "support/Expected.h"

#include <QList>
#include <QString>
#include <optional>

namespace orbivex {

struct Place {
    QString name;         // "Lyon"; the coordinates as written for a place of one's own
    QString region;       // "Auvergne-Rhône-Alpes"; empty when unknown
    QString country;      // "France"
    QString countryCode;  // "FR"
    QString zone;         // a zone of the time-zone database: "Europe/Paris"
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
    qint64 population = 0;
};

// The offset of local mean time at a longitude, in whole seconds east of Greenwich: four
// minutes of time per degree, rounded to the nearest second as the time-zone database rounds
// its own local mean times (4.8467° E gives 1163.208 s, written +00:19:23).
int LocalMeanTimeSeconds(double longitude);

// A place of one's own: "46.2044N 6.1432E Europe/Zurich" (hemisphere letters, the zone last)
// or "46.2044,6.1432" (signed decimals, east and north positive) followed by a zone or with
// `zone` given apart. Returns nothing when the text is not written so; `error` then says why
// when it looked like coordinates (it stays empty for a text that may be a name).
std::optional<Place> OwnPlaceOfText(const QString& text, const QString& zone, QString& error);

// How a place reads on a line: "Lyon, Auvergne-Rhône-Alpes, France (Europe/Paris)".
QString PlaceLine(const Place& place);

// The Julian date (UT) of `julianDate`, converted with the place's zone, corrected to the local
// mean time of the place when it fell in the zone's own local mean time (before the zone's
// first change of offset). `used` tells whether it did; `offsetSeconds` is the offset applied.
double PlaceInstant(const Place& place, double julianDate, bool& used, int& offsetSeconds);

} // namespace orbivex
