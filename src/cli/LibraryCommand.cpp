// orbivex-cli library: the chart library, from the command line.
#include "calendar/DateInput.h"
#include "cli/BatchInput.h"
#include "cli/CliDates.h"
#include "cli/CliPlaces.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "cli/LibraryDates.h"
#include "present/Messages.h"
#include "support/ProgramTexts.h"
#include "support/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <utility>

namespace orbivex::cli {

namespace {

const QString kCommand = QStringLiteral("library");

enum class Form { Csv, JsonLines };

// The columns of CSV files, in the order export writes them; import reads them by name.
const QStringList kCsvColumns = {QStringLiteral("id"),
                                 QStringLiteral("name"),
                                 QStringLiteral("date"),
                                 QStringLiteral("zone"),
                                 QStringLiteral("calendar"),
                                 QStringLiteral("place"),
                                 QStringLiteral("rating"),
                                 QStringLiteral("tags"),
                                 QStringLiteral("notes"),
                                 QStringLiteral("placeRegion"),
                                 QStringLiteral("placeCountry"),
                                 QStringLiteral("placeCountryCode"),
                                 QStringLiteral("placeZone"),
                                 QStringLiteral("placeLatitude"),
                                 QStringLiteral("placeLongitude"),
                                 QStringLiteral("placePopulation")};

struct Options {
    QCommandLineOption library = LibraryOption();
    QCommandLineOption name{QStringLiteral("name"), QStringLiteral("add, edit: the name."),
                            QStringLiteral("NAME")};
    QCommandLineOption date{
        QStringLiteral("date"),
        QStringLiteral("add, edit: the date, YYYY-MM-DD[ HH:MM][ ZONE]; without a time the "
                       "chart is computed at 12:00, without a zone in the computer's zone."),
        QStringLiteral("DATE")};
    QCommandLineOption calendar = CalendarOption();
    QCommandLineOption place{
        QStringLiteral("place"),
        QStringLiteral("add, edit: the place: %1, or a place of one's own kept under a name "
                       "(\"NAME=46.2N 6.1E Europe/Zurich\") and chosen again by that name; \"\" "
                       "for none. A date without a zone is read in the place's zone, and in the "
                       "local mean time of the place while its zone kept local mean time.")
            .arg(PlaceFormsText()),
        QStringLiteral("PLACE")};
    QCommandLineOption rating{
        QStringLiteral("rating"),
        QStringLiteral("add, edit: the data rating of the time: AA, A, B, C, DD, X, XX, or "
                       "\"\" for none."),
        QStringLiteral("R")};
    QCommandLineOption tags{QStringLiteral("tags"),
                            QStringLiteral("add, edit: the tags, separated by commas (\"\" for "
                                           "none)."),
                            QStringLiteral("a,b")};
    QCommandLineOption notes{QStringLiteral("notes"), QStringLiteral("add, edit: notes."),
                             QStringLiteral("TEXT")};
    QCommandLineOption search{
        QStringLiteral("search"),
        QStringLiteral("list: only charts that have, for each word of TEXT, a word of the name "
                       "or a tag beginning with it (any case)."),
        QStringLiteral("TEXT")};
    QCommandLineOption tag{QStringLiteral("tag"),
                           QStringLiteral("list, export: only charts with this tag (any case)."),
                           QStringLiteral("TAG")};
    QCommandLineOption json{QStringLiteral("json"),
                            QStringLiteral("list, show: write JSON (orbivex.library.v1).")};
    QCommandLineOption format{
        QStringLiteral("format"),
        QStringLiteral("import, export: csv or jsonl (import: told by the file's first line "
                       "when not given; export: csv unless FILE ends in .jsonl)."),
        QStringLiteral("FORMAT")};
    QCommandLineOption out{QStringLiteral("out"),
                           QStringLiteral("export: write FILE (replaced whole) instead of "
                                          "standard output."),
                           QStringLiteral("FILE")};
};

int Usage(Context& context, const QString& message) {
    return CommandUsageError(context, kCommand, message);
}

int LibraryFailure(Context& context, const QString& message) {
    context.err << "orbivex-cli library: " << message << '\n';
    return ExitFailure;
}

// The exit status for a reference to a chart that names none, after saying why.
int ReferenceFailure(Context& context, const DateReadFailure& failure) {
    return failure.status == ExitUsage ? Usage(context, failure.message)
                                       : LibraryFailure(context, failure.message);
}

// The options each action takes besides --library.
QList<const QCommandLineOption*> OptionsOf(const Options& options, const QString& action) {
    if (action == QLatin1String("add") || action == QLatin1String("edit")) {
        return {&options.name,   &options.date, &options.calendar, &options.place,
                &options.rating, &options.tags, &options.notes};
    }
    if (action == QLatin1String("list")) {
        return {&options.search, &options.tag, &options.json};
    }
    if (action == QLatin1String("show")) {
        return {&options.json};
    }
    if (action == QLatin1String("import")) {
        return {&options.format};
    }
    if (action == QLatin1String("export")) {
        return {&options.tag, &options.format, &options.out};
    }
    return {};
}

QStringList TagsOfText(const QString& text) {
    return NormalisedTags(text.split(QLatin1Char(',')));
}

// The changes of --name ... --notes to a chart; a usage error's message.
Status ApplyChartOptions(const QCommandLineParser& parser, const Options& options,
                         LibraryChart& chart) {
    CalendarChoice calendar = chart.subject.calendar;
    if (parser.isSet(options.calendar)) {
        const std::optional<CalendarChoice> named = CalendarOfName(parser.value(options.calendar));
        if (!named) {
            return Fail(QStringLiteral("--calendar takes gregorian, julian or auto, not '%1'.")
                            .arg(parser.value(options.calendar)));
        }
        calendar = *named;
    }
    if (parser.isSet(options.date)) {
        const Expected<ChartSubject> subject =
            SubjectOfDateText(parser.value(options.date), calendar);
        if (!subject) {
            return Fail(subject.error());
        }
        chart.subject.year = subject->year;
        chart.subject.month = subject->month;
        chart.subject.day = subject->day;
        chart.subject.minute = subject->minute;
        chart.subject.zone = subject->zone;
    }
    chart.subject.calendar = calendar;
    if (parser.isSet(options.name)) {
        chart.subject.name = parser.value(options.name).trimmed();
        if (chart.subject.name.isEmpty()) {
            return Fail(QStringLiteral("--name must not be blank."));
        }
    }
    if (parser.isSet(options.rating)) {
        const std::optional<QString> rating = DataRatingOfText(parser.value(options.rating));
        if (!rating) {
            return Fail(
                QStringLiteral("--rating takes %1 or \"\", not '%2'.")
                    .arg(DataRatings().join(QStringLiteral(", ")), parser.value(options.rating)));
        }
        chart.rating = *rating;
    }
    if (parser.isSet(options.tags)) {
        chart.tags = TagsOfText(parser.value(options.tags));
    }
    if (parser.isSet(options.notes)) {
        chart.notes = parser.value(options.notes);
    }
    return {};
}

// The message of a chart whose date does not convert, as the window words it; "" when it does.
QString DateProblem(const LibraryChart& chart, const TimeZones& zones, const ProgramTexts& texts) {
    const Expected<Instant, DateError> instant = InstantOfLibraryChart(chart, zones);
    return instant ? QString() : ReportDateError(texts, FirstBirthdate, instant.error()).message;
}

// --place: the chart's place, found among the library's own places, in the atlas, or written
// as coordinates. A place given a name of one's own comes back in `toKeep`. A date without a
// zone is then read at the place. The message of a usage error when the place is found nowhere.
Status ApplyPlace(Context& context, ChartLibrary& library, const QString& text, LibraryChart& chart,
                  std::optional<Place>& toKeep) {
    if (text.trimmed().isEmpty()) {
        chart.place.reset();
        chart.subject.place.clear();
        return {};
    }
    const LibraryResult<std::optional<Place>> own = library.FindOwnPlace(text);
    if (!own) {
        return Fail(own.error().message);
    }
    DatePlace read{own->value_or(Place{}), false};
    if (!*own) {
        const Atlas atlas;
        // Coordinates without a zone take the zone of the date as theirs.
        Expected<DatePlace, QString> found =
            ReadPlace(context, kCommand, atlas, text, chart.subject.zone.trimmed());
        if (!found) {
            return Fail(found.error() + QStringLiteral(" A place of one's own is written "
                                                       "NAME=LATITUDE LONGITUDE ZONE."));
        }
        read = *found;
        if (IsOwnPlace(read.place) && text.contains(QLatin1Char('='))) {
            toKeep = read.place;
        }
    }
    if (read.zoneOfPlace) {
        chart.subject.zone.clear(); // the zone typed is the place's own
    }
    chart.place = read.place;
    chart.subject.place = read.place.name;
    return {};
}

TimeZones ComputerZones() {
    return MakeTimeZones(TimezoneOffsetMinutes(), false);
}

int AddOrEdit(const QCommandLineParser& parser, const Options& options, ChartLibrary& library,
              const QStringList& positional, Context& context) {
    const bool adding = positional.first() == QLatin1String("add");
    LibraryChart chart;
    if (adding) {
        if (positional.size() != 1) {
            return Usage(context, QStringLiteral("add takes no argument but its options"));
        }
        if (!parser.isSet(options.name) || !parser.isSet(options.date)) {
            return Usage(context, QStringLiteral("add needs --name and --date"));
        }
    } else {
        if (positional.size() != 2) {
            return Usage(context, QStringLiteral("edit takes the ID of one chart"));
        }
        const Expected<LibraryChart, DateReadFailure> found =
            ChartOfReference(library, positional[1]);
        if (!found) {
            return ReferenceFailure(context, found.error());
        }
        chart = *found;
    }
    if (const Status applied = ApplyChartOptions(parser, options, chart); !applied) {
        return Usage(context, applied.error());
    }
    std::optional<Place> toKeep;
    if (parser.isSet(options.place)) {
        if (const Status applied =
                ApplyPlace(context, library, parser.value(options.place), chart, toKeep);
            !applied) {
            return Usage(context, QStringLiteral("--place: ") + applied.error());
        }
    }
    ProgramTexts texts;
    if (!LoadProgramTexts(context, texts)) {
        return ExitFailure;
    }
    if (const QString problem = DateProblem(chart, ComputerZones(), texts); !problem.isEmpty()) {
        context.err << ForTerminal(problem) << '\n';
        return ExitDateError;
    }
    if (const std::optional<int> offset = PlaceMeanTimeOffset(DateSetOfLibraryChart(chart))) {
        context.err << "orbivex-cli library: " << MeanTimeNote(*chart.place, *offset) << ".\n";
    }
    if (adding) {
        const LibraryResult<qint64> id = library.Add(chart);
        if (!id) {
            return LibraryFailure(context, id.error().message);
        }
        context.out << *id << '\n';
    } else if (const LibraryResult<bool> updated = library.Update(chart); !updated) {
        return LibraryFailure(context, updated.error().message);
    }
    if (toKeep) {
        if (const LibraryResult<bool> kept = library.KeepOwnPlace(*toKeep); !kept) {
            return LibraryFailure(context, kept.error().message);
        }
    }
    return ExitSuccess;
}

void PrintChartLine(QTextStream& out, const LibraryChart& chart) {
    out << chart.id << '\t' << chart.subject.name << '\t' << SubjectDateZoneText(chart.subject)
        << '\t' << chart.rating << '\t' << chart.tags.join(QLatin1Char(',')) << '\n';
}

QJsonObject LibraryDocument(const QList<LibraryChart>& charts) {
    const TimeZones zones = ComputerZones();
    QJsonArray entries;
    for (const LibraryChart& chart : charts) {
        entries.append(LibraryChartJson(chart, zones));
    }
    return {{QStringLiteral("format"), QStringLiteral("orbivex.library.v1")},
            {QStringLiteral("charts"), entries}};
}

int List(const QCommandLineParser& parser, const Options& options, ChartLibrary& library,
         const QStringList& positional, Context& context) {
    if (positional.size() != 1) {
        return Usage(context, QStringLiteral("list takes no argument but its options"));
    }
    const LibraryResult<QList<LibraryChart>> charts =
        library.Search({parser.value(options.search), parser.value(options.tag), -1});
    if (!charts) {
        return LibraryFailure(context, charts.error().message);
    }
    if (parser.isSet(options.json)) {
        WriteJson(context.out, LibraryDocument(*charts));
    } else {
        for (const LibraryChart& chart : *charts) {
            PrintChartLine(context.out, chart);
        }
    }
    return ExitSuccess;
}

int Show(const QCommandLineParser& parser, const Options& options, ChartLibrary& library,
         const QStringList& positional, Context& context) {
    if (positional.size() != 2) {
        return Usage(context, QStringLiteral("show takes the ID or the NAME of one chart"));
    }
    const Expected<LibraryChart, DateReadFailure> chart = ChartOfReference(library, positional[1]);
    if (!chart) {
        return ReferenceFailure(context, chart.error());
    }
    if (parser.isSet(options.json)) {
        WriteJson(context.out, LibraryDocument({*chart}));
        return ExitSuccess;
    }
    const ChartSubject& subject = chart->subject;
    const Expected<Instant, DateError> instant = InstantOfLibraryChart(*chart, ComputerZones());
    const bool atPlace = chart->place && subject.zone.trimmed().isEmpty();
    const std::optional<int> meanTime = PlaceMeanTimeOffset(DateSetOfLibraryChart(*chart));
    context.out
        << "Id:         " << chart->id << '\n'
        << "Name:       " << subject.name << '\n'
        << "Date:       " << SubjectDateText(subject) << '\n'
        << "Zone:       "
        << (atPlace ? chart->place->zone + QStringLiteral(", the place's") : subject.zone)
        << (meanTime
                ? QStringLiteral(" (local mean time of the place, UT%1)").arg(OffsetText(*meanTime))
                : QString())
        << '\n'
        << "Calendar:   " << CalendarName(subject.calendar) << '\n'
        << "Place:      "
        << (chart->place ? PlaceLine(*chart->place) + QStringLiteral(", %1, %2")
                                                          .arg(chart->place->latitude, 0, 'f', 4)
                                                          .arg(chart->place->longitude, 0, 'f', 4)
                         : subject.place)
        << '\n'
        << "Rating:     " << chart->rating << '\n'
        << "Tags:       " << chart->tags.join(QStringLiteral(", ")) << '\n'
        << "Notes:      " << chart->notes << '\n'
        << "Julian day: " << (instant ? QString::number(instant->julianDay, 'f', 6) : QString())
        << '\n'
        << "Created:    " << chart->created.toString(Qt::ISODate) << '\n'
        << "Changed:    " << chart->changed.toString(Qt::ISODate) << '\n';
    return ExitSuccess;
}

int Remove(ChartLibrary& library, const QStringList& positional, Context& context) {
    if (positional.size() != 2) {
        return Usage(context, QStringLiteral("remove takes the ID of one chart"));
    }
    const Expected<LibraryChart, DateReadFailure> chart = ChartOfReference(library, positional[1]);
    if (!chart) {
        return ReferenceFailure(context, chart.error());
    }
    const LibraryResult<bool> removed = library.Remove(chart->id);
    if (!removed) {
        return LibraryFailure(context, removed.error().message);
    }
    return ExitSuccess;
}

std::optional<Form> FormOfName(const QString& name) {
    if (name == QLatin1String("csv")) {
        return Form::Csv;
    }
    if (name == QLatin1String("jsonl")) {
        return Form::JsonLines;
    }
    return std::nullopt;
}

// The fields of an imported row by column name.
struct ImportRow {
    qint64 line = 0;
    QString name, date, zone, calendar, place, rating, notes;
    QStringList tags;
    // The place whole, when the row gives its zone and coordinates.
    QString placeRegion, placeCountry, placeCountryCode, placeZone, latitude, longitude, population;
};

Expected<ImportRow> RowOfJson(const QByteArray& text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (!document.isObject()) {
        return Fail(error.error != QJsonParseError::NoError
                        ? QStringLiteral("not JSON: %1").arg(error.errorString())
                        : QStringLiteral("not a JSON object"));
    }
    const QJsonObject object = document.object();
    ImportRow row;
    for (const auto& [key, field] :
         {std::pair{"name", &row.name}, std::pair{"date", &row.date}, std::pair{"zone", &row.zone},
          std::pair{"calendar", &row.calendar}, std::pair{"place", &row.place},
          std::pair{"rating", &row.rating}, std::pair{"notes", &row.notes}}) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isUndefined() && !value.isNull() && !value.isString()) {
            return Fail(QStringLiteral("\"%1\" must be a text").arg(QLatin1String(key)));
        }
        *field = value.toString();
    }
    const QJsonValue details = object.value(QStringLiteral("placeDetails"));
    if (details.isObject()) {
        const QJsonObject place = details.toObject();
        const auto part = [&](const char* key) {
            const QJsonValue value = place.value(QLatin1String(key));
            return value.isDouble() ? QString::number(value.toDouble(), 'g', 17) : value.toString();
        };
        row.placeRegion = part("region");
        row.placeCountry = part("country");
        row.placeCountryCode = part("countryCode");
        row.placeZone = part("zone");
        row.latitude = part("latitude");
        row.longitude = part("longitude");
        row.population = part("population");
    } else if (!details.isUndefined() && !details.isNull()) {
        return Fail(QStringLiteral("\"placeDetails\" must be an object"));
    }
    const QJsonValue tags = object.value(QStringLiteral("tags"));
    if (tags.isArray()) {
        for (const QJsonValue& tag : tags.toArray()) {
            if (!tag.isString()) {
                return Fail(QStringLiteral("\"tags\" must hold texts"));
            }
            row.tags.append(tag.toString());
        }
    } else if (tags.isString()) {
        row.tags = tags.toString().split(QLatin1Char(','));
    } else if (!tags.isUndefined() && !tags.isNull()) {
        return Fail(QStringLiteral("\"tags\" must be a list of texts"));
    }
    return row;
}

// The chart of a row, or why it is none.
Expected<LibraryChart> ChartOfRow(const ImportRow& row, const TimeZones& zones,
                                  const ProgramTexts& texts) {
    LibraryChart chart;
    if (row.name.trimmed().isEmpty()) {
        return Fail(QStringLiteral("the name is missing"));
    }
    const std::optional<CalendarChoice> calendar = row.calendar.trimmed().isEmpty()
                                                       ? CalendarChoice::Gregorian
                                                       : CalendarOfName(row.calendar.trimmed());
    if (!calendar) {
        return Fail(
            QStringLiteral("'%1' is not a calendar (gregorian, julian or auto)").arg(row.calendar));
    }
    if (row.date.trimmed().isEmpty()) {
        return Fail(QStringLiteral("the date is missing"));
    }
    const QString dateText = row.zone.trimmed().isEmpty()
                                 ? row.date
                                 : row.date.trimmed() + QLatin1Char(' ') + row.zone.trimmed();
    const Expected<ChartSubject> subject = SubjectOfDateText(dateText, *calendar);
    if (!subject) {
        return Fail(subject.error());
    }
    chart.subject = *subject;
    chart.subject.name = row.name.trimmed();
    chart.subject.place = row.place.trimmed();
    if (!row.placeZone.trimmed().isEmpty() || !row.latitude.trimmed().isEmpty() ||
        !row.longitude.trimmed().isEmpty()) {
        bool latitudeRead = false;
        bool longitudeRead = false;
        Place place{chart.subject.place,
                    row.placeRegion.trimmed(),
                    row.placeCountry.trimmed(),
                    row.placeCountryCode.trimmed(),
                    ZoneNameAsListed(row.placeZone.trimmed()),
                    row.latitude.trimmed().toDouble(&latitudeRead),
                    row.longitude.trimmed().toDouble(&longitudeRead),
                    row.population.trimmed().toLongLong()};
        if (place.name.isEmpty() || place.zone.isEmpty() || !latitudeRead || !longitudeRead ||
            std::abs(place.latitude) > 90 || std::abs(place.longitude) > 180) {
            return Fail(QStringLiteral("the place needs its name, a zone of the time-zone "
                                       "database, a latitude within 90 and a longitude within "
                                       "180 degrees"));
        }
        chart.place = place;
    }
    if (const QString problem = DateProblem(chart, zones, texts); !problem.isEmpty()) {
        return Fail(ForTerminal(problem).simplified());
    }
    const std::optional<QString> rating = DataRatingOfText(row.rating);
    if (!rating) {
        return Fail(QStringLiteral("'%1' is not a data rating (%2, or empty)")
                        .arg(row.rating, DataRatings().join(QStringLiteral(", "))));
    }
    chart.rating = *rating;
    chart.tags = NormalisedTags(row.tags);
    chart.notes = row.notes;
    return chart;
}

int Import(const QCommandLineParser& parser, const Options& options, ChartLibrary& library,
           const QStringList& positional, Context& context) {
    if (positional.size() != 2) {
        return Usage(context, QStringLiteral("import takes the FILE to read"));
    }
    std::optional<Form> form;
    if (parser.isSet(options.format)) {
        form = FormOfName(parser.value(options.format));
        if (!form) {
            return Usage(context, QStringLiteral("--format takes csv or jsonl, not '%1'")
                                      .arg(parser.value(options.format)));
        }
    }
    const QString path = positional[1];
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        return LibraryFailure(context, QStringLiteral("%1 cannot be read: %2")
                                           .arg(path, QFileInfo(path).isDir()
                                                          ? QStringLiteral("it is a folder")
                                                          : file.errorString()));
    }
    ProgramTexts texts;
    if (!LoadProgramTexts(context, texts)) {
        return ExitFailure;
    }
    const TimeZones zones = ComputerZones();
    // The whole file is read before anything is stored, so that a file that cannot be read to
    // its end adds nothing.
    LineReader reader(file);
    QList<LibraryChart> charts;
    QStringList problems;
    QHash<QString, int> columns;
    qsizetype columnCount = 0;
    bool firstLine = true;
    while (std::optional<InputRecord> record = reader.Next()) {
        if (std::exchange(firstLine, false) && record->text.startsWith("\xEF\xBB\xBF")) {
            record->text.remove(0, 3); // the byte order mark that spreadsheets write
        }
        if (record->tooLong) {
            problems.append(
                QStringLiteral("%1:%2: the line is too long").arg(path).arg(record->line));
            continue;
        }
        if (!form) {
            form =
                FormOfFirstLine(record->text) == BatchForm::JsonLines ? Form::JsonLines : Form::Csv;
        }
        Expected<ImportRow> row = Fail(QString());
        if (*form == Form::JsonLines) {
            row = RowOfJson(record->text);
        } else {
            // A quoted field may go on over line breaks.
            QString text = QString::fromUtf8(record->text);
            Expected<std::optional<QStringList>> fields = SplitCsvRecord(text);
            while (fields && !*fields) {
                const std::optional<InputRecord> more = reader.NextPhysical();
                if (!more) {
                    break;
                }
                text += QLatin1Char('\n') + QString::fromUtf8(more->text);
                fields = SplitCsvRecord(text);
            }
            if (!fields) {
                row = Fail(fields.error());
            } else if (!*fields) {
                row = Fail(QStringLiteral("a quoted field is not closed"));
            } else if (columns.isEmpty()) {
                for (qsizetype index = 0; index < (*fields)->size(); ++index) {
                    columns.insert((*fields)->at(index).trimmed().toLower(),
                                   static_cast<int>(index));
                }
                columnCount = (*fields)->size();
                if (!columns.contains(QStringLiteral("name")) ||
                    !columns.contains(QStringLiteral("date"))) {
                    return LibraryFailure(
                        context, QStringLiteral("%1:%2: the header row must name the columns "
                                                "name and date (and may name zone, calendar, "
                                                "place, rating, tags, notes)")
                                     .arg(path)
                                     .arg(record->line));
                }
                continue;
            } else {
                const QStringList& values = **fields;
                const auto field = [&](const char* name) {
                    const int index = columns.value(QLatin1String(name), -1);
                    return index >= 0 && index < values.size() ? values[index] : QString();
                };
                ImportRow read;
                read.name = field("name");
                read.date = field("date");
                read.zone = field("zone");
                read.calendar = field("calendar");
                read.place = field("place");
                read.rating = field("rating");
                read.notes = field("notes");
                read.tags = field("tags").split(QLatin1Char(','));
                read.placeRegion = field("placeregion");
                read.placeCountry = field("placecountry");
                read.placeCountryCode = field("placecountrycode");
                read.placeZone = field("placezone");
                read.latitude = field("placelatitude");
                read.longitude = field("placelongitude");
                read.population = field("placepopulation");
                row = values.size() == columnCount
                          ? Expected<ImportRow>(read)
                          : Fail(QStringLiteral("%1 fields where the header has %2")
                                     .arg(values.size())
                                     .arg(columnCount));
            }
        }
        Expected<LibraryChart> chart =
            row ? ChartOfRow(*row, zones, texts) : Expected<LibraryChart>(Fail(row.error()));
        if (!chart) {
            problems.append(
                QStringLiteral("%1:%2: %3").arg(path).arg(record->line).arg(chart.error()));
            continue;
        }
        charts.append(*chart);
    }
    if (!reader.Error().isEmpty()) {
        return LibraryFailure(context, QStringLiteral("%1 cannot be read: %2; nothing was "
                                                      "imported")
                                           .arg(path, reader.Error()));
    }
    if (!charts.isEmpty()) {
        const LibraryResult<QList<qint64>> added = library.AddAll(charts);
        if (!added) {
            return LibraryFailure(context, added.error().message + QStringLiteral(" Nothing was "
                                                                                  "imported."));
        }
        // A place of one's own that came with a chart can be chosen by its name again, unless
        // the library already keeps a place of that name.
        for (const LibraryChart& chart : charts) {
            QString notCoordinates;
            if (!chart.place || !IsOwnPlace(*chart.place) ||
                OwnPlaceOfText(chart.place->name, {}, notCoordinates) ||
                !notCoordinates.isEmpty()) {
                continue;
            }
            const LibraryResult<std::optional<Place>> known =
                library.FindOwnPlace(chart.place->name);
            const LibraryResult<bool> kept =
                known && !*known ? library.KeepOwnPlace(*chart.place) : LibraryResult<bool>(true);
            if (!known || !kept) {
                return LibraryFailure(context, (known ? kept.error() : known.error()).message);
            }
        }
    }
    for (const QString& problem : problems) {
        context.err << problem << '\n';
    }
    context.out << "Imported " << charts.size() << (charts.size() == 1 ? " chart" : " charts");
    if (!problems.isEmpty()) {
        context.out << "; " << problems.size() << (problems.size() == 1 ? " row was" : " rows were")
                    << " left out";
    }
    context.out << ".\n";
    return problems.isEmpty() ? ExitSuccess : ExitLineErrors;
}

int Export(const QCommandLineParser& parser, const Options& options, ChartLibrary& library,
           const QStringList& positional, Context& context) {
    if (positional.size() != 1) {
        return Usage(context, QStringLiteral("export takes no argument but its options"));
    }
    Form form = parser.value(options.out).endsWith(QLatin1String(".jsonl"), Qt::CaseInsensitive)
                    ? Form::JsonLines
                    : Form::Csv;
    if (parser.isSet(options.format)) {
        const std::optional<Form> named = FormOfName(parser.value(options.format));
        if (!named) {
            return Usage(context, QStringLiteral("--format takes csv or jsonl, not '%1'")
                                      .arg(parser.value(options.format)));
        }
        form = *named;
    }
    const LibraryResult<QList<LibraryChart>> charts =
        library.Search({{}, parser.value(options.tag), -1});
    if (!charts) {
        return LibraryFailure(context, charts.error().message);
    }
    QByteArray text;
    const TimeZones zones = ComputerZones();
    if (form == Form::Csv) {
        text += kCsvColumns.join(QLatin1Char(',')).toUtf8() + '\n';
    }
    for (const LibraryChart& chart : *charts) {
        if (form == Form::JsonLines) {
            text +=
                QJsonDocument(LibraryChartJson(chart, zones)).toJson(QJsonDocument::Compact) + '\n';
            continue;
        }
        const ChartSubject& subject = chart.subject;
        const Place place = chart.place.value_or(Place{});
        const auto number = [&](double value) {
            return chart.place ? QString::number(value, 'g', 17) : QString();
        };
        const QStringList fields = {QString::number(chart.id),
                                    subject.name,
                                    SubjectDateText(subject),
                                    subject.zone,
                                    CalendarName(subject.calendar),
                                    subject.place,
                                    chart.rating,
                                    chart.tags.join(QLatin1Char(',')),
                                    chart.notes,
                                    place.region,
                                    place.country,
                                    place.countryCode,
                                    place.zone,
                                    number(place.latitude),
                                    number(place.longitude),
                                    chart.place ? QString::number(place.population) : QString()};
        QStringList written;
        for (const QString& field : fields) {
            written.append(CsvField(field));
        }
        text += written.join(QLatin1Char(',')).toUtf8() + '\n';
    }
    if (!parser.isSet(options.out)) {
        context.out << QString::fromUtf8(text);
        context.out.flush();
        if (context.out.status() != QTextStream::Ok) {
            return LibraryFailure(context, QStringLiteral("standard output cannot be written"));
        }
        return ExitSuccess;
    }
    const QString path = parser.value(options.out);
    if (const Status written = WriteFileWhole(path, text); !written) {
        return LibraryFailure(
            context, QStringLiteral("%1 cannot be written: %2").arg(path, written.error()));
    }
    return ExitSuccess;
}

} // namespace

int RunLibrary(const QStringList& arguments, Context& context) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Keeps the charts of people and events in a library (an SQLite file):\n"
        "  add --name NAME --date DATE [...]   adds a chart and prints its id\n"
        "  list [--search TEXT] [--tag TAG] [--json]\n"
        "  show ID|NAME [--json]\n"
        "  edit ID [the options of add]        changes what the options give\n"
        "  remove ID\n"
        "  import FILE [--format csv|jsonl]    columns or keys: name, date, zone, calendar,\n"
        "                                      place, rating, tags, notes (and the place's\n"
        "                                      details, as export writes them); bad rows\n"
        "                                      are reported and left out (exit status 5)\n"
        "  export [--tag TAG] [--format csv|jsonl] [--out FILE]\n"
        "Every command's DATE also takes @ID or @NAME: that chart of the library."));
    const Options options;
    parser.addOptions({options.library, options.name, options.date, options.calendar, options.place,
                       options.rating, options.tags, options.notes, options.search, options.tag,
                       options.json, options.format, options.out});
    parser.addPositionalArgument(QStringLiteral("ACTION"),
                                 QStringLiteral("add, list, show, edit, remove, import or "
                                                "export."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        return Usage(context, parser.errorText());
    }
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(0, help.indexOf(QLatin1Char('\n')),
                     QStringLiteral("Usage: orbivex-cli library ACTION [ID|NAME|FILE] "
                                    "[--library FILE] [OPTIONS]"));
        context.out << help;
        return ExitSuccess;
    }
    const QStringList positional = parser.positionalArguments();
    static const QStringList actions = {QStringLiteral("add"),    QStringLiteral("list"),
                                        QStringLiteral("show"),   QStringLiteral("edit"),
                                        QStringLiteral("remove"), QStringLiteral("import"),
                                        QStringLiteral("export")};
    if (positional.isEmpty() || !actions.contains(positional.first())) {
        return Usage(
            context,
            positional.isEmpty()
                ? QStringLiteral("name an action: %1").arg(actions.join(QStringLiteral(", ")))
                : QStringLiteral("unknown action '%1'; write %2")
                      .arg(positional.first(), actions.join(QStringLiteral(", "))));
    }
    const QString action = positional.first();
    const QList<const QCommandLineOption*> allowed = OptionsOf(options, action);
    for (const QString& name : parser.optionNames()) {
        const bool ok =
            name == QLatin1String("library") ||
            std::any_of(allowed.begin(), allowed.end(), [&](const QCommandLineOption* option) {
                return option->names().contains(name);
            });
        if (!ok) {
            return Usage(context, QStringLiteral("--%1 does not apply to %2").arg(name, action));
        }
    }
    const bool reads = action == QLatin1String("list") || action == QLatin1String("show") ||
                       action == QLatin1String("export");
    const LibraryResult<std::unique_ptr<ChartLibrary>> library = ChartLibrary::Open(
        LibraryFileOf(parser, options.library),
        reads ? ChartLibrary::Access::ReadOnly : ChartLibrary::Access::ReadWrite);
    if (!library) {
        return LibraryFailure(context, library.error().message);
    }
    if (action == QLatin1String("add") || action == QLatin1String("edit")) {
        return AddOrEdit(parser, options, **library, positional, context);
    }
    if (action == QLatin1String("list")) {
        return List(parser, options, **library, positional, context);
    }
    if (action == QLatin1String("show")) {
        return Show(parser, options, **library, positional, context);
    }
    if (action == QLatin1String("remove")) {
        return Remove(**library, positional, context);
    }
    if (action == QLatin1String("import")) {
        return Import(parser, options, **library, positional, context);
    }
    return Export(parser, options, **library, positional, context);
}

} // namespace orbivex::cli
