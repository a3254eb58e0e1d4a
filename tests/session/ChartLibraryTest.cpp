// The chart library's file: charts stored, changed, found and removed; an older file migrated
// with every chart kept; files it must not touch refused and left byte for byte as they were.
#include "session/ChartLibrary.h"
#include "common/TestSupport.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

LibraryChart Chart(const QString& name, int year, std::optional<int> minute, const QString& zone,
                   QStringList tags = {}, const QString& rating = {}) {
    LibraryChart chart;
    chart.subject.name = name;
    chart.subject.year = year;
    chart.subject.month = 12;
    chart.subject.day = 10;
    chart.subject.minute = minute;
    chart.subject.zone = zone;
    chart.tags = std::move(tags);
    chart.rating = rating;
    return chart;
}

std::unique_ptr<ChartLibrary> OpenOrFail(const QString& path) {
    LibraryResult<std::unique_ptr<ChartLibrary>> library = ChartLibrary::Open(path);
    EXPECT_TRUE(library) << (library ? QString() : library.error().message).toStdString();
    return library ? std::move(*library) : nullptr;
}

TEST(ChartLibrary, StoresFindsChangesAndRemovesCharts) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("folder/charts.sqlite"));
    std::unique_ptr<ChartLibrary> library = OpenOrFail(path);
    ASSERT_TRUE(library);
    LibraryChart ada =
        Chart(QStringLiteral("Ada Lovelace"), 1815, 0, QStringLiteral("Europe/London"),
              {QStringLiteral("Science"), QStringLiteral(" science "), QStringLiteral("math")},
              QStringLiteral("AA"));
    ada.subject.place = QStringLiteral("London");
    ada.notes = QStringLiteral("first programmer\nline two");
    const LibraryResult<qint64> adaId = library->Add(ada);
    ASSERT_TRUE(adaId);
    const LibraryResult<QList<qint64>> more = library->AddAll(
        {Chart(QStringLiteral("Grace"), 1906, std::nullopt, {}, {QStringLiteral("navy")}),
         Chart(QStringLiteral("grace"), 1907, 600, QStringLiteral("+05:30"))});
    ASSERT_TRUE(more);

    const LibraryResult<std::optional<LibraryChart>> found = library->Find(*adaId);
    ASSERT_TRUE(found && *found);
    EXPECT_TRUE((*found)->SameContents([&] {
        LibraryChart expected = ada;
        expected.tags = {QStringLiteral("Science"), QStringLiteral("math")};
        return expected;
    }()));
    EXPECT_TRUE((*found)->created.isValid());

    // name part or tag start, any case; a tag; both.
    const struct {
        LibrarySearch search;
        QStringList names;
    } searches[] = {
        {{}, {QStringLiteral("Ada Lovelace"), QStringLiteral("Grace"), QStringLiteral("grace")}},
        {{QStringLiteral("LOVE"), {}, -1}, {QStringLiteral("Ada Lovelace")}},
        {{QStringLiteral("sci"), {}, -1}, {QStringLiteral("Ada Lovelace")}},
        {{QStringLiteral("ience"), {}, -1}, {}},
        {{{}, QStringLiteral("NAVY"), -1}, {QStringLiteral("Grace")}},
        {{QStringLiteral("gra"), QStringLiteral("navy"), -1}, {QStringLiteral("Grace")}},
        {{QStringLiteral("%"), {}, -1}, {}},
        {{{}, {}, 1}, {QStringLiteral("Ada Lovelace")}},
    };
    for (const auto& [search, names] : searches) {
        const LibraryResult<QList<LibraryChart>> charts = library->Search(search);
        ASSERT_TRUE(charts);
        QStringList got;
        for (const LibraryChart& chart : *charts) {
            got.append(chart.subject.name);
        }
        EXPECT_EQ(got, names) << search.text.toStdString() << '/' << search.tag.toStdString();
    }
    EXPECT_EQ(library->FindByName(QStringLiteral("GRACE")).value().size(), 2);

    LibraryChart changed = **found;
    changed.subject.name = QStringLiteral("Augusta Ada King");
    changed.tags = {QStringLiteral("poetry")};
    changed.rating = QString();
    EXPECT_EQ(library->Update(changed), true);
    EXPECT_TRUE(library->Find(*adaId).value()->SameContents(changed));
    EXPECT_TRUE(library->Search({QStringLiteral("sci"), {}, -1}).value().isEmpty());

    EXPECT_EQ(library->Remove(*adaId), true);
    EXPECT_EQ(library->Remove(*adaId), false);
    EXPECT_EQ(library->Count(), qint64{2});

    // A blank name or a rating that is none is refused and stores nothing.
    EXPECT_FALSE(library->AddAll(
        {Chart(QStringLiteral("ok"), 2000, 0, {}), Chart(QStringLiteral("  "), 2000, 0, {})}));
    EXPECT_FALSE(library->Add(Chart(QStringLiteral("x"), 2000, 0, {}, {}, QStringLiteral("Q"))));
    EXPECT_EQ(library->Count(), qint64{2});
}

// Version 1 as it was written: the tags in one comma-separated column.
void WriteVersion1(const QString& path) {
    {
        QSqlDatabase database =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v1"));
        database.setDatabaseName(path);
        ASSERT_TRUE(database.open());
        QSqlQuery query(database);
        for (const char* statement :
             {"CREATE TABLE charts (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL "
              "COLLATE NOCASE, year INTEGER NOT NULL, month INTEGER NOT NULL, day INTEGER NOT "
              "NULL, minute INTEGER, zone TEXT NOT NULL DEFAULT '', calendar TEXT NOT NULL "
              "DEFAULT 'gregorian', place TEXT NOT NULL DEFAULT '', rating TEXT NOT NULL "
              "DEFAULT '', tags TEXT NOT NULL DEFAULT '', notes TEXT NOT NULL DEFAULT '', "
              "created TEXT NOT NULL, changed TEXT NOT NULL)",
              "INSERT INTO charts VALUES (1, 'Ada', 1815, 12, 10, 30, 'GMT', 'gregorian', "
              "'London', 'AA', 'science, math,,', 'n', '2020-01-01T00:00:00.000Z', "
              "'2020-01-01T00:00:00.000Z')",
              "INSERT INTO charts VALUES (7, 'Kepler', 1571, 12, 27, NULL, '', 'julian', '', "
              "'', '', '', '2020-01-01T00:00:00.000Z', '2020-01-02T00:00:00.000Z')",
              "INSERT INTO charts VALUES (9, 'Solo', 2000, 1, 1, 0, '', 'gregorian', '', 'C', "
              "'one', '', '2020-01-01T00:00:00.000Z', '2020-01-01T00:00:00.000Z')",
              "PRAGMA user_version = 1"}) {
            ASSERT_TRUE(query.exec(QString::fromLatin1(statement)))
                << query.lastError().text().toStdString();
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v1"));
}

TEST(ChartLibrary, MigratesVersion1KeepingEveryChart) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.sqlite"));
    WriteVersion1(path);
    std::unique_ptr<ChartLibrary> library = OpenOrFail(path);
    ASSERT_TRUE(library);
    const QList<LibraryChart> charts = library->Search({}).value();
    ASSERT_EQ(charts.size(), 3);
    EXPECT_EQ(charts[0].id, 1);
    EXPECT_EQ(charts[0].subject.minute, 30);
    EXPECT_EQ(charts[0].subject.place, QStringLiteral("London"));
    EXPECT_EQ(charts[0].rating, QStringLiteral("AA"));
    EXPECT_EQ(charts[0].tags, (QStringList{QStringLiteral("science"), QStringLiteral("math")}));
    EXPECT_EQ(charts[1].id, 7);
    EXPECT_EQ(charts[1].subject.calendar, CalendarChoice::Julian);
    EXPECT_EQ(charts[1].subject.minute, std::nullopt);
    EXPECT_TRUE(charts[1].tags.isEmpty());
    EXPECT_EQ(charts[2].tags, QStringList{QStringLiteral("one")});
    EXPECT_EQ(library->Search({{}, QStringLiteral("math"), -1}).value().size(), 1);
    // New charts take ids after the old ones, and the file now opens as the current version.
    EXPECT_EQ(library->Add(Chart(QStringLiteral("New"), 2001, 0, {})), qint64{10});
    library.reset();
    EXPECT_TRUE(OpenOrFail(path));
}

TEST(ChartLibrary, KeepsAChartsPlaceWholeAndPlacesOfOnesOwnByName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("places.sqlite"));
    WriteVersion1(path); // migrated through version 2: the old place is a name alone
    std::unique_ptr<ChartLibrary> library = OpenOrFail(path);
    ASSERT_TRUE(library);
    EXPECT_EQ(library->Find(1).value()->place, std::nullopt);

    LibraryChart lyon = Chart(QStringLiteral("Lyon birth"), 1850, 720, {});
    lyon.place = Place{QStringLiteral("Lyon"),
                       QStringLiteral("Auvergne-Rhône-Alpes"),
                       QStringLiteral("France"),
                       QStringLiteral("FR"),
                       QStringLiteral("Europe/Paris"),
                       45.74846,
                       4.84671,
                       522969};
    lyon.subject.place = lyon.place->name;
    const qint64 id = library->Add(lyon).value();
    EXPECT_TRUE(library->Find(id).value()->SameContents(lyon));
    // Without a zone of its own the chart is read at its place: Lyon's mean time, +0:19:23.
    EXPECT_NEAR(InstantOfLibraryChart(lyon, TimeZones{}).value().julianDay,
                2397101.5 + (12 * 3600 - 1163) / 86400.0, 1e-8);
    lyon.id = id;
    lyon.place.reset();
    ASSERT_TRUE(library->Update(lyon));
    EXPECT_EQ(library->Find(id).value()->place, std::nullopt);

    const Place village{QStringLiteral("Grandma's village"), {},   {},  {},
                        QStringLiteral("Europe/Zurich"),     46.2, 6.1, 0};
    ASSERT_TRUE(library->KeepOwnPlace(village));
    Place moved = village;
    moved.name = QStringLiteral("GRANDMA'S VILLAGE");
    moved.latitude = 46.3;
    ASSERT_TRUE(library->KeepOwnPlace(moved)); // the same name, any case: replaced
    EXPECT_EQ(library->OwnPlaces().value(), QList<Place>{moved});
    EXPECT_EQ(library->FindOwnPlace(QStringLiteral(" grandma's village ")).value(), moved);
    EXPECT_EQ(library->FindOwnPlace(QStringLiteral("elsewhere")).value(), std::nullopt);
}

TEST(ChartLibrary, RefusesFilesItCannotReadAndLeavesThemAsTheyWere) {
    QTemporaryDir dir;
    // A library of a newer version, a database that is not a library, a damaged library, and
    // files that are no database at all.
    const QString newer = dir.filePath(QStringLiteral("newer.sqlite"));
    const QString other = dir.filePath(QStringLiteral("other.sqlite"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.sqlite"));
    for (const QString& path : {newer, other, damaged}) {
        std::unique_ptr<ChartLibrary> library = OpenOrFail(path);
        ASSERT_TRUE(library);
        QList<LibraryChart> charts;
        for (int index = 0; index < 300; ++index) {
            charts.append(Chart(QStringLiteral("Chart %1").arg(index), 1900 + index % 100, index,
                                QStringLiteral("GMT"), {QStringLiteral("tag%1").arg(index % 7)}));
        }
        ASSERT_TRUE(library->AddAll(charts));
    }
    const auto edit = [](const QString& path, const char* statement) {
        {
            QSqlDatabase database =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("edit"));
            database.setDatabaseName(path);
            ASSERT_TRUE(database.open());
            QSqlQuery query(database);
            ASSERT_TRUE(query.exec(QString::fromLatin1(statement)));
            ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
            ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA journal_mode = DELETE")));
            database.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("edit"));
    };
    edit(newer, "PRAGMA user_version = 4");
    edit(other, "PRAGMA user_version = 0");
    edit(damaged, "PRAGMA user_version = 3");
    QByteArray bytes = test::ReadAll(damaged);
    ASSERT_GT(bytes.size(), 3 * 4096);
    for (qsizetype at = 2 * 4096 + 100; at < 3 * 4096; ++at) {
        bytes[at] = static_cast<char>(0x5a);
    }
    ASSERT_TRUE(test::WriteAll(damaged, bytes));
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(test::WriteAll(text, QByteArray("name,date\nAda,1815-12-10\n").repeated(300)));
    const QString header = dir.filePath(QStringLiteral("header.sqlite"));
    ASSERT_TRUE(test::WriteAll(header, QByteArray("SQLite format 3\0", 16) + QByteArray(200, 'x')));

    const struct {
        QString path;
        LibraryFault fault;
        QString says;
    } cases[] = {
        {newer, LibraryFault::Newer,
         QStringLiteral("library version 4; this version reads up to 3")},
        {other, LibraryFault::NotALibrary, QStringLiteral("another program")},
        {damaged, LibraryFault::NotALibrary, QStringLiteral("left as it is")},
        {text, LibraryFault::NotALibrary, QStringLiteral("not a chart library")},
        {header, LibraryFault::NotALibrary, QStringLiteral("not a chart library")},
    };
    for (const auto& [path, fault, says] : cases) {
        const QByteArray before = test::ReadAll(path);
        for (const ChartLibrary::Access access :
             {ChartLibrary::Access::ReadWrite, ChartLibrary::Access::ReadOnly}) {
            const LibraryResult<std::unique_ptr<ChartLibrary>> library =
                ChartLibrary::Open(path, access);
            if (library && access == ChartLibrary::Access::ReadOnly && path == damaged) {
                // Read only, the damage shows only where it is read; the file stays as it was.
                continue;
            }
            ASSERT_FALSE(library) << path.toStdString();
            EXPECT_EQ(library.error().fault, fault) << path.toStdString();
            EXPECT_TRUE(library.error().message.contains(says))
                << library.error().message.toStdString();
        }
        EXPECT_EQ(test::ReadAll(path), before) << path.toStdString();
    }
}

TEST(ChartLibrary, ReadingAMissingFileCreatesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("none/charts.sqlite"));
    LibraryResult<std::unique_ptr<ChartLibrary>> library =
        ChartLibrary::Open(path, ChartLibrary::Access::ReadOnly);
    ASSERT_TRUE(library);
    EXPECT_EQ((*library)->Count(), qint64{0});
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none"))));
}

} // namespace
} // namespace orbivex
