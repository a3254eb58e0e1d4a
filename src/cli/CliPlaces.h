#pragma once
// Places of birth in orbivex-cli: a PLACE is a name of the atlas ("Lyon", "Springfield,
// Illinois", "Springfield, US") or coordinates with a zone ("46.2044N 6.1432E Europe/Zurich",
// "46.2044,6.1432 Europe/Zurich"). A date with a place and no zone of its own is read in the
// place's zone, and in the local mean time of the place where the zone kept its own mean time.

#include "calendar/DateInput.h"
#include "cli/Commands.h"
#include "places/Atlas.h"
#include "places/Place.h"

#include <QCommandLineOption>
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
// without a zone take as theirs. A name is first sought among the own places of the chart
// library in libraryFile (when given), then in the atlas. On an ambiguous name writes to
// context.err which place was taken and how to write the others. Returns the message of a
// usage error for a place found nowhere or coordinates not written as asked.
Expected<DatePlace, QString> ReadPlace(Context& context, const QString& command, const Atlas& atlas,
                                       const QString& text, const QString& typedZone,
                                       const QString& libraryFile = {});

// --NAME PLACE, the place of the date set `what` ("first birthdate").
QCommandLineOption PlaceOption(const QString& name, const QString& what);

// Reads a PLACE given for dateSet into `place` (ReadPlace, then ApplyPlaceZone: a zone typed in
// the date wins); the message of a usage error for a place not found or not written as asked.
Status ApplyPlaceOption(Context& context, const QString& command, const QString& text,
                        const QString& libraryFile, DateSet& dateSet, std::optional<Place>& place);

// Reads dateSet at the place (ReadAtPlace) when it has no zone typed, when the zone typed is
// the one coordinates took as theirs, or when it was read at another place (and marks the place
// so).
void ApplyPlaceZone(DatePlace& datePlace, DateSet& dateSet);

// When the converted dateSet was read in the local mean time of its place, writes a note on
// context.err that says so with the offset, and returns true.
bool NoteMeanTime(Context& context, const QString& command, const Place& place,
                  const DateSet& dateSet);

} // namespace orbivex::cli
