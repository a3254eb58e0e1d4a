#pragma once
// Time zones named as in the system's time-zone database (Europe/Paris, Asia/Kolkata) and the
// offset in force there at a local date and time: summer time, war time, changes of zone and,
// before the database's first entry for a zone, its local mean time, all as the database says.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace orbivex {

enum class LocalTimeKind {
    Unique,  // the local time happened once
    Skipped, // the clocks were put forward over it
    Doubled, // the clocks were put back over it: it happened twice
};

struct ZoneReading {
    bool known = false;    // the database has the zone
    int offsetSeconds = 0; // east of Greenwich: the offset the local time is read with
    LocalTimeKind kind = LocalTimeKind::Unique;
    // Skipped: the offset after the change. Doubled: the offset of the second occurrence.
    int otherOffsetSeconds = 0;
};

// True when the database has a zone of that name, in any letter case.
bool IsZoneName(const QString& name);

// The name as the database spells it ("europe/paris" gives "Europe/Paris"); empty when the
// database has no zone of that name.
QString ZoneNameAsListed(const QString& name);

// Every zone name of the database, sorted, for completion in the zone box.
QStringList ZoneNames();

// How the local time `minute` minutes after midnight of civil day `jdn` reads in the zone. A
// skipped time is read with the offset in force before the change (the clock not yet put
// forward); a doubled time as its first occurrence.
ZoneReading ReadLocalTime(const QString& zoneName, std::int32_t jdn, int minute);

// The offset in seconds east of Greenwich in force in the zone at the Julian date (UT); 0 for
// a zone the database lacks.
int ZoneOffsetAt(const QString& zoneName, double julianDate);

// True when the Julian date (UT) falls in the zone's own local mean time: the database names the
// period "LMT" and it comes before the zone's first change of offset.
bool IsZoneLocalMeanTime(const QString& zoneName, double julianDate);

// The offset of local mean time at a longitude, in whole seconds east of Greenwich: four
// minutes of time per degree, rounded to the nearest second as the time-zone database rounds
// its own local mean times (4.8467° E gives 1163.208 s, written +00:19:23).
int LocalMeanTimeSeconds(double longitude);

// An offset as "+01:00", "-05:00", "+00:09:21" (seconds only when it has them).
QString OffsetText(int offsetSeconds);

} // namespace orbivex
