#pragma once
// What the About window says of the ephemeris: the library's version and the files of planet
// data it reads, from the program's folder or the system's.

#include "core/Ephemeris.h"

#include <QString>
#include <QStringList>

namespace orbivex {

// The Swiss Ephemeris's version ("2.10.03").
QString EphemerisLibraryVersion();

struct EphemerisData {
    QString folder;    // where the planet files were found; empty when none were
    QStringList files; // the planet files (sepl*.se1) there, sorted
};

// The folder the ephemeris reads its planet files from, as Ephemeris looks for them: the data
// folder first, then the system folder.
EphemerisData
FindEphemerisData(const QString& dataFolder,
                  const QString& systemFolder = QString::fromLatin1(SystemEphemerisFolder));

} // namespace orbivex
