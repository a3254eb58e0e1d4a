#include "cli/BatchInput.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace orbivex::cli {

namespace {

constexpr qsizetype ReadChunkBytes = 64 * 1024;

bool IsBlank(const QByteArray& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

constexpr const auto& DateKeys = BatchDateKeys;

} // namespace

bool LineReader::Fill() {
    if (atEnd_) {
        return false;
    }
    if (start_ > 0) {
        buffer_.remove(0, start_);
        start_ = 0;
    }
    const qsizetype had = buffer_.size();
    buffer_.resize(had + ReadChunkBytes);
    const qint64 read = device_.read(buffer_.data() + had, ReadChunkBytes);
    buffer_.resize(had + std::max<qint64>(read, 0));
    if (read < 0) {
        error_ = device_.errorString();
    }
    if (read <= 0) {
        atEnd_ = true;
        return false;
    }
    return true;
}

void LineReader::PutBack(std::vector<InputRecord> lines) {
    putBack_.insert(putBack_.begin(), std::make_move_iterator(lines.begin()),
                    std::make_move_iterator(lines.end()));
}

std::optional<InputRecord> LineReader::NextPhysical() {
    if (!putBack_.empty()) {
        InputRecord record = std::move(putBack_.front());
        putBack_.pop_front();
        return record;
    }
    InputRecord record;
    const auto take = [&](qsizetype end) {
        record.line = ++lineNumber_;
        if (!record.tooLong) {
            record.text = buffer_.mid(start_, end - start_);
            if (record.text.endsWith('\r')) {
                record.text.chop(1);
            }
            record.tooLong = record.text.size() >= MaxBatchLineBytes;
            if (record.tooLong) {
                record.text.clear();
            }
        }
    };
    qsizetype searchFrom = start_;
    for (;;) {
        if (const qsizetype end = buffer_.indexOf('\n', searchFrom); end >= 0) {
            take(end);
            start_ = end + 1;
            return record;
        }
        if (buffer_.size() - start_ >= MaxBatchLineBytes) {
            // Too long already: drop what is held and pass over the rest of the line.
            record.tooLong = true;
            buffer_.clear();
            start_ = 0;
        }
        const qsizetype searched = buffer_.size() - start_;
        if (!Fill()) {
            if (buffer_.size() == start_ && !record.tooLong) {
                return std::nullopt;
            }
            take(buffer_.size()); // a last line without its line break
            buffer_.clear();
            start_ = 0;
            return record;
        }
        searchFrom = searched; // Fill moved the unread part to the front
    }
}

std::optional<InputRecord> LineReader::Next() {
    for (;;) {
        std::optional<InputRecord> record = NextPhysical();
        if (!record || record->tooLong || !IsBlank(record->text)) {
            return record;
        }
    }
}

BatchForm FormOfFirstLine(const QByteArray& line) {
    return line.trimmed().startsWith('{') ? BatchForm::JsonLines : BatchForm::Csv;
}

ParsedRequest ParseJsonLine(const QByteArray& line) {
    ParsedRequest parsed;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        // The parser takes the end of an object that is not closed for the end of a string.
        QJsonParseError closed;
        QJsonDocument::fromJson(line + '}', &closed);
        parsed.error =
            closed.error == QJsonParseError::NoError
                ? QStringLiteral("The line is not JSON: the object is not closed with '}'.")
                : QStringLiteral("The line is not JSON: %1 at character %2.")
                      .arg(parseError.errorString())
                      .arg(parseError.offset + 1);
        return parsed;
    }
    if (!document.isObject()) {
        parsed.error = QStringLiteral("The line is not a JSON object.");
        return parsed;
    }
    const QJsonObject object = document.object();
    parsed.request.id = object.value(QStringLiteral("id"));
    if (parsed.request.id.isUndefined()) {
        parsed.request.id = QJsonValue::Null;
    }
    const QJsonValue mode = object.value(QStringLiteral("mode"));
    if (mode.isString()) {
        parsed.request.mode = mode.toString();
    } else if (!mode.isUndefined() && !mode.isNull()) {
        parsed.error = QStringLiteral("\"mode\" must be a text.");
        return parsed;
    }
    for (std::size_t set = 0; set < DateKeys.size(); ++set) {
        const QJsonValue date = object.value(QLatin1String(DateKeys[set]));
        if (date.isString()) {
            parsed.request.dates[set] = date.toString();
        } else if (!date.isUndefined() && !date.isNull()) {
            parsed.error =
                QStringLiteral("\"%1\" must be a DATE text.").arg(QLatin1String(DateKeys[set]));
            return parsed;
        }
        const QJsonValue place = object.value(QLatin1String(BatchPlaceKeys[set]));
        if (place.isString()) {
            parsed.request.places[set] = place.toString();
        } else if (!place.isUndefined() && !place.isNull()) {
            parsed.error = QStringLiteral("\"%1\" must be a PLACE text.")
                               .arg(QLatin1String(BatchPlaceKeys[set]));
            return parsed;
        }
    }
    return parsed;
}

void CsvQuotes::Feed(QByteArrayView line) {
    for (qsizetype at = 0; at < line.size(); ++at) {
        const char c = line[at];
        if (quoted_) {
            if (c == '"') {
                if (at + 1 < line.size() && line[at + 1] == '"') {
                    ++at; // a doubled quote stands for one
                } else {
                    quoted_ = false;
                }
            }
            continue;
        }
        if (c == ',') {
            fieldStart_ = true;
            continue;
        }
        quoted_ = c == '"' && fieldStart_;
        fieldStart_ = false;
    }
}

Expected<std::optional<QStringList>> SplitCsvRecord(const QString& text) {
    QStringList fields;
    QString field;
    qsizetype at = 0;
    const qsizetype size = text.size();
    for (;;) {
        field.clear();
        if (at < size && text[at] == QLatin1Char('"')) {
            ++at;
            for (;;) {
                if (at >= size) {
                    return {std::nullopt}; // the quoted field goes on past this line
                }
                if (text[at] == QLatin1Char('"')) {
                    if (at + 1 < size && text[at + 1] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                field += text[at++];
            }
            if (at < size && text[at] != QLatin1Char(',')) {
                return Fail(QStringLiteral("Field %1 has text after its closing quote.")
                                .arg(fields.size() + 1));
            }
        } else {
            const qsizetype comma = text.indexOf(QLatin1Char(','), at);
            const qsizetype end = comma < 0 ? size : comma;
            field = text.mid(at, end - at);
            at = end;
        }
        fields.append(field);
        if (at >= size) {
            return {fields};
        }
        ++at; // the comma
    }
}

Expected<CsvColumns> ReadCsvHeader(const QStringList& fields) {
    CsvColumns columns;
    columns.count = fields.size();
    bool any = false;
    for (qsizetype index = 0; index < fields.size(); ++index) {
        const QString name = fields[index].trimmed().toLower();
        int* column = nullptr;
        if (name == QLatin1String("id")) {
            column = &columns.id;
        } else if (name == QLatin1String("mode")) {
            column = &columns.mode;
        }
        for (std::size_t set = 0; set < DateKeys.size(); ++set) {
            if (name == QLatin1String(DateKeys[set])) {
                column = &columns.dates[set];
            } else if (name == QString::fromLatin1(BatchPlaceKeys[set]).toLower()) {
                column = &columns.places[set];
            }
        }
        if (column == nullptr) {
            continue;
        }
        if (*column >= 0) {
            return Fail(QStringLiteral("the header names the column '%1' twice").arg(name));
        }
        *column = static_cast<int>(index);
        any = true;
    }
    if (!any) {
        return Fail(QStringLiteral("the first line is neither a JSON object nor a CSV header "
                                   "naming the columns id, mode, world, birth1 and birth2 "
                                   "(and worldPlace, birth1Place and birth2Place)"));
    }
    return columns;
}

ParsedRequest RequestOfCsvFields(const QStringList& fields, const CsvColumns& columns) {
    ParsedRequest parsed;
    if (columns.id >= 0 && columns.id < fields.size()) {
        parsed.request.id = fields[columns.id];
    }
    if (fields.size() != columns.count) {
        parsed.error = QStringLiteral("The line has %1 fields; the header names %2.")
                           .arg(fields.size())
                           .arg(columns.count);
        return parsed;
    }
    const auto value = [&](int column) -> std::optional<QString> {
        if (column < 0 || fields[column].trimmed().isEmpty()) {
            return std::nullopt;
        }
        return fields[column];
    };
    parsed.request.mode = value(columns.mode);
    for (std::size_t set = 0; set < columns.dates.size(); ++set) {
        parsed.request.dates[set] = value(columns.dates[set]);
        parsed.request.places[set] = value(columns.places[set]);
    }
    return parsed;
}

QString CsvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) {
        return text;
    }
    return QLatin1Char('"') + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

} // namespace orbivex::cli
