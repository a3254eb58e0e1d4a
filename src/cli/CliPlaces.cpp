#include "cli/CliPlaces.h"

#include "calendar/NamedZones.h"
#include "session/ChartLibrary.h"

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
    QString error;
    if (const std::optional<Place> own = OwnPlaceOfText(text, {}, error)) {
        return DatePlace{*own, false};
    }
    if (!error.isEmpty()) {
        // Coordinates without a zone take the zone typed beside them as the place's zone.
        QString typedError;
        if (const std::optional<Place> own = OwnPlaceOfText(text, typedZone, typedError);
            own && !typedZone.trimmed().isEmpty()) {
            return DatePlace{*own, true};
        }
        return Fail(typedZone.trimmed().isEmpty() ? error : typedError);
    }
    if (!libraryFile.isEmpty()) {
        // A library that cannot be read keeps no place: the atlas then has its say.
        if (const LibraryResult<std::unique_ptr<ChartLibrary>> library =
                ChartLibrary::Open(libraryFile, ChartLibrary::Access::ReadOnly)) {
            if (const LibraryResult<std::optional<Place>> own = (*library)->FindOwnPlace(text);
                own && *own) {
                return DatePlace{**own, false};
            }
        }
    }
    const Expected<PlaceMatch, QString> match = atlas.Find(text);
    if (!match) {
        return Fail(match.error());
    }
    if (!match->others.isEmpty()) {
        QStringList others;
        for (const Place& other : match->others) {
            others.append(QStringLiteral("\"%1\"").arg(
                PlaceName(other, match->others + QList<Place>{match->place})));
        }
        context.err << "orbivex-cli " << command << ": '" << text.trimmed() << "' is taken as "
                    << PlaceLine(match->place) << ", the most populous; for another write "
                    << others.join(QStringLiteral(", ")) << ".\n";
    }
    return DatePlace{match->place, false};
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
