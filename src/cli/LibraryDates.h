#pragma once
// The chart library as orbivex-cli reaches it: the --library option every command takes, a
// DATE that names a chart of the library ("@12", "@Ada Lovelace"), and a chart as JSON.

#include "calendar/ChartSubject.h"
#include "cli/Commands.h"
#include "session/ChartLibrary.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QHash>
#include <QJsonObject>

#include <mutex>
#include <optional>

namespace orbivex::cli {

// --library FILE
QCommandLineOption LibraryOption();
// The file of --library, or the user's library.
QString LibraryFileOf(const QCommandLineParser& parser, const QCommandLineOption& option);

// The subject of a DATE "YYYY-MM-DD[ HH:MM][ ZONE]" written in `calendar`, its zone as typed;
// the message of a usage error for a text not written so.
Expected<ChartSubject> SubjectOfDateText(const QString& text, CalendarChoice calendar);

// Why a DATE could not be read: the message and the exit status (ExitUsage for a text or a
// reference that is wrong, ExitFailure for a library that cannot be read).
struct DateReadFailure {
    QString message;
    int status = ExitUsage;
};

// Reads a DATE into the date set as ReadDateText does; "@ID" or "@NAME" (a unique name, any
// case) takes the date, time, zone, calendar and place of that chart of the library in
// libraryFile (DateSetOfLibraryChart), and gives `place` the chart's place when asked. Leaves
// the date set as it was on a failure.
std::optional<DateReadFailure> ReadDateOrChart(const QString& text, DateSet& dateSet,
                                               const QString& libraryFile,
                                               std::optional<Place>* place = nullptr);

// The chart a reference names: "12" or "@12" by id, any other text by its name (any case,
// unique); a usage error naming the candidates when none or several match.
Expected<LibraryChart, DateReadFailure> ChartOfReference(ChartLibrary& library,
                                                         const QString& reference);

// The charts of a library, read whole on first use, for the many references of a batch: any
// thread may resolve references at once, and the library is read once.
class LibraryDates {
  public:
    explicit LibraryDates(QString path) : path_(std::move(path)) {}

    // The date set of "@ID" or "@NAME", as ReadDateOrChart reads it.
    Expected<DateSet, DateReadFailure> Resolve(const QString& reference);

  private:
    void Load();

    QString path_;
    std::once_flag loaded_;
    std::optional<DateReadFailure> failure_;
    QList<LibraryChart> charts_;
    QHash<qint64, qsizetype> byId_;
    QHash<QString, QList<qsizetype>> byName_; // by the name in lower case
};

// A chart as the library's JSON writes it: id, name, date, zone, calendar, place,
// placeDetails (null without a place found or written as coordinates), rating, tags, notes,
// julianDay (null when it does not convert).
QJsonObject LibraryChartJson(const LibraryChart& chart, const TimeZones& zones);

} // namespace orbivex::cli
