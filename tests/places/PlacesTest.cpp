// Places of birth: the atlas's names, places of one's own, and the instant a local time at a
// place stands for, against instants worked out by hand.
#include "places/Atlas.h"
#include "places/Place.h"

#include <QDate>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

// The Julian date (UT) of a local civil time read with an offset in seconds east.
double JulianDateOf(int year, int month, int day, int hour, int minute, int offsetSeconds) {
    const double jdn = static_cast<double>(QDate(year, month, day).toJulianDay());
    return jdn - 0.5 + (hour * 3600 + minute * 60 - offsetSeconds) / 86400.0;
}

struct InstantCase {
    const char* name;
    int year, month, day, hour, minute;
    int zoneSeconds;  // the offset the place's zone gives at that local time
    bool meanTime;    // the local mean time of the place is used
    int placeSeconds; // the offset worked out by hand
};

TEST(PlaceInstant, LocalMeanTimeOfThePlaceOnlyInTheZonesOwnMeanTime) {
    const Atlas atlas;
    // Offsets by hand: the atlas's longitude times 240 s a degree, to the nearest second.
    // Lyon 4.8467° E: 1163.208 s, +0:19:23 (Paris's own mean time is +0:09:21, 561 s).
    // New York 74.0060° W: -17761.44 s, -4:56:01 (the database's New York LMT is -4:56:02).
    // Lyon 1970: Paris time, in July summer time +2:00 from 1976 only, so +1:00 in 1970.
    const InstantCase cases[] = {
        {"Lyon", 1850, 3, 1, 12, 0, 561, true, 1163},
        {"Lyon", 1970, 7, 14, 12, 0, 3600, false, 3600},
        {"Lyon", 1980, 7, 14, 12, 0, 7200, false, 7200},
        {"New York", 1880, 6, 1, 9, 30, -17762, true, -17761},
    };
    const TimeZones zones;
    for (const InstantCase& c : cases) {
        const auto match = atlas.Find(QString::fromUtf8(c.name));
        ASSERT_TRUE(match) << c.name;
        DateSet dateSet;
        dateSet.yearText = QString::number(c.year);
        dateSet.monthIndex = c.month;
        dateSet.dayIndex = c.day;
        SetMinuteOfDay(dateSet, c.hour * 60 + c.minute);
        SetZoneText(dateSet, match->place.zone);
        EXPECT_NEAR(InputDateToAJDate(dateSet, zones).value(),
                    JulianDateOf(c.year, c.month, c.day, c.hour, c.minute, c.zoneSeconds), 1e-8)
            << c.name << " " << c.year << ": the zone alone";
        ReadAtPlace(dateSet, match->place);
        EXPECT_EQ(PlaceMeanTimeOffset(dateSet).has_value(), c.meanTime) << c.name << " " << c.year;
        EXPECT_NEAR(InputDateToAJDate(dateSet, zones).value(),
                    JulianDateOf(c.year, c.month, c.day, c.hour, c.minute, c.placeSeconds), 1e-8)
            << c.name << " " << c.year;
        // The place's zone read again from the zone box stays the place's; another zone typed
        // afterwards wins over it.
        SetZoneText(dateSet, match->place.zone.toLower());
        EXPECT_EQ(PlaceMeanTimeOffset(dateSet).has_value(), c.meanTime) << c.name;
        SetZoneText(dateSet, QStringLiteral("Europe/London"));
        SetZoneText(dateSet, match->place.zone);
        EXPECT_FALSE(PlaceMeanTimeOffset(dateSet)) << c.name;
    }
}

TEST(Atlas, NamesQualifiedByRegionCountryOrCodeAndTheMostPopulousWins) {
    const Atlas atlas;
    struct NameCase {
        const char* text;
        const char* region; // of the place found; nullptr when nothing fits
        bool others;        // other places could have been meant
    };
    const NameCase cases[] = {
        {"Lyon", "Auvergne-Rhône-Alpes", false}, // not Sainte-Foy-lès-Lyon: the name is Lyon's
        {"lyon, france", "Auvergne-Rhône-Alpes", false},
        {"Springfield", "Missouri", true},
        {"Springfield, Illinois", "Illinois", false},
        {"Springfield, US", "Missouri", true},
        {"Lyon, Italy", nullptr, false},
        {"Xqzvbnoplace", nullptr, false},
    };
    for (const NameCase& c : cases) {
        const auto match = atlas.Find(QString::fromUtf8(c.text));
        if (!c.region) {
            ASSERT_FALSE(match) << c.text;
            EXPECT_TRUE(match.error().contains(QLatin1String("orbivex-cli places"))) << c.text;
            continue;
        }
        ASSERT_TRUE(match) << c.text;
        EXPECT_EQ(match->place.region, QString::fromUtf8(c.region)) << c.text;
        EXPECT_EQ(!match->others.isEmpty(), c.others) << c.text;
        // Each other place is written so that the atlas finds it and no other.
        for (const Place& other : match->others) {
            const auto again = atlas.Find(PlaceName(other, match->others + QList{match->place}));
            ASSERT_TRUE(again);
            EXPECT_EQ(again->place.latitude, other.latitude)
                << PlaceName(other, match->others).toStdString();
        }
    }
}

TEST(OwnPlace, CoordinatesWithAZone) {
    struct OwnCase {
        const char* text;
        const char* zone;
        bool read;
        double latitude, longitude;
        const char* zoneRead;
    };
    const OwnCase cases[] = {
        {"46.2044N 6.1432E Europe/Zurich", "", true, 46.2044, 6.1432, "Europe/Zurich"},
        {"33.9S 18.42E Africa/Johannesburg", "", true, -33.9, 18.42, "Africa/Johannesburg"},
        {"46.2044,6.1432", "Europe/Zurich", true, 46.2044, 6.1432, "Europe/Zurich"},
        {"40.7,-74.0 America/New_York", "", true, 40.7, -74.0, "America/New_York"},
        {"46.2044,6.1432", "", false, 0, 0, nullptr},          // no zone
        {"46.2N 6.1E Mars/Olympus", "", false, 0, 0, nullptr}, // not a zone
        {"95N 6.1E Europe/Zurich", "", false, 0, 0, nullptr},  // no such latitude
    };
    for (const OwnCase& c : cases) {
        QString error;
        const auto place =
            OwnPlaceOfText(QString::fromUtf8(c.text), QString::fromUtf8(c.zone), error);
        ASSERT_EQ(place.has_value(), c.read) << c.text << " " << error.toStdString();
        if (place) {
            EXPECT_DOUBLE_EQ(place->latitude, c.latitude);
            EXPECT_DOUBLE_EQ(place->longitude, c.longitude);
            EXPECT_EQ(place->zone, QString::fromUtf8(c.zoneRead));
        } else {
            EXPECT_FALSE(error.isEmpty()) << c.text;
        }
    }
    QString error;
    EXPECT_FALSE(OwnPlaceOfText(QStringLiteral("Lyon"), {}, error));
    EXPECT_TRUE(error.isEmpty()) << "a name is not a badly written coordinate";
}

} // namespace
} // namespace orbivex
