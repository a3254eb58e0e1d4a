#include "calendar/DateFormat.h"
#include "calendar/DateInput.h"
#include "calendar/NamedZones.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <cmath>

namespace orbivex {

namespace {} // namespace

int DateErrorTextNumber(DateError error) {
    switch (error) {
    case DateError::Incomplete:
        return 145;
    case DateError::DoesNotExist:
        return 146;
    case DateError::BeforeYearOne:
        return 147;
    case DateError::FromYear2800:
        return 148;
    case DateError::UnknownZone:
        break;
    }
    return 510;
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

QString LocalTimeNote(const ProgramTexts& texts, int dateSetIndex, const DateSet& dateSet) {
    if (dateSetIndex < 0 || dateSetIndex >= NumDateSets || dateSet.zoneName.isEmpty()) {
        return {};
    }
    const ZoneReading reading = ReadLocalTimeOf(dateSet);
    const Expected<double, DateError> local = InputDateToLocalJD(dateSet);
    if (!reading.known || reading.kind == LocalTimeKind::Unique || !local) {
        return {};
    }
    const double day = std::floor(*local);
    const int minute = static_cast<int>(std::lround((*local - day) * MinutesPerDay));
    const int text = reading.kind == LocalTimeKind::Skipped ? text::SkippedTime : text::DoubledTime;
    return texts.ProgramText(text::FirstDateSetName + dateSetIndex) +
           texts.ProgramTextWith(text, MinuteText(minute), dateSet.zoneName,
                                 JDNToLongDate(static_cast<std::int32_t>(day), false),
                                 OffsetText(reading.offsetSeconds));
}

} // namespace orbivex
