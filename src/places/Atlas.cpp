// The only file that sees GLib: the geonames library speaks it, the rest of the program speaks
// Qt. Its header comes first, before any Qt header can define words GLib's headers use.
#include <geonames.h>

#include "places/Atlas.h"

#include <QStringList>
#include <algorithm>
#include <memory>

namespace orbivex {

namespace {

QString Utf8(const gchar* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// Every place whose name holds the words of `name`, most populous first.
QList<Place> Query(const QString& name) {
    QList<Place> places;
    const QByteArray query = name.trimmed().toUtf8();
    if (query.isEmpty()) {
        return places;
    }
    guint count = 0;
    GError* error = nullptr;
    const std::unique_ptr<gint, decltype(&g_free)> indices(
        geonames_query_cities_sync(query.constData(), GEONAMES_QUERY_DEFAULT, &count, nullptr,
                                   &error),
        &g_free);
    if (error) {
        g_error_free(error);
    }
    if (!indices) {
        return places;
    }
    for (guint i = 0; i < count; ++i) {
        const std::unique_ptr<GeonamesCity, decltype(&geonames_city_free)> city(
            geonames_get_city(indices.get()[i]), &geonames_city_free);
        if (!city) {
            continue;
        }
        Place place;
        place.name = Utf8(geonames_city_get_name(city.get()));
        place.region = Utf8(geonames_city_get_state(city.get()));
        place.country = Utf8(geonames_city_get_country(city.get()));
        place.countryCode = Utf8(geonames_city_get_country_code(city.get()));
        place.zone = Utf8(geonames_city_get_timezone(city.get()));
        place.latitude = geonames_city_get_latitude(city.get());
        place.longitude = geonames_city_get_longitude(city.get());
        place.population = geonames_city_get_population(city.get());
        places.append(place);
    }
    std::stable_sort(places.begin(), places.end(),
                     [](const Place& a, const Place& b) { return a.population > b.population; });
    return places;
}

bool Same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name before the first comma, and each part after it.
struct NameParts {
    QString name;
    QStringList qualifiers;
};

NameParts PartsOf(const QString& text) {
    QStringList parts = text.split(QLatin1Char(','));
    NameParts read{parts.takeFirst().trimmed(), {}};
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty()) {
            read.qualifiers.append(part.trimmed());
        }
    }
    return read;
}

bool FitsQualifiers(const Place& place, const QStringList& qualifiers) {
    return std::all_of(qualifiers.begin(), qualifiers.end(), [&place](const QString& qualifier) {
        return Same(qualifier, place.region) || Same(qualifier, place.country) ||
               Same(qualifier, place.countryCode);
    });
}

QList<Place> Fitting(const NameParts& parts) {
    QList<Place> places = Query(parts.name);
    places.removeIf(
        [&parts](const Place& place) { return !FitsQualifiers(place, parts.qualifiers); });
    return places;
}

} // namespace

QList<Place> Atlas::Search(const QString& text, int limit) const {
    QList<Place> places = Fitting(PartsOf(text));
    if (limit >= 0 && places.size() > limit) {
        places.resize(limit);
    }
    return places;
}

Expected<PlaceMatch, QString> Atlas::Find(const QString& text) const {
    const NameParts parts = PartsOf(text);
    QList<Place> places = Fitting(parts);
    QList<Place> named = places;
    named.removeIf([&parts](const Place& place) { return !Same(place.name, parts.name); });
    if (!named.isEmpty()) {
        places = named;
    }
    if (places.isEmpty()) {
        return Fail(
            QStringLiteral("The atlas has no place called '%1'; orbivex-cli places %2 lists "
                           "the places whose names hold it.")
                .arg(text.trimmed(), parts.name.isEmpty() ? QStringLiteral("TEXT") : parts.name));
    }
    PlaceMatch match{places.takeFirst(), {}};
    match.others = places;
    return match;
}

QString PlaceName(const Place& place, const QList<Place>& others) {
    // Whether another place of the same name (not this one, which `others` may hold) also has
    // what `same` asks for.
    const auto shared = [&place, &others](auto same) {
        return std::any_of(others.begin(), others.end(), [&](const Place& other) {
            const bool itself = other.latitude == place.latitude &&
                                other.longitude == place.longitude && other.name == place.name;
            return !itself && Same(other.name, place.name) && same(other);
        });
    };
    if (!shared([](const Place&) { return true; })) {
        return place.name;
    }
    if (!place.region.isEmpty() &&
        !shared([&place](const Place& other) { return Same(other.region, place.region); })) {
        return QStringLiteral("%1, %2").arg(place.name, place.region);
    }
    if (place.region.isEmpty() || !shared([&place](const Place& other) {
            return Same(other.countryCode, place.countryCode);
        })) {
        return QStringLiteral("%1, %2").arg(place.name, place.countryCode);
    }
    return QStringLiteral("%1, %2, %3").arg(place.name, place.region, place.countryCode);
}

} // namespace orbivex
