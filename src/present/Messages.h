#pragma once
// The sentences of the program's decisions that a window shows as they stand.

#include "session/Compute.h"
#include "session/PlaceLookup.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace orbivex {

class ProgramTexts;

// Asked before a "Save as" replaces a file the file dialog never asked about: "NAME already
// exists." and "Do you want to replace it?" on two lines.
QString ReplaceQuestion(const QString& name);

// Which place a name that several places have was taken as, and how to write three of the
// others: "“Springfield” is taken as ...; for another place write “...” or “...”." "" when the
// name fits one place only.
QString PlaceTakenNote(const QString& text, const FoundPlace& found);

// The program text that says what is wrong with a date (145 to 148, 510).
int DateErrorTextNumber(DateError error);

// The message and title shown for a date that does not convert.
struct DateErrorText {
    QString message;
    QString title;
};
// The message for the error a conversion of date set dateSetIndex returned: the name of the
// date set (program text 4, 5 or 6), a space, and the text of the error (145 to 148, 510); the
// title is program text 153. Both are empty when the index is not a date set.
DateErrorText ReportDateError(const ProgramTexts& texts, int dateSetIndex, DateError error);
// The same for a Compute that failed.
DateErrorText ReportDateError(const ProgramTexts& texts, const DateFailure& failure);

// A note for a local time that a named zone skipped or had twice, saying which reading the
// conversion chose; dateSetIndex names the date set (program texts 4 to 6).
QString LocalTimeNote(const ProgramTexts& texts, int dateSetIndex, const UnusualLocalTime& time);

// "the time is the local mean time of PLACE (longitude ...), UT-04:56:01, as ZONE kept local
// mean time then": a date read in the local mean time of its place.
QString MeanTimeNote(const Place& place, int offsetSeconds);

// The sentences of Compute's notes, one a note: the date set's name, then what the note says.
QStringList ComputeNoteTexts(const ProgramTexts& texts, const std::vector<ComputeNote>& notes);

} // namespace orbivex
