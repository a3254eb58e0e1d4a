#pragma once
// The place a text names, as the window's place boxes and orbivex-cli read it: coordinates
// with a zone ("46.2044N 6.1432E Europe/Zurich"), a place of one's own that the chart library
// keeps, or a name of the atlas ("Lyon", "Springfield, Illinois", "Springfield, US").

#include "places/Atlas.h"
#include "places/Place.h"
#include "support/Expected.h"

#include <QList>
#include <QString>

namespace orbivex {

struct FoundPlace {
    Place place;
    // Coordinates written without a zone took the zone typed beside them as the place's.
    bool zoneOfPlace = false;
    // The other places of the atlas with that name; the most populous one was taken.
    QList<Place> others;
};

// The place `text` names. Coordinates without a zone take `typedZone` (when not empty); a name
// is sought among the own places of the library in `libraryFile` (when given and readable),
// then in the atlas. The message for coordinates not written as asked or a name found nowhere.
Expected<FoundPlace, QString> FindPlace(const Atlas& atlas, const QString& text,
                                        const QString& typedZone, const QString& libraryFile = {});

} // namespace orbivex
