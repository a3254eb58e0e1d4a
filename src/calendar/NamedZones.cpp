#include "calendar/NamedZones.h"

#include "calendar/Calendar.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace orbivex {

namespace {

constexpr qint64 SecondsPerDay = 86400;

// The zone of a name the database lists; an invalid zone otherwise. QTimeZone alone would also
// take texts such as "Mars" as rules of the TZ variable's form.
QTimeZone ZoneOfName(const QString& name) {
    const QString listed = ZoneNameAsListed(name);
    return listed.isEmpty() ? QTimeZone() : QTimeZone(listed.toUtf8());
}

int OffsetAt(const QTimeZone& zone, qint64 utcSeconds) {
    return zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSeconds, QTimeZone::utc()));
}

} // namespace

QString ZoneNameAsListed(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        return {};
    }
    if (QTimeZone::isTimeZoneIdAvailable(trimmed.toUtf8())) {
        return trimmed;
    }
    // The database's names differ in more than letter case, so at most one matches.
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
        const QString listed = QString::fromUtf8(id);
        if (listed.compare(trimmed, Qt::CaseInsensitive) == 0) {
            return listed;
        }
    }
    return {};
}

bool IsZoneName(const QString& name) {
    return ZoneOfName(name).isValid();
}

QStringList ZoneNames() {
    QStringList names;
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
        names.append(QString::fromUtf8(id));
    }
    names.sort();
    return names;
}

ZoneReading ReadLocalTime(const QString& zoneName, std::int32_t jdn, int minute) {
    const QTimeZone zone = ZoneOfName(zoneName);
    if (!zone.isValid()) {
        return {};
    }
    // The local time counted as if it were Universal Time; the instant it stands for lies an
    // offset before it. Every offset in force within a day of it is a candidate, and a
    // candidate is right when the zone has that very offset at the instant it gives.
    const qint64 local = (static_cast<qint64>(jdn) - JdnOfUnixEpoch) * SecondsPerDay + minute * 60;
    const int before = OffsetAt(zone, local - SecondsPerDay);
    const int after = OffsetAt(zone, local + SecondsPerDay);
    std::array<int, 3> candidates{before, OffsetAt(zone, local), after};
    std::sort(candidates.begin(), candidates.end(), std::greater<>());
    int found = 0;
    std::array<int, 3> fitting{};
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if ((i == 0 || candidates[i] != candidates[i - 1]) &&
            OffsetAt(zone, local - candidates[i]) == candidates[i]) {
            fitting[static_cast<std::size_t>(found++)] = candidates[i];
        }
    }
    ZoneReading reading;
    reading.known = true;
    if (found == 0) {
        reading.kind = LocalTimeKind::Skipped;
        reading.offsetSeconds = before;
        reading.otherOffsetSeconds = after;
    } else {
        // The larger offset gives the earlier instant: the first occurrence.
        reading.offsetSeconds = fitting[0];
        if (found > 1) {
            reading.kind = LocalTimeKind::Doubled;
            reading.otherOffsetSeconds = fitting[1];
        }
    }
    return reading;
}

int ZoneOffsetAt(const QString& zoneName, double julianDate) {
    const QTimeZone zone = ZoneOfName(zoneName);
    if (!zone.isValid() || !std::isfinite(julianDate)) {
        return 0;
    }
    const double seconds = (julianDate + 0.5 - JdnOfUnixEpoch) * static_cast<double>(SecondsPerDay);
    return OffsetAt(zone, static_cast<qint64>(std::llround(seconds)));
}

bool IsZoneLocalMeanTime(const QString& zoneName, double julianDate) {
    const QTimeZone zone = ZoneOfName(zoneName);
    if (!zone.isValid() || !std::isfinite(julianDate)) {
        return false;
    }
    const double seconds = (julianDate + 0.5 - JdnOfUnixEpoch) * static_cast<double>(SecondsPerDay);
    const QDateTime at =
        QDateTime::fromSecsSinceEpoch(static_cast<qint64>(std::llround(seconds)), QTimeZone::utc());
    const QTimeZone::OffsetData first =
        zone.nextTransition(QDateTime(QDate(1, 1, 1), QTime(0, 0), QTimeZone::utc()));
    return first.atUtc.isValid() && at < first.atUtc &&
           zone.abbreviation(at) == QLatin1String("LMT");
}

int LocalMeanTimeSeconds(double longitude) {
    return static_cast<int>(std::lround(longitude * 240.0));
}

QString OffsetText(int offsetSeconds) {
    const int magnitude = std::abs(offsetSeconds);
    QString text = QStringLiteral("%1%2:%3")
                       .arg(offsetSeconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                       .arg(magnitude / 3600, 2, 10, QLatin1Char('0'))
                       .arg(magnitude / 60 % 60, 2, 10, QLatin1Char('0'));
    if (magnitude % 60 != 0) {
        text += QStringLiteral(":%1").arg(magnitude % 60, 2, 10, QLatin1Char('0'));
    }
    return text;
}

} // namespace orbivex
