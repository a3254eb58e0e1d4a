#pragma once
// The windows were designed with a handful of classic desktop fonts. Each window asks for those
// names through here, so that all of them render with the same installed metric twins.

#include <QFont>
#include <QString>

namespace orbivex {

// The installed family that stands in for a design font name ("Arial" -> "Liberation Sans",
// "Courier New" -> "Liberation Mono", "MS Sans Serif" and "Starfont Sans" -> "DejaVu Sans").
// Any other name is returned unchanged; the comparison ignores case.
QString InstalledFontFamily(const QString& designName);

// A font of the installed family for a design font name, at a size in points.
QFont ProgramFont(const QString& designName, double pointSize, bool bold = false);

} // namespace orbivex
