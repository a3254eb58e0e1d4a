#pragma once
// The controls of one date set (year box, month, day, hour and zone lists) and their binding to
// a DateSet: the year as typed and the list entries are what the controls show, and they are
// read and written here only. The main window's rows and the chart library's form share it.

#include "calendar/DateInput.h"

#include <QString>

class QComboBox;
class QLineEdit;

namespace orbivex {

struct DateSetControls {
    QLineEdit* year = nullptr;
    QComboBox* month = nullptr;
    QComboBox* day = nullptr;
    QComboBox* hour = nullptr; // editable: any minute may be typed
    QComboBox* zone = nullptr; // editable: a zone of the time-zone database may be typed
};

// Makes the five controls, children of `parent`, with their lists filled.
DateSetControls MakeDateSetControls(QWidget* parent, const TimezoneList& zones);

// Fills the month, day and hour lists (the month names of the program's language).
void FillDateLists(const DateSetControls& controls);
// Fills the zone list with the texts of `zones`.
void FillZoneList(const DateSetControls& controls, const TimezoneList& zones);

// Selects `index` in the list, or its empty entry 0 for an index outside it.
void SetComboIndex(QComboBox* combo, int index);
// The selected entry, 0 when none is.
int ComboIndex(const QComboBox* combo);

// The date set the controls show; the calendar is taken from `dateSet`, whose other fields
// the controls replace. A typed hour that is no time keeps the time `dateSet` had.
void ReadDateSetControls(const DateSetControls& controls, DateSet& dateSet);
// Shows the date set. The year box is rewritten only when its text differs, so that a year
// being typed keeps its cursor; a zone name wider than its box shows its beginning.
void ShowDateSetControls(const DateSetControls& controls, const DateSet& dateSet,
                         const TimezoneList& zones);

} // namespace orbivex
