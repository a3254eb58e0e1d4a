#pragma once
// The chart sheet: one page with the chart's title, dates and zones, the wheel, the aspect grid,
// the grid's report and the report of the Report command (the durations list of transits, the
// natal report of natal aspects and synastry). One function draws it onto any page (a PDF file,
// a printer, the print preview); the wheel is drawn as vectors by the wheel's own code.

#include "draw/ImageExport.h"
#include "present/Grid.h"
#include "present/PictureInput.h"

#include <QString>
#include <QStringList>

class QPainter;

namespace orbivex {

class ProgramTexts;

// Draws the sheet onto the painter's device, filling its page (its paint area, whatever its
// resolution); a long report is set smaller, and what still does not fit ends with a note of
// the lines left out. When the wheel cannot be drawn its place holds the reason. Returns the
// wheel's status.
WheelStatus DrawChartSheet(QPainter& painter, const SheetInput& input, const ProgramTexts& texts);

// Writes the sheet as a one-page A4 PDF, whole or not at all (a failure keeps the file that was
// there); the document's title is the sheet's title. Otherwise the reason why not.
Status WriteChartSheetPdf(const SheetInput& input, const ProgramTexts& texts, const QString& path);

} // namespace orbivex
