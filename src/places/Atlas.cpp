// The only file that sees GLib: the geonames library speaks it, the rest of the program speaks
// Qt. Its header comes first, before any Qt header can define words GLib's headers use.
#include <geonames.h>

#include "places/Atlas.h"

#include <QStringList>
#include <algorithm>
#include <dlfcn.h>
#include <memory>

namespace orbivex {

namespace {

QString Utf8(const gchar* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// The geonames library, and the GLib under it, are loaded when a place is first looked up, not
// linked: linked, they would be loaded and relocated by every command of orbivex-cli, which
// doubled the start of the commands that never read the atlas.
struct GeonamesCalls {
    decltype(&geonames_query_cities_sync) querySync = nullptr;
    decltype(&geonames_get_city) getCity = nullptr;
    decltype(&geonames_city_free) cityFree = nullptr;
    decltype(&geonames_city_get_name) name = nullptr;
    decltype(&geonames_city_get_state) state = nullptr;
    decltype(&geonames_city_get_country) country = nullptr;
    decltype(&geonames_city_get_country_code) countryCode = nullptr;
    decltype(&geonames_city_get_timezone) zone = nullptr;
    decltype(&geonames_city_get_latitude) latitude = nullptr;
    decltype(&geonames_city_get_longitude) longitude = nullptr;
    decltype(&geonames_city_get_population) population = nullptr;
    decltype(&g_free) free = nullptr;
    decltype(&g_error_free) errorFree = nullptr;
    QString error; // empty when every call was found
};

template <typename Function> bool Bind(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

GeonamesCalls LoadGeonames() {
    GeonamesCalls calls;
    void* library = dlopen("libgeonames.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        calls.error = QStringLiteral("The atlas of places cannot be read: %1 (Debian's package "
                                     "libgeonames0 holds it).")
                          .arg(QString::fromLocal8Bit(dlerror()));
        return calls;
    }
    // The library stays loaded for the rest of the program, as a linked one would.
    const bool bound = Bind(library, "geonames_query_cities_sync", calls.querySync) &&
                       Bind(library, "geonames_get_city", calls.getCity) &&
                       Bind(library, "geonames_city_free", calls.cityFree) &&
                       Bind(library, "geonames_city_get_name", calls.name) &&
                       Bind(library, "geonames_city_get_state", calls.state) &&
                       Bind(library, "geonames_city_get_country", calls.country) &&
                       Bind(library, "geonames_city_get_country_code", calls.countryCode) &&
                       Bind(library, "geonames_city_get_timezone", calls.zone) &&
                       Bind(library, "geonames_city_get_latitude", calls.latitude) &&
                       Bind(library, "geonames_city_get_longitude", calls.longitude) &&
                       Bind(library, "geonames_city_get_population", calls.population) &&
                       Bind(library, "g_free", calls.free) &&
                       Bind(library, "g_error_free", calls.errorFree);
    if (!bound) {
        calls.error = QStringLiteral("The atlas of places cannot be read: %1.")
                          .arg(QString::fromLocal8Bit(dlerror()));
    }
    return calls;
}

// Loaded once, on first use, and never changed after.
const GeonamesCalls& Geonames() {
    static const GeonamesCalls calls = LoadGeonames();
    return calls;
}

// Every place whose name holds the words of `name`, most populous first.
QList<Place> Query(const QString& name) {
    QList<Place> places;
    const QByteArray query = name.trimmed().toUtf8();
    if (query.isEmpty()) {
        return places;
    }
    const GeonamesCalls& geonames = Geonames();
    if (!geonames.error.isEmpty()) {
        return places;
    }
    guint count = 0;
    GError* error = nullptr;
    const std::unique_ptr<gint, decltype(&g_free)> indices(
        geonames.querySync(query.constData(), GEONAMES_QUERY_DEFAULT, &count, nullptr, &error),
        geonames.free);
    if (error) {
        geonames.errorFree(error);
    }
    if (!indices) {
        return places;
    }
    for (guint i = 0; i < count; ++i) {
        const std::unique_ptr<GeonamesCity, decltype(&geonames_city_free)> city(
            geonames.getCity(indices.get()[i]), geonames.cityFree);
        if (!city) {
            continue;
        }
        Place place;
        place.name = Utf8(geonames.name(city.get()));
        place.region = Utf8(geonames.state(city.get()));
        place.country = Utf8(geonames.country(city.get()));
        place.countryCode = Utf8(geonames.countryCode(city.get()));
        place.zone = Utf8(geonames.zone(city.get()));
        place.latitude = geonames.latitude(city.get());
        place.longitude = geonames.longitude(city.get());
        place.population = geonames.population(city.get());
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
    if (const QString& unreadable = Geonames().error; !unreadable.isEmpty()) {
        return Fail(unreadable);
    }
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
