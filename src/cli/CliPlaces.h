#pragma once
// Places of birth in orbivex-cli: a PLACE is a name of the atlas ("Lyon", "Springfield,
// Illinois", "Springfield, US") or coordinates with a zone ("46.2044N 6.1432E Europe/Zurich",
// "46.2044,6.1432 Europe/Zurich"). A date with a place and no zone of its own is read in the
// place's zone, and in the local mean time of the place where the zone kept its own mean time.

#include "calendar/DateInput.h"
#include "cli/Commands.h"
#include "places/Atlas.h"
#include "places/Place.h"

#include <QJsonObject>
#include <QString>
#include <optional>

namespace orbivex::cli {

// The forms of a PLACE, as help texts name them.
QString PlaceFormsText();

// {"name", "region", "country", "countryCode", "zone", "latitude", "longitude", "population"}
QJsonObject PlaceJson(const Place& place);

// A place that a date is read at.
struct DatePlace {
    Place place;
    // The date is read in the place's zone: no zone was typed, or the zone typed beside
    // coordinates is theirs.
    bool zoneOfPlace = false;
};

// Reads PLACE; `typedZone` is the zone typed beside it (empty for none), which coordinates
// without a zone take as theirs. On an ambiguous name writes to context.err which place was
// taken and how to write the others. Returns the message of a usage error for a place the
// atlas lacks or coordinates not written as asked.
Expected<DatePlace, QString> ReadPlace(Context& context, const QString& command, const Atlas& atlas,
                                       const QString& text, const QString& typedZone);

// Gives dateSet the place's zone when it has no zone typed (and marks the place so).
void ApplyPlaceZone(DatePlace& datePlace, DateSet& dateSet);

// The instant of julianDate (converted in the date set's zone) at the place: when the place's
// own zone gave the zone's local mean time, the local mean time of the place's longitude, and
// a note on context.err that says so with the offset. `meanTime` tells whether it was used.
double InstantAtPlace(Context& context, const QString& command, const DatePlace& datePlace,
                      double julianDate, bool& meanTime);

} // namespace orbivex::cli
