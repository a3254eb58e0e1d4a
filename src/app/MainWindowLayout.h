#pragma once
// Where the main window's controls sit, in layout units (1/1440 inch, 15 to a pixel). The
// window is drawn for a width of 14400; the date sets fill the top left, the chart modes stand
// in a frame to their right with the column of Now, Save, Help, Restore and Quit beside it, and
// the aspect grid fills the rest under the title line.

#include "core/ChartMode.h"

namespace orbivex::layout {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
};

// The window.
inline constexpr int intMainWindowWidth = 14400;
inline constexpr int MinimumWidth = intMainWindowWidth / 2;
inline constexpr int MinimumHeight = 5000;
inline constexpr int OneChartHeight = 9565;   // world transits and natal aspects
inline constexpr int TwoChartsHeight = 10600; // personal transits and synastry
inline constexpr int StartupHeight = 5000;

inline constexpr int MaximumHeight(ChartMode mode) {
    return IsTwoChartMode(mode) ? TwoChartsHeight : OneChartHeight;
}

inline constexpr int Margin = 120;
inline constexpr int ControlHeight = 330;
inline constexpr int ButtonHeight = 375;

// The three date sets, one row each (index 0 world date, 1 and 2 the birthdates).
inline constexpr int DateRowTop = 120;
inline constexpr int DateRowPitch = 420;
inline constexpr int DateRowTopOf(int dateSet) {
    return DateRowTop + dateSet * DateRowPitch;
}
inline constexpr Rect Label1Column{Margin, 0, 1300, ControlHeight};
inline constexpr Rect YearColumn{1460, 0, 760, ControlHeight};
inline constexpr Rect MonthColumn{2260, 0, 1400, ControlHeight};
inline constexpr Rect DayColumn{3700, 0, 700, ControlHeight};
inline constexpr Rect HourColumn{4440, 0, 960, ControlHeight};
inline constexpr Rect TimezoneColumn{5440, 0, 1400, ControlHeight};
inline constexpr Rect ClearColumn{6880, 0, 800, ControlHeight};
inline constexpr Rect InRow(Rect column, int dateSet) {
    return {column.left, DateRowTopOf(dateSet), column.width, column.height};
}

// Degrees or radians, right of the world date and the first birthdate.
inline constexpr Rect optDegrees{7840, DateRowTopOf(0), 1360, ControlHeight};
inline constexpr Rect optRadians{7840, DateRowTopOf(1), 1360, ControlHeight};

// The six chart modes in their frame, one option a line.
inline constexpr Rect fraTransits{9360, 60, 3640, 2130};
inline constexpr int ModeOptionTop = 300; // inside the frame
inline constexpr int ModeOptionPitch = 300;
inline constexpr int ModeOptionHeight = 270;
inline constexpr int ModeOptionLeft = 150;

// Now stands 180 right of the frame and is 1000 wide; Save, Help, Restore and Quit line up
// under it, Quit 480 below Restore.
inline constexpr int cmdNowGap = 180;
inline constexpr int ButtonColumnWidth = 1000;
inline constexpr int ButtonColumnLeft = fraTransits.right() + cmdNowGap;
inline constexpr Rect cmdNow{ButtonColumnLeft, 120, ButtonColumnWidth, ButtonHeight};
inline constexpr Rect cmdSave{ButtonColumnLeft, 540, ButtonColumnWidth, ButtonHeight};
inline constexpr Rect cmdHelp{ButtonColumnLeft, 960, ButtonColumnWidth, ButtonHeight};
inline constexpr Rect cmdRestore{ButtonColumnLeft, 1380, ButtonColumnWidth, ButtonHeight};
inline constexpr Rect cmdQuit{ButtonColumnLeft, cmdRestore.top + 480, ButtonColumnWidth,
                              ButtonHeight};

// The button row under the date sets: buttons 1120 wide, Run at 5900.
inline constexpr int ButtonRowTop = 1440;
inline constexpr int ButtonRowWidth = 1120;
inline constexpr int ButtonRowPitch = 1156;
inline constexpr Rect ButtonRowSlot(int slot) {
    return {Margin + slot * ButtonRowPitch, ButtonRowTop, ButtonRowWidth, ButtonHeight};
}
inline constexpr Rect cmdCompute = ButtonRowSlot(0);
inline constexpr Rect cmdConfigure = ButtonRowSlot(1);
inline constexpr Rect cmdSaveAs = ButtonRowSlot(2);
inline constexpr Rect cmdLoadState = ButtonRowSlot(3);
inline constexpr Rect cmdReport = ButtonRowSlot(4);
inline constexpr Rect cmdRun = ButtonRowSlot(5);
inline constexpr Rect cmdToggleGraphic = ButtonRowSlot(6);
inline constexpr Rect cmdPrint = ButtonRowSlot(7);
static_assert(cmdRun.left == 5900);
static_assert(cmdPrint.right() < fraTransits.left);

// The aspectarian under the frame of the modes, a gap from its edge, clear of the grid below.
inline constexpr Rect cmdAspectarian{fraTransits.left, fraTransits.bottom() + 60, 1400, 360};

// The title and the hint under it.
inline constexpr Rect lblTitle{Margin, 2000, fraTransits.left - 2 * Margin, 270};
inline constexpr Rect lblClickonAspect{Margin, 2280, fraTransits.left - 2 * Margin, 270};

// The grid, and the chart that takes its place.
inline constexpr int TableLeft = Margin;
inline constexpr int TableTop = 2640;
static_assert(cmdAspectarian.bottom() < TableTop);
inline constexpr Rect picGraphic{2000, TableTop, 6600, 6600};

// The step unit and the Back and Forward commands, right of the widest grid.
inline constexpr int SteppingLeft = 12120;
inline constexpr int SteppingWidth = intMainWindowWidth - Margin - SteppingLeft;
inline constexpr Rect cboForwardBack{SteppingLeft, TableTop, SteppingWidth, ControlHeight};
inline constexpr Rect cmdBack{SteppingLeft, TableTop + 420, SteppingWidth / 2 - 30, ButtonHeight};
inline constexpr Rect cmdForward{SteppingLeft + SteppingWidth / 2 + 30, TableTop + 420,
                                 SteppingWidth / 2 - 30, ButtonHeight};

// The report of world transits and natal aspects right of the grid, under the stepping
// commands; the one-line report of the two-chart modes under the grid.
inline constexpr int ReportGap = 240;
inline constexpr int txbReportTop = 3600;
inline constexpr int txbReport1Gap = 90;
inline constexpr int txbReport1Height = 600;

// The status line and the address of the user manual along the bottom edge, under the area
// that holds every other control and scrolls when the window is smaller than they need.
inline constexpr int StatusHeight = 330;
inline constexpr int StatusBottomGap = 60;
inline constexpr int StatusTopGap = 60;
inline constexpr int StatusStripHeight = StatusTopGap + StatusHeight + StatusBottomGap;
inline constexpr int lblURLWidth = 3600;

} // namespace orbivex::layout
