// The places of date sets: read from a name or coordinates, and the note on local mean time.
#include "session/Compute.h"
#include "session/ProgramState.h"

#include "calendar/NamedZones.h"
#include "places/Atlas.h"
#include "support/ProgramTexts.h"

#include <cmath>

namespace orbivex {

std::optional<Place> PlaceOfText(const QString& text, const QString& zone, QString& message) {
    message.clear();
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    if (std::optional<Place> own = OwnPlaceOfText(trimmed, zone, message)) {
        return own;
    }
    if (!message.isEmpty()) {
        return std::nullopt; // coordinates, but not written as they must be
    }
    const Atlas atlas;
    const Expected<PlaceMatch, QString> match = atlas.Find(trimmed);
    if (!match) {
        message = match.error();
        return std::nullopt;
    }
    if (!match->others.isEmpty()) {
        QStringList others;
        for (const Place& other : match->others.mid(0, 3)) {
            others.append(QStringLiteral("\u201C") + PlaceName(other, match->others) +
                          QStringLiteral("\u201D"));
        }
        message = QStringLiteral("\u201C%1\u201D is taken as %2; for another place write %3.")
                      .arg(trimmed, PlaceLine(match->place), others.join(QStringLiteral(" or ")));
    }
    return match->place;
}

QString LocalMeanTimeNote(const ProgramTexts& texts, int dateSet, const Place& place,
                          int offsetSeconds) {
    const int nameText = dateSet == WorldDate ? 4 : dateSet == FirstBirthdate ? 5 : 6;
    return QStringLiteral("%1: the local mean time of %2 (%3 %4), UT%5.")
        .arg(texts.ProgramText(nameText), place.name,
             QString::number(std::abs(place.longitude), 'f', 2) + QChar(0x00B0),
             place.longitude < 0 ? QStringLiteral("W") : QStringLiteral("E"),
             OffsetText(offsetSeconds));
}

} // namespace orbivex
