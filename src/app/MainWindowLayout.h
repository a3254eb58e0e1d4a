#pragma once
// The measures the main window's layouts start from, in layout units (1/1440 inch, 15 to a
// pixel at scale 1). The controls stand in Qt layouts; these are their smallest widths, and the
// window's first size, which the screen may reduce.

namespace orbivex::layout {

// The window's first size when the settings keep none.
inline constexpr int StartWidth = 14400;
inline constexpr int StartHeight = 9600;

// From this width on (pixels at scale 1) the wheel stands beside the grid.
inline constexpr int WideWindowPixels = 1400;

// The columns of a date set's row: the name, the parts of the date, the place, then Clear. A new
// column goes in here and in frmMain::AddDateSetRow alone.
enum DateColumn {
    LabelColumn,
    YearColumn,
    MonthColumn,
    DayColumn,
    HourColumn,
    ZoneColumn,
    PlaceColumn, // where the birth or event took place
    ClearColumn,
    DateColumnCount
};

// The smallest width of each column of the date rows.
inline constexpr int DateColumnWidths[DateColumnCount] = {1300, 760,  1400, 700,
                                                          960,  1550, 1350, 800};

inline constexpr int PlaceWidestWidth = 4200;    // the place box in a wide window
inline constexpr int ButtonWidth = 1000;         // the column beside the modes
inline constexpr int ButtonRowWidth = 1120;      // the row under the date sets
inline constexpr int SteppingWidth = 2160;       // the step unit, Back and Forward, the report
inline constexpr int TwoChartReportHeight = 600; // the one-line report under the square grid

// The grid may shrink to this share of its designed size where the screen is small (a high
// scale factor on a small screen); it grows without limit.
inline constexpr double SmallestGridScale = 0.5;

} // namespace orbivex::layout
