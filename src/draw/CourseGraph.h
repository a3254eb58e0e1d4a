#pragma once
// The course of a personal transit over the days it lasts, drawn into an image for the chart
// picture: time runs down from the local midnight that begins its first day to the one that ends
// its last, and the transiting body's distance from the exact aspect point runs across, from
// minus the orb through exactness in the middle to plus the orb. A date column on the left and
// a white line at the world date's row help to read when it is exact; a right click on the
// curve tells the date, time and distance of that point.
//
// All positions are pixels of the image (15 layout units to a pixel).

#include "calendar/ChartSubject.h"
#include "session/Durations.h"
#include "session/ProgramState.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <optional>

namespace orbivex {

class Ephemeris;
class ProgramTexts;

// The picture: 10950 x 6600 layout units.
inline constexpr int CourseGraphWidth = 730;
inline constexpr int CourseGraphHeight = 440;
inline constexpr int CourseGraphLeftMargin = 120; // the date column
inline constexpr int CourseGraphCentre = 420;     // exactness
inline constexpr int CourseGraphHalfWidth = 300;  // the orb
inline constexpr int CourseGraphFirstRow = 21;
inline constexpr int CourseGraphLastRow = 413;
inline constexpr int CourseGraphRowLines = 29; // dates down the left, 14 pixels apart
inline constexpr int CourseGraphSamples = CourseGraphLastRow - CourseGraphFirstRow + 1; // 393

// Everything the drawing reads besides the ephemeris.
struct CourseGraphInputs {
    CourseGraphRequest request; // bodies, kind, time zone, first and last day, title with "X"
    // The birthdate's and the world date's moments and local dates; none for a date that does
    // not convert.
    std::optional<Instant> natal;
    std::optional<LocalJulianDay> natalLocal;
    std::optional<Instant> world;
    std::optional<LocalJulianDay> worldLocal;
    double orb = 0.0; // the personal-transit orb of the kind, radians
    int colour = 0;   // the kind's colour, R + 256 G + 65536 B
    CalendarChoice calendar = CalendarChoice::Gregorian; // the dates are written in it
};

// The inputs from the program state (personal transits to the first or second birthdate).
CourseGraphInputs CourseGraphInputsOf(const ProgramState& state, const CourseGraphRequest& request);

// The drawn graph and what a right click on it needs.
struct CourseGraph {
    QImage image;
    QString title;         // the title as printed, with the birthdate in place of the "X"
    int beginning = 0;     // first day (local day number)
    double sampleStep = 0; // days from one pixel row to the next: span / 392
    double orb = 0.0;
    double exactPoint = 0.0; // E: the longitude at which the transit is exact
    int currentRow = -1;     // the date row (0..28) drawn white: the world date's; -1 for none
    CalendarChoice calendar = CalendarChoice::Gregorian; // of the dates written
};

// The longitude E at which transiting body T makes the exact aspect of the kind to natal
// longitude natal: the natal longitude for a conjunction, opposite it for an opposition, and
// otherwise the one of natal +- the kind's angle that lies nearer to transiting (minus on a tie).
double ExactAspectPoint(double natal, double transiting, AspectKind kind);

// The first date row whose time lies later than half a row before the world date; -1 when
// none does.
int CurrentDateRow(int beginning, double rowStep, LocalJulianDay world);

// Draws the graph. A request without a valid kind, bodies or span gives an empty image.
CourseGraph DrawCourseGraph(const Ephemeris& ephemeris, const CourseGraphInputs& inputs);

// A note for the user: text and title.
struct CourseGraphNote {
    QString text;
    QString title;
};

// The right click at a pixel of the graph: the date, time and distance from exact of that point
// (language texts 348 to 350), or nothing on the black background and outside the plot.
std::optional<CourseGraphNote> CourseGraphRightClick(const CourseGraph& graph, QPoint pixel,
                                                     const ProgramTexts& texts);

} // namespace orbivex
