#pragma once
// The chart library: the people and events a user works with, kept in one SQLite file (the
// user's data folder, orbivex-charts.sqlite, unless another file is named). Written ahead in a
// log, with a busy timeout so that the window and orbivex-cli can write at once; the schema's
// version lives in PRAGMA user_version and older files are migrated in one transaction. A file
// of a newer version, a file that is not a database, and a damaged one are refused and left
// exactly as they were.

#include "calendar/ChartSubject.h"
#include "places/Place.h"
#include "support/Expected.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace orbivex {

// The schema this program writes; files of versions 1 to it are read (and migrated).
inline constexpr int ChartLibraryVersion = 3;
inline constexpr char kChartLibraryFileName[] = "orbivex-charts.sqlite";

// The library file of the user: orbivex-charts.sqlite beside the user state file.
QString DefaultChartLibraryFile();

// The data ratings of a birth time, best first: "AA", "A", "B", "C", "DD", "X", "XX".
QStringList DataRatings();
// The rating as stored ("" for none), or nothing for a text that is none of them (any case).
std::optional<QString> DataRatingOfText(const QString& text);

// Tags as stored: trimmed, without empty ones or a repeat that differs only in case, in their
// first order.
QStringList NormalisedTags(const QStringList& tags);

struct LibraryChart {
    qint64 id = 0; // 0 until stored
    // subject.place names the place; with a place found in the atlas or written as coordinates,
    // `place` holds it whole and subject.place is its name. With a place and no zone
    // (subject.zone ""), the date is read at the place (ReadAtPlace).
    ChartSubject subject;
    std::optional<Place> place;
    QString rating; // one of DataRatings(), or ""
    QStringList tags;
    QString notes;
    QDateTime created; // UTC, set by the library
    QDateTime changed; // UTC, set by the library

    // The same chart, apart from its id and its times.
    bool SameContents(const LibraryChart& other) const;
};

// The date set of the chart's date: read at its place when it has one and no zone of its own.
DateSet DateSetOfLibraryChart(const LibraryChart& chart);
// The moment of the chart, as that date set converts (InstantOfSubject, at the place).
Expected<Instant, DateError> InstantOfLibraryChart(const LibraryChart& chart,
                                                   const TimeZones& zones);

enum class LibraryFault {
    CannotOpen,  // the file or its folder cannot be opened or created
    NotALibrary, // not a database, damaged, or a database of another program
    Newer,       // written by a newer version of the program
    Failed,      // a statement failed (a full disk, a lock held too long)
};

struct LibraryError {
    LibraryFault fault = LibraryFault::Failed;
    QString message;
};

template <typename T> using LibraryResult = Expected<T, LibraryError>;

struct LibrarySearch {
    QString text;   // part of the name, or the start of a tag (any case); "" for every chart
    QString tag;    // only charts with this tag (any case); "" for every tag
    int limit = -1; // at most this many charts; -1 for all
};

class ChartLibrary {
  public:
    enum class Access { ReadWrite, ReadOnly };

    // Opens the library file, creating it (and its folder) when it does not exist, or, when
    // read only, an empty library in its place without creating it. Opening to write checks
    // the whole file for damage; reading finds damage only where it reads (its query fails).
    static LibraryResult<std::unique_ptr<ChartLibrary>> Open(const QString& path,
                                                             Access access = Access::ReadWrite);
    ~ChartLibrary();
    ChartLibrary(const ChartLibrary&) = delete;
    ChartLibrary& operator=(const ChartLibrary&) = delete;

    const QString& Path() const { return path_; }

    // Stores a new chart; returns its id. The name must not be blank.
    LibraryResult<qint64> Add(const LibraryChart& chart);
    // Stores every chart in one transaction: all or none. Returns their ids in order.
    LibraryResult<QList<qint64>> AddAll(const QList<LibraryChart>& charts);
    // Replaces the chart of chart.id (its created time stays); false when there is none.
    LibraryResult<bool> Update(const LibraryChart& chart);
    // Removes the chart; false when there is none.
    LibraryResult<bool> Remove(qint64 id);

    LibraryResult<std::optional<LibraryChart>> Find(qint64 id);
    // The charts whose name is `name`, any case.
    LibraryResult<QList<LibraryChart>> FindByName(const QString& name);
    // The charts that match, by name (any case), then id; with a limit and a text, the first
    // that match in the order of their ids (which the index gives at once, at any size).
    LibraryResult<QList<LibraryChart>> Search(const LibrarySearch& search);
    LibraryResult<qint64> Count();

    // Places of one's own (coordinates and a zone) kept under a name, to be chosen again by it.
    // Keeping a place under a name it already has (any case) replaces that one.
    LibraryResult<bool> KeepOwnPlace(const Place& place);
    // The own place of that name (any case), if any.
    LibraryResult<std::optional<Place>> FindOwnPlace(const QString& name);
    // Every own place, by name.
    LibraryResult<QList<Place>> OwnPlaces();

  private:
    ChartLibrary(QString path, QString connection);
    LibraryResult<QList<LibraryChart>> Select(const QString& where, const QVariantList& values,
                                              const QString& order, const QString& tail = {});

    QString path_;
    QString connection_;
};

// The message for a file of a newer schema.
QString NewerLibraryMessage(const QString& path, int fileVersion);

} // namespace orbivex
