#include "session/PlaceLookup.h"

#include "session/ChartLibrary.h"

namespace orbivex {

Expected<FoundPlace, QString> FindPlace(const Atlas& atlas, const QString& text,
                                        const QString& typedZone, const QString& libraryFile) {
    QString error;
    if (const std::optional<Place> own = OwnPlaceOfText(text, {}, error)) {
        return FoundPlace{*own, false, {}};
    }
    if (!error.isEmpty()) {
        // Coordinates without a zone take the zone typed beside them as the place's zone.
        QString typedError;
        if (const std::optional<Place> own = OwnPlaceOfText(text, typedZone, typedError);
            own && !typedZone.trimmed().isEmpty()) {
            return FoundPlace{*own, true, {}};
        }
        return Fail(typedZone.trimmed().isEmpty() ? error : typedError);
    }
    if (!libraryFile.isEmpty()) {
        // A library that cannot be read keeps no place: the atlas then has its say.
        if (const LibraryResult<std::unique_ptr<ChartLibrary>> library =
                ChartLibrary::Open(libraryFile, ChartLibrary::Access::ReadOnly)) {
            if (const LibraryResult<std::optional<Place>> own = (*library)->FindOwnPlace(text);
                own && *own) {
                return FoundPlace{**own, false, {}};
            }
        }
    }
    const Expected<PlaceMatch, QString> match = atlas.Find(text);
    if (!match) {
        return Fail(match.error());
    }
    return FoundPlace{match->place, false, match->others};
}

} // namespace orbivex
