#include "cli/CliPlaces.h"

#include "calendar/NamedZones.h"

#include <QStringList>
#include <cmath>

namespace orbivex::cli {

QString PlaceFormsText() {
    return QStringLiteral("a place of the atlas (\"Lyon\", \"Lyon, France\", \"Springfield, "
                          "Illinois\", \"Springfield, US\"; orbivex-cli places lists them) or "
                          "coordinates with a zone of the time-zone database (\"46.2044N 6.1432E "
                          "Europe/Zurich\", or \"46.2044,6.1432\" with --zone)");
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
                                       const QString& text, const QString& typedZone) {
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

void ApplyPlaceZone(DatePlace& datePlace, DateSet& dateSet) {
    if (!ZoneChosen(dateSet)) {
        dateSet.zoneName = datePlace.place.zone;
        dateSet.timezoneIndex = 0;
        datePlace.zoneOfPlace = true;
    }
}

double InstantAtPlace(Context& context, const QString& command, const DatePlace& datePlace,
                      double julianDate, bool& meanTime) {
    meanTime = false;
    if (!datePlace.zoneOfPlace) {
        return julianDate;
    }
    int offset = 0;
    const double instant = PlaceInstant(datePlace.place, julianDate, meanTime, offset);
    if (meanTime) {
        context.err << "orbivex-cli " << command << ": the time is the local mean time of "
                    << datePlace.place.name << " (longitude "
                    << QString::number(std::abs(datePlace.place.longitude), 'f', 4)
                    << (datePlace.place.longitude < 0 ? "° W" : "° E") << "), UT"
                    << OffsetText(offset) << ", as " << datePlace.place.zone
                    << " kept local mean time then.\n";
    }
    return instant;
}

} // namespace orbivex::cli
