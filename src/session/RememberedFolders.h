#pragma once
// The folder last used for each kind of file, kept in the settings, so that the next file
// dialog for that kind opens where the user was, across restarts; without one (or once it is
// gone) the dialogs open in the user's documents folder, or the home folder when there is none.

#include <QString>

namespace orbivex {

enum class FileKind { StateFile, Image };

// The folder the file dialogs of that kind open in.
QString StartFolder(FileKind kind);
// Keeps the folder of a file the user has just chosen.
void RememberFolder(FileKind kind, const QString& chosenFile);

} // namespace orbivex
