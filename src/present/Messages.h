#pragma once
// The sentences of the program's decisions that a window shows as they stand.

#include "session/PlaceLookup.h"

#include <QString>

namespace orbivex {

// Asked before a "Save as" replaces a file the file dialog never asked about: "NAME already
// exists." and "Do you want to replace it?" on two lines.
QString ReplaceQuestion(const QString& name);

// Which place a name that several places have was taken as, and how to write three of the
// others: "“Springfield” is taken as ...; for another place write “...” or “...”." "" when the
// name fits one place only.
QString PlaceTakenNote(const QString& text, const FoundPlace& found);

} // namespace orbivex
