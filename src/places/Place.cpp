#include "places/Place.h"

#include "calendar/NamedZones.h"

#include <QRegularExpression>
#include <cmath>

namespace orbivex {

int LocalMeanTimeSeconds(double longitude) {
    return static_cast<int>(std::lround(longitude * 240.0));
}

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

std::optional<Place> OwnPlaceOfText(const QString& text, const QString& zone, QString& error) {
    error.clear();
    double latitude = 0;
    double longitude = 0;
    QString written;
    if (!ReadCoordinates(text, latitude, longitude, written)) {
        return std::nullopt;
    }
    if (std::abs(latitude) > 90 || std::abs(longitude) > 180) {
        error = QStringLiteral("'%1': a latitude lies within 90° and a longitude within 180°.")
                    .arg(text.trimmed());
        return std::nullopt;
    }
    const QString zoneName = written.isEmpty() ? zone.trimmed() : written;
    if (!IsZoneName(zoneName)) {
        error = zoneName.isEmpty()
                    ? QStringLiteral("'%1' has no zone: write a zone of the time-zone database "
                                     "after the coordinates, such as Europe/Zurich.")
                          .arg(text.trimmed())
                    : QStringLiteral("'%1' is not a zone of the time-zone database, such as "
                                     "Europe/Zurich.")
                          .arg(zoneName);
        return std::nullopt;
    }
    Place place;
    place.name = QStringLiteral("%1%2 %3%4")
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

double PlaceInstant(const Place& place, double julianDate, bool& used, int& offsetSeconds) {
    used = IsZoneLocalMeanTime(place.zone, julianDate);
    offsetSeconds = ZoneOffsetAt(place.zone, julianDate);
    if (!used) {
        return julianDate;
    }
    // The local time is the same; only the offset it is read with changes.
    const int own = LocalMeanTimeSeconds(place.longitude);
    const double instant = julianDate + (offsetSeconds - own) / 86400.0;
    offsetSeconds = own;
    return instant;
}

} // namespace orbivex
