// The place of a place box's text: a name of the atlas or coordinates with a zone.
#include "session/ProgramState.h"

#include "places/Atlas.h"

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

} // namespace orbivex
