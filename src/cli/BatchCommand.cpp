// orbivex-cli batch: the charts of a whole file of requests in one process, for research on
// collections of birth data. Input is read a block at a time, the block's charts are shared
// among the cores (each with its own ephemeris state, when the library keeps its state per
// thread), and the results are written in input order before the next block is read, so that
// memory stays the same however long the input is.
#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "cli/BatchInput.h"
#include "cli/ChartJson.h"
#include "cli/ChartOptions.h"
#include "cli/CliDates.h"
#include "cli/CliPlaces.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "cli/LibraryDates.h"
#include "core/Ephemeris.h"
#include "core/WorkerPool.h"
#include "present/Messages.h"
#include "session/Compute.h"
#include "session/StateTransfer.h"
#include "support/ProgramTexts.h"
#include "support/SafeFile.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <thread>

#ifdef Q_OS_WIN
#include <io.h>
#define ORBIVEX_ISATTY _isatty
#else
#include <unistd.h>
#define ORBIVEX_ISATTY isatty
#endif

namespace orbivex::cli {
using enum ChartMode;

namespace {

// Records read, computed and written together. A block's charts are computed in date order, and
// the more of them, the closer their dates and the fewer segments the ephemeris must read from
// its files again (four times as many as before save a third of the system time); their JSON,
// some 30 MB, is held until the block is written.
constexpr std::size_t BlockRecords = 8192;
// Records a worker takes at a time from the block.
constexpr std::size_t Grain = 16;

constexpr const auto& DateKeys = BatchDateKeys;

enum class OutputForm { JsonLines, Csv };

struct Item {
    InputRecord record;
    ParsedRequest parsed;
    // The date of the chart as its text, to compute the charts of a block in date order: the
    // ephemeris then reads its files far less often than in the input's order.
    QString dateKey;
    QByteArray output;
    bool failed = false;
    // The notes of the line's places ("'Springfield' is taken as ..."), for standard error.
    QStringList notes;
};

// The two rounds of work on a block: every line parsed, then every chart computed.
enum class Round { Parse, Chart };

// The places the lines name, each looked up in the atlas once for the whole batch; safe to use
// from every worker.
class PlaceBook {
  public:
    struct Entry {
        Expected<DatePlace, QString> place = Fail(QString());
        QString note; // which place an ambiguous name was taken as; "" otherwise
    };

    // The place `text` names, read as ReadPlace reads --place, `typedZone` being the zone the
    // line's DATE gives (for coordinates written without one).
    Entry Find(const QString& text, const QString& typedZone) {
        const QString key = text + QLatin1Char('\n') + typedZone;
        const std::lock_guard lock(mutex_);
        if (const auto found = entries_.constFind(key); found != entries_.cend()) {
            return *found;
        }
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        Context context{outStream, errStream, {}};
        Entry entry;
        entry.place = ReadPlace(context, QStringLiteral("batch"), atlas_, text, typedZone);
        errStream.flush();
        entry.note = err.trimmed().remove(QStringLiteral("orbivex-cli batch: "));
        entries_.insert(key, entry);
        return entry;
    }

  private:
    std::mutex mutex_;
    const Atlas atlas_{};
    QHash<QString, Entry> entries_;
};

// What every worker shares, read only.
struct Shared {
    BatchForm form = BatchForm::JsonLines;
    CsvColumns columns;
    OutputForm output = OutputForm::JsonLines;
    std::optional<ChartMode> defaultMode;
    const ProgramTexts& texts;
    // Where "@ID" and "@NAME" dates come from; safe to use from every worker.
    LibraryDates& library;
    PlaceBook& places;
};

QString IdText(const QJsonValue& id) {
    if (id.isNull() || id.isUndefined()) {
        return {};
    }
    if (id.isString()) {
        return id.toString();
    }
    // Any other value as JSON: a number, true, an array...
    const QJsonArray wrapped{id};
    const QByteArray text = QJsonDocument(wrapped).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

// One worker: its own copy of the ephemeris (its own library state on its thread) and its own
// program state, which keeps the natal positions of one chart for the next when they agree.
class Worker {
  public:
    Worker(const Shared& shared, const ProgramState& base) : shared_(shared), state_(base) {}

    // Whether a chart of this worker came from the built-in theory for want of the files.
    bool UsedBuiltInTheory() const { return usedBuiltInTheory_; }

    void Parse(Item& item) const {
        item.parsed = Parse(item.record);
        const BatchRequest& request = item.parsed.request;
        std::optional<ChartMode> mode = shared_.defaultMode;
        if (request.mode) {
            mode = ModeOfOptionName(request.mode->trimmed());
        }
        if (item.parsed.error.isEmpty() && mode) {
            const std::array<bool, NumDateSets> used = DateSetsOfMode(*mode);
            const auto first = std::find(used.begin(), used.end(), true);
            if (first != used.end()) {
                item.dateKey =
                    request.dates[static_cast<std::size_t>(first - used.begin())].value_or(
                        QString());
            }
        }
    }

    // Computes with `ephemeris`, the one of the thread it runs on.
    void Chart(Item& item, const Ephemeris& ephemeris) {
        ParsedRequest& parsed = item.parsed;
        if (parsed.error.isEmpty()) {
            if (const Status computed = ComputeRequest(parsed.request, ephemeris, item.notes);
                !computed) {
                parsed.error = computed.error();
            }
            usedBuiltInTheory_ = usedBuiltInTheory_ || ephemeris.UsesBuiltInTheory();
        }
        item.failed = !parsed.error.isEmpty();
        item.output.clear();
        if (item.failed) {
            item.output = ErrorOutput(parsed, item.record.line);
        } else {
            ChartOutput(parsed.request, item.record.line, item.output);
        }
    }

  private:
    ParsedRequest Parse(const InputRecord& record) const {
        ParsedRequest parsed;
        if (record.tooLong) {
            parsed.error = QStringLiteral("The line is %1 bytes or longer; it was not read.")
                               .arg(MaxBatchLineBytes);
        } else if (shared_.form == BatchForm::JsonLines) {
            parsed = ParseJsonLine(record.text);
        } else {
            const Expected<std::optional<QStringList>> fields =
                SplitCsvRecord(QString::fromUtf8(record.text));
            if (!fields) {
                parsed.error = fields.error();
            } else if (!*fields) {
                parsed.error = QStringLiteral("A quoted field is not closed.");
            } else {
                parsed = RequestOfCsvFields(**fields, shared_.columns);
            }
        }
        return parsed;
    }

    // Computes the chart of a request into the state, or says why it cannot be computed.
    Status ComputeRequest(const BatchRequest& request, const Ephemeris& ephemeris,
                          QStringList& notes) {
        state_.places = {};
        ChartMode mode = NoChartMode;
        if (request.mode) {
            const std::optional<ChartMode> named = ModeOfOptionName(request.mode->trimmed());
            if (!named) {
                return Fail(UnknownModeMessage(*request.mode));
            }
            mode = *named;
        } else if (shared_.defaultMode) {
            mode = *shared_.defaultMode;
        } else {
            return Fail(QStringLiteral("The line names no mode, and neither --mode nor --state "
                                       "gives one."));
        }
        state_.mode = mode;
        const std::array<bool, NumDateSets> used = DateSetsOfMode(mode);
        for (std::size_t set = 0; set < used.size(); ++set) {
            if (!used[set]) {
                continue;
            }
            if (!request.dates[set]) {
                return Fail(QStringLiteral("The mode %1 needs the date %2.")
                                .arg(ModeOptionName(mode), QLatin1String(DateKeys[set])));
            }
            DateSet dateSet;
            if (request.dates[set]->trimmed().startsWith(QLatin1Char('@'))) {
                Expected<DateSet, DateReadFailure> resolved =
                    shared_.library.Resolve(*request.dates[set]);
                if (!resolved) {
                    return Fail(resolved.error().message);
                }
                dateSet = *resolved;
            } else if (const Status read = ReadDateText(*request.dates[set], dateSet); !read) {
                return Fail(read.error());
            }
            if (request.places[set]) {
                PlaceBook::Entry found = shared_.places.Find(
                    request.places[set]->trimmed(),
                    ZoneChosen(dateSet) ? ZoneTextOf(dateSet, state_.zones.list) : QString());
                if (!found.place) {
                    return Fail(QStringLiteral("%1: %2").arg(QLatin1String(BatchPlaceKeys[set]),
                                                             found.place.error()));
                }
                if (!found.note.isEmpty()) {
                    notes.append(found.note);
                }
                ApplyPlaceZone(*found.place, dateSet);
                state_.places[set] = found.place->place;
            }
            state_.dateSets[set] = dateSet;
        }
        const ComputeContext context{ephemeris};
        const ComputeOutcome outcome = orbivex::Compute(state_, context);
        if (!outcome) {
            return Fail(
                ForTerminal(ReportDateError(shared_.texts, outcome.error()).message).trimmed());
        }
        return {};
    }

    void ChartOutput(const BatchRequest& request, qint64 line, QByteArray& out) const {
        if (shared_.output == OutputForm::JsonLines) {
            const RecordKeys record{request.id, line};
            // Written into the worker's own room, which keeps its size from chart to chart, and
            // then kept at its length: a block holds the JSON of thousands of charts until it
            // is written out.
            scratch_.resize(0);
            scratch_.reserve(12 * 1024); // more than most charts' JSON: no copy as it grows
            AppendChartJson(scratch_, state_,
                            BuildChartTexts(state_.chart, ChartDisplayOf(state_), shared_.texts),
                            ChartPlacesOf(state_), JsonLayout::Compact, &record);
            out = QByteArray(scratch_.constData(), scratch_.size());
            return;
        }
        const QString start = CsvField(IdText(request.id)) + QLatin1Char(',') +
                              QString::number(line) + QLatin1Char(',') +
                              ModeOptionName(state_.chart.mode) + QLatin1Char(',');
        QString rows;
        for (const ChartAspect& aspect : state_.chart.aspects) {
            rows += start + BodyName(aspect.first) + QLatin1Char(',') + BodyName(aspect.second) +
                    QLatin1Char(',') + AspectJsonName(aspect.kind) + QLatin1Char(',') +
                    QString::number(RadiansToDegrees(aspect.deviation), 'g',
                                    QLocale::FloatingPointShortest) +
                    QLatin1Char(',') + MotionName(aspect.motion) + QStringLiteral(",\n");
        }
        out = rows.toUtf8();
    }

    QByteArray ErrorOutput(const ParsedRequest& parsed, qint64 line) const {
        if (shared_.output == OutputForm::JsonLines) {
            return ErrorJson(parsed.error, {parsed.request.id, line});
        }
        return (CsvField(IdText(parsed.request.id)) + QLatin1Char(',') + QString::number(line) +
                QStringLiteral(",,,,,,,") + CsvField(parsed.error) + QLatin1Char('\n'))
            .toUtf8();
    }

    const Shared& shared_;
    ProgramState state_;
    mutable QByteArray scratch_;
    bool usedBuiltInTheory_ = false;
};

// The workers of a batch: worker 0 works on the calling thread with its ephemeris, each other
// one as a task of a worker pool (whose threads hold their own ephemeris state). Run() hands
// them a block, a grain of items at a time to whichever is free, and returns when it is done.
class Crew {
  public:
    Crew(std::vector<std::unique_ptr<Worker>>& workers, const Ephemeris& ephemeris)
        : workers_(workers), ephemeris_(ephemeris) {
        if (workers_.size() > 1) {
            pool_.emplace(ephemeris, static_cast<int>(workers_.size() - 1));
        }
    }

    // Does the round's work on every item, in the order given (indices into items).
    void Run(std::vector<Item>& items, const std::vector<std::size_t>& order, Round round) {
        next_ = 0;
        std::vector<std::future<void>> helping;
        const std::size_t helpers =
            pool_ ? std::min<std::size_t>(pool_->Threads(), workers_.size() - 1) : 0;
        for (std::size_t index = 1; index <= helpers; ++index) {
            Worker* worker = workers_[index].get();
            helping.push_back(pool_->Post([&, worker](const Ephemeris& ephemeris) {
                Work(*worker, ephemeris, items, order, round);
            }));
        }
        Work(*workers_[0], ephemeris_, items, order, round);
        for (std::future<void>& helper : helping) {
            helper.get();
        }
    }

  private:
    void Work(Worker& worker, const Ephemeris& ephemeris, std::vector<Item>& items,
              const std::vector<std::size_t>& order, Round round) {
        for (;;) {
            const std::size_t first = next_.fetch_add(Grain);
            if (first >= order.size()) {
                return;
            }
            const std::size_t last = std::min(order.size(), first + Grain);
            for (std::size_t at = first; at < last; ++at) {
                Item& item = items[order[at]];
                if (round == Round::Parse) {
                    worker.Parse(item);
                } else {
                    worker.Chart(item, ephemeris);
                }
            }
        }
    }

    std::vector<std::unique_ptr<Worker>>& workers_;
    const Ephemeris& ephemeris_;
    std::optional<WorkerPool> pool_;
    std::atomic<std::size_t> next_{0};
};

// Completes a CSV record whose quoted field goes on over the next lines. A field that is never
// closed (before the end of the input or of the room for a line), or closed into no record of
// `fieldCount` fields (any count when 0), leaves the record its first line alone, which the
// worker reports; the lines after it are read again as records of their own.
void CompleteCsvRecord(LineReader& reader, InputRecord& record, qsizetype fieldCount) {
    if (record.tooLong) {
        return;
    }
    CsvQuotes quotes;
    quotes.Feed(record.text);
    QByteArray text = record.text;
    std::vector<InputRecord> taken;
    while (quotes.Open()) {
        std::optional<InputRecord> more = reader.NextPhysical();
        if (!more) {
            reader.PutBack(std::move(taken));
            return;
        }
        const bool fits = !more->tooLong && text.size() + 1 + more->text.size() < MaxBatchLineBytes;
        if (fits) {
            text += '\n' + more->text;
            quotes.Feed(more->text);
        }
        taken.push_back(std::move(*more));
        if (!fits) {
            reader.PutBack(std::move(taken));
            return;
        }
    }
    if (!taken.empty()) {
        const Expected<std::optional<QStringList>> fields = SplitCsvRecord(QString::fromUtf8(text));
        if (!fields || !*fields || (fieldCount > 0 && (*fields)->size() != fieldCount)) {
            reader.PutBack(std::move(taken));
            return;
        }
    }
    record.text = std::move(text);
}

// The next record of the input: a line, or in CSV a record whose quoted fields may go on over
// several lines.
std::optional<InputRecord> NextRecord(LineReader& reader, const Shared& shared) {
    std::optional<InputRecord> record = reader.Next();
    if (record && shared.form == BatchForm::Csv) {
        CompleteCsvRecord(reader, *record, shared.columns.count);
    }
    return record;
}

// Whether the first line is a broken line of JSON Lines rather than a CSV header: it names no
// column of a header, and the next line is a JSON object.
bool BrokenFirstJsonLine(LineReader& reader, const QByteArray& first) {
    const Expected<std::optional<QStringList>> fields = SplitCsvRecord(QString::fromUtf8(first));
    if (fields && *fields && ReadCsvHeader(**fields)) {
        return false;
    }
    std::optional<InputRecord> next = reader.Next();
    if (!next) {
        return false;
    }
    const bool json = !next->tooLong && FormOfFirstLine(next->text) == BatchForm::JsonLines;
    std::vector<InputRecord> again;
    again.push_back(std::move(*next));
    reader.PutBack(std::move(again));
    return json;
}

// The progress line on standard error, only when that is a terminal: a file or pipe would
// fill up with it.
class Progress {
  public:
    Progress() : shown_(ORBIVEX_ISATTY(fileno(stderr)) != 0) { timer_.start(); }

    void Update(QTextStream& err, qint64 lines, qint64 charts, bool last = false) {
        if (!shown_ || (!last && timer_.elapsed() < nextMs_)) {
            return;
        }
        nextMs_ = timer_.elapsed() + 500;
        const double seconds = std::max<double>(timer_.elapsed(), 1.0) / 1000.0;
        err << "\r" << lines << " lines read, " << qRound64(static_cast<double>(charts) / seconds)
            << " charts a second" << (last ? "\n" : "") << Qt::flush;
    }

  private:
    bool shown_;
    QElapsedTimer timer_;
    qint64 nextMs_ = 0;
};

// Whether the path leads to a named pipe: an input that is streamed on purpose, as the shell's
// <(command) gives one.
bool IsNamedPipe(const QString& path) {
    std::error_code error;
    return std::filesystem::is_fifo(std::filesystem::path(QFile::encodeName(path).toStdString()),
                                    error);
}

// Where the records go: a file put in place whole at the end, or standard output.
class Output {
  public:
    // Opens the file, or standard output when `path` is nothing.
    Status Open(const std::optional<QString>& path) {
        if (path) {
            file_ = std::make_unique<SafeFile>(*path);
            return file_->Open();
        }
        if (!standardOutput_.open(fileno(stdout), QIODevice::WriteOnly)) {
            return Fail(standardOutput_.errorString());
        }
        return {};
    }
    Status Write(QByteArrayView bytes) {
        if (file_) {
            return file_->Write(bytes);
        }
        errno = 0;
        if (standardOutput_.write(bytes.data(), bytes.size()) != bytes.size()) {
            return Fail(FailureReason(standardOutput_, errno));
        }
        return {};
    }
    Status Finish() {
        if (file_) {
            return file_->Commit();
        }
        errno = 0;
        if (!standardOutput_.flush()) {
            return Fail(FailureReason(standardOutput_, errno));
        }
        return {};
    }
    // Leaves the file that was there as it was.
    void Cancel() {
        if (file_) {
            file_->Cancel();
        }
    }

  private:
    std::unique_ptr<SafeFile> file_;
    QFile standardOutput_;
};

} // namespace

int RunBatch(const QStringList& arguments, Context& context) {
    const QString command = QStringLiteral("batch");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Computes the chart of every line of the input, as the chart command does, in one "
            "process. Input in JSON Lines, one object a line: {\"id\": any, \"mode\": MODE, "
            "\"world\": DATE, \"birth1\": DATE, \"birth2\": DATE, \"worldPlace\": PLACE, "
            "\"birth1Place\": PLACE, \"birth2Place\": PLACE}; or CSV whose header row names "
            "the columns id, mode, world, birth1, birth2, worldPlace, birth1Place and "
            "birth2Place (those the lines need). A PLACE is read as --place reads it: a DATE "
            "with a place and no zone is read in the place's zone, and in the local mean time "
            "of the place while its zone kept local mean time; an ambiguous name is noted once "
            "on standard error, an unknown one is the line's error. Only the dates the mode "
            "uses are needed; a line without a mode takes --mode, then the "
            "mode of --state. Output in JSON Lines: the object of chart --json with \"id\" and "
            "\"line\" added, in input order; or with --format csv one row per aspect. A bad "
            "line gives {\"id\": ..., \"line\": N, \"error\": ...} and the run goes on. Exit "
            "status: 0 when every line gave a chart, 5 when some gave an error, 2 for a bad "
            "option or an input that cannot be read, 4 for a data file that cannot be read or "
            "an output that cannot be written. A DATE of a line may be @ID or @NAME, a chart of "
            "the chart library.\n") +
        ChartOptionsDescription());
    const QCommandLineOption inOption(QStringLiteral("in"),
                                      QStringLiteral("Read FILE instead of standard input."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption outOption(
        QStringLiteral("out"),
        QStringLiteral("Write FILE instead of standard output (replaced whole at the end)."),
        QStringLiteral("FILE"));
    const QCommandLineOption modeOption(
        QStringLiteral("mode"),
        QStringLiteral("The mode of lines that name none: world, natal1, natal2, personal1, "
                       "personal2 or synastry."),
        QStringLiteral("MODE"));
    const QCommandLineOption stateOption(
        QStringLiteral("state"),
        QStringLiteral("Take the configuration (and the mode of lines that name none, without "
                       "--mode) from a state file."),
        QStringLiteral("FILE"));
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("jsonl (the default) or csv: id, line, mode, first, second, aspect, orb, "
                       "motion, error."),
        QStringLiteral("FORMAT"), QStringLiteral("jsonl"));
    const QCommandLineOption zodiacOption = ZodiacOption();
    const QCommandLineOption libraryOption = LibraryOption();
    const QCommandLineOption libraryTagOption(
        QStringLiteral("library-tag"),
        QStringLiteral("Instead of an input, the charts of the chart library with this tag, each "
                       "as the 1st birthdate (the mode natal1 unless --mode or --state gives "
                       "one), its id the chart's id."),
        QStringLiteral("TAG"));
    parser.addOptions({inOption, outOption, modeOption, stateOption, formatOption, zodiacOption,
                       libraryOption, libraryTagOption});
    if (const auto status = ParseCommandLine(
            parser, arguments, command,
            QStringLiteral("Usage: orbivex-cli batch [--in FILE] [--out FILE] [--mode MODE] "
                           "[--state FILE] [--format jsonl|csv] [--zodiac j2000|date] "
                           "[--library FILE] [--library-tag TAG]"),
            context)) {
        return *status;
    }

    const QString format = parser.value(formatOption);
    if (format != QLatin1String("jsonl") && format != QLatin1String("csv")) {
        return CommandUsageError(
            context, command,
            QStringLiteral("unknown format '%1'; write jsonl or csv").arg(format));
    }
    ProgramState base;
    base.zones = MakeTimeZones(TimezoneOffsetMinutes(), base.settings.northAmericanZones);
    std::optional<ChartMode> defaultMode;
    if (parser.isSet(stateOption)) {
        const Status loaded = LoadState(parser.value(stateOption), base);
        if (!loaded) {
            context.err << "orbivex-cli batch: " << loaded.error() << '\n';
            return ExitFailure;
        }
        defaultMode = base.mode;
    }
    if (const Status applied = ApplyZodiacOption(parser, zodiacOption, base.settings.zodiac);
        !applied) {
        return CommandUsageError(context, command, applied.error());
    }
    if (parser.isSet(modeOption)) {
        defaultMode = ModeOfOptionName(parser.value(modeOption));
        if (!defaultMode) {
            return CommandUsageError(context, command,
                                     UnknownModeMessage(parser.value(modeOption)));
        }
    }

    std::optional<QString> outPath;
    if (parser.isSet(outOption)) {
        outPath = parser.value(outOption);
        if (outPath->isEmpty()) {
            return CommandUsageError(context, command, QStringLiteral("--out needs a file name"));
        }
    }
    LibraryDates library(LibraryFileOf(parser, libraryOption));
    QFile input;
    QBuffer taggedInput;
    QIODevice* device = &input;
    if (parser.isSet(libraryTagOption)) {
        if (parser.isSet(inOption)) {
            return CommandUsageError(context, command,
                                     QStringLiteral("--in and --library-tag exclude each other"));
        }
        const LibraryResult<std::unique_ptr<ChartLibrary>> opened = ChartLibrary::Open(
            LibraryFileOf(parser, libraryOption), ChartLibrary::Access::ReadOnly);
        const LibraryResult<QList<LibraryChart>> tagged =
            opened ? (*opened)->Search({{}, parser.value(libraryTagOption), -1})
                   : LibraryResult<QList<LibraryChart>>(Fail(opened.error()));
        if (!tagged) {
            context.err << "orbivex-cli batch: " << tagged.error().message << '\n';
            return ExitFailure;
        }
        QByteArray lines;
        for (const LibraryChart& chart : *tagged) {
            lines += "{\"id\": " + QByteArray::number(chart.id) + ", \"birth1\": \"@" +
                     QByteArray::number(chart.id) + "\"}\n";
        }
        taggedInput.setData(lines);
        taggedInput.open(QIODevice::ReadOnly);
        device = &taggedInput;
        if (!defaultMode) {
            defaultMode = ChartMode::NatalFirst;
        }
    } else if (parser.isSet(inOption)) {
        const QString path = parser.value(inOption);
        if (path.isEmpty()) {
            return CommandUsageError(context, command, QStringLiteral("--in needs a file name"));
        }
        input.setFileName(path);
        // A named pipe is read as it is written; a device or a folder is no input.
        const Status regular = IsNamedPipe(path) ? Status() : NotARegularFile(path);
        if (!regular || !input.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            return CommandUsageError(
                context, command,
                QStringLiteral("%1 cannot be read: %2")
                    .arg(path, regular ? input.errorString() : regular.error()));
        }
    } else if (!input.open(fileno(stdin), QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return CommandUsageError(
            context, command,
            QStringLiteral("standard input cannot be read: %1").arg(input.errorString()));
    }

    ProgramTexts texts;
    Ephemeris ephemeris(context.programFolder);
    if (!LoadProgramTexts(context, texts) || !LoadPlutoTable(context, ephemeris)) {
        return ExitFailure;
    }

    context.out.flush();
    Output output;
    const QString outName = outPath.value_or(QStringLiteral("standard output"));
    const auto failedWrite = [&](const Status& failure) {
        context.err << "orbivex-cli batch: cannot write " << outName << ": " << failure.error()
                    << '\n';
        output.Cancel();
        return ExitFailure;
    };
    if (const Status opened = output.Open(outPath); !opened) {
        return failedWrite(opened);
    }

    PlaceBook placeBook;
    Shared shared{BatchForm::JsonLines,
                  {},
                  format == QLatin1String("csv") ? OutputForm::Csv : OutputForm::JsonLines,
                  defaultMode,
                  texts,
                  library,
                  placeBook};
    if (shared.output == OutputForm::Csv) {
        if (const Status written =
                output.Write("id,line,mode,first,second,aspect,orb,motion,error\n");
            !written) {
            return failedWrite(written);
        }
    }

    LineReader reader(*device);
    std::optional<InputRecord> first = reader.Next();
    if (first && !first->tooLong && first->text.startsWith("\xEF\xBB\xBF")) {
        first->text.remove(0, 3); // the byte order mark that spreadsheets write
    }
    if (first && !first->tooLong) {
        shared.form = FormOfFirstLine(first->text);
        if (shared.form == BatchForm::Csv && BrokenFirstJsonLine(reader, first->text)) {
            shared.form = BatchForm::JsonLines; // the first line gets its error record
        }
    }
    if (first && shared.form == BatchForm::Csv) {
        // The header row, which may itself hold quoted line breaks.
        CompleteCsvRecord(reader, *first, 0);
        const Expected<std::optional<QStringList>> fields =
            SplitCsvRecord(QString::fromUtf8(first->text));
        Expected<CsvColumns> columns = Fail(QStringLiteral("the CSV header is not closed"));
        if (!fields) {
            columns = Fail(fields.error());
        } else if (*fields) {
            columns = ReadCsvHeader(**fields);
        }
        if (!columns) {
            return CommandUsageError(context, command, columns.error());
        }
        shared.columns = *columns;
        first.reset();
    }

    std::size_t numWorkers = std::max(1U, std::thread::hardware_concurrency());
    if (!EphemerisStateIsPerThread()) {
        numWorkers = 1;
    }
    std::vector<std::unique_ptr<Worker>> workers;
    for (std::size_t index = 0; index < numWorkers; ++index) {
        workers.push_back(std::make_unique<Worker>(shared, base));
    }

    qint64 lines = 0;
    qint64 charts = 0;
    QSet<QString> notesGiven;
    bool anyFailed = false;
    Progress progress;
    {
        Crew crew(workers, ephemeris);
        std::vector<Item> block;
        block.reserve(BlockRecords);
        std::vector<std::size_t> order;
        for (;;) {
            block.clear();
            if (first) {
                block.push_back({std::move(*first), {}, {}, {}, false, {}});
                first.reset();
            }
            while (block.size() < BlockRecords) {
                std::optional<InputRecord> record = NextRecord(reader, shared);
                if (!record) {
                    break;
                }
                block.push_back({std::move(*record), {}, {}, {}, false, {}});
            }
            if (block.empty()) {
                break;
            }
            order.resize(block.size());
            std::iota(order.begin(), order.end(), std::size_t{0});
            crew.Run(block, order, Round::Parse);
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return block[a].dateKey < block[b].dateKey;
            });
            crew.Run(block, order, Round::Chart);
            for (const Item& item : block) {
                if (const Status written = output.Write(item.output); !written) {
                    return failedWrite(written);
                }
                for (const QString& note : item.notes) {
                    // Each ambiguous name once, at the first line that gives it.
                    if (!notesGiven.contains(note)) {
                        notesGiven.insert(note);
                        context.err << "orbivex-cli batch: line " << item.record.line << ": "
                                    << note << '\n';
                    }
                }
                anyFailed = anyFailed || item.failed;
                charts += item.failed ? 0 : 1;
            }
            lines = block.back().record.line;
            progress.Update(context.err, lines, charts);
        }
    }
    progress.Update(context.err, lines, charts, true);

    if (!reader.Error().isEmpty()) {
        output.Cancel();
        context.err << "orbivex-cli batch: the input cannot be read: " << reader.Error() << '\n';
        return ExitUsage;
    }
    if (const Status finished = output.Finish(); !finished) {
        return failedWrite(finished);
    }
    if (std::any_of(workers.begin(), workers.end(),
                    [](const auto& worker) { return worker->UsedBuiltInTheory(); })) {
        context.err << "orbivex-cli: warning: the ephemeris files were not found; positions "
                       "come from the less precise built-in theory.\n";
    }
    return anyFailed ? ExitLineErrors : ExitSuccess;
}

} // namespace orbivex::cli
