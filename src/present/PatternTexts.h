#pragma once
// The lines that name the patterns and midpoint configurations of a chart: the report form of
// the main window's report and the name form of the natal report.

#include "core/Chart.h"

#include <QString>

namespace orbivex {

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

} // namespace orbivex
