// The lines orbivex-cli batch reads. Whatever the bytes, the line reader gives each line once
// (a long one refused without its text), the JSON Lines and CSV readers either give a request
// or a message, and a field written for CSV splits back to the same text.
#include "FuzzSupport.h"
#include "cli/BatchInput.h"

#include <QBuffer>

using namespace orbivex;
using namespace orbivex::cli;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    LineReader reader(device);
    qint64 last = 0;
    qsizetype read = 0;
    while (const std::optional<InputRecord> record = reader.Next()) {
        fuzz::Require(record->line > last, "line numbers do not grow");
        fuzz::Require(!record->tooLong || record->text.isEmpty(), "a long line was held");
        last = record->line;
        read += record->text.size();
        (void)FormOfFirstLine(record->text);
        (void)ParseJsonLine(record->text);
        CsvQuotes quotes;
        quotes.Feed(record->text);
        const Expected<std::optional<QStringList>> fields =
            SplitCsvRecord(QString::fromUtf8(record->text));
        fuzz::Require(!fields || quotes.Open() == !*fields,
                      "the record's end and its fields disagree on an open quote");
        if (fields && *fields) {
            if (const Expected<CsvColumns> columns = ReadCsvHeader(**fields)) {
                (void)RequestOfCsvFields(**fields, *columns);
            }
        }
    }
    fuzz::Require(read <= bytes.size(), "the reader gave more text than it was given");

    const QString text = fuzz::Text(data, size);
    const Expected<std::optional<QStringList>> back = SplitCsvRecord(CsvField(text));
    fuzz::Require(back && *back && (*back)->size() == 1 && (*back)->front() == text,
                  "a CSV field does not split back to its text");
    return 0;
}
