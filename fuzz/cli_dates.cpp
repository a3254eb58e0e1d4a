// The dates, times, zones and months that orbivex-cli reads from its command line. Whatever
// the text, each reader either fills entries inside their lists or gives a message and changes
// nothing; a DATE that reads converts as the window's dates do, and the text it is written
// back as reads and converts to the same instant.
#include "FuzzSupport.h"
#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "cli/CliDates.h"

using namespace orbivex;
using namespace orbivex::cli;

namespace {

bool InLists(const DateSet& dateSet) {
    return dateSet.monthIndex >= 0 && dateSet.monthIndex < MonthEntryCount &&
           dateSet.dayIndex >= 0 && dateSet.dayIndex < DayEntryCount && dateSet.hourIndex >= 0 &&
           dateSet.hourIndex < HourEntryCount && dateSet.timezoneIndex >= 0 &&
           dateSet.timezoneIndex < TimezoneEntryCount;
}

// A reader either succeeds with entries in their lists or fails and leaves the set alone.
void CheckReader(Status (*reader)(const QString&, DateSet&), const QString& text) {
    DateSet dateSet;
    dateSet.yearText = QStringLiteral("untouched");
    const Status read = reader(text, dateSet);
    fuzz::Require(InLists(dateSet), "a reader chose an entry outside its list");
    fuzz::Require(read ||
                      (dateSet.yearText == QLatin1String("untouched") && dateSet.monthIndex == 0 &&
                       dateSet.hourIndex == 0 && dateSet.timezoneIndex == 0),
                  "a refused text changed the date set");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fuzz::Text(data, size);
    for (const auto reader : {ReadDayText, ReadTimeText, ReadZoneText, ReadDateText}) {
        CheckReader(reader, text);
    }
    const int month = MonthOfText(text);
    fuzz::Require(month >= 0 && month <= 12, "a month outside 0 to 12");

    DateSet dateSet;
    if (!ReadDateText(text, dateSet)) {
        return 0;
    }
    static const TimeZones zones = MakeTimeZones(60, false); // built once
    const Expected<double, DateError> jd = InputDateToAJDate(dateSet, zones);
    if (!jd) {
        return 0;
    }
    fuzz::Require(*jd >= JdnOfYearOne - 1.0 && *jd < JdnOfYear2800 + 1.0,
                  "a date converted to a Julian date outside the calendar");
    DateSet again;
    fuzz::Require(ReadDateText(DateSetText(dateSet, zones), again) &&
                      InputDateToAJDate(again, zones) == jd,
                  "a converted date does not read back as the same instant");
    return 0;
}
