#include "present/ChartView.h"

#include "present/PatternTexts.h"
#include "session/ProgramState.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <array>
#include <charconv>

namespace orbivex {
using enum PatternIndex;

namespace {

const QString CrLf = QStringLiteral("\r\n");

// "1 conjunction", "3 conjunctions": the count and the aspect's name in lower case, appended.
// The words are made once and only read after, by any thread.
void AppendCountPhrase(QString& text, int count, AspectKind kind) {
    static const ByAspectKind<std::array<QString, 2>> words = [] {
        ByAspectKind<std::array<QString, 2>> made{};
        for (const AspectKind each : AllAspectKinds) {
            made[each] = {AspectName(each).toLower(), AspectPluralLower(each)};
        }
        return made;
    }();
    std::array<char, 16> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), count).ptr;
    text += QLatin1StringView(digits.data(), end);
    text += QLatin1Char(' ');
    text += QStringView(words[kind][count == 1 ? 0 : 1]);
}

QString TotalLine(int total, const ProgramTexts& texts) {
    QString line = texts.ProgramText(text::AspectsInAll);
    return line.replace(QLatin1Char('N'), QString::number(total));
}

} // namespace

ChartDisplay ChartDisplayOf(const ProgramState& state) {
    ChartDisplay display;
    display.radians = state.radians;
    display.gridShown = !state.chartShown;
    display.aspectColours = state.settings.colours;
    display.orbSummary = state.orbSummary;
    return display;
}

ChartView BuildChartView(const Chart& chart, const ChartDisplay& display,
                         const ProgramTexts& texts) {
    ChartView view = BuildChartTexts(chart, display, texts);
    FillGrid(view.grid, chart, display.radians, display.aspectColours, texts);
    return view;
}

ChartView BuildChartTexts(const Chart& chart, const ChartDisplay& display,
                          const ProgramTexts& texts) {
    ChartView view;
    view.mode = chart.mode;
    view.title = TitleText(chart.mode, display.gridShown, display.orbSummary, texts);
    view.report = IsTwoChartMode(chart.mode)
                      ? AspectCountReportTwoCharts(chart.aspectCounts, texts)
                      : AspectCountReport(chart.aspectCounts, texts) + PatternReport(chart, texts);
    return view;
}

QString PatternReport(const Chart& chart, const ProgramTexts& texts) {
    const QString orbWord = texts.ProgramText(text::MeanOrb);
    QString text;
    for (PatternIndex pattern : PatternRange(GrandTrine, GrandSextile)) {
        const QString lines = PatternLines(chart, pattern, PatternForm::Report, orbWord);
        if (!lines.isEmpty()) {
            text += lines + CrLf;
        }
    }
    int midpoints = 0;
    const QString lines = CheckForMidpoint(chart, false, midpoints);
    if (!lines.isEmpty()) {
        text += lines + CrLf;
    }
    return text;
}

QString AspectCountReport(const AspectCounts& counts, const ProgramTexts& texts) {
    QString text;
    for (const AspectKind kind : AllAspectKinds) {
        if (counts.count[Index(kind)] > 0) {
            AppendCountPhrase(text, counts.count[Index(kind)], kind);
            text += CrLf;
        }
    }
    const int total = counts.Total();
    if (total == 0) {
        text += texts.ProgramText(text::NoAspectsWithinOrbs) + CrLf;
    } else if (total > 1) {
        text += TotalLine(total, texts) + CrLf;
    }
    return text + CrLf;
}

QString AspectCountReportTwoCharts(const AspectCounts& counts, const ProgramTexts& texts) {
    const int total = counts.Total();
    if (total == 0) {
        return texts.ProgramText(text::NoAspectsWithinOrbs);
    }
    QString text;
    for (const AspectKind kind : AllAspectKinds) {
        if (counts.count[Index(kind)] > 0) {
            AppendCountPhrase(text, counts.count[Index(kind)], kind);
            text += QStringLiteral(", ");
        }
    }
    while (text.endsWith(QLatin1Char(',')) || text.endsWith(QLatin1Char(' '))) {
        text.chop(1);
    }
    if (total >= 2) {
        text += QStringLiteral(". ") + TotalLine(total, texts);
    }
    return text;
}

} // namespace orbivex
