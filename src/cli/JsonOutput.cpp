#include "cli/JsonOutput.h"

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

PositionFacts PositionFactsOf(double longitude, double zodiacOffset) {
    PositionFacts facts;
    facts.text = FormatZodiacPosition(
        longitude < 0.0 ? longitude : LongitudeInZodiac(longitude, zodiacOffset), false);
    if (facts.text.isEmpty()) {
        facts.missing = longitude == NoPositionBeforeTable  ? "before table"
                        : longitude == NoPositionAfterTable ? "after table"
                                                            : "unavailable";
        return facts;
    }
    // The sign the text names: a longitude a hair below a sign's end is written, and so
    // counted, in the next sign.
    for (const ZodiacSignRecord& record : ZodiacSigns) {
        if (facts.text.contains(QLatin1String(record.abbreviation))) {
            facts.sign = QLatin1String(record.name);
        }
    }
    return facts;
}

QJsonObject PositionJson(BodyIndex body, double longitude, std::optional<double> zodiacOffset) {
    const PositionFacts facts = PositionFactsOf(longitude, zodiacOffset.value_or(0.0));
    if (facts.missing != nullptr) {
        return {{QStringLiteral("body"), BodyName(body)},
                {QStringLiteral("longitude"), QJsonValue::Null},
                {QStringLiteral("missing"), QLatin1String(facts.missing)}};
    }
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

double ComponentLongitude(const Position& position) {
    switch (position.Status()) {
    case PositionStatus::Known:
        return position.Longitude();
    case PositionStatus::BeforeTable:
        return NoPositionBeforeTable;
    case PositionStatus::AfterTable:
        return NoPositionAfterTable;
    case PositionStatus::Unavailable:
        break;
    }
    return NoPosition;
}

QJsonObject PositionJson(BodyIndex body, const Position& position,
                         std::optional<double> zodiacOffset) {
    return PositionJson(body, ComponentLongitude(position), zodiacOffset);
}

QJsonArray PositionsJson(std::span<const double> longitudes, std::optional<double> zodiacOffset) {
    QJsonArray positions;
    for (std::size_t body = 1; body < longitudes.size(); ++body) {
        positions.append(
            PositionJson(static_cast<BodyIndex>(body), longitudes[body], zodiacOffset));
    }
    return positions;
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
