// The dates, times, zones and months that orbivex-cli reads from its command line. Whatever
// the text, each parser either gives a value inside its range or a message; a parsed date
// prints as a text that parses back to the same day; and a parsed date option converts, or
// fails with a date error code, as the window's dates do.
#include "FuzzSupport.h"
#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "cli/CliDates.h"

#include <cmath>

using namespace orbivex;
using namespace orbivex::cli;

namespace {

void CheckOption(const OptionValue& value) {
    fuzz::Require(value.ok() == value.message.isEmpty(), "a status and its message disagree");
    fuzz::Require(value.ok() || value.status == ExitUsage || value.status == ExitDateError,
                  "a failure has an unexpected status");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fuzz::Text(data, size);

    const OptionValue date = ParseDate(text);
    CheckOption(date);
    if (date.ok()) {
        fuzz::Require(date.value >= FirstDayNumber && date.value < EndDayNumber,
                      "a date lies outside years 1 to 2799");
        const OptionValue again = ParseDate(DateText(date.value));
        fuzz::Require(again.ok() && again.value == date.value, "a date does not print back");
    }

    const OptionValue time = ParseTimeOfDay(text);
    CheckOption(time);
    fuzz::Require(!time.ok() || (time.value >= 0 && time.value < 1440 && time.value % 30 == 0),
                  "a time is not a half hour of the day");
    const OptionValue zone = ParseZone(text);
    CheckOption(zone);
    fuzz::Require(!zone.ok() || (zone.value == TimezoneEntryOffset(TimezoneEntryOfText(text)) &&
                                 std::abs(zone.value) <= 14 * 60 && zone.value % 15 == 0),
                  "a zone is not an entry of the time-zone list");

    const int month = MonthOfText(text);
    fuzz::Require(month >= 0 && month <= 12, "a month outside 0 to 12");
    const int hour = HourEntryOfText(text);
    fuzz::Require(hour == -1 || (hour >= 1 && hour < HourEntryCount), "an hour entry out of range");
    const int zoneEntry = TimezoneEntryOfText(text);
    fuzz::Require(zoneEntry == -1 || (zoneEntry >= 1 && zoneEntry < TimezoneEntryCount),
                  "a zone entry out of range");

    DateSet dateSet;
    dateSet.yearText = QStringLiteral("untouched");
    QString error;
    if (!ParseDateSetText(text, dateSet, error)) {
        fuzz::Require(!error.isEmpty(), "a refused date option gave no message");
        fuzz::Require(dateSet.yearText == QLatin1String("untouched"),
                      "a refused date option changed the date set");
        return 0;
    }
    fuzz::Require(dateSet.monthIndex >= 1 && dateSet.monthIndex <= 12 && dateSet.dayIndex >= 1 &&
                      dateSet.dayIndex < DayEntryCount && dateSet.hourIndex >= 0 &&
                      dateSet.hourIndex < HourEntryCount && dateSet.timezoneIndex >= 0 &&
                      dateSet.timezoneIndex < TimezoneEntryCount,
                  "a date option gave an entry outside its list");
    static const TimeZones zones = MakeTimeZones(60, false); // built once
    const double jd = InputDateToAJDate(dateSet, zones);
    fuzz::Require(jd == DateIncomplete || jd == DateDoesNotExist || jd == DateBeforeYearOne ||
                      jd == DateFromYear2800 ||
                      (jd >= JdnOfYearOne - 1.0 && jd < JdnOfYear2800 + 1.0),
                  "a date option converted to a Julian date outside the calendar");
    return 0;
}
