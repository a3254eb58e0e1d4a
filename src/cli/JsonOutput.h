#pragma once
// The pieces of orbivex-cli's JSON (version 2) that several commands share: the format name,
// dates as text beside their Julian day, and positions by name and in degrees. docs/json.md
// describes the whole of it; docs/schema/ holds a JSON Schema per command.

#include "core/Bodies.h"
#include "core/Chart.h"
#include "core/Position.h"
#include "core/ZodiacPlace.h"
#include "places/Place.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTextStream>
#include <optional>
#include <span>

namespace orbivex::cli {

// "orbivex.<command>.v2"
QString FormatName(const char* command);

// {"text": text, "julianDay": julianDay}
QJsonObject DateJson(const QString& text, double julianDay);
// Adds to a date where it was read: "place", the place as PlaceJson writes it or null when the
// date has none, and "localMeanTime", whether the local mean time of the place's longitude was
// used in place of its zone's.
void AddDatePlace(QJsonObject& date, const Place* place, bool localMeanTime);

// One body's position: {"body": "Earth", "longitude": 75.02, "sign": "Gemini", "text":
// "15Gem1"}, the longitude in degrees; for a body without one {"body": "Pluto", "longitude":
// null, "missing": "before table" | "after table" | "unavailable"}. In the zodiac of date
// (zodiacOffset, the precession since J2000, given) `sign` and `text` count from the equinox of
// date and "longitudeOfDate" follows `longitude`, which stays J2000.
QJsonObject PositionJson(BodyIndex body, const Position& position,
                         std::optional<double> zodiacOffset = std::nullopt);
// What that entry says: the text and the sign of a position, or why it has none (`missing`
// set, the others empty).
struct PositionFacts {
    QString text;
    QString sign;
    const char* missing = nullptr;
};
PositionFacts PositionFactsOf(const Position& position, double zodiacOffset = 0.0);
// Where in the zodiac that text puts the position; nothing for a position that has no text.
std::optional<ZodiacPlace> PositionPlaceOf(const Position& position, double zodiacOffset = 0.0);
// The entries of every body, in order.
QJsonArray PositionsJson(const PositionSet& positions,
                         std::optional<double> zodiacOffset = std::nullopt);

// The name of an aspect kind or a pattern as the reports write it, in lower case: "sextile",
// "grand trine", "t-square", "4-stellium".
QString AspectJsonName(AspectKind kind);
QString PatternJsonName(PatternIndex pattern);

// "applying" or "separating"; "" for an aspect without motion.
QString MotionName(Motion motion);

// Writes the document indented, ending with a line break.
void WriteJson(QTextStream& out, const QJsonObject& document);

} // namespace orbivex::cli
