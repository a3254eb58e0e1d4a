#pragma once
// The text the read-only text viewer shows for a file it has read.

#include <QString>

namespace orbivex {

// The text the viewer shows for a file's text: the whole text below kViewerCharacterLimit;
// otherwise the opening note, the first part of the file, and the closing note.
QString ViewerDisplayText(const QString& fileText);

} // namespace orbivex
