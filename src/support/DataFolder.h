#pragma once

#include <QString>

namespace orbivex {

// The folder that holds the program's data files (program texts, help, Pluto table): beside the
// executable in a build tree, or <prefix>/share/orbivex when the programs are installed in
// <prefix>/bin. When neither holds the program texts, the executable's own folder, so that a
// message about a missing file names the place where it was expected.
QString ProgramDataFolder(const QString& executableFolder);

// The same for the running program.
QString ProgramDataFolder();

// The user manual, a page for the web browser.
inline constexpr char kUserManualFileName[] = "orbivex-manual.html";

// Where the user manual of a data folder (as ProgramDataFolder gives it) is: in that folder in a
// build tree, or in <prefix>/share/doc/orbivex beside the installed <prefix>/share/orbivex. When
// neither holds it, the path in the data folder, so that a message names where it was expected.
QString UserManualFile(const QString& dataFolder);

} // namespace orbivex
