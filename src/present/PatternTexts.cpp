#include "present/PatternTexts.h"

#include "core/AngleFormat.h"

#include <QStringList>

namespace orbivex {

namespace {

const QString LineEnd = QStringLiteral("\r\n");

QString BodyText(std::span<const BodyIndex> bodies, bool longNames) {
    QStringList parts;
    for (BodyIndex body : bodies) {
        parts << (longNames ? BodyName(body) : BodyAbbreviation(body));
    }
    return parts.join(QLatin1Char('-'));
}

} // namespace

QString PatternLine(const FoundPattern& pattern, PatternForm form, const QString& orbWord) {
    if (form == PatternForm::Names) {
        return BodyText(pattern.Bodies(), true);
    }
    QString line =
        PatternName(pattern.pattern) + QStringLiteral(": ") + BodyText(pattern.Bodies(), false);
    if (pattern.meanOrb) {
        line += QStringLiteral(" (") + orbWord + QLatin1Char(' ') +
                FormatDegreesMinutes(*pattern.meanOrb) + QLatin1Char(')');
    }
    return line;
}

QString PatternLines(const Chart& chart, PatternIndex pattern, PatternForm form,
                     const QString& orbWord) {
    if (pattern == ThreeStellium && chart.threeStelliumsWithheld) {
        return {};
    }
    QString text;
    for (const FoundPattern& found : chart.patterns) {
        if (found.pattern == pattern) {
            text += PatternLine(found, form, orbWord) + LineEnd;
        }
    }
    return text;
}

QString CheckForMidpoint(const Chart& chart, bool natalReport, int& count) {
    QString text;
    for (const MidpointConfiguration& midpoint : chart.midpoints) {
        if (!natalReport) {
            text += PatternName(MidpointPattern) + QStringLiteral(": ");
        }
        text += BodyText(midpoint.bodies, natalReport) + LineEnd;
    }
    count = static_cast<int>(chart.midpoints.size());
    return text;
}

} // namespace orbivex
