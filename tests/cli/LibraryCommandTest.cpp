// orbivex-cli library, run as a user runs it: charts added, changed and removed; export and
// import that give back the same charts; bad rows reported with their lines; @NAME dates;
// several programs writing at once; libraries that must not be touched left as they were.
#include "CliRun.h"
#include "common/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex::test {
namespace {

struct LibraryFile {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("charts.sqlite"));

    CliResult Run(QStringList arguments) const {
        arguments << QStringLiteral("--library") << path;
        return RunCli(arguments);
    }
    CliResult Library(const QStringList& arguments) const {
        return Run(QStringList{QStringLiteral("library")} + arguments);
    }
    // The charts of list --json, without their ids.
    QJsonArray Charts() const {
        const CliResult run = Library({QStringLiteral("list"), QStringLiteral("--json")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        QJsonArray charts = QJsonDocument::fromJson(run.out.toUtf8()).object()[u"charts"].toArray();
        for (qsizetype index = 0; index < charts.size(); ++index) {
            QJsonObject chart = charts[index].toObject();
            chart.remove(QStringLiteral("id"));
            charts[index] = chart;
        }
        return charts;
    }
};

const QStringList kSamples[] = {
    {QStringLiteral("--name"), QStringLiteral("Ada Lovelace"), QStringLiteral("--date"),
     QStringLiteral("1815-12-10 13:00 Europe/London"), QStringLiteral("--rating"),
     QStringLiteral("aa"), QStringLiteral("--tags"), QStringLiteral("science, math,,Science"),
     QStringLiteral("--notes"), QStringLiteral("said \"the engine\", then\nmore"),
     QStringLiteral("--place"), QStringLiteral("London")},
    {QStringLiteral("--name"), QStringLiteral("Kepler"), QStringLiteral("--date"),
     QStringLiteral("1571-12-27"), QStringLiteral("--calendar"), QStringLiteral("julian")},
    {QStringLiteral("--name"), QStringLiteral("Pune"), QStringLiteral("--date"),
     QStringLiteral("1970-06-15 06:31 +05:30"), QStringLiteral("--tags"), QStringLiteral("client")},
    {QStringLiteral("--name"), QStringLiteral("Ohio"), QStringLiteral("--date"),
     QStringLiteral("1969-07-20T20:17 EST/CDT"), QStringLiteral("--rating"), QStringLiteral("DD")},
};

TEST(LibraryCommand, AddsListsShowsEditsAndRemoves) {
    LibraryFile library;
    for (int index = 0; index < 4; ++index) {
        const CliResult added =
            library.Library(QStringList{QStringLiteral("add")} + kSamples[index]);
        ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
        EXPECT_EQ(added.out, QStringLiteral("%1\n").arg(index + 1));
    }
    const QJsonArray charts = library.Charts();
    ASSERT_EQ(charts.size(), 4);
    const QJsonObject ada = charts[0].toObject();
    EXPECT_EQ(ada[u"date"].toString(), QStringLiteral("1815-12-10 13:00"));
    EXPECT_EQ(ada[u"zone"].toString(), QStringLiteral("Europe/London"));
    EXPECT_EQ(ada[u"rating"].toString(), QStringLiteral("AA"));
    EXPECT_EQ(ada[u"tags"].toArray(),
              (QJsonArray{QStringLiteral("science"), QStringLiteral("math")}));
    EXPECT_EQ(ada[u"place"].toString(), QStringLiteral("London"));
    EXPECT_EQ(charts[1].toObject()[u"calendar"].toString(), QStringLiteral("julian"));
    EXPECT_EQ(charts[2].toObject()[u"zone"].toString(), QStringLiteral("EST/CDT"));
    EXPECT_EQ(charts[3].toObject()[u"zone"].toString(), QStringLiteral("+05:30"));

    const struct {
        QStringList arguments;
        int exitCode;
        QString out; // a part of the output
        QString err; // a part of the messages
    } runs[] = {
        {{QStringLiteral("list"), QStringLiteral("--search"), QStringLiteral("LOVE")},
         0,
         QStringLiteral("1\tAda Lovelace\t1815-12-10 13:00 Europe/London\tAA\tscience,math\n"),
         {}},
        {{QStringLiteral("list"), QStringLiteral("--tag"), QStringLiteral("CLIENT")},
         0,
         QStringLiteral("3\tPune\t"),
         {}},
        {{QStringLiteral("show"), QStringLiteral("kepler")},
         0,
         QStringLiteral("Calendar:   julian"),
         {}},
        {{QStringLiteral("show"), QStringLiteral("2")},
         0,
         QStringLiteral("Name:       Kepler"),
         {}},
        {{QStringLiteral("show"), QStringLiteral("Kep")},
         2,
         {},
         QStringLiteral("Did you mean @2 Kepler?")},
        {{QStringLiteral("edit"), QStringLiteral("2"), QStringLiteral("--tags"),
          QStringLiteral("astronomer"), QStringLiteral("--rating"), QStringLiteral("C")},
         0,
         {},
         {}},
        {{QStringLiteral("list"), QStringLiteral("--tag"), QStringLiteral("astronomer")},
         0,
         QStringLiteral("2\tKepler\t1571-12-27\tC\tastronomer\n"),
         {}},
        {{QStringLiteral("remove"), QStringLiteral("4")}, 0, {}, {}},
        {{QStringLiteral("remove"), QStringLiteral("4")}, 2, {}, QStringLiteral("No chart")},
        {{QStringLiteral("add"), QStringLiteral("--name"), QStringLiteral("x")},
         2,
         {},
         QStringLiteral("add needs --name and --date")},
        {{QStringLiteral("add"), QStringLiteral("--name"), QStringLiteral(" "),
          QStringLiteral("--date"), QStringLiteral("2000-01-01")},
         2,
         {},
         QStringLiteral("--name must not be blank")},
        {{QStringLiteral("add"), QStringLiteral("--name"), QStringLiteral("x"),
          QStringLiteral("--date"), QStringLiteral("2000-02-30")},
         3,
         {},
         {}},
        {{QStringLiteral("add"), QStringLiteral("--name"), QStringLiteral("x"),
          QStringLiteral("--date"), QStringLiteral("2000-01-01"), QStringLiteral("--rating"),
          QStringLiteral("Z")},
         2,
         {},
         QStringLiteral("--rating takes AA, A, B, C, DD, X, XX")},
        {{QStringLiteral("list"), QStringLiteral("--name"), QStringLiteral("x")},
         2,
         {},
         QStringLiteral("--name does not apply to list")},
        {{QStringLiteral("rename")}, 2, {}, QStringLiteral("unknown action 'rename'")},
    };
    for (const auto& [arguments, exitCode, out, err] : runs) {
        const CliResult run = library.Library(arguments);
        EXPECT_EQ(run.exitCode, exitCode)
            << arguments.join(u' ').toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(out))
            << arguments.join(u' ').toStdString() << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(err))
            << arguments.join(u' ').toStdString() << run.err.toStdString();
    }
    EXPECT_EQ(library.Charts().size(), 3);
}

TEST(LibraryCommand, ExportThenImportGivesTheSameCharts) {
    LibraryFile library;
    for (const QStringList& sample : kSamples) {
        ASSERT_EQ(library.Library(QStringList{QStringLiteral("add")} + sample).exitCode, 0);
    }
    for (const QString& format : {QStringLiteral("csv"), QStringLiteral("jsonl")}) {
        const QString file = library.dir.filePath(QStringLiteral("export.") + format);
        const CliResult exported =
            library.Library({QStringLiteral("export"), QStringLiteral("--out"), file});
        ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
        LibraryFile other;
        const CliResult imported = other.Library({QStringLiteral("import"), file});
        EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        EXPECT_EQ(imported.out, QStringLiteral("Imported 4 charts.\n"));
        EXPECT_EQ(other.Charts(), library.Charts()) << format.toStdString();
    }
    // Export by tag, to standard output.
    const CliResult tagged = library.Library(
        {QStringLiteral("export"), QStringLiteral("--tag"), QStringLiteral("client")});
    EXPECT_EQ(tagged.out,
              QStringLiteral("id,name,date,zone,calendar,place,rating,tags,notes,placeRegion,"
                             "placeCountry,placeCountryCode,placeZone,placeLatitude,"
                             "placeLongitude,placePopulation\n"
                             "3,Pune,1970-06-15 06:31,+05:30,gregorian,,,client,,,,,,,,\n"));
    // A folder is not replaced by an export.
    const CliResult folder =
        library.Library({QStringLiteral("export"), QStringLiteral("--out"), library.dir.path()});
    EXPECT_EQ(folder.exitCode, 4);
}

TEST(LibraryCommand, ImportKeepsTheGoodRowsAndReportsEachBadOne) {
    LibraryFile library;
    const QString file = library.dir.filePath(QStringLiteral("in.csv"));
    // As a spreadsheet saves it, with a byte order mark.
    ASSERT_TRUE(WriteAll(file, "\xEF\xBB\xBFname,date,zone,rating,tags\n"
                               "Good,2000-01-01 12:00,GMT,A,\"a,b\"\n"
                               ",2000-01-01,,,\n"
                               "Bad date,2000-13-01,,,\n"
                               "No day,2001-02-29,,,\n"
                               "Bad rating,2000-01-01,,Q,\n"
                               "\"Two\nlines\",1990-05-05,Asia/Kolkata,,\n"
                               "Short,2000-01-01\n"));
    const CliResult run = library.Library({QStringLiteral("import"), file});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_EQ(run.out, QStringLiteral("Imported 2 charts; 5 rows were left out.\n"));
    for (const QString& line :
         {QStringLiteral(":3: the name is missing"), QStringLiteral(":4: '2000-13-01'"),
          QStringLiteral(":5: "), QStringLiteral(":6: 'Q' is not a data rating"),
          QStringLiteral(":9: 2 fields where the header has 5")}) {
        EXPECT_TRUE(run.err.contains(file + line)) << line.toStdString() << run.err.toStdString();
    }
    EXPECT_EQ(library.Charts().size(), 2);

    // A file that cannot be read, or that has no usable header, adds nothing.
    for (const QString& unreadable :
         {library.dir.path(), library.dir.filePath(QStringLiteral("none.csv"))}) {
        EXPECT_EQ(library.Library({QStringLiteral("import"), unreadable}).exitCode, 4);
    }
    ASSERT_TRUE(WriteAll(file, "who,when\nAda,1815-12-10\n"));
    EXPECT_EQ(library.Library({QStringLiteral("import"), file}).exitCode, 4);
    EXPECT_EQ(library.Charts().size(), 2);
}

TEST(LibraryCommand, ADateFromTheLibraryGivesTheChartOfTheTypedDate) {
    LibraryFile library;
    for (const QStringList& sample : kSamples) {
        ASSERT_EQ(library.Library(QStringList{QStringLiteral("add")} + sample).exitCode, 0);
    }
    ASSERT_EQ(
        library
            .Library({QStringLiteral("add"), QStringLiteral("--name"), QStringLiteral("kepler"),
                      QStringLiteral("--date"), QStringLiteral("1600-01-01")})
            .exitCode,
        0);
    // The world date too would follow --calendar: natal charts compare the birthdate alone.
    const QStringList chart = {QStringLiteral("chart"), QStringLiteral("--json"),
                               QStringLiteral("--mode"), QStringLiteral("natal1")};
    const struct {
        QString reference;
        QStringList typed;
    } cases[] = {
        {QStringLiteral("@ada lovelace"),
         {QStringLiteral("1815-12-10 13:00 Europe/London"), QStringLiteral("--birth1-place"),
          QStringLiteral("London")}},
        {QStringLiteral("@3"), {QStringLiteral("1970-06-15 06:31 +05:30")}},
        {QStringLiteral("@ 2"),
         {QStringLiteral("1571-12-27"), QStringLiteral("--calendar"), QStringLiteral("julian")}},
    };
    for (const auto& [reference, typed] : cases) {
        const CliResult fromLibrary =
            library.Run(chart + QStringList{QStringLiteral("--birth1"), reference});
        const CliResult fromText =
            library.Run(chart + QStringList{QStringLiteral("--birth1")} + typed);
        EXPECT_EQ(fromLibrary.exitCode, 0) << fromLibrary.err.toStdString();
        EXPECT_EQ(fromLibrary.out, fromText.out) << reference.toStdString();
    }
    const CliResult ambiguous =
        library.Run({QStringLiteral("chart"), QStringLiteral("--mode"), QStringLiteral("natal1"),
                     QStringLiteral("--birth1"), QStringLiteral("@KEPLER")});
    EXPECT_EQ(ambiguous.exitCode, 2);
    EXPECT_TRUE(ambiguous.err.contains(QStringLiteral("@2 Kepler, @5 kepler")))
        << ambiguous.err.toStdString();
    const CliResult unknown = library.Run({QStringLiteral("run"), QStringLiteral("--pattern"),
                                           QStringLiteral("grand trine"), QStringLiteral("--world"),
                                           QStringLiteral("@Babbage")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("No chart of the library")))
        << unknown.err.toStdString();
}

TEST(LibraryCommand, BatchComputesTheChartsOfATagAndLinesThatNameCharts) {
    LibraryFile library;
    for (const QStringList& sample : kSamples) {
        ASSERT_EQ(library.Library(QStringList{QStringLiteral("add")} + sample).exitCode, 0);
    }
    // Kepler (Julian calendar) and Pune carry no common tag: give them one.
    for (const QString& id : {QStringLiteral("2"), QStringLiteral("3")}) {
        ASSERT_EQ(library
                      .Library({QStringLiteral("edit"), id, QStringLiteral("--tags"),
                                QStringLiteral("study")})
                      .exitCode,
                  0);
    }
    const CliResult tagged = library.Run(
        {QStringLiteral("batch"), QStringLiteral("--library-tag"), QStringLiteral("STUDY")});
    EXPECT_EQ(tagged.exitCode, 0) << tagged.err.toStdString();
    const QStringList lines = tagged.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QJsonObject line = QJsonDocument::fromJson(lines[index].toUtf8()).object();
        EXPECT_EQ(line[u"id"].toInt(), index + 2);
        // The chart of the line is the chart of that library entry.
        const CliResult chart =
            library.Run({QStringLiteral("chart"), QStringLiteral("--json"),
                         QStringLiteral("--mode"), QStringLiteral("natal1"),
                         QStringLiteral("--birth1"), QStringLiteral("@%1").arg(index + 2)});
        QJsonObject alone = QJsonDocument::fromJson(chart.out.toUtf8()).object();
        for (const char* key : {"id", "line"}) {
            line.remove(QLatin1String(key));
        }
        EXPECT_EQ(line[u"dates"], alone[u"dates"]);
        EXPECT_EQ(line[u"positions"], alone[u"positions"]);
    }
    const QString input = library.dir.filePath(QStringLiteral("in.jsonl"));
    ASSERT_TRUE(WriteAll(input, "{\"mode\": \"natal1\", \"birth1\": \"@ohio\"}\n"
                                "{\"mode\": \"natal1\", \"birth1\": \"@Babbage\"}\n"));
    const CliResult lines2 = library.Run({QStringLiteral("batch"), QStringLiteral("--in"), input});
    EXPECT_EQ(lines2.exitCode, 5);
    EXPECT_TRUE(lines2.out.contains(QStringLiteral("\"format\":\"orbivex.chart.v2\"")));
    EXPECT_TRUE(lines2.out.contains(QStringLiteral("has the id or the name 'Babbage'")))
        << lines2.out.toStdString();
}

TEST(LibraryCommand, ProgramsWritingAtOnceLoseNothing) {
    LibraryFile library;
    QString rows = QStringLiteral("name,date\n");
    for (int index = 0; index < 500; ++index) {
        rows += QStringLiteral("Row %1,2000-01-01\n").arg(index);
    }
    const QString file = library.dir.filePath(QStringLiteral("rows.csv"));
    ASSERT_TRUE(WriteAll(file, rows.toUtf8()));
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int index = 0; index < 6; ++index) {
        auto process = std::make_unique<QProcess>();
        const QStringList arguments =
            index < 2 ? QStringList{QStringLiteral("library"), QStringLiteral("import"), file}
                      : QStringList{QStringLiteral("library"), QStringLiteral("add"),
                                    QStringLiteral("--name"),  QStringLiteral("Add %1").arg(index),
                                    QStringLiteral("--date"),  QStringLiteral("2000-01-01")};
        process->start(QStringLiteral(ORBIVEX_CLI_PATH),
                       arguments + QStringList{QStringLiteral("--library"), library.path});
        processes.push_back(std::move(process));
    }
    for (const auto& process : processes) {
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    EXPECT_EQ(library.Charts().size(), 2 * 500 + 4);
}

TEST(LibraryCommand, LibrariesThatCannotBeReadAreLeftAsTheyWere) {
    LibraryFile library;
    ASSERT_TRUE(WriteAll(library.path, QByteArray("name,date\nnot a database\n").repeated(100)));
    const QByteArray before = ReadAll(library.path);
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("library"), QStringLiteral("list")},
          QStringList{QStringLiteral("library"), QStringLiteral("add"), QStringLiteral("--name"),
                      QStringLiteral("x"), QStringLiteral("--date"), QStringLiteral("2000-01-01")},
          QStringList{QStringLiteral("chart"), QStringLiteral("--mode"), QStringLiteral("natal1"),
                      QStringLiteral("--birth1"), QStringLiteral("@x")}}) {
        const CliResult run = library.Run(arguments);
        EXPECT_EQ(run.exitCode, 4) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("is not a chart library")))
            << run.err.toStdString();
    }
    EXPECT_EQ(ReadAll(library.path), before);
}

} // namespace
} // namespace orbivex::test
