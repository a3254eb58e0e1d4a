#pragma once
// The reading of a file for the read-only text viewer, kept apart from the window so that it can
// be checked directly.

#include <QString>

namespace orbivex {

// A file of this many characters or more is shown truncated, between two notes, so that notes
// and file part together have exactly this many characters.
inline constexpr int kViewerCharacterLimit = 65530;

struct ViewerFile {
    enum class Status { Read, Empty, Failed };
    Status status = Status::Failed;
    QString text;             // the file's text (UTF-8), when read
    QString errorDescription; // when Failed: the system's description of the failure
};

// Reads a text file for the viewer. Only as much of the file is read as can decide and fill the
// display, so a huge file costs no more than a small one.
ViewerFile ReadViewerFile(const QString& path);

} // namespace orbivex
