#pragma once
// The chart sheet: one page with the chart's title, dates and zones, the wheel, the aspect grid,
// the grid's report and the report of the Report command (the durations list of transits, the
// natal report of natal aspects and synastry). One function draws it onto any page (a PDF file,
// a printer, the print preview); the wheel is drawn as vectors by the wheel's own code.

#include "draw/ImageExport.h"
#include "present/Grid.h"

#include <QString>
#include <QStringList>

class QPainter;

namespace orbivex {

class Ephemeris;
class ProgramTexts;
struct ProgramState;

struct SheetInput {
    QString title;         // the chart's title: the mode and the orbs
    QStringList dateLines; // "World date: 2024-03-20 12:00 GMT+0:00", one per date set used
    WheelInput wheel;      // drawn without its on-screen legends
    QString setKey;        // two sets: which colour is which set
    AspectGrid grid;
    QString report;       // beside the grid: aspect counts and patterns (CR LF lines)
    QString listingTitle; // the Report command's title
    QString listing;      // and its text (CR LF lines)
};

// The sheet of the last Compute: its dates, wheel, grid and report, and the Report command's
// text for the same chart.
SheetInput SheetInputOf(const ProgramState& state, const Ephemeris& ephemeris,
                        const ProgramTexts& texts);

// Draws the sheet onto the painter's device, filling its page (its paint area, whatever its
// resolution); a long report is set smaller, and what still does not fit ends with a note of
// the lines left out. When the wheel cannot be drawn its place holds the reason. Returns the
// wheel's status.
WheelStatus DrawChartSheet(QPainter& painter, const SheetInput& input, const ProgramTexts& texts);

// Writes the sheet as a one-page A4 PDF, whole or not at all (a failure keeps the file that was
// there); the document's title is the sheet's title. Otherwise the reason why not.
Status WriteChartSheetPdf(const SheetInput& input, const ProgramTexts& texts, const QString& path);

} // namespace orbivex
