#pragma once
// The lines that name the patterns and midpoint configurations of a chart: the report form of
// the main window's report and the name form of the natal report; and what a pattern run
// tells: a repeated sought body, a find, the end of the calendar without one.

#include "core/Chart.h"
#include "session/PatternRun.h"

#include <QString>

namespace orbivex {

class ProgramTexts;

enum class PatternForm {
    Report, // "Grand trine: Ju-Sa-Ne (<orb word> 1°23')"
    Names,  // "Jupiter-Saturn-Neptune"
};

// One pattern's line without its line break. The report form ends with the orb word and the
// mean orb in brackets, except for the grand sextile, which has no mean orb.
QString PatternLine(const FoundPattern& pattern, PatternForm form, const QString& orbWord);

// The lines of the chart's patterns of index 0..12, each ended by CR LF; "" when it has none,
// and for 3-stelliums withheld by a run seeking bodies.
QString PatternLines(const Chart& chart, PatternIndex pattern, PatternForm form,
                     const QString& orbWord);

// The chart's midpoint configurations, one line each ended by CR LF: long names
// ("Mercury-Earth-Mars") for the natal report (natalReport), otherwise
// "Midpoint: Me-Ea-Ma". count receives their number.
QString CheckForMidpoint(const Chart& chart, bool natalReport, int& count);

// The message and title shown when two sought-body lists name the same body.
QString RepeatedBodyMessage();
QString RepeatedBodyTitle();

// The message of a find of `count` patterns of index `pattern` under the run's choices:
// "Grand trine found" CR LF "involving Jupiter Saturn.", "Three kites found.".
QString PatternFoundMessage(const PatternRun& run, PatternIndex pattern, int count,
                            const ProgramTexts& texts);

// The message of a run that reached the end of the year 2799 without the pattern sought
// (language text 441); "" while no pattern is chosen.
QString PatternNotFoundMessage(const PatternRun& run, const ProgramTexts& texts);

// The message and title of a run's stop: a find (title: language text 122) or the end of the
// calendar; "" for neither.
QString RunStopMessage(const RunStopResult& stop, const ProgramTexts& texts);
QString RunStopTitle(const RunStopResult& stop, const ProgramTexts& texts);

} // namespace orbivex
