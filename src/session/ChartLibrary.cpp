#include "session/ChartLibrary.h"

#include <QAtomicInteger>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QVariant>

#include <algorithm>
#include <span>
#include <utility>

namespace orbivex {

namespace {

// The words of every chart's name and tags, for searching as the user types: a word typed
// finds the charts with a word of their name or a tag beginning with it, from an index, however
// many charts there are (the first letters, which match the most words, have indexes of their
// own). The rowid is the chart's id.
constexpr const char* kCreateSearch =
    "CREATE VIRTUAL TABLE chart_search USING fts5(name, tags, tokenize = 'unicode61 "
    "remove_diacritics 2', prefix = '1 2 3 4 5')";

// Version 1 kept a chart's tags as one comma-separated column; version 2 keeps one row per tag,
// indexed, so that a search by tag does not read every chart.
constexpr const char* kSchemaVersion2[] = {
    "CREATE TABLE charts ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " name TEXT NOT NULL COLLATE NOCASE CHECK (trim(name) <> ''),"
    " year INTEGER NOT NULL, month INTEGER NOT NULL, day INTEGER NOT NULL,"
    " minute INTEGER CHECK (minute IS NULL OR minute BETWEEN 0 AND 1439),"
    " zone TEXT NOT NULL DEFAULT '',"
    " calendar TEXT NOT NULL DEFAULT 'gregorian',"
    " place TEXT NOT NULL DEFAULT '',"
    " rating TEXT NOT NULL DEFAULT '' CHECK (rating IN ('', 'AA', 'A', 'B', 'C', 'DD', 'X', "
    "'XX')),"
    " notes TEXT NOT NULL DEFAULT '',"
    " created TEXT NOT NULL, changed TEXT NOT NULL)",
    "CREATE INDEX charts_by_name ON charts (name COLLATE NOCASE)",
    "CREATE TABLE chart_tags ("
    " chart_id INTEGER NOT NULL REFERENCES charts (id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL,"
    " tag TEXT NOT NULL COLLATE NOCASE,"
    " PRIMARY KEY (chart_id, position))",
    "CREATE INDEX chart_tags_by_tag ON chart_tags (tag COLLATE NOCASE, chart_id)",
    kCreateSearch,
};

// From version 1: the tags column becomes rows of chart_tags, split at its commas.
constexpr const char* kMigration1To2[] = {
    "CREATE TABLE chart_tags ("
    " chart_id INTEGER NOT NULL REFERENCES charts (id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL,"
    " tag TEXT NOT NULL COLLATE NOCASE,"
    " PRIMARY KEY (chart_id, position))",
    "CREATE INDEX chart_tags_by_tag ON chart_tags (tag COLLATE NOCASE, chart_id)",
    "WITH RECURSIVE split(chart_id, position, tag, rest) AS ("
    " SELECT id, 0, '', tags || ',' FROM charts"
    " UNION ALL"
    " SELECT chart_id, position + 1, trim(substr(rest, 1, instr(rest, ',') - 1)),"
    " substr(rest, instr(rest, ',') + 1) FROM split WHERE rest <> '')"
    " INSERT INTO chart_tags (chart_id, position, tag)"
    " SELECT chart_id, position, tag FROM split WHERE tag <> ''",
    "ALTER TABLE charts DROP COLUMN tags",
    "CREATE INDEX IF NOT EXISTS charts_by_name ON charts (name COLLATE NOCASE)",
    kCreateSearch,
    "INSERT INTO chart_search (rowid, name, tags) SELECT id, name, (SELECT group_concat(tag, "
    "' ') FROM chart_tags WHERE chart_id = charts.id) FROM charts",
};

// From version 2: a chart's place whole (its region, country, zone, coordinates and
// population beside the name that the place column kept), and the places of one's own.
constexpr const char* kMigration2To3[] = {
    "ALTER TABLE charts ADD COLUMN place_region TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE charts ADD COLUMN place_country TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE charts ADD COLUMN place_country_code TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE charts ADD COLUMN place_zone TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE charts ADD COLUMN place_latitude REAL CHECK (place_latitude IS NULL OR "
    "place_latitude BETWEEN -90 AND 90)",
    "ALTER TABLE charts ADD COLUMN place_longitude REAL CHECK (place_longitude IS NULL OR "
    "place_longitude BETWEEN -180 AND 180)",
    "ALTER TABLE charts ADD COLUMN place_population INTEGER NOT NULL DEFAULT 0",
    "CREATE TABLE own_places ("
    " name TEXT PRIMARY KEY COLLATE NOCASE CHECK (trim(name) <> ''),"
    " latitude REAL NOT NULL CHECK (latitude BETWEEN -90 AND 90),"
    " longitude REAL NOT NULL CHECK (longitude BETWEEN -180 AND 180),"
    " zone TEXT NOT NULL)",
};

QString TimeText(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime TimeOfText(const QString& text) {
    // Written with its "Z", so read as UTC.
    return QDateTime::fromString(text, Qt::ISODateWithMs).toUTC();
}

// How long a program waits for another that is writing the library.
constexpr int kBusyTimeoutMs = 10000;

LibraryError Failure(LibraryFault fault, QString message) {
    return {fault, std::move(message)};
}

LibraryError QueryFailure(const QString& path, const QSqlError& error) {
    return {LibraryFault::Failed, QStringLiteral("The chart library %1 could not be written or "
                                                 "read: %2")
                                      .arg(QDir::toNativeSeparators(path), error.text())};
}

QString NewConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("orbivex-charts-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Runs statements in order; the first failure.
std::optional<QSqlError> RunAll(QSqlDatabase& database, std::span<const char* const> statements) {
    QSqlQuery query(database);
    for (const char* statement : statements) {
        if (!query.exec(QString::fromLatin1(statement))) {
            return query.lastError();
        }
    }
    return std::nullopt;
}

// Switches the file to write-ahead logging, which lets one program read while another writes.
// The switch needs the file to itself, and SQLite refuses it at once, without waiting out the
// busy timeout, when another program that opened the file at the same moment holds it: the
// switch is tried again until the busy timeout has passed.
std::optional<QSqlError> SwitchToWal(QSqlDatabase& database) {
    constexpr int kSqliteBusy = 5;
    QSqlQuery query(database);
    QDeadlineTimer deadline(kBusyTimeoutMs);
    for (int pause = 1;; pause = std::min(pause * 2, 50)) {
        if (query.exec(QStringLiteral("PRAGMA journal_mode = WAL"))) {
            return std::nullopt;
        }
        const QSqlError error = query.lastError();
        if ((error.nativeErrorCode().toInt() & 0xff) != kSqliteBusy || deadline.hasExpired()) {
            return error;
        }
        query.finish();
        QThread::msleep(pause);
    }
}

// Starts a transaction that holds the write lock from its start (waiting up to the busy
// timeout for another writer), so that it never fails halfway for want of it.
std::optional<QSqlError> BeginWriting(QSqlDatabase& database) {
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return query.lastError();
    }
    return std::nullopt;
}

// Commits the transaction, or rolls it back after a failure; the error, if any.
std::optional<QSqlError> Finish(QSqlDatabase& database, std::optional<QSqlError> failed) {
    if (!failed && database.commit()) {
        return std::nullopt;
    }
    const QSqlError error = failed.value_or(database.lastError());
    database.rollback();
    return error;
}

// Runs `write` in one transaction taken for writing at once: `write` fills the result and
// returns the error, if any, that rolls everything back. Its queries end with it, before the
// commit.
template <typename Result, typename Write>
LibraryResult<Result> WriteAtOnce(QSqlDatabase& database, const QString& path, Write write) {
    if (const std::optional<QSqlError> failed = BeginWriting(database)) {
        return Fail(QueryFailure(path, *failed));
    }
    Result result{};
    if (const std::optional<QSqlError> error = Finish(database, write(result))) {
        return Fail(QueryFailure(path, *error));
    }
    return result;
}

} // namespace

QString DefaultChartLibraryFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Quillmark/") + QLatin1String(kChartLibraryFileName);
}

QStringList DataRatings() {
    return {QStringLiteral("AA"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
            QStringLiteral("DD"), QStringLiteral("X"), QStringLiteral("XX")};
}

std::optional<QString> DataRatingOfText(const QString& text) {
    const QString rating = text.trimmed().toUpper();
    if (rating.isEmpty() || DataRatings().contains(rating)) {
        return rating;
    }
    return std::nullopt;
}

QStringList NormalisedTags(const QStringList& tags) {
    QStringList kept;
    for (const QString& tag : tags) {
        const QString trimmed = tag.trimmed();
        if (!trimmed.isEmpty() && !kept.contains(trimmed, Qt::CaseInsensitive)) {
            kept.append(trimmed);
        }
    }
    return kept;
}

bool LibraryChart::SameContents(const LibraryChart& other) const {
    return subject == other.subject && place == other.place && rating == other.rating &&
           tags == other.tags && notes == other.notes;
}

DateSet DateSetOfLibraryChart(const LibraryChart& chart) {
    DateSet dateSet = DateSetOfSubject(chart.subject);
    if (chart.place && chart.subject.zone.trimmed().isEmpty()) {
        ReadAtPlace(dateSet, *chart.place);
    }
    return dateSet;
}

Expected<Instant, DateError> InstantOfLibraryChart(const LibraryChart& chart,
                                                   const TimeZones& zones) {
    const Expected<double, DateError> julianDay =
        InputDateToAJDate(DateSetOfLibraryChart(chart), zones);
    if (!julianDay) {
        return Fail(julianDay.error());
    }
    return Instant{*julianDay};
}

QString NewerLibraryMessage(const QString& path, int fileVersion) {
    return QStringLiteral("The chart library %1 was written by a newer version of the program "
                          "(library version %2; this version reads up to %3). It was left as it "
                          "is.")
        .arg(QDir::toNativeSeparators(path))
        .arg(fileVersion)
        .arg(ChartLibraryVersion);
}

ChartLibrary::ChartLibrary(QString path, QString connection)
    : path_(std::move(path)), connection_(std::move(connection)) {}

ChartLibrary::~ChartLibrary() {
    {
        QSqlDatabase database = QSqlDatabase::database(connection_, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

LibraryResult<std::unique_ptr<ChartLibrary>> ChartLibrary::Open(const QString& path,
                                                                Access access) {
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    const bool inMemory = access == Access::ReadOnly && !info.exists();
    if (!inMemory) {
        if (info.exists() && !info.isFile()) {
            return Fail(Failure(LibraryFault::CannotOpen,
                                QStringLiteral("%1 is not a file, so it cannot be a chart "
                                               "library.")
                                    .arg(shown)));
        }
        if (!info.exists() && !QDir().mkpath(info.absolutePath())) {
            return Fail(Failure(LibraryFault::CannotOpen,
                                QStringLiteral("The folder of the chart library %1 cannot be "
                                               "created.")
                                    .arg(shown)));
        }
    }
    auto library = std::unique_ptr<ChartLibrary>(new ChartLibrary(path, NewConnectionName()));
    QSqlDatabase database =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), library->connection_);
    database.setDatabaseName(inMemory ? QStringLiteral(":memory:") : path);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!database.open()) {
        return Fail(Failure(LibraryFault::CannotOpen,
                            QStringLiteral("The chart library %1 cannot be opened: %2")
                                .arg(shown, database.lastError().text())));
    }
    const auto notALibrary = [&](const QString& why) {
        return Fail(Failure(LibraryFault::NotALibrary,
                            QStringLiteral("%1 is not a chart library that can be read (%2). It "
                                           "was left as it is.")
                                .arg(shown, why)));
    };
    // Reading comes first: a file that is not a database, or a newer one, must not be written.
    // The version and the tables are read in one read transaction: another program may be
    // creating the library at this moment, and a version read before its commit with tables
    // read after it would look like a database of another program. (Closing the connection on
    // a refusal ends the transaction.)
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("BEGIN"))) {
        return notALibrary(query.lastError().text());
    }
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        return notALibrary(query.lastError().text());
    }
    const int version = query.value(0).toInt();
    if (version > ChartLibraryVersion) {
        return Fail(Failure(LibraryFault::Newer, NewerLibraryMessage(path, version)));
    }
    // Before writing (a migration is a write too), the whole file is checked, so that nothing is
    // written into a damaged one (a third of a second at 100,000 charts). Reading needs no check: a
    // damaged page fails the query that reads it, and reading changes nothing.
    if (access == Access::ReadWrite || version < ChartLibraryVersion) {
        if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()) {
            return notALibrary(query.lastError().text());
        }
        if (const QString check = query.value(0).toString(); check != QLatin1String("ok")) {
            return notALibrary(check);
        }
    }
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_schema")) || !query.next()) {
        return notALibrary(query.lastError().text());
    }
    const bool empty = query.value(0).toInt() == 0;
    if (version == 0 && !empty) {
        return notALibrary(QStringLiteral("a database of another program"));
    }
    if (version >= 1 &&
        (!query.exec(QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name "
                                    "= 'charts'")) ||
         !query.next())) {
        return notALibrary(QStringLiteral("it has no charts table"));
    }
    query.finish();
    if (!query.exec(QStringLiteral("COMMIT"))) {
        return Fail(QueryFailure(path, query.lastError()));
    }
    if (!inMemory && access == Access::ReadWrite) {
        if (const std::optional<QSqlError> failed = SwitchToWal(database)) {
            return Fail(QueryFailure(path, *failed));
        }
    }
    if (!query.exec(QStringLiteral("PRAGMA foreign_keys = ON"))) {
        return Fail(QueryFailure(path, query.lastError()));
    }
    if (version < ChartLibraryVersion) {
        // One transaction, taken for writing at once, so that two programs opening the same old
        // file do not both migrate it: the second sees the new version.
        if (const std::optional<QSqlError> failed = BeginWriting(database)) {
            return Fail(QueryFailure(path, *failed));
        }
        int current = 0;
        if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next()) {
            current = query.value(0).toInt();
        }
        query.finish();
        std::optional<QSqlError> failed;
        if (current == 0) {
            failed = RunAll(database, kSchemaVersion2);
        } else if (current == 1) {
            failed = RunAll(database, kMigration1To2);
        }
        if (!failed && current < 3) {
            failed = RunAll(database, kMigration2To3);
        }
        if (!failed &&
            !query.exec(QStringLiteral("PRAGMA user_version = %1").arg(ChartLibraryVersion))) {
            failed = query.lastError();
        }
        if (const std::optional<QSqlError> error = Finish(database, failed)) {
            return Fail(QueryFailure(path, *error));
        }
    }
    return library;
}

namespace {

// A text for a NOT NULL column: Qt binds a null QString as NULL.
QVariant Text(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QVariant MinuteValue(const ChartSubject& subject) {
    return subject.minute ? QVariant(*subject.minute) : QVariant(QMetaType::fromType<int>());
}

// The columns name, year, month, day, minute, zone, calendar, place, rating, notes and the
// place's region, country, country code, zone, latitude, longitude and population.
QVariantList ChartValues(const LibraryChart& chart) {
    const ChartSubject& subject = chart.subject;
    const Place place = chart.place.value_or(Place{});
    const QVariant none(QMetaType::fromType<double>());
    return {subject.name.trimmed(),
            subject.year,
            subject.month,
            subject.day,
            MinuteValue(subject),
            Text(subject.zone.trimmed()),
            CalendarName(subject.calendar),
            Text(chart.place ? place.name : subject.place),
            Text(chart.rating),
            Text(chart.notes),
            Text(place.region),
            Text(place.country),
            Text(place.countryCode),
            Text(place.zone),
            chart.place ? QVariant(place.latitude) : none,
            chart.place ? QVariant(place.longitude) : none,
            place.population};
}

// Writes the tags and the search words of charts, its statements prepared once for them all.
class TagWriter {
  public:
    explicit TagWriter(QSqlDatabase& database)
        : removeTags_(database), addTag_(database), removeWords_(database), addWords_(database) {
        removeTags_.prepare(QStringLiteral("DELETE FROM chart_tags WHERE chart_id = ?"));
        addTag_.prepare(
            QStringLiteral("INSERT INTO chart_tags (chart_id, position, tag) VALUES (?, ?, ?)"));
        removeWords_.prepare(QStringLiteral("DELETE FROM chart_search WHERE rowid = ?"));
        addWords_.prepare(
            QStringLiteral("INSERT INTO chart_search (rowid, name, tags) VALUES (?, ?, ?)"));
    }

    // The tags and words of a chart; `replacing` when it had some before.
    std::optional<QSqlError> Write(qint64 id, const QString& name, const QStringList& tags,
                                   bool replacing) {
        if (replacing) {
            for (QSqlQuery* query : {&removeTags_, &removeWords_}) {
                query->bindValue(0, id);
                if (!query->exec()) {
                    return query->lastError();
                }
            }
        }
        const QStringList kept = NormalisedTags(tags);
        for (qsizetype position = 0; position < kept.size(); ++position) {
            addTag_.bindValue(0, id);
            addTag_.bindValue(1, position);
            addTag_.bindValue(2, kept[position]);
            if (!addTag_.exec()) {
                return addTag_.lastError();
            }
        }
        addWords_.bindValue(0, id);
        addWords_.bindValue(1, name);
        addWords_.bindValue(2, kept.join(QLatin1Char(' ')));
        if (!addWords_.exec()) {
            return addWords_.lastError();
        }
        return std::nullopt;
    }

  private:
    QSqlQuery removeTags_;
    QSqlQuery addTag_;
    QSqlQuery removeWords_;
    QSqlQuery addWords_;
};

QString ChartProblem(const LibraryChart& chart) {
    if (chart.subject.name.trimmed().isEmpty()) {
        return QStringLiteral("A chart needs a name.");
    }
    if (!DataRatingOfText(chart.rating) || chart.rating != chart.rating.trimmed().toUpper()) {
        return QStringLiteral("'%1' is not a data rating; write one of %2, or nothing.")
            .arg(chart.rating, DataRatings().join(QStringLiteral(", ")));
    }
    return {};
}

} // namespace

LibraryResult<qint64> ChartLibrary::Add(const LibraryChart& chart) {
    const LibraryResult<QList<qint64>> ids = AddAll({chart});
    if (!ids) {
        return Fail(ids.error());
    }
    return ids->first();
}

LibraryResult<QList<qint64>> ChartLibrary::AddAll(const QList<LibraryChart>& charts) {
    for (const LibraryChart& chart : charts) {
        if (const QString problem = ChartProblem(chart); !problem.isEmpty()) {
            return Fail(Failure(LibraryFault::Failed, problem));
        }
    }
    QSqlDatabase database = QSqlDatabase::database(connection_, false);
    const QString now = TimeText(QDateTime::currentDateTimeUtc());
    return WriteAtOnce<QList<qint64>>(
        database, path_, [&](QList<qint64>& ids) -> std::optional<QSqlError> {
            ids.reserve(charts.size());
            TagWriter tags(database);
            QSqlQuery query(database);
            query.prepare(QStringLiteral(
                "INSERT INTO charts (name, year, month, day, minute, zone, calendar, place, "
                "rating, notes, place_region, place_country, place_country_code, place_zone, "
                "place_latitude, place_longitude, place_population, created, changed) VALUES "
                "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
            for (const LibraryChart& chart : charts) {
                const QVariantList values = ChartValues(chart) + QVariantList{now, now};
                for (int index = 0; index < values.size(); ++index) {
                    query.bindValue(index, values[index]);
                }
                if (!query.exec()) {
                    return query.lastError();
                }
                const qint64 id = query.lastInsertId().toLongLong();
                if (std::optional<QSqlError> failed =
                        tags.Write(id, chart.subject.name.trimmed(), chart.tags, false)) {
                    return failed;
                }
                ids.append(id);
            }
            return std::nullopt;
        });
}

LibraryResult<bool> ChartLibrary::Update(const LibraryChart& chart) {
    if (const QString problem = ChartProblem(chart); !problem.isEmpty()) {
        return Fail(Failure(LibraryFault::Failed, problem));
    }
    QSqlDatabase database = QSqlDatabase::database(connection_, false);
    return WriteAtOnce<bool>(database, path_, [&](bool& found) -> std::optional<QSqlError> {
        QSqlQuery query(database);
        query.prepare(QStringLiteral(
            "UPDATE charts SET name = ?, year = ?, month = ?, day = ?, minute = ?, zone = ?, "
            "calendar = ?, place = ?, rating = ?, notes = ?, place_region = ?, place_country = ?, "
            "place_country_code = ?, place_zone = ?, place_latitude = ?, place_longitude = ?, "
            "place_population = ?, changed = ? WHERE id = ?"));
        const QVariantList values =
            ChartValues(chart) + QVariantList{TimeText(QDateTime::currentDateTimeUtc()), chart.id};
        for (int index = 0; index < values.size(); ++index) {
            query.bindValue(index, values[index]);
        }
        if (!query.exec()) {
            return query.lastError();
        }
        found = query.numRowsAffected() > 0;
        if (!found) {
            return std::nullopt;
        }
        return TagWriter(database).Write(chart.id, chart.subject.name.trimmed(), chart.tags, true);
    });
}

LibraryResult<bool> ChartLibrary::Remove(qint64 id) {
    QSqlDatabase database = QSqlDatabase::database(connection_, false);
    return WriteAtOnce<bool>(database, path_, [&](bool& found) -> std::optional<QSqlError> {
        QSqlQuery query(database);
        for (const char* statement :
             {"DELETE FROM chart_search WHERE rowid = ?",
              "DELETE FROM chart_tags WHERE chart_id = ?", "DELETE FROM charts WHERE id = ?"}) {
            query.prepare(QString::fromLatin1(statement));
            query.addBindValue(id);
            if (!query.exec()) {
                return query.lastError();
            }
            found = query.numRowsAffected() > 0;
        }
        return std::nullopt;
    });
}

LibraryResult<QList<LibraryChart>> ChartLibrary::Select(const QString& where,
                                                        const QVariantList& values,
                                                        const QString& order, const QString& tail) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT c.id, c.name, c.year, c.month, c.day, c.minute, c.zone, "
                       "c.calendar, c.place, c.rating, c.notes, c.created, c.changed, "
                       "(SELECT group_concat(tag, char(10)) FROM (SELECT tag FROM chart_tags t "
                       "WHERE t.chart_id = c.id ORDER BY position)), c.place_region, "
                       "c.place_country, c.place_country_code, c.place_zone, c.place_latitude, "
                       "c.place_longitude, c.place_population FROM charts c ") +
        where + QStringLiteral(" ORDER BY ") + order + QLatin1Char(' ') + tail);
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        return Fail(QueryFailure(path_, query.lastError()));
    }
    QList<LibraryChart> charts;
    while (query.next()) {
        LibraryChart chart;
        chart.id = query.value(0).toLongLong();
        ChartSubject& subject = chart.subject;
        subject.name = query.value(1).toString();
        subject.year = query.value(2).toInt();
        subject.month = query.value(3).toInt();
        subject.day = query.value(4).toInt();
        if (!query.value(5).isNull()) {
            subject.minute = query.value(5).toInt();
        }
        subject.zone = query.value(6).toString();
        subject.calendar =
            CalendarOfName(query.value(7).toString()).value_or(CalendarChoice::Gregorian);
        subject.place = query.value(8).toString();
        chart.rating = query.value(9).toString();
        chart.notes = query.value(10).toString();
        chart.created = TimeOfText(query.value(11).toString());
        chart.changed = TimeOfText(query.value(12).toString());
        const QString tags = query.value(13).toString();
        if (!tags.isEmpty()) {
            chart.tags = tags.split(QLatin1Char('\n'));
        }
        if (!query.value(18).isNull() && !query.value(19).isNull()) {
            chart.place = Place{subject.place,
                                query.value(14).toString(),
                                query.value(15).toString(),
                                query.value(16).toString(),
                                query.value(17).toString(),
                                query.value(18).toDouble(),
                                query.value(19).toDouble(),
                                query.value(20).toLongLong()};
        }
        charts.append(std::move(chart));
    }
    if (query.lastError().isValid()) {
        return Fail(QueryFailure(path_, query.lastError()));
    }
    return charts;
}

LibraryResult<std::optional<LibraryChart>> ChartLibrary::Find(qint64 id) {
    const LibraryResult<QList<LibraryChart>> found =
        Select(QStringLiteral("WHERE c.id = ?"), {id}, QStringLiteral("c.id"));
    if (!found) {
        return Fail(found.error());
    }
    return found->isEmpty() ? std::nullopt : std::optional(found->first());
}

LibraryResult<QList<LibraryChart>> ChartLibrary::FindByName(const QString& name) {
    return Select(QStringLiteral("WHERE c.name = ?"), {name.trimmed()}, QStringLiteral("c.id"));
}

namespace {

// The search index's query for a typed text: every word of it begins a word of the chart's name
// or tags ("ada lo" finds "Ada Lovelace"). Each word is quoted, so that nothing typed is read as
// an operator.
QString SearchQuery(const QString& text) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QStringList words;
    for (QString word : text.split(space, Qt::SkipEmptyParts)) {
        word.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        words.append(QLatin1Char('"') + word + QStringLiteral("\"*"));
    }
    return words.join(QLatin1Char(' '));
}

} // namespace

LibraryResult<QList<LibraryChart>> ChartLibrary::Search(const LibrarySearch& search) {
    QString where;
    QVariantList values;
    QString order = QStringLiteral("c.name COLLATE NOCASE, c.id");
    const QString text = search.text.trimmed();
    if (!text.isEmpty()) {
        // With a limit, the first charts in the order of the index, which it gives at once;
        // the whole answer in the order of names.
        where = QStringLiteral("JOIN chart_search s ON s.rowid = c.id WHERE chart_search MATCH ?");
        values.append(SearchQuery(text));
        if (search.limit >= 0) {
            order = QStringLiteral("s.rowid");
        }
    }
    if (!search.tag.trimmed().isEmpty()) {
        where += where.isEmpty() ? QStringLiteral("WHERE ") : QStringLiteral(" AND ");
        // From the tag's index: the charts of one tag, not a test of every chart.
        where += QStringLiteral("c.id IN (SELECT chart_id FROM chart_tags WHERE tag = ?)");
        values.append(search.tag.trimmed());
    }
    return Select(where, values, order,
                  search.limit >= 0 ? QStringLiteral("LIMIT %1").arg(search.limit) : QString());
}

LibraryResult<bool> ChartLibrary::KeepOwnPlace(const Place& place) {
    if (place.name.trimmed().isEmpty()) {
        return Fail(Failure(LibraryFault::Failed, QStringLiteral("A place needs a name.")));
    }
    QSqlDatabase database = QSqlDatabase::database(connection_, false);
    return WriteAtOnce<bool>(database, path_, [&](bool& kept) -> std::optional<QSqlError> {
        QSqlQuery query(database);
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO own_places (name, latitude, "
                                     "longitude, zone) VALUES (?, ?, ?, ?)"));
        query.addBindValue(place.name.trimmed());
        query.addBindValue(place.latitude);
        query.addBindValue(place.longitude);
        query.addBindValue(Text(place.zone));
        if (!query.exec()) {
            return query.lastError();
        }
        kept = true;
        return std::nullopt;
    });
}

LibraryResult<QList<Place>> ChartLibrary::OwnPlaces() {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT name, latitude, longitude, zone FROM own_places "
                                   "ORDER BY name COLLATE NOCASE"))) {
        return Fail(QueryFailure(path_, query.lastError()));
    }
    QList<Place> places;
    while (query.next()) {
        Place place;
        place.name = query.value(0).toString();
        place.latitude = query.value(1).toDouble();
        place.longitude = query.value(2).toDouble();
        place.zone = query.value(3).toString();
        places.append(place);
    }
    return places;
}

LibraryResult<std::optional<Place>> ChartLibrary::FindOwnPlace(const QString& name) {
    const LibraryResult<QList<Place>> places = OwnPlaces();
    if (!places) {
        return Fail(places.error());
    }
    for (const Place& place : *places) {
        if (place.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0) {
            return std::optional<Place>(place);
        }
    }
    return std::optional<Place>();
}

LibraryResult<qint64> ChartLibrary::Count() {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT count(*) FROM charts")) || !query.next()) {
        return Fail(QueryFailure(path_, query.lastError()));
    }
    return query.value(0).toLongLong();
}

} // namespace orbivex
