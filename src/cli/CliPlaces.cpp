#include "cli/CliPlaces.h"

#include "calendar/NamedZones.h"
#include "present/Messages.h"
#include "session/PlaceLookup.h"

#include <QStringList>
#include <cmath>

namespace orbivex::cli {

QString PlaceFormsText() {
    return QStringLiteral("a place of the atlas (\"Lyon\", \"Lyon, France\", \"Springfield, "
                          "Illinois\", \"Springfield, US\"; orbivex-cli places lists them) or "
                          "coordinates with a zone of the time-zone database (\"46.2044N 6.1432E "
                          "Europe/Zurich\", or \"46.2044,6.1432\" with the zone given apart: "
                          "--zone, or the zone of the date), or the name of a place of one's own "
                          "that the chart library keeps");
}

QJsonObject PlaceJson(const Place& place) {
    return {{QStringLiteral("name"), place.name},
            {QStringLiteral("region"), place.region},
            {QStringLiteral("country"), place.country},
            {QStringLiteral("countryCode"), place.countryCode},
            {QStringLiteral("zone"), place.zone},
            {QStringLiteral("latitude"), place.latitude},
            {QStringLiteral("longitude"), place.longitude},
            {QStringLiteral("population"), place.population}};
}

Expected<DatePlace, QString> ReadPlace(Context& context, const QString& command, const Atlas& atlas,
                                       const QString& text, const QString& typedZone,
                                       const QString& libraryFile) {
    const Expected<FoundPlace, QString> found = FindPlace(atlas, text, typedZone, libraryFile);
    if (!found) {
        return Fail(found.error());
    }
    if (!found->others.isEmpty()) {
        QStringList others;
        for (const Place& other : found->others) {
            others.append(QStringLiteral("\"%1\"").arg(
                PlaceName(other, found->others + QList<Place>{found->place})));
        }
        context.err << "orbivex-cli " << command << ": '" << text.trimmed() << "' is taken as "
                    << PlaceLine(found->place) << ", the most populous; for another write "
                    << others.join(QStringLiteral(", ")) << ".\n";
    }
    return DatePlace{found->place, found->zoneOfPlace};
}

QCommandLineOption PlaceOption(const QString& name, const QString& what) {
    return QCommandLineOption(
        name,
        QStringLiteral("The place of the %1. A date without a zone is read in the place's zone, "
                       "and in the local mean time of the place while its zone kept local mean "
                       "time; a zone in the date wins.")
            .arg(what),
        QStringLiteral("PLACE"));
}

Status ApplyPlaceOption(Context& context, const QString& command, const QString& text,
                        const QString& libraryFile, DateSet& dateSet, std::optional<Place>& place) {
    const Atlas atlas;
    // Coordinates without a zone take a named zone of the date as theirs.
    Expected<DatePlace, QString> read =
        ReadPlace(context, command, atlas, text, dateSet.zoneName, libraryFile);
    if (!read) {
        return Fail(read.error());
    }
    ApplyPlaceZone(*read, dateSet);
    place = read->place;
    return {};
}

void ApplyPlaceZone(DatePlace& datePlace, DateSet& dateSet) {
    // A date read at another place (a chart of the library, a state file) moves to this one.
    if (!ZoneChosen(dateSet) || datePlace.zoneOfPlace || dateSet.placeLongitude) {
        ReadAtPlace(dateSet, datePlace.place);
        datePlace.zoneOfPlace = true;
    }
}

bool NoteMeanTime(Context& context, const QString& command, const Place& place,
                  const DateSet& dateSet) {
    const std::optional<int> offset = PlaceMeanTimeOffset(dateSet);
    if (offset) {
        context.err << "orbivex-cli " << command << ": " << MeanTimeNote(place, *offset) << ".\n";
    }
    return offset.has_value();
}

} // namespace orbivex::cli
