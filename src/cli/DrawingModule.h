#pragma once
// The commands that draw run in a module of their own, which orbivex-cli loads only when one of
// them is asked for. Drawing needs Qt Gui (fonts, images); the other commands need Qt Core
// alone, so they start sooner and run on a server that has no graphics libraries installed.

namespace orbivex::cli {

struct DrawingCommand {
    const char* name;
    const char* summary;
};

inline constexpr DrawingCommand kDrawingCommands[] = {
    {"wheel", "the chart wheel of a chart as a PNG or SVG image"},
    {"sheet", "the chart sheet of a chart (wheel, grid, reports) as a one-page PDF"},
};

// The function that orbivex-cli calls in the module: runs the drawing command named by argv[1]
// (with the same arguments orbivex-cli got) in a QGuiApplication and returns the exit status.
inline constexpr char kDrawingEntryName[] = "OrbivexCliDraw";
using DrawingEntry = int (*)(int* argc, char** argv);

} // namespace orbivex::cli
