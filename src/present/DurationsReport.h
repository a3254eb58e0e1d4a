#pragma once
// What the durations window shows, without the window: its caption and title, the sort choices
// of the mode, the sort of DurationRecords, the listing of world and personal transits (with or
// without beginnings, ends and durations), the natal report of natal aspects and synastry, and
// the text that Copy puts on the clipboard. The window and orbivex-cli show exactly this text.

#include "session/Durations.h"
#include "session/ExactMoments.h"
#include "session/ProgramState.h"

#include <QList>
#include <QString>

namespace orbivex {

class Ephemeris;
class ProgramTexts;

// Column widths of the listing and the natal report, in characters.
struct ListingWidths {
    int W1 = 0; // longest body name
    int W2 = 0; // longest short verb of an aspect kind, plus 10 for " (12°34')" and room
    int W3 = 0; // W1
    int W4 = 0; // "September 30, 9999,"
    int W5 = 0; // "September 30, 9999 "
    int W6 = 0; // two body names, the longest short verb and 4
};
ListingWidths MakeListingWidths();

struct DurationsHeading {
    QString caption; // the window's caption
    QString title;   // lblTitle
};
// The caption and title of the recorded mode's chart: the kind of list, the dates and the orbs.
DurationsHeading MakeDurationsHeading(const ProgramState& state, const ProgramTexts& texts);

// A sort choice: its text in cboSortBy and the record position its key starts at.
struct SortChoice {
    QString text;
    int keyStart = RecordKeyStartDeviation;
};
// World transits: exactness, aspect, planet, beginning, ending, duration (English in every
// language). Personal transits: exactness, aspect, natal, transiting, beginning, ending,
// duration from the language texts. Natal aspects and synastry: none.
QList<SortChoice> SortChoices(ChartMode mode, const ProgramTexts& texts);

// Sorts records[first..last] (0-based, inclusive) by the text from position keyStart (1-based)
// to the end, comparing plain character codes: ascending, or descending when ascending is
// false. Not stable: equal keys keep no particular order. A range outside the list is clipped.
void QuickSort(bool ascending, DurationRecords& records, int first, int last, int keyStart);
// The whole list in ascending order of the key.
void SortRecords(DurationRecords& records, int keyStart);

// "1 day", "35 days", "1 year", "1 year, 35 days", "2 years, 1 day" (language texts 171, 174,
// 175, 176) for a duration of days.
QString DurationText(int days, const ProgramTexts& texts);

// The lines of world or personal transits in list order, each ended by CR LF; with durations,
// each line goes on with the beginning, the exact moment told in `zone` (when any record has
// one; blank for the others), the end and the duration.
QString DurationsListing(const DurationRecords& records, ChartMode mode, bool showDurations,
                         const ListingWidths& widths, const ProgramTexts& texts,
                         const MomentZone& zone = {});

// The report of natal aspects or synastry from records sorted by exactness: the heading, the
// aspects with the bodies' zodiac positions, and for more than two aspects the count of each
// kind and (not in synastry) the aspect patterns and midpoints of the chart.
QString NatalReport(const DurationRecords& records, const ProgramState& state,
                    const ListingWidths& widths, const ProgramTexts& texts);

// Everything the window shows, and its state between commands.
struct DurationsContent {
    ChartMode mode = ChartMode::NoChartMode;
    DurationsHeading heading;
    DurationRecords records;
    MomentZone zone;               // of the world date: the exact moments are told in it
    QList<SortChoice> sortChoices; // empty in natal aspects and synastry
    bool sortListVisible = false;  // cboSortBy and lblSortBy
    bool showDurationsVisible = false;
    bool showDurations = true;
    int sortIndex = -1; // the selected sort choice, -1 for none
    QString output;     // txbOutput
};

// Report: the heading, the records of GetDurations and the first showing's content: in world
// and personal transits the list sorted by the first choice, with durations; in natal aspects
// and synastry the records sorted by exactness and the natal report.
DurationsContent MakeDurationsContent(const ProgramState& state, const Ephemeris& ephemeris,
                                      const ProgramTexts& texts);

// MakeDurationsContent for a list that is to show no durations, sorted by choice `sortIndex`
// (the caller still selects it and clears "Show durations"): when that order does not depend
// on the days (a choice before them, no two records of the same deviation), the records hold
// no beginnings, ends or exact moments, and none are searched.
DurationsContent MakeDurationsContentWithoutDays(const ProgramState& state,
                                                 const Ephemeris& ephemeris,
                                                 const ProgramTexts& texts, int sortIndex);

// A choice in cboSortBy: sorts, lists again, and switches the durations on for the choices
// past the fourth (end and duration, and in personal transits also the beginning). An index
// outside the choices changes nothing.
void SelectSort(DurationsContent& content, int index, const ProgramTexts& texts);

// "Show durations" set or cleared: lists again.
void SetShowDurations(DurationsContent& content, bool show, const ProgramTexts& texts);

// What a double-click on a transit's cell tells: "With an orb of 6° 0' this square" CR LF
// "begins on ...," CR LF "is exact on ...," CR LF "and ends on ...", the line of the exact
// moment only when the aspect becomes exact.
QString CellDoubleClickDetail(const CellDoubleClick& decision, const ProgramTexts& texts);

// The question of CellDoubleClick::Action::AskForReport: the detail, two line breaks and
// whether to show the report of all current world or personal transits.
QString CellDoubleClickQuestion(const CellDoubleClick& decision, const ProgramTexts& texts);

// What Copy puts on the clipboard: the title, CR LF, CR LF and the output.
QString CopyText(const DurationsContent& content);

} // namespace orbivex
