#pragma once
// Numbers of the program texts that more than one part of the main window shows: the captions
// that change with what the window displays, and the status line after a state was read.

namespace orbivex::caption {

inline constexpr int kDisplayChartText = 37; // cmdToggleGraphic while the grid is shown
inline constexpr int kSaveAsText = 39;       // cmdSaveAs while the grid is shown
inline constexpr int kDisplayGridText = 41;  // cmdToggleGraphic while the picture is shown
inline constexpr int kSaveImageText = 42;    // cmdSaveAs while the picture is shown
inline constexpr int kStopRunText = 43;      // cmdRun during a run
inline constexpr int kLoadedFromText = 387;  // status line after Load from and Restore

// Printing the chart sheet.
inline constexpr int kPrintText = 560;          // cmdPrint
inline constexpr int kPrintTitleText = 561;     // the print dialog and the preview
inline constexpr int kPrintFailedText = 562;    // the printer could not be started
inline constexpr int kNothingToPrintText = 568; // no chart computed yet

} // namespace orbivex::caption
