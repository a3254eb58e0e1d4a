#include "cli/LibraryDates.h"

#include "cli/CliDates.h"
#include "cli/CliPlaces.h"

#include <QDir>
#include <QJsonArray>
#include <QRegularExpression>

namespace orbivex::cli {

QCommandLineOption LibraryOption() {
    return QCommandLineOption(
        QStringLiteral("library"),
        QStringLiteral("The chart library file (default: %1 in the user's data folder), where "
                       "@ID and @NAME dates come from.")
            .arg(QLatin1String(kChartLibraryFileName)),
        QStringLiteral("FILE"));
}

QString LibraryFileOf(const QCommandLineParser& parser, const QCommandLineOption& option) {
    return parser.isSet(option) ? parser.value(option) : DefaultChartLibraryFile();
}

Expected<ChartSubject> SubjectOfDateText(const QString& text, CalendarChoice calendar) {
    DateSet dateSet;
    dateSet.calendar = calendar;
    if (const Status read = ReadDateText(text, dateSet); !read) {
        return Fail(read.error());
    }
    ChartSubject subject = SubjectOfDateSet(dateSet);
    // A year before 1 reads as year 0, which the conversion refuses as the window does.
    if (ZoneChosen(dateSet)) {
        // The zone is the last word of the text; kept as typed ("+05:30", "EST/CDT").
        static const QRegularExpression space(QStringLiteral("\\s+"));
        subject.zone = text.trimmed().split(space).last();
    }
    return subject;
}

Expected<LibraryChart, DateReadFailure> ChartOfReference(ChartLibrary& library,
                                                         const QString& reference) {
    QString key = reference.trimmed();
    if (key.startsWith(QLatin1Char('@'))) {
        key.remove(0, 1);
        key = key.trimmed();
    }
    if (key.isEmpty()) {
        return Fail(DateReadFailure{
            QStringLiteral("'%1' names no chart: write @ID or @NAME.").arg(reference)});
    }
    bool isNumber = false;
    const qint64 id = key.toLongLong(&isNumber);
    if (isNumber) {
        const LibraryResult<std::optional<LibraryChart>> found = library.Find(id);
        if (!found) {
            return Fail(DateReadFailure{found.error().message, ExitFailure});
        }
        if (*found) {
            return **found;
        }
    }
    const LibraryResult<QList<LibraryChart>> named = library.FindByName(key);
    if (!named) {
        return Fail(DateReadFailure{named.error().message, ExitFailure});
    }
    if (named->size() == 1) {
        return named->first();
    }
    const auto listed = [](const QList<LibraryChart>& charts) {
        QStringList names;
        for (const LibraryChart& chart : charts) {
            names.append(QStringLiteral("@%1 %2").arg(chart.id).arg(chart.subject.name));
        }
        return names.join(QStringLiteral(", "));
    };
    if (named->size() > 1) {
        return Fail(DateReadFailure{QStringLiteral("%1 charts of the library are named '%2': "
                                                   "%3; write @ID.")
                                        .arg(named->size())
                                        .arg(key, listed(*named))});
    }
    const LibraryResult<QList<LibraryChart>> near = library.Search({key, {}, 10});
    if (!near) {
        return Fail(DateReadFailure{near.error().message, ExitFailure});
    }
    QString message = isNumber ? QStringLiteral("No chart of the library %1 has the id %2.")
                                     .arg(QDir::toNativeSeparators(library.Path()), key)
                               : QStringLiteral("No chart of the library %1 is named '%2'.")
                                     .arg(QDir::toNativeSeparators(library.Path()), key);
    if (!near->isEmpty()) {
        message += QStringLiteral(" Did you mean %1?").arg(listed(*near));
    }
    return Fail(DateReadFailure{message});
}

std::optional<DateReadFailure> ReadDateOrChart(const QString& text, DateSet& dateSet,
                                               const QString& libraryFile,
                                               std::optional<Place>* place) {
    if (!text.trimmed().startsWith(QLatin1Char('@'))) {
        if (const Status read = ReadDateText(text, dateSet); !read) {
            return DateReadFailure{read.error()};
        }
        return std::nullopt;
    }
    const LibraryResult<std::unique_ptr<ChartLibrary>> library =
        ChartLibrary::Open(libraryFile, ChartLibrary::Access::ReadOnly);
    if (!library) {
        return DateReadFailure{library.error().message, ExitFailure};
    }
    const Expected<LibraryChart, DateReadFailure> chart = ChartOfReference(**library, text);
    if (!chart) {
        return chart.error();
    }
    dateSet = DateSetOfLibraryChart(*chart);
    if (place != nullptr) {
        *place = chart->place;
    }
    return std::nullopt;
}

void LibraryDates::Load() {
    const LibraryResult<std::unique_ptr<ChartLibrary>> library =
        ChartLibrary::Open(path_, ChartLibrary::Access::ReadOnly);
    if (!library) {
        failure_ = DateReadFailure{library.error().message, ExitFailure};
        return;
    }
    LibraryResult<QList<LibraryChart>> charts = (*library)->Search({});
    if (!charts) {
        failure_ = DateReadFailure{charts.error().message, ExitFailure};
        return;
    }
    charts_ = std::move(*charts);
    for (qsizetype index = 0; index < charts_.size(); ++index) {
        byId_.insert(charts_[index].id, index);
        byName_[charts_[index].subject.name.toLower()].append(index);
    }
}

Expected<DateSet, DateReadFailure> LibraryDates::Resolve(const QString& reference) {
    std::call_once(loaded_, [this] { Load(); });
    if (failure_) {
        return Fail(*failure_);
    }
    QString key = reference.trimmed();
    if (key.startsWith(QLatin1Char('@'))) {
        key = key.mid(1).trimmed();
    }
    bool isNumber = false;
    const qint64 id = key.toLongLong(&isNumber);
    if (isNumber && byId_.contains(id)) {
        return DateSetOfLibraryChart(charts_[byId_.value(id)]);
    }
    const QList<qsizetype> named = byName_.value(key.toLower());
    if (named.size() == 1) {
        return DateSetOfLibraryChart(charts_[named.first()]);
    }
    QStringList candidates;
    for (qsizetype index = 0; index < charts_.size() && candidates.size() < 10; ++index) {
        if (charts_[index].subject.name.contains(key, Qt::CaseInsensitive)) {
            candidates.append(
                QStringLiteral("@%1 %2").arg(charts_[index].id).arg(charts_[index].subject.name));
        }
    }
    if (named.size() > 1) {
        return Fail(DateReadFailure{QStringLiteral("%1 charts of the library are named '%2': "
                                                   "%3; write @ID.")
                                        .arg(named.size())
                                        .arg(key, candidates.join(QStringLiteral(", ")))});
    }
    QString message = QStringLiteral("No chart of the library %1 has the id or the name '%2'.")
                          .arg(QDir::toNativeSeparators(path_), key);
    if (!candidates.isEmpty()) {
        message += QStringLiteral(" Did you mean %1?").arg(candidates.join(QStringLiteral(", ")));
    }
    return Fail(DateReadFailure{message});
}

QJsonObject LibraryChartJson(const LibraryChart& chart, const TimeZones& zones) {
    const Expected<Instant, DateError> instant = InstantOfLibraryChart(chart, zones);
    QJsonValue details(QJsonValue::Null);
    if (chart.place) {
        QJsonObject object = PlaceJson(*chart.place);
        object.remove(QStringLiteral("name"));
        details = object;
    }
    return {{QStringLiteral("id"), chart.id},
            {QStringLiteral("name"), chart.subject.name},
            {QStringLiteral("date"), SubjectDateText(chart.subject)},
            {QStringLiteral("zone"), chart.subject.zone},
            {QStringLiteral("calendar"), CalendarName(chart.subject.calendar)},
            {QStringLiteral("place"), chart.subject.place},
            {QStringLiteral("placeDetails"), details},
            {QStringLiteral("rating"), chart.rating},
            {QStringLiteral("tags"), QJsonArray::fromStringList(chart.tags)},
            {QStringLiteral("notes"), chart.notes},
            {QStringLiteral("julianDay"),
             instant ? QJsonValue(instant->julianDay) : QJsonValue(QJsonValue::Null)}};
}

} // namespace orbivex::cli
