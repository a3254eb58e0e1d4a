#pragma once
// The atlas of places: the cities of the system's geonames database (every place of 15,000
// people or more, with its region, country, zone, coordinates and population). The owner of an
// Atlas reads through it; the database itself is read once, on the first search.

#include "places/Place.h"
#include "support/Expected.h"

#include <QList>
#include <QString>

namespace orbivex {

struct PlaceMatch {
    Place place;         // the most populous place that fits the name
    QList<Place> others; // the other places that fit, most populous first
};

class Atlas {
  public:
    // Places whose name contains the words of `text` (any case), most populous first, at most
    // `limit` of them.
    QList<Place> Search(const QString& text, int limit) const;

    // The place a name stands for: "Lyon", "Lyon, France", "Springfield, Illinois",
    // "Springfield, US". After the name, each part set apart by a comma must be the place's
    // region, country or country code. Names equal to the text win over names that only
    // contain it. A message naming `orbivex-cli places` when nothing fits.
    Expected<PlaceMatch, QString> Find(const QString& text) const;
};

// How to write a place so that the atlas finds it and not one of `others` (which may hold the
// place itself): "Lyon" when no other has its name, "Springfield, Illinois", or the region and
// the country code when the region alone does not tell.
QString PlaceName(const Place& place, const QList<Place>& others);

} // namespace orbivex
