// orbivex-cli places: the places of the atlas whose names hold a text, most populous first, and
// how to write each so that the other commands take it.
#include "cli/CliPlaces.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "places/Atlas.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <algorithm>
#include <array>

namespace orbivex::cli {

namespace {

constexpr int MaxLimit = 1000;

int UsageError(Context& context, const QString& message) {
    return CommandUsageError(context, QStringLiteral("places"), message);
}

QString Degrees(double value) {
    return QString::number(value, 'f', 4);
}

void PrintTable(Context& context, const QList<Place>& places) {
    using Row = std::array<QString, 8>;
    QList<Row> rows{{QStringLiteral("Name"), QStringLiteral("Region"), QStringLiteral("Country"),
                     QStringLiteral("Zone"), QStringLiteral("Latitude"),
                     QStringLiteral("Longitude"), QStringLiteral("Population"),
                     QStringLiteral("Write")}};
    for (const Place& place : places) {
        rows.append({place.name, place.region, place.country, place.zone, Degrees(place.latitude),
                     Degrees(place.longitude), QString::number(place.population),
                     PlaceName(place, places)});
    }
    std::array<qsizetype, 8> widths{};
    for (const Row& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    for (const Row& row : rows) {
        QString line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            // Numbers align right, words left; the last column needs no padding.
            const bool number = column >= 4 && column <= 6;
            line += column + 1 == row.size() ? row[column]
                    : number ? row[column].rightJustified(widths[column]) + QStringLiteral("  ")
                             : row[column].leftJustified(widths[column]) + QStringLiteral("  ");
        }
        context.out << line << '\n';
    }
}

} // namespace

int RunPlaces(const QStringList& arguments, Context& context) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists the places of the atlas whose names hold TEXT, most populous first: name, "
        "region, country, zone, latitude and longitude (degrees, north and east positive), "
        "population, and how to write the place for --place and the --*-place options. TEXT may "
        "end in \", REGION\", \", COUNTRY\" or \", CC\" (the country code)."));
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("A name or part of one."));
    const QCommandLineOption limitOption(
        QStringLiteral("limit"),
        QStringLiteral("List at most N places, 1 to %1 (default: 10).").arg(MaxLimit),
        QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("Write the places as JSON."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    parser.addOptions({limitOption, jsonOption});
    if (!parser.parse(arguments)) {
        return UsageError(context, ParseErrorText(parser));
    }
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(0, help.indexOf(QLatin1Char('\n')),
                     QStringLiteral("Usage: orbivex-cli places TEXT [--limit N] [--json]"));
        context.out << help;
        return ExitSuccess;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || positional.first().trimmed().isEmpty()) {
        return UsageError(context, positional.size() > 1
                                       ? QStringLiteral("give one TEXT; quote a name with spaces")
                                       : QStringLiteral("TEXT is required"));
    }
    bool number = false;
    const int limit = parser.value(limitOption).toInt(&number);
    if (!number || limit < 1 || limit > MaxLimit) {
        return UsageError(context, QStringLiteral("--limit takes a number from 1 to %1, not '%2'")
                                       .arg(MaxLimit)
                                       .arg(parser.value(limitOption)));
    }
    const Atlas atlas;
    const QList<Place> places = atlas.Search(positional.first(), limit);
    if (parser.isSet(jsonOption)) {
        QJsonArray list;
        for (const Place& place : places) {
            QJsonObject entry = PlaceJson(place);
            entry.insert(QStringLiteral("write"), PlaceName(place, places));
            list.append(entry);
        }
        WriteJson(context.out, {{QStringLiteral("format"), QStringLiteral("orbivex.places.v1")},
                                {QStringLiteral("text"), positional.first()},
                                {QStringLiteral("places"), list}});
    } else if (!places.isEmpty()) {
        PrintTable(context, places);
    }
    if (places.isEmpty()) {
        context.err << "orbivex-cli places: the atlas has no place whose name holds '"
                    << positional.first().trimmed() << "'.\n";
        return FinishOutput(context, "places", ExitNotFound);
    }
    return FinishOutput(context, "places", ExitSuccess);
}

} // namespace orbivex::cli
