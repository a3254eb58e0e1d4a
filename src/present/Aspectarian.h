#pragma once
// The aspectarian as text: the exact aspects of a span of dates, each told at its moment in a
// zone, as lines for people, CSV and the names the command line and the window share.

#include "core/ExactAspects.h"
#include "session/Configuration.h"
#include "session/ExactMoments.h"
#include "support/Expected.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace orbivex {

// Every body and every aspect kind switched on in the configuration (a kind whose colour is 0,
// or whose orb is 0, is switched off: the chart never shows it), for the span [from, to) of
// Julian dates (UT).
AspectarianRequest AspectarianRequestOf(const ConfigurationSettings& settings, double from,
                                        double to);

// Reads a comma-separated list of body names (any case) into request.bodies, which it replaces,
// or gives the message naming the first unknown name (request unchanged).
Status ReadAspectarianBodies(const QString& list, AspectarianRequest& request);
// The same for aspect kinds by name ("conjunction", "square", ...): the kinds listed stay on
// when the configuration has them on; a kind switched off stays off.
Status ReadAspectarianKinds(const QString& list, AspectarianRequest& request);

// The lower-case name of an aspect kind: "conjunction", "semisextile".
QString AspectarianKindName(AspectKind kind);

// "2027-01-03 04:05 GMT": the moment in the zone to the nearest minute, the date written in
// the zone's calendar.
QString AspectarianTimeText(double jd, const MomentZone& zone);

// One line of the text listing: the time, the body with the shorter period, the aspect and the
// other body in columns.
QString AspectarianLine(const ExactAspect& event, const MomentZone& zone);

// The lines of AspectarianLine for a listing of many events, appended as UTF-8 bytes each with
// its line end, without a text object for each line.
class AspectarianLineWriter {
  public:
    explicit AspectarianLineWriter(const MomentZone& zone);
    void AppendLine(std::string& out, const ExactAspect& event) const;

  private:
    // The line without its end.
    void Append(std::string& out, const ExactAspect& event) const;
    friend QString AspectarianLine(const ExactAspect& event, const MomentZone& zone);

    MomentZone zone_;
    std::string zoneName_;
    ByBody<std::string> firstColumn_;  // the name padded to its column, and the space after it
    ByBody<std::string> secondColumn_; // the name
    std::array<std::string, NumAspectKinds + 1> kindColumn_;
};

// The header row of the CSV and the row of one event (time, Julian day, first, second, aspect,
// angle in degrees), without the line end.
QString AspectarianCsvHeader();
QString AspectarianCsvRow(const ExactAspect& event, const MomentZone& zone);

// The Julian day as the listings give it: to a millionth of a day (a tenth of a second).
double AspectarianJulianDay(double jd);

// The day numbers of the first and the last day of `year` written in the calendar, kept within
// the days the program converts (1 January 1 to 31 December 2799 of that calendar).
std::pair<std::int32_t, std::int32_t> AspectarianYearDays(int year, CalendarChoice calendar);

// Whether an event involves `body` (none: any) and is of `kind` (NoAspect: any).
bool AspectarianEventShown(const ExactAspect& event, std::optional<BodyIndex> body,
                           AspectKind kind);

// Writes the events as CSV (header, then one row each, LF line ends) to path, replacing a
// regular file there only once every byte is written, or says why not.
Status WriteAspectarianCsv(const QString& path, std::span<const ExactAspect> events,
                           const MomentZone& zone);

} // namespace orbivex
