// The year box takes any text the user types or pastes, and the lists beside it any entry a
// state file or the window sets. Whatever they hold, a conversion gives a date error or a
// Julian date within years 1 to 2799, leaves the year text as its digits, and the date text
// and weekday tip exist exactly when the date converts.
#include "FuzzSupport.h"
#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "support/StrProc.h"

using namespace orbivex;

namespace {

// Without a zone name every error but the unknown zone can come.
bool IsDateError(const Expected<double, DateError>& value) {
    return !value && value.error() != DateError::UnknownZone;
}

bool AllDigits(const QString& text) {
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    // Four list entries, each anywhere from -128 to 127, then the year text.
    DateSet dateSet;
    dateSet.monthIndex = static_cast<std::int8_t>(data[0]);
    dateSet.dayIndex = static_cast<std::int8_t>(data[1]);
    dateSet.hourIndex = static_cast<std::int8_t>(data[2]);
    dateSet.timezoneIndex = static_cast<std::int8_t>(data[3]);
    dateSet.yearText = fuzz::Text(data + 4, size - 4);

    const QString digits = DigitsOnly(dateSet.yearText, false, false);
    fuzz::Require(AllDigits(digits), "the digits of the year text hold another character");
    const QString signedDigits = DigitsOnly(dateSet.yearText, true, true);
    fuzz::Require(signedDigits.isEmpty() || AllDigits(signedDigits.mid(1)),
                  "only the first character may be a sign");

    const Expected<double, DateError> localJd = InputDateToLocalJD(dateSet);
    fuzz::Require(IsDateError(localJd) ||
                      (localJd && *localJd >= JdnOfYearOne && *localJd < JdnOfYear2800),
                  "a local date outside years 1 to 2799");

    // Built once: the lists are the same for every input.
    static const TimeZones plainZones = MakeTimeZones(-300, false);
    static const TimeZones namedZones = MakeTimeZones(-300, true);
    const TimeZones& zones = (data[3] & 0x80) != 0 ? namedZones : plainZones;
    const DateSet before = dateSet;
    const Expected<double, DateError> jd = InputDateToAJDate(dateSet, zones);
    fuzz::Require(dateSet == before, "the conversion changed its input");
    const DateSet universal = DateSetAsConverted(dateSet, zones);
    fuzz::Require(universal.yearText == digits, "the year text is not shown as its digits");
    fuzz::Require(IsDateError(jd) == IsDateError(localJd), "the two conversions disagree");
    // Local midnight of 1 January 1 lies up to 14 hours (GMT+14:00) before that day's start in
    // Greenwich, and the last half hour of 2799 up to 11:30 after its end.
    fuzz::Require(IsDateError(jd) || (jd && *jd >= JdnOfYearOne - 0.5 - 14.0 / 24.0 &&
                                      *jd < JdnOfYear2800 - 0.5 + 12.0 / 24.0),
                  "a Julian date outside years 1 to 2799 and the zones' reach");
    if (!IsDateError(jd)) {
        fuzz::Require(universal.hourIndex >= 1 && universal.hourIndex < HourEntryCount,
                      "a converted date has no hour");
    }

    fuzz::Require(InputDateToString(dateSet, zones, (data[2] & 1) != 0).isEmpty() ==
                      IsDateError(jd),
                  "the date text exists when the date does not convert, or the other way");
    fuzz::Require(UpdateDayOfWeekTip(dateSet).isEmpty() == IsDateError(jd),
                  "the weekday tip exists when the date does not convert, or the other way");
    return 0;
}
