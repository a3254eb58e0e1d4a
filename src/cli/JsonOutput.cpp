#include "cli/JsonOutput.h"

#include "cli/CliPlaces.h"

#include "core/Ephemeris.h"
#include "core/Zodiac.h"

#include <QJsonDocument>

namespace orbivex::cli {

QString FormatName(const char* command) {
    return QStringLiteral("orbivex.%1.v2").arg(QLatin1String(command));
}

QJsonObject DateJson(const QString& text, double julianDay) {
    return {{QStringLiteral("text"), text}, {QStringLiteral("julianDay"), julianDay}};
}

std::optional<ZodiacPlace> PositionPlaceOf(const Position& position, double zodiacOffset) {
    if (!position.Known()) {
        return std::nullopt;
    }
    return ZodiacPlaceOf(LongitudeInZodiac(position.Longitude(), zodiacOffset));
}

void AddDatePlace(QJsonObject& date, const Place* place, bool localMeanTime) {
    date.insert(QStringLiteral("place"),
                place != nullptr ? QJsonValue(PlaceJson(*place)) : QJsonValue(QJsonValue::Null));
    date.insert(QStringLiteral("localMeanTime"), place != nullptr && localMeanTime);
}

PositionFacts PositionFactsOf(const Position& position, double zodiacOffset) {
    PositionFacts facts;
    const std::optional<ZodiacPlace> place = PositionPlaceOf(position, zodiacOffset);
    if (!place) {
        facts.missing = position.Status() == PositionStatus::BeforeTable  ? "before table"
                        : position.Status() == PositionStatus::AfterTable ? "after table"
                                                                          : "unavailable";
        return facts;
    }
    // The sign the text names: a longitude a hair below a sign's end is written, and so
    // counted, in the next sign.
    const ZodiacShortText text = ShortZodiacText(*place);
    facts.text = QString::fromLatin1(text.chars.data(), static_cast<qsizetype>(text.size));
    facts.sign = QLatin1String(ZodiacSigns[static_cast<std::size_t>(place->sign)].name);
    return facts;
}

QJsonObject PositionJson(BodyIndex body, const Position& position,
                         std::optional<double> zodiacOffset) {
    const PositionFacts facts = PositionFactsOf(position, zodiacOffset.value_or(0.0));
    if (facts.missing != nullptr) {
        return {{QStringLiteral("body"), BodyName(body)},
                {QStringLiteral("longitude"), QJsonValue::Null},
                {QStringLiteral("missing"), QLatin1String(facts.missing)}};
    }
    const double longitude = position.Longitude();
    QJsonObject entry{{QStringLiteral("body"), BodyName(body)},
                      {QStringLiteral("longitude"), RadiansToDegrees(longitude)},
                      {QStringLiteral("sign"), facts.sign},
                      {QStringLiteral("text"), facts.text}};
    if (zodiacOffset) {
        entry.insert(QStringLiteral("longitudeOfDate"),
                     RadiansToDegrees(LongitudeInZodiac(longitude, *zodiacOffset)));
    }
    return entry;
}

QJsonArray PositionsJson(const PositionSet& positions, std::optional<double> zodiacOffset) {
    QJsonArray entries;
    for (BodyIndex body : AllBodies) {
        entries.append(PositionJson(body, positions[body], zodiacOffset));
    }
    return entries;
}

QString AspectJsonName(AspectKind kind) {
    return AspectName(kind).toLower();
}

QString PatternJsonName(PatternIndex pattern) {
    return PatternName(pattern).toLower();
}

QString MotionName(Motion motion) {
    switch (motion) {
    case Motion::Applying:
        return QStringLiteral("applying");
    case Motion::Separating:
        return QStringLiteral("separating");
    case Motion::None:
        break;
    }
    return {};
}

void WriteJson(QTextStream& out, const QJsonObject& document) {
    out << QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
}

} // namespace orbivex::cli
