#pragma once
// What a chart looks like on screen or in a terminal: the title line, the aspect grid and the
// report, built from a Chart and the display settings. The chart itself knows nothing of text;
// its owner (the main window, orbivex-cli's chart command) rebuilds the view after each
// successful Compute.

#include "core/Chart.h"
#include "core/OrbSummary.h"
#include "present/Grid.h"

#include <QString>
#include <array>

namespace orbivex {

class ProgramTexts;
struct ProgramState;

struct ChartDisplay {
    bool radians = false;  // longitudes and deviations in radians rather than degrees
    bool gridShown = true; // the title words of the grid rather than those of the wheel
    std::array<int, 8> aspectColours{}; // the grid's colour per aspect kind 1..7
    OrbSummary orbSummary;              // the orbs the title names
};

// The display settings of the state: its radians switch, colours, orbs and whether the grid
// (rather than the wheel) is on display.
ChartDisplay ChartDisplayOf(const ProgramState& state);

struct ChartView {
    ChartMode mode = ChartMode::NoChartMode; // the chart's mode; none before the first chart
    QString title;                           // lblTitle
    AspectGrid grid;
    // World transits and natal aspects: the aspect counts, patterns and midpoints (txbReport);
    // the two-chart modes: the one-line aspect counts (txbReport1).
    QString report;
};

ChartView BuildChartView(const Chart& chart, const ChartDisplay& display,
                         const ProgramTexts& texts);

// The title and the report alone, the grid left empty: for output that has no grid, such as
// the lines of a batch of charts, where filling the grid's texts would cost a fifth of a chart.
ChartView BuildChartTexts(const Chart& chart, const ChartDisplay& display,
                          const ProgramTexts& texts);

// The pattern lines of world transits and natal aspects in report order (only the largest
// stellium; the midpoints last).
QString PatternReport(const Chart& chart, const ProgramTexts& texts);

// The report line of the aspect counts in world transits and natal aspects, and in the
// two-chart modes (without line breaks).
QString AspectCountReport(const AspectCounts& counts, const ProgramTexts& texts);
QString AspectCountReportTwoCharts(const AspectCounts& counts, const ProgramTexts& texts);

} // namespace orbivex
