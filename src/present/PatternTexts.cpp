#include "present/PatternTexts.h"

#include "core/AngleFormat.h"
#include "support/ProgramTexts.h"
#include "support/StrProc.h"
#include "support/TextNumbers.h"

#include <QLocale>
#include <QStringList>

namespace orbivex {
using enum PatternIndex;

namespace {

const QString LineEnd = QStringLiteral("\r\n");

// The pattern's name as the plural of a count: lower case but for the capital of "T-square",
// and "es" after the grand cross.
QString PluralPatternName(PatternIndex pattern) {
    const QString name = PatternName(pattern);
    if (pattern == GrandCross) {
        return name.toLower() + QStringLiteral("es");
    }
    return (pattern == TSquare ? name : name.toLower()) + QLatin1Char('s');
}

// Appends the bodies' names, or their abbreviations, joined by hyphens. The names are ASCII,
// appended straight from the tables: a report is written for every chart of a batch.
void AppendBodyText(QString& text, std::span<const BodyIndex> bodies, bool longNames) {
    bool first = true;
    for (BodyIndex body : bodies) {
        if (!first) {
            text += QLatin1Char('-');
        }
        first = false;
        if (IsBody(body)) {
            text += QLatin1StringView(longNames ? Bodies[body].name : Bodies[body].abbreviation);
        }
    }
}

void AppendPatternName(QString& text, PatternIndex pattern) {
    if (IsPattern(pattern)) {
        text += QLatin1StringView(PatternNames[Index(pattern)]);
    }
}

} // namespace

QString PatternLine(const FoundPattern& pattern, PatternForm form, const QString& orbWord) {
    QString line;
    if (form == PatternForm::Names) {
        AppendBodyText(line, pattern.Bodies(), true);
        return line;
    }
    line.reserve(64);
    AppendPatternName(line, pattern.pattern);
    line += QStringLiteral(": ");
    AppendBodyText(line, pattern.Bodies(), false);
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
            AppendPatternName(text, MidpointPattern);
            text += QStringLiteral(": ");
        }
        AppendBodyText(text, midpoint.bodies, natalReport);
        text += LineEnd;
    }
    count = static_cast<int>(chart.midpoints.size());
    return text;
}

QString RepeatedBodyMessage() {
    return QStringLiteral("Planet specified more than once.");
}

QString RepeatedBodyTitle() {
    return QStringLiteral("Input error");
}

QString PatternFoundMessage(const PatternRun& run, PatternIndex pattern, int count,
                            const ProgramTexts& texts) {
    QString message;
    if (run.findAtLeast) {
        message = NumberInWords(count, QLocale(QLocale::English, QLocale::UnitedStates)) +
                  QLatin1Char(' ') + PluralPatternName(pattern) + QStringLiteral(" found");
    } else {
        message = PatternName(pattern) + QLatin1Char(' ') + texts.ProgramText(text::Found);
    }
    if (run.bodiesSought) {
        message += LineEnd + QStringLiteral("involving");
        for (const std::optional<BodyIndex>& body : run.SoughtBodies) {
            if (body) {
                message += QLatin1Char(' ') + BodyName(*body);
            }
        }
    }
    return message + QLatin1Char('.');
}

QString PatternNotFoundMessage(const PatternRun& run, const ProgramTexts& texts) {
    const PatternIndex pattern = run.patternToFind;
    if (!IsPattern(pattern)) {
        return {};
    }
    QString sought;
    if (run.findAtLeast) {
        sought = QStringLiteral("chart with at least ") +
                 NumberInWords(run.NumToFind(), QLocale(QLocale::English, QLocale::UnitedStates))
                     .toLower() +
                 QLatin1Char(' ') + PluralPatternName(pattern);
    } else {
        sought = pattern == TSquare ? PatternName(pattern) : PatternName(pattern).toLower();
    }
    QStringList bodies;
    for (const std::optional<BodyIndex>& body : run.SoughtBodies) {
        if (body) {
            bodies << BodyName(*body);
        }
    }
    if (!bodies.isEmpty()) {
        const QString last = bodies.takeLast();
        sought +=
            QStringLiteral(" involving ") +
            (bodies.isEmpty() ? last
                              : bodies.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last);
    }
    return texts.ProgramTextWith(text::PatternNotFound, sought);
}

QString RunStopMessage(const RunStopResult& stop, const ProgramTexts& texts) {
    if (stop.found) {
        return PatternFoundMessage(stop.run, stop.run.patternToFind, stop.count, texts);
    }
    return stop.notFound ? PatternNotFoundMessage(stop.run, texts) : QString();
}

QString RunStopTitle(const RunStopResult& stop, const ProgramTexts& texts) {
    if (stop.found) {
        return texts.ProgramText(text::PatternFoundTitle);
    }
    return stop.notFound ? texts.ProgramText(text::PatternNotFoundTitle) : QString();
}

} // namespace orbivex
