#pragma once
// The sentences of the program's decisions that a window shows as they stand.

#include <QString>

namespace orbivex {

// Asked before a "Save as" replaces a file the file dialog never asked about: "NAME already
// exists." and "Do you want to replace it?" on two lines.
QString ReplaceQuestion(const QString& name);

} // namespace orbivex
