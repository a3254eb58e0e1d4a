#include "present/ChartView.h"

#include "present/PatternTexts.h"
#include "session/ProgramState.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

namespace orbivex {

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString CountPhrase(int count, AspectKind kind) {
    return QString::number(count) + QLatin1Char(' ') +
           (count == 1 ? AspectName(kind).toLower() : AspectPluralLower(kind));
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
            text += CountPhrase(counts.count[Index(kind)], kind) + CrLf;
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
            text += CountPhrase(counts.count[Index(kind)], kind) + QStringLiteral(", ");
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
