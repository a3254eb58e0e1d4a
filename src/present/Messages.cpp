#include "present/Messages.h"

#include "calendar/DateFormat.h"
#include "calendar/NamedZones.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <QDir>
#include <QStringList>

#include <cmath>

namespace orbivex {

QString ReplaceQuestion(const QString& name) {
    return QDir::toNativeSeparators(name) + QStringLiteral(" already exists.\r\n") +
           QStringLiteral("Do you want to replace it?");
}

QString PlaceTakenNote(const QString& text, const FoundPlace& found) {
    if (found.others.isEmpty()) {
        return {};
    }
    QStringList others;
    for (const Place& other : found.others.mid(0, 3)) {
        others.append(QStringLiteral("\u201C") + PlaceName(other, found.others) +
                      QStringLiteral("\u201D"));
    }
    return QStringLiteral("\u201C%1\u201D is taken as %2; for another place write %3.")
        .arg(text.trimmed(), PlaceLine(found.place), others.join(QStringLiteral(" or ")));
}

int DateErrorTextNumber(DateError error) {
    switch (error) {
    case DateError::Incomplete:
        return text::DateIncomplete;
    case DateError::DoesNotExist:
        return text::DateDoesNotExist;
    case DateError::BeforeYearOne:
        return text::DateBeforeYearOne;
    case DateError::FromYear2800:
        return text::DateFromYear2800;
    case DateError::UnknownZone:
        break;
    }
    return text::DateUnknownZone;
}

DateErrorText ReportDateError(const ProgramTexts& texts, int dateSetIndex, DateError error) {
    if (dateSetIndex < 0 || dateSetIndex >= NumDateSets) {
        return {};
    }
    const int errorText = DateErrorTextNumber(error);
    return {texts.ProgramText(text::FirstDateSetName + dateSetIndex) + QLatin1Char(' ') +
                texts.ProgramText(errorText),
            texts.ProgramText(text::DateErrorTitle)};
}

DateErrorText ReportDateError(const ProgramTexts& texts, const DateFailure& failure) {
    return ReportDateError(texts, failure.dateSet, failure.error);
}

QString LocalTimeNote(const ProgramTexts& texts, int dateSetIndex, const UnusualLocalTime& time) {
    if (dateSetIndex < 0 || dateSetIndex >= NumDateSets) {
        return {};
    }
    const int text =
        time.reading.kind == LocalTimeKind::Skipped ? text::SkippedTime : text::DoubledTime;
    return texts.ProgramText(text::FirstDateSetName + dateSetIndex) +
           texts.ProgramTextWith(text, MinuteText(time.minute), time.zone,
                                 JDNToLongDate(time.day, false),
                                 OffsetText(time.reading.offsetSeconds));
}

QString MeanTimeNote(const Place& place, int offsetSeconds) {
    return QStringLiteral("the time is the local mean time of %1 (longitude %2° %3), UT%4, as %5 "
                          "kept local mean time then")
        .arg(place.name, QString::number(std::abs(place.longitude), 'f', 4),
             place.longitude < 0 ? QStringLiteral("W") : QStringLiteral("E"),
             OffsetText(offsetSeconds), place.zone);
}

QStringList ComputeNoteTexts(const ProgramTexts& texts, const std::vector<ComputeNote>& notes) {
    QStringList sentences;
    for (const ComputeNote& note : notes) {
        if (note.localTime) {
            sentences.append(LocalTimeNote(texts, note.dateSet, *note.localTime));
        }
        if (note.place) {
            Place place = *note.place;
            if (place.name.isEmpty()) {
                place.name = QStringLiteral("the place");
            }
            sentences.append(texts.ProgramText(text::FirstDateSetName + note.dateSet) +
                             QStringLiteral(": ") + MeanTimeNote(place, note.meanTimeSeconds) +
                             QLatin1Char('.'));
        }
    }
    return sentences;
}

} // namespace orbivex
