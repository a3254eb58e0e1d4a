#pragma once
// The position component: heliocentric ecliptic longitudes (J2000, geometric) of the nine
// bodies at a Julian date on Universal Time. Earth to Neptune come from the Swiss Ephemeris;
// Pluto from the daily Pluto table that the program loads at start-up.

#include "core/Bodies.h"
#include "core/Position.h"
#include "support/Expected.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace orbivex {

// First and last day numbers (JDN) of the Pluto table: 1 January 1600 and 1 January 2200.
inline constexpr int PlutoTableFirstDay = 2305448;
inline constexpr int PlutoTableLastDay = 2524594;
inline constexpr int PlutoTableEntries = PlutoTableLastDay - PlutoTableFirstDay + 1; // 219147

inline constexpr const char* PlutoTableFileName = "hpluto.2199.slx";

// Where Debian's swe-standard-data puts the ephemeris files.
inline constexpr const char* SystemEphemerisFolder = "/usr/share/libswe/ephe";

class PlutoCodeStore;

// One Ephemeris serves one thread at a time (it remembers which file the last computation
// read); PositionsOfBodiesAt shares long runs among the workers of a WorkerPool by itself.
class Ephemeris {
  public:
    // The ephemeris files are sought in dataFolder (the program's folder) first, then in
    // systemFolder. When neither holds them the library computes with its built-in theory.
    // The Swiss Ephemeris keeps one search path per thread, so the Ephemeris constructed last
    // on a thread decides where that thread's computations look for files.
    explicit Ephemeris(const QString& dataFolder,
                       const QString& systemFolder = QString::fromLatin1(SystemEphemerisFolder));
    // A copy shares the Pluto table; its first computation starts from closed files.
    Ephemeris(const Ephemeris& other);
    Ephemeris& operator=(const Ephemeris& other);

    // Reads the coded Pluto table from dataFolder + "/" + fileName and checks every line, or
    // gives a text naming the problem; on failure the previous table (if any) is kept.
    Status LoadPlutoTable(const QString& fileName);
    // LoadPlutoTable on the bytes of a table already read; `name` names it in messages.
    Status LoadPlutoTableFromBytes(QByteArrayView bytes, const QString& name);
    bool PlutoTableLoaded() const;

    // 9 when the Pluto table is loaded, 8 otherwise.
    int NumBodies() const;

    // Heliocentric J2000 longitude of the body in radians [0, FullCircle) at Julian date jd
    // (UT); for Pluto outside its table BeforeTable / AfterTable; Unavailable for Pluto
    // without a table and for an instant the ephemeris cannot compute.
    Position PositionOfBody(BodyIndex body, double jd) const;

    // PositionOfBody of two bodies at jd, with the same results, computing the difference
    // between Universal and Terrestrial Time once for both.
    std::pair<Position, Position> PositionsOfPair(BodyIndex first, BodyIndex second,
                                                  double jd) const;

    // PositionOfBody of every body at jd, with the same results, computing the difference
    // between Universal and Terrestrial Time once for all bodies.
    PositionSet PositionsOfBodies(double jd) const;

    // PositionsOfBodies at each of the instants, in order. Long runs are shared among up to
    // maxThreads threads (0: as many as the machine has cores), each with its own ephemeris
    // state.
    std::vector<PositionSet> PositionsOfBodiesAt(std::span<const double> jds,
                                                 int maxThreads = 0) const;

    // Points the calling thread's library state at this ephemeris's files, for a thread that
    // computes with a copy of an Ephemeris constructed on another thread; ReleaseThisThread
    // closes the files the thread opened before it ends. WorkerPool does both for its workers;
    // a thread should be started through it rather than pair these by hand.
    void UseOnThisThread() const;
    static void ReleaseThisThread();

    // True when the ephemeris files could not be found and the library fell back to its
    // built-in, less precise theory (detected from the flags of the last computation by this
    // ephemeris or a copy of it, such as a worker's).
    bool UsesBuiltInTheory() const;

    // Pluto's table entry for day number jdn in degrees, for tests and tools; none outside the
    // table or without one.
    std::optional<double> PlutoTableEntry(int jdn) const;

  private:
    struct RangeOutcome {
        bool computed = false;      // the library computed at least one position
        bool builtInTheory = false; // ... and at least one with its built-in theory
    };

    // The entry of day index (0 is 1 January 1600) in whole seconds of arc.
    int PlutoArcseconds(int index) const;
    Position PlutoFromTable(double jd) const;
    // Computes rows [first, last) of PositionsOfBodiesAt on the calling thread; openFile is
    // the library file that thread has open (see UseFileOf).
    RangeOutcome ComputeRange(std::span<const double> jds, std::size_t first, std::size_t last,
                              PositionSet* out, int& openFile) const;
    // Before computing at jdTT (Terrestrial Time): closes the library's files when the instant
    // belongs to another of them than the one open, so that every position comes from the
    // file a fresh start would read, whatever was computed before.
    void UseFileOf(double jdTT, int& openFile) const;
    static constexpr int NoFileOpen = std::numeric_limits<int>::min();
    // The thread's path has just been set to this ephemeris's files, which closes them all:
    // the first computation needs no fresh start of its own. (Setting the path reads the
    // Moon's file, which costs as much as a chart.)
    static constexpr int FreshFiles = NoFileOpen + 1;
    void Remember(RangeOutcome outcome) const;

    QString dataFolder_;
    QByteArray ephemerisPath_;
    // Shared with the copies, which compute on other threads with the same files.
    std::shared_ptr<std::atomic<bool>> builtInTheory_ = std::make_shared<std::atomic<bool>>(false);
    // The four codes of each day of the table, every one checked; an entry is decoded when it
    // is used. Copies of an Ephemeris share it. None while no table is loaded.
    std::shared_ptr<const PlutoCodeStore> plutoCodes_;
    // The library file the thread using this ephemeris has open. A copy knows none, so that
    // its first computation starts from closed files, wherever it runs.
    mutable int openFile_ = NoFileOpen;
};

// Whether the library keeps its state per thread (as Debian's build does), so that several
// threads may compute at once, each with its own Ephemeris.
bool EphemerisStateIsPerThread();

} // namespace orbivex
