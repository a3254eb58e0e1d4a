#include "calendar/DateFormat.h"
#include "calendar/DateInput.h"
#include "calendar/NamedZones.h"
#include "support/ProgramTexts.h"

#include <cmath>

namespace orbivex {

namespace {

constexpr int FirstDateSetNameText = 4; // 4, 5, 6: world date, first and second birthdate
constexpr int FirstDateErrorText = 145; // 145 .. 148 for codes -1 .. -4
constexpr int DateErrorTitleText = 153;
constexpr int UnknownZoneText = 510;
constexpr int SkippedTimeText = 511;
constexpr int DoubledTimeText = 512;

} // namespace

DateErrorText ReportDateError(const ProgramTexts& texts, int dateSetIndex, double code) {
    // Only -1 .. -5 (after rounding) are error codes; a Julian date or NaN has no message.
    if (dateSetIndex < 0 || dateSetIndex >= NumDateSets ||
        !(code < DateIncomplete + 0.5 && code >= DateUnknownZone - 0.5)) {
        return {};
    }
    const long rounded = std::lround(code);
    const int errorText = rounded == DateUnknownZone
                              ? UnknownZoneText
                              : FirstDateErrorText + static_cast<int>(DateIncomplete - rounded);
    return {texts.ProgramText(FirstDateSetNameText + dateSetIndex) + QLatin1Char(' ') +
                texts.ProgramText(errorText),
            texts.ProgramText(DateErrorTitleText)};
}

QString LocalTimeNote(const ProgramTexts& texts, int dateSetIndex, const DateSet& dateSet) {
    if (dateSetIndex < 0 || dateSetIndex >= NumDateSets || dateSet.zoneName.isEmpty()) {
        return {};
    }
    const ZoneReading reading = ReadLocalTimeOf(dateSet);
    if (!reading.known || reading.kind == LocalTimeKind::Unique) {
        return {};
    }
    const double local = InputDateToLocalJD(dateSet);
    const double day = std::floor(local);
    const int minute = static_cast<int>(std::lround((local - day) * MinutesPerDay));
    const int text = reading.kind == LocalTimeKind::Skipped ? SkippedTimeText : DoubledTimeText;
    return texts.ProgramText(FirstDateSetNameText + dateSetIndex) +
           texts.ProgramTextWith(text, MinuteText(minute), dateSet.zoneName,
                                 JDNToLongDate(static_cast<std::int32_t>(day), false),
                                 OffsetText(reading.offsetSeconds));
}

} // namespace orbivex
