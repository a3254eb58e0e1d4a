#pragma once
// The commands that draw (wheel, sheet) compute their chart in orbivex-cli, with the same code
// as every other command, and hand what is to be drawn to a module of their own, which only
// draws and writes the files. Drawing needs Qt Gui (fonts, images); the other commands need Qt
// Core alone, so they start sooner and run on a server that has no graphics libraries
// installed. The module is loaded only when a drawing command runs, before the application
// object is made: it makes a QGuiApplication in place of orbivex-cli's QCoreApplication.

#include "cli/Commands.h"
#include "present/PictureInput.h"
#include "support/Expected.h"

#include <QString>
#include <optional>

class QCoreApplication;

namespace orbivex {
class ProgramTexts;
} // namespace orbivex

namespace orbivex::cli {

struct DrawingCommand {
    const char* name;
    const char* summary;
};

inline constexpr DrawingCommand kDrawingCommands[] = {
    {"wheel", "the chart wheel of a chart as a PNG or SVG image"},
    {"sheet", "the chart sheet of a chart (wheel, grid, reports) as a one-page PDF"},
};

// A computed chart's wheel to save: the window's wheel (with --screen) or the composed export
// image, as a PNG of the given width or as an SVG document when the file name ends in .svg.
struct WheelJob {
    WheelInput wheel;
    ExportInput composition;
    bool screen = false;
    std::optional<int> width; // pixels; the picture's own size without it
    QString out;
};

// A computed chart's sheet to write as a PDF file.
struct SheetJob {
    SheetInput sheet;
    QString path;
};

// What saving a wheel came to: the message of the saved file, or why nothing was saved.
struct WheelOutcome {
    bool saved = false;
    QString warning; // a drawing that stopped early (a symbol found no place)
    QString message; // program texts, with CR LF line breaks
};

// What the module offers.
struct DrawingFunctions {
    // The application object of a drawing command: a QGuiApplication on the offscreen
    // platform, so that drawing needs no display.
    QCoreApplication* (*makeApplication)(int& argc, char** argv);
    WheelOutcome (*saveWheel)(const WheelJob& job, const ProgramTexts& texts);
    // Writes the sheet's PDF file whole or not at all; otherwise why not.
    Status (*saveSheet)(const SheetJob& job, const ProgramTexts& texts);
};

// The module's one exported function, which gives its functions.
inline constexpr char kDrawingEntryName[] = "OrbivexCliDraw";
using DrawingEntry = const DrawingFunctions* (*)();

// The drawing commands, run in orbivex-cli with the module's functions.
int RunWheel(const QStringList& arguments, Context& context, const DrawingFunctions& drawing);
int RunSheet(const QStringList& arguments, Context& context, const DrawingFunctions& drawing);

} // namespace orbivex::cli
