#include "cli/CliRun.h"
#include "common/SmallFileSystem.h"
#include "common/SpecialFiles.h"
#include "common/TestSupport.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orbivex::test::CliResult;
using orbivex::test::RunCli;
using namespace Qt::StringLiterals;

namespace {

// Runs batch over `input` written to a file, with the further arguments.
// Standard output goes to outputFile when one is named.
CliResult Batch(const QByteArray& input, const QStringList& arguments = {},
                const QString& outputFile = QString()) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("input"));
    if (!orbivex::test::WriteAll(path, input)) {
        return {};
    }
    return RunCli(QStringList{QStringLiteral("batch"), QStringLiteral("--in"), path} + arguments,
                  u"UTC"_s, QStringLiteral(ORBIVEX_CLI_PATH), outputFile);
}

std::vector<QJsonObject> Records(const CliResult& run) {
    std::vector<QJsonObject> records;
    for (const QString& line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        records.push_back(QJsonDocument::fromJson(line.toUtf8()).object());
    }
    return records;
}

} // namespace

TEST(BatchCommand, EveryRecordIsTheBytesOfChartJsonWithItsIdAndLine) {
    // chart --json is indented and a batch record compact; both must be exactly what
    // QJsonDocument writes for the same document, the record with its id and line added.
    struct Case {
        QByteArray line;
        QStringList chartArguments;
    };
    const std::vector<Case> cases{
        {R"({"id": 1, "mode": "world", "world": "2024-03-20 12:00 GMT"})",
         {u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20 12:00 GMT"_s}},
        {R"({"id": "b\"\\\u0001\b\t é ♇ 𝄞", "mode": "natal2", "birth2": "1609-06-15 06:30 GMT+1:00"})",
         {u"--mode"_s, u"natal2"_s, u"--birth2"_s, u"1609-06-15 06:30 GMT+1:00"_s}},
        {R"({"id": {"k": [1, 0.0003, -0.0, 1e-7, 1e300, 98985376468363872.0, []]}, "mode": "personal1", "world": "2024-03-20", "birth1": "1970-06-15"})",
         {u"--mode"_s, u"personal1"_s, u"--world"_s, u"2024-03-20"_s, u"--birth1"_s,
          u"1970-06-15"_s}},
        {R"({"id": null, "mode": "synastry", "birth1": "1970-06-15", "birth2": "1985-11-02 EST/CDT"})",
         {u"--mode"_s, u"synastry"_s, u"--birth1"_s, u"1970-06-15"_s, u"--birth2"_s,
          u"1985-11-02 EST/CDT"_s}},
        {R"({"id": 9007199254740993, "mode": "personal2", "world": "2250-01-01 Europe/Paris", "birth2": "1550-02-01"})",
         {u"--mode"_s, u"personal2"_s, u"--world"_s, u"2250-01-01 Europe/Paris"_s, u"--birth2"_s,
          u"1550-02-01"_s}},
        {R"({"id": 2.5, "mode": "natal1", "birth1": "0001-01-01 23:59 -11:00"})",
         {u"--mode"_s, u"natal1"_s, u"--birth1"_s, u"0001-01-01 23:59 -11:00"_s}},
    };
    for (const QString& zodiac : {u"j2000"_s, u"date"_s}) {
        QByteArray input;
        for (const Case& c : cases) {
            input += c.line + '\n';
        }
        const QStringList option{u"--zodiac"_s, zodiac};
        const CliResult run = Batch(input, option);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QList<QByteArray> records = run.out.toUtf8().split('\n');
        ASSERT_EQ(records.size(), static_cast<qsizetype>(cases.size() + 1));
        for (std::size_t index = 0; index < cases.size(); ++index) {
            const CliResult chart = RunCli(QStringList{u"chart"_s} + cases[index].chartArguments +
                                           option + QStringList{u"--json"_s});
            ASSERT_EQ(chart.exitCode, 0) << chart.err.toStdString();
            QJsonObject document = QJsonDocument::fromJson(chart.out.toUtf8()).object();
            EXPECT_EQ(chart.out.toUtf8(), QJsonDocument(document).toJson(QJsonDocument::Indented))
                << index;
            document.insert(u"id"_s, QJsonDocument::fromJson(cases[index].line)[u"id"_s]);
            document.insert(u"line"_s, static_cast<qint64>(index + 1));
            EXPECT_EQ(records[static_cast<qsizetype>(index)],
                      QJsonDocument(document).toJson(QJsonDocument::Compact))
                << index;
        }
    }
}

TEST(BatchCommand, CsvAndJsonLinesOfTheSameRequestsGiveTheSameRecords) {
    // A blank line first keeps the line numbers in step with the CSV's header.
    const QByteArray json = R"(
{"id": "x,1", "mode": "world", "world": "2024-03-20 12:00 GMT"}
{"id": "say \"hi\"", "world": "2000-01-01"}
{"id": "two\nlines", "mode": "natal1", "birth1": "1970-06-15 06:30 GMT+1:00"}
)";
    // The same, the columns in another order, with CR LF line ends and a quoted line break.
    const QByteArray csv = "mode,birth1,id,world\r\n"
                           "world,,\"x,1\",2024-03-20 12:00 GMT\r\n"
                           ",,\"say \"\"hi\"\"\",2000-01-01\r\n"
                           "natal1,1970-06-15 06:30 GMT+1:00,\"two\nlines\",\r\n";
    const CliResult fromJson = Batch(json, {u"--mode"_s, u"world"_s});
    const CliResult fromCsv = Batch(csv, {u"--mode"_s, u"world"_s});
    ASSERT_EQ(fromJson.exitCode, 0) << fromJson.err.toStdString();
    ASSERT_EQ(fromCsv.exitCode, 0) << fromCsv.err.toStdString();
    EXPECT_EQ(Records(fromJson).size(), 3U);
    EXPECT_EQ(fromCsv.out, fromJson.out);

    // CSV out: one row per aspect, fields quoted where they must be.
    const CliResult rows = Batch(csv, {u"--mode"_s, u"world"_s, u"--format"_s, u"csv"_s});
    ASSERT_EQ(rows.exitCode, 0);
    const QJsonObject first = Records(fromJson).front();
    EXPECT_TRUE(rows.out.startsWith(u"id,line,mode,first,second,aspect,orb,motion,error\n"_s));
    EXPECT_EQ(rows.out.count(u"\n\"x,1\",2,world,"_s), first[u"aspects"_s].toArray().size());
    EXPECT_TRUE(rows.out.contains(u"\n\"say \"\"hi\"\"\",3,world,Earth,"_s));
    EXPECT_TRUE(rows.out.contains(u"\n\"two\nlines\",4,natal1,"_s));
}

TEST(BatchCommand, BadLinesGiveErrorRecordsAndTheRunGoesOn) {
    struct Case {
        QByteArray line;
        QJsonValue id;
        QString error; // a part of the message
    };
    const std::vector<Case> cases{
        {"not json", QJsonValue::Null, u"not JSON"_s},
        {"[1, 2]", QJsonValue::Null, u"not a JSON object"_s},
        {R"({"mode": "world", "world": "2024-01-01")", QJsonValue::Null,
         u"the object is not closed with '}'"_s},
        {R"({"id": 3, "world": "2024-01-01"})", 3, u"no mode"_s},
        {R"({"id": 4, "mode": "natal1", "world": "2024-01-01"})", 4, u"needs the date birth1"_s},
        {R"({"id": 5, "mode": "weekly", "world": "2024-01-01"})", 5, u"unknown mode 'weekly'"_s},
        {R"({"id": 6, "mode": "world", "world": "2024-02-30"})", 6, u"does not exist"_s},
        {R"({"id": 7, "mode": "world", "world": "2024-01-01 25:00"})", 7,
         u"25:00 does not exist"_s},
        {R"({"id": 8, "mode": "world", "world": 2024})", 8, u"\"world\" must be"_s},
        {R"({"id": 9, "mode": "world", "world": "2800-01-01"})", 9, u"World date"_s},
    };
    const QByteArray good = R"({"id": "ok", "mode": "world", "world": "2024-03-20"})";
    QByteArray input = good + "\n\n";
    for (const Case& c : cases) {
        input += c.line + "\n" + good + "\n";
    }
    input += QByteArray(1024 * 1024, ' ') + "{}\n" + good + "\n"; // a line of a megabyte
    input += R"({"id": 10, "mode": "world", "world": "2024-)";    // cut off, no line break
    const CliResult run = Batch(input);
    EXPECT_EQ(run.exitCode, 5) << run.err.toStdString();
    const std::vector<QJsonObject> records = Records(run);
    ASSERT_EQ(records.size(), 2 * cases.size() + 4);
    EXPECT_EQ(records[0][u"line"_s], 1); // the blank line 2 is skipped
    for (std::size_t index = 0; index < cases.size(); ++index) {
        const QJsonObject& bad = records[1 + 2 * index];
        EXPECT_EQ(bad.size(), 3) << index;
        EXPECT_EQ(bad[u"line"_s], static_cast<int>(3 + 2 * index));
        EXPECT_EQ(bad[u"id"_s], cases[index].id) << index;
        EXPECT_TRUE(bad[u"error"_s].toString().contains(cases[index].error))
            << bad[u"error"_s].toString().toStdString();
        EXPECT_EQ(records[2 + 2 * index][u"id"_s], u"ok"_s) << index;
    }
    EXPECT_TRUE(records[records.size() - 3][u"error"_s].toString().contains(u"not read"_s));
    EXPECT_EQ(records[records.size() - 2][u"id"_s], u"ok"_s);
    EXPECT_TRUE(records.back()[u"error"_s].toString().contains(u"not JSON"_s));
    EXPECT_EQ(records.back()[u"line"_s], static_cast<int>(2 * cases.size() + 5));

    const CliResult allGood = Batch(good); // a last line without its line break
    EXPECT_EQ(allGood.exitCode, 0);
    EXPECT_EQ(Records(allGood).size(), 1U);
}

TEST(BatchCommand, OrderIsKeptWhenTheWorkIsShared) {
    QByteArray input;
    constexpr int Lines = 5000; // more than a block of work
    for (int day = 0; day < Lines; ++day) {
        input += QStringLiteral(R"({"id": %1, "mode": "world", "world": "%2 00:00 GMT"})"
                                "\n")
                     .arg(day)
                     .arg(QDate(1900, 1, 1).addDays(day * 7).toString(Qt::ISODate))
                     .toUtf8();
    }
    const CliResult run = Batch(input);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<QJsonObject> records = Records(run);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(Lines));
    for (int day = 0; day < Lines; ++day) {
        const QJsonObject& record = records[static_cast<std::size_t>(day)];
        ASSERT_EQ(record[u"id"_s], day);
        ASSERT_EQ(record[u"dates"_s][u"world"_s][u"julianDay"_s].toDouble(), 2415020.5 + day * 7);
    }
}

TEST(BatchCommand, RefusesBadOptionsAndInputs) {
    const std::vector<std::pair<QByteArray, QStringList>> cases{
        {"{}", {u"--format"_s, u"xml"_s}},
        {"{}", {u"--mode"_s, u"weekly"_s}},
        {"name,place\nA,B\n", {}}, // a header without the columns
        {"id,world,World\n", {}},  // a column twice
    };
    for (const auto& [input, arguments] : cases) {
        const CliResult run = Batch(input, arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString() << input.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(RunCli({u"batch"_s, u"--in"_s, u"/nonexistent/input.jsonl"_s}).exitCode, 2);

    // A refused run leaves the file it would have replaced as it was.
    QTemporaryDir folder;
    const QString out = folder.filePath(u"out.jsonl"_s);
    ASSERT_TRUE(orbivex::test::WriteAll(out, "old\n"));
    EXPECT_EQ(Batch("{}", {u"--format"_s, u"xml"_s, u"--out"_s, out}).exitCode, 2);
    EXPECT_EQ(orbivex::test::ReadAll(out), "old\n");
    EXPECT_EQ(Batch(R"({"mode": "world", "world": "2024-03-20"})", {u"--out"_s, out}).exitCode, 0);
    EXPECT_TRUE(orbivex::test::ReadAll(out).startsWith(R"({"aspects":)"));
}

TEST(BatchCommand, TheOutputReplacesOnlyARegularFileAndSaysWhyItCannotBeWritten) {
    const QByteArray input = R"({"mode": "world", "world": "2024-03-20"})";
    QTemporaryDir folder;
    for (const orbivex::test::SpecialFile& special :
         orbivex::test::MakeSpecialFiles(folder.path(), u".jsonl"_s)) {
        const CliResult run = Batch(input, {u"--out"_s, special.path});
        EXPECT_EQ(run.exitCode, 4) << special.what.toStdString();
        EXPECT_EQ(run.err, u"orbivex-cli batch: cannot write %1: it is a %2\n"_s.arg(
                               special.path, special.kindWords));
        EXPECT_TRUE(orbivex::test::StillSpecial(special)) << special.what.toStdString();
    }
    const CliResult full = Batch(input, {}, u"/dev/full"_s);
    EXPECT_EQ(full.exitCode, 4);
    EXPECT_EQ(full.err,
              u"orbivex-cli batch: cannot write standard output: No space left on device\n"_s);

    const orbivex::test::SmallFileSystem disk;
    if (!disk.mounted()) {
        GTEST_SKIP() << "no file system can be mounted here";
    }
    const QString out = disk.filePath(u"out.jsonl"_s);
    ASSERT_TRUE(orbivex::test::WriteAll(out, "old\n"));
    ASSERT_TRUE(disk.Fill());
    const CliResult run = Batch(input, {u"--out"_s, out});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.err, u"orbivex-cli batch: cannot write %1: No space left on device\n"_s.arg(out));
    EXPECT_EQ(orbivex::test::ReadAll(out), "old\n");
}

TEST(BatchCommand, MalformedCsvHeadersAndRowsAreNamed) {
    // A header that cannot be read stops the command with a usage error.
    const std::pair<QByteArray, QString> headers[] = {
        {"id,\"world\r\n", u"the CSV header is not closed"_s},
        {"id,\"world\"x\r\n", u"Field 2 has text after its closing quote."_s},
        {"world,World\r\n", u"the header names the column 'world' twice"_s},
        {"name,date\r\n", u"the first line is neither a JSON object nor a CSV header"_s},
    };
    for (const auto& [input, message] : headers) {
        const CliResult run = Batch(input, {u"--mode"_s, u"world"_s});
        EXPECT_EQ(run.exitCode, 2) << input.constData();
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
    }
    // A row that cannot be read gets its error record; the rows around it are charted. A quote
    // inside an unquoted field is its character; a quote never closed spoils only its line.
    const CliResult run = Batch("id,world\r\n"
                                "a,2024-03-20\r\n"
                                "b,\"2024-03-20\"x\r\n"
                                "c\"1,2024-03-20\r\n"
                                "d,\"2024-03-20\r\n"
                                "e,2024-03-20\r\n"
                                "f,\"2024-03-20\r\n"
                                "\"g\ng\",2024-03-20\r\n"
                                "h,\"2024-03-20\r\n",
                                {u"--mode"_s, u"world"_s});
    const std::vector<QJsonObject> records = Records(run);
    ASSERT_EQ(records.size(), 8U) << run.err.toStdString();
    const QString notClosed = u"A quoted field is not closed."_s;
    const std::pair<QString, QString> expected[] = {
        {u"a"_s, {}},    {{}, u"Field 2 has text after its closing quote."_s},
        {u"c\"1"_s, {}}, {{}, notClosed},
        {u"e"_s, {}},    {{}, notClosed},
        {u"g\ng"_s, {}}, {{}, notClosed}};
    for (std::size_t index = 0; index < records.size(); ++index) {
        const auto& [id, error] = expected[index];
        EXPECT_EQ(records[index][u"error"_s].toString(), error) << index;
        if (error.isEmpty()) {
            EXPECT_EQ(records[index][u"id"_s].toString(), id) << index;
        }
    }

    // A first line that is not JSON, before lines that are, is a bad line of JSON Lines.
    const CliResult json = Batch("no json\n\n{\"mode\": \"world\", \"world\": \"2024-03-20\"}\n");
    EXPECT_EQ(json.exitCode, 5) << json.err.toStdString();
    const std::vector<QJsonObject> lines = Records(json);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_TRUE(lines[0][u"error"_s].toString().contains(u"not JSON"_s));
    EXPECT_EQ(lines[1][u"line"_s], 3);
    EXPECT_TRUE(lines[1].contains(u"aspects"_s));
}

TEST(BatchCommand, PlacesOfLinesAreReadAsThePlaceOptionReadsThem) {
    // Each line's date at a place has the instant, place and local mean time that
    // positions --place gives for it; CSV names the same keys as columns.
    struct Case {
        QByteArray placeKey;
        QString place;
        QString date;
        bool localMeanTime;
    };
    const std::vector<Case> cases{
        {"birth1Place", u"Lyon"_s, u"1850-03-01 10:00"_s, true},
        {"birth1Place", u"Lyon, France"_s, u"1970-07-01 10:00"_s, false},
        {"birth1Place", u"46.2044N 6.1432E"_s, u"1970-07-14 12:00 Europe/Zurich"_s, false},
        {"birth1Place", u"New York"_s, u"1880-03-01 10:00"_s, true},
    };
    QByteArray json;
    QByteArray csv = "id,mode,birth1,birth1place\n";
    for (std::size_t index = 0; index < cases.size(); ++index) {
        const Case& c = cases[index];
        json += QJsonDocument(QJsonObject{{u"id"_s, static_cast<int>(index)},
                                          {u"mode"_s, u"natal1"_s},
                                          {u"birth1"_s, c.date},
                                          {QString::fromLatin1(c.placeKey), c.place}})
                    .toJson(QJsonDocument::Compact) +
                '\n';
        csv += QByteArray::number(index) + ",natal1," + c.date.toUtf8() + ",\"" + c.place.toUtf8() +
               "\"\n";
    }
    const CliResult fromJson = Batch(json);
    const CliResult fromCsv = Batch(csv);
    ASSERT_EQ(fromJson.exitCode, 0) << fromJson.err.toStdString();
    const std::vector<QJsonObject> records = Records(fromJson);
    ASSERT_EQ(records.size(), cases.size());
    EXPECT_EQ(Records(fromCsv).size(), cases.size());
    for (std::size_t index = 0; index < cases.size(); ++index) {
        const Case& c = cases[index];
        const QStringList day = c.date.split(u' ');
        QStringList arguments{u"positions"_s, u"--date"_s,  day[0],  u"--time"_s,
                              day[1],         u"--place"_s, c.place, u"--json"_s};
        if (day.size() > 2) {
            arguments << u"--zone"_s << day[2];
        }
        const CliResult positions = RunCli(arguments);
        const QJsonObject expected =
            QJsonDocument::fromJson(positions.out.toUtf8())[u"date"_s].toObject();
        const QJsonObject date = records[index][u"dates"_s][u"birth1"_s].toObject();
        EXPECT_EQ(date[u"julianDay"_s], expected[u"julianDay"_s]) << index;
        EXPECT_EQ(date[u"place"_s], expected[u"place"_s]) << index;
        EXPECT_EQ(date[u"localMeanTime"_s].toBool(), c.localMeanTime) << index;
        EXPECT_EQ(Records(fromCsv)[index][u"dates"_s], records[index][u"dates"_s]) << index;
    }

    // An unknown place is the line's error; an ambiguous one a note, once, naming its line.
    const CliResult bad =
        Batch(R"({"id": 1, "mode": "natal1", "birth1": "1970-01-01", "birth1Place": "Nowhereville"}
{"id": 2, "mode": "natal1", "birth1": "1970-01-01", "birth1Place": "Springfield"}
{"id": 3, "mode": "natal1", "birth1": "1970-01-01", "birth1Place": "Springfield"}
{"id": 4, "mode": "natal1", "birth1": "1970-01-01", "birth1Place": ["Lyon"]}
)");
    EXPECT_EQ(bad.exitCode, 5);
    const std::vector<QJsonObject> lines = Records(bad);
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_TRUE(lines[0][u"error"_s].toString().startsWith(u"birth1Place: "_s));
    EXPECT_TRUE(lines[0][u"error"_s].toString().contains(u"orbivex-cli places"_s));
    EXPECT_EQ(lines[2][u"dates"_s], lines[1][u"dates"_s]);
    EXPECT_TRUE(lines[3][u"error"_s].toString().contains(u"PLACE"_s));
    EXPECT_EQ(bad.err.count(u"is taken as"_s), 1);
    EXPECT_TRUE(bad.err.contains(u"line 2: 'Springfield' is taken as"_s)) << bad.err.toStdString();
}
