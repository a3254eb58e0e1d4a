#pragma once
// The position component: heliocentric ecliptic longitudes (J2000, geometric) of the nine
// bodies at a Julian date on Universal Time. Earth to Neptune come from the Swiss Ephemeris;
// Pluto from the daily Pluto table that the program loads at start-up.

#include "core/Bodies.h"

#include <QString>
#include <vector>

namespace orbivex {

// Markers returned by PositionOfBody in place of a longitude.
inline constexpr double NoPositionBeforeTable = -99.0; // Pluto before 1 January 1600
inline constexpr double NoPositionAfterTable = -100.0; // Pluto after 31 December 2199

// First and last day numbers (JDN) of the Pluto table: 1 January 1600 and 1 January 2200.
inline constexpr int PlutoTableFirstDay = 2305448;
inline constexpr int PlutoTableLastDay = 2524594;
inline constexpr int PlutoTableEntries = PlutoTableLastDay - PlutoTableFirstDay + 1; // 219147

inline constexpr const char* PlutoTableFileName = "hpluto.2199.slx";

class Ephemeris {
  public:
    // dataFolder: the program's folder; the ephemeris files are sought there first, then in
    // the system's ephemeris folder.
    explicit Ephemeris(const QString& dataFolder);

    // Reads the coded Pluto table from dataFolder + "/" + fileName. Returns "" on success or a
    // text naming the problem; on failure the previous table (if any) is kept.
    QString LoadPlutoTable(const QString& fileName);
    bool PlutoTableLoaded() const;

    // 9 when the Pluto table is loaded, 8 otherwise.
    int NumBodies() const;

    // Heliocentric J2000 longitude of body 1..9 in radians [0, 2*pi) at Julian date jd (UT);
    // for Pluto outside its table NoPositionBeforeTable / NoPositionAfterTable; -1 for an
    // index that is not a body.
    double PositionOfBody(BodyIndex body, double jd) const;

    // True when the ephemeris files could not be found and the library fell back to its
    // built-in, less precise theory (detected from the flags of the last computation).
    bool UsesBuiltInTheory() const;

    // Pluto's table entry for day number jdn in degrees, for tests and tools.
    double PlutoTableEntry(int jdn) const;

  private:
    QString dataFolder_;
    std::vector<float> plutoDegrees_;
    mutable bool builtInTheory_ = false;
};

// Calendar year of the instant jd (UT), proleptic Gregorian.
int JulianDateOfYear(double jd);

} // namespace orbivex
