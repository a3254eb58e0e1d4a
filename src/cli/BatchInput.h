#pragma once
// What orbivex-cli batch reads: records of chart requests, one a line, in JSON Lines or in CSV
// with a header row, read a block at a time so that memory stays the same however long the
// input is.

#include "calendar/DateInput.h"

#include <QByteArray>
#include <QIODevice>
#include <QJsonValue>
#include <QString>
#include <array>
#include <deque>
#include <optional>
#include <vector>

namespace orbivex::cli {

// A line of this many bytes or more is refused without being held in memory whole.
inline constexpr qsizetype MaxBatchLineBytes = 1024 * 1024;

// One line of input (or, in CSV, one record, whose quoted fields may hold line breaks).
struct InputRecord {
    qint64 line = 0;      // the number of its first line, from 1
    QByteArray text;      // without its line break; empty when tooLong
    bool tooLong = false; // MaxBatchLineBytes or more: refused, not read
};

// Reads lines from a device, skipping blank ones. A line that reaches MaxBatchLineBytes is
// passed over to its end and given as tooLong; a last line without a line break counts.
class LineReader {
  public:
    explicit LineReader(QIODevice& device) : device_(device) {}

    // The next line that is not blank, or nothing at the end of the input.
    std::optional<InputRecord> Next();
    // The next physical line, blank or not (for a CSV record that goes on past a line break).
    std::optional<InputRecord> NextPhysical();
    // Lines taken too early, to be read again before the rest, in their order.
    void PutBack(std::vector<InputRecord> lines);
    // The device's message when reading failed; "" otherwise.
    QString Error() const { return error_; }

  private:
    bool Fill();

    QIODevice& device_;
    std::deque<InputRecord> putBack_;
    QByteArray buffer_;
    qsizetype start_ = 0; // where the unread part of buffer_ begins
    qint64 lineNumber_ = 0;
    bool atEnd_ = false;
    QString error_;
};

// A chart request as a line gives it: the id copied to the output (null when the line has
// none), the mode, the three DATE texts (world, 1st and 2nd birthdate) that it names and the
// PLACE text of each (worldPlace, birth1Place, birth2Place).
struct BatchRequest {
    QJsonValue id = QJsonValue::Null;
    std::optional<QString> mode;
    std::array<std::optional<QString>, NumDateSets> dates;
    std::array<std::optional<QString>, NumDateSets> places;
};

// The names of the date keys and columns, and of their places.
inline constexpr std::array<const char*, NumDateSets> BatchDateKeys{"world", "birth1", "birth2"};
inline constexpr std::array<const char*, NumDateSets> BatchPlaceKeys{"worldPlace", "birth1Place",
                                                                     "birth2Place"};

// A request, or the message of why the line gives none (the id is kept when it could be read).
struct ParsedRequest {
    BatchRequest request;
    QString error;
};

// The input's form, told by its first line: a JSON object, or else a CSV header.
enum class BatchForm { JsonLines, Csv };
BatchForm FormOfFirstLine(const QByteArray& line);

// A line of JSON Lines: {"id": any, "mode": "natal1", "world": DATE, "birth1": DATE,
// "birth2": DATE, "worldPlace": PLACE, "birth1Place": PLACE, "birth2Place": PLACE}, every member
// optional; other members are ignored.
ParsedRequest ParseJsonLine(const QByteArray& line);

// Whether CSV text leaves a quoted field open, fed a line at a time: a field that begins with a
// quote goes on past line breaks until its closing quote. A quote inside a field that does not
// begin with one is a character of that field.
class CsvQuotes {
  public:
    void Feed(QByteArrayView line);
    bool Open() const { return quoted_; }

  private:
    bool quoted_ = false;
    bool fieldStart_ = true;
};

// The fields of a CSV record (RFC 4180: fields separated by commas, a field in double quotes
// may hold commas, line breaks and doubled quotes; a quote inside an unquoted field is one of its
// characters), or nothing when a quoted field is left
// open at the end of the text (the record goes on on the next line); the message of text
// after a closing quote.
Expected<std::optional<QStringList>> SplitCsvRecord(const QString& text);

// The columns of a CSV input, from its header row: which field gives the id, the mode, each
// date and each date's place (-1 for none). Other columns are ignored.
struct CsvColumns {
    int id = -1;
    int mode = -1;
    std::array<int, NumDateSets> dates{-1, -1, -1};
    std::array<int, NumDateSets> places{-1, -1, -1};
    qsizetype count = 0; // fields in the header
};
// The columns of a header row, or the message of why it is none.
Expected<CsvColumns> ReadCsvHeader(const QStringList& fields);
ParsedRequest RequestOfCsvFields(const QStringList& fields, const CsvColumns& columns);

// A field written for a CSV file: quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& text);

} // namespace orbivex::cli
