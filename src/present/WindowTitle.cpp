#include "present/WindowTitle.h"

#include "support/Mnemonic.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

namespace orbivex {
using enum ChartMode;

namespace {

// The name of a mode: the caption of its option.
int ModeNameText(ChartMode mode) {
    return IsChartMode(mode) ? text::FirstModeOption + ModeNumber(mode) - 1 : 0;
}

// "December 7, 2026, 12:00 GMT+1:00" for a date set as the chart converted it.
QString ChartDateText(DateSet dateSet, const TimeZones& zones) {
    QString text = InputDateToString(dateSet, zones, false);
    // The zone stands in brackets at the end; a title reads better without them.
    const qsizetype open = text.lastIndexOf(QStringLiteral(" ("));
    if (open >= 0 && text.endsWith(QLatin1Char(')'))) {
        text = text.left(open) + QLatin1Char(' ') + text.mid(open + 2).chopped(1);
    }
    return text.trimmed();
}

} // namespace

QString WindowTitleText(const ProgramState& state, const ProgramTexts& texts) {
    const QString program = texts.ProgramText(text::ProgramName);
    const int modeText = ModeNameText(state.recordedMode);
    if (modeText == 0) {
        return program;
    }
    QStringList dates;
    const auto used = DateSetsOfMode(state.recordedMode);
    for (int s = 0; s < NumDateSets; ++s) {
        if (used[s]) {
            const QString date = ChartDateText(state.computedDateSets[s], state.computedZones);
            const QString name = NameOfDateSet(state, s, true);
            dates.append(name.isEmpty() ? date : name + QStringLiteral(", ") + date);
        }
    }
    return program + QStringLiteral(" \u2014 ") + WithoutMnemonic(texts.ProgramText(modeText)) +
           QStringLiteral(", ") + dates.join(QStringLiteral(" / "));
}

} // namespace orbivex
