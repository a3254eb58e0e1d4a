#include "places/Place.h"

#include "calendar/NamedZones.h"

#include <QRegularExpression>
#include <cmath>

namespace orbivex {

namespace {

// "46.2044N 6.1432E" or "46.2044,6.1432"; the rest of the text (the zone) in `rest`.
bool ReadCoordinates(const QString& text, double& latitude, double& longitude, QString& rest) {
    static const QRegularExpression lettered(QStringLiteral(
        R"(^\s*(\d+(?:\.\d+)?)\s*([NnSs])\s+(\d+(?:\.\d+)?)\s*([EeWw])(?:\s+(.*))?$)"));
    static const QRegularExpression decimal(
        QStringLiteral(R"(^\s*([-+]?\d+(?:\.\d+)?)\s*,\s*([-+]?\d+(?:\.\d+)?)(?:\s+(.*))?$)"));
    if (const QRegularExpressionMatch match = lettered.match(text); match.hasMatch()) {
        latitude = match.captured(1).toDouble();
        longitude = match.captured(3).toDouble();
        if (match.captured(2).compare(QLatin1String("S"), Qt::CaseInsensitive) == 0) {
            latitude = -latitude;
        }
        if (match.captured(4).compare(QLatin1String("W"), Qt::CaseInsensitive) == 0) {
            longitude = -longitude;
        }
        rest = match.captured(5).trimmed();
        return true;
    }
    if (const QRegularExpressionMatch match = decimal.match(text); match.hasMatch()) {
        latitude = match.captured(1).toDouble();
        longitude = match.captured(2).toDouble();
        rest = match.captured(3).trimmed();
        return true;
    }
    return false;
}

} // namespace

std::optional<Place> OwnPlaceOfText(const QString& written, const QString& zone, QString& error) {
    error.clear();
    // "NAME=COORDINATES ZONE": the name the place is kept under.
    const qsizetype equals = written.lastIndexOf(QLatin1Char('='));
    const QString ownName = equals < 0 ? QString() : written.left(equals).simplified();
    const QString text = equals < 0 ? written : written.mid(equals + 1);
    double latitude = 0;
    double longitude = 0;
    QString zoneWritten;
    if (!ReadCoordinates(text, latitude, longitude, zoneWritten)) {
        if (equals >= 0) {
            error = QStringLiteral("'%1': after the name and '=' come the coordinates and the "
                                   "zone, such as 46.2044N 6.1432E Europe/Zurich.")
                        .arg(written.trimmed());
        }
        return std::nullopt;
    }
    if (equals >= 0 && ownName.isEmpty()) {
        error = QStringLiteral("'%1': the name before '=' is empty.").arg(written.trimmed());
        return std::nullopt;
    }
    if (std::abs(latitude) > 90 || std::abs(longitude) > 180) {
        error = QStringLiteral("'%1': a latitude lies within 90° and a longitude within 180°.")
                    .arg(text.trimmed());
        return std::nullopt;
    }
    const QString wanted = zoneWritten.isEmpty() ? zone.trimmed() : zoneWritten;
    const QString zoneName = ZoneNameAsListed(wanted);
    if (zoneName.isEmpty()) {
        error = wanted.isEmpty()
                    ? QStringLiteral("'%1' has no zone: write a zone of the time-zone database "
                                     "after the coordinates, such as Europe/Zurich.")
                          .arg(text.trimmed())
                    : QStringLiteral("'%1' is not a zone of the time-zone database, such as "
                                     "Europe/Zurich.")
                          .arg(wanted);
        return std::nullopt;
    }
    Place place;
    place.name = !ownName.isEmpty() ? ownName
                                    : QStringLiteral("%1%2 %3%4")
                                          .arg(std::abs(latitude), 0, 'f', 4)
                                          .arg(latitude < 0 ? QLatin1Char('S') : QLatin1Char('N'))
                                          .arg(std::abs(longitude), 0, 'f', 4)
                                          .arg(longitude < 0 ? QLatin1Char('W') : QLatin1Char('E'));
    place.zone = zoneName;
    place.latitude = latitude;
    place.longitude = longitude;
    return place;
}

QString PlaceLine(const Place& place) {
    QStringList parts{place.name};
    for (const QString& part : {place.region, place.country}) {
        if (!part.isEmpty()) {
            parts.append(part);
        }
    }
    return QStringLiteral("%1 (%2)").arg(parts.join(QStringLiteral(", ")), place.zone);
}

bool IsOwnPlace(const Place& place) {
    return place.country.isEmpty() && place.countryCode.isEmpty();
}

void ReadAtPlace(DateSet& dateSet, const Place& place) {
    dateSet.zoneName = place.zone;
    dateSet.timezoneIndex = 0;
    dateSet.placeLongitude = place.longitude;
}

} // namespace orbivex
