#pragma once
// A place of birth: where it is, the zone its clocks kept, and the local mean time of its own
// longitude. The atlas (Atlas.h) finds places by name; a place the atlas lacks is written as its
// coordinates and a zone.

#include "calendar/DateInput.h"
#include "calendar/NamedZones.h"
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

    bool operator==(const Place&) const = default;
};

// A place of one's own: "46.2044N 6.1432E Europe/Zurich" (hemisphere letters, the zone last)
// or "46.2044,6.1432" (signed decimals, east and north positive) followed by a zone or with
// `zone` given apart, optionally named first: "Grandma's village=46.2N 6.1E Europe/Zurich".
// Without a name the place is named by its coordinates. Returns nothing when the text is not
// written so; `error` then says why when it looked like coordinates (it stays empty for a
// text that may be a name).
std::optional<Place> OwnPlaceOfText(const QString& text, const QString& zone, QString& error);

// How a place reads on a line: "Lyon, Auvergne-Rhône-Alpes, France (Europe/Paris)".
QString PlaceLine(const Place& place);

// True for a place written as coordinates rather than found in the atlas.
bool IsOwnPlace(const Place& place);

// The date set is read at the place: in the place's zone and, while that zone kept its own
// local mean time, in the local mean time of the place's longitude.
void ReadAtPlace(DateSet& dateSet, const Place& place);

} // namespace orbivex
