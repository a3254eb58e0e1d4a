#pragma once
// What the benchmarks share: the data files beside the benchmark program and the chart they
// all compute.

#include "core/Ephemeris.h"
#include "session/ProgramState.h"
#include "support/ProgramTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QString>

namespace orbivex::bench {

// The folder of the benchmark program, where the build puts the data files, from whatever
// folder it is run; the working folder when the program's own folder holds no Pluto table.
inline QString DataFolder() {
    const QString beside = QCoreApplication::instance() != nullptr
                               ? QCoreApplication::applicationDirPath()
                               : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (!beside.isEmpty() && QDir(beside).exists(QString::fromLatin1(PlutoTableFileName))) {
        return beside;
    }
    return QDir::currentPath();
}

// Loads the Pluto table and the program texts; false when the data files are not there.
inline bool LoadData(Ephemeris& ephemeris, ProgramTexts& texts) {
    return ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName)) &&
           texts.Load(DataFolder() + QStringLiteral("/orbx.dat")) > 0;
}

// The ephemeris and the program texts of one benchmark, loaded from the program folder; ok is
// false when the data files are not there.
struct Data {
    Ephemeris ephemeris{DataFolder()};
    ProgramTexts texts;
    bool ok = LoadData(ephemeris, texts);
};

// The world date 20 March 2024, 12:00 GMT and two birthdates, in a given mode.
inline ProgramState ChartState(ChartMode mode) {
    ProgramState state;
    state.zones = MakeTimeZones(0, true);
    state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry};
    state.dateSets[FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
    state.dateSets[SecondBirthdate] = {QStringLiteral("1985"), 11, 2, 40, 14};
    state.mode = mode;
    return state;
}

} // namespace orbivex::bench
