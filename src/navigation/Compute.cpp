#include "navigation/Compute.h"

#include "core/Ephemeris.h"
#include "core/Orbs.h"
#include "core/PatternTally.h"
#include "core/Patterns.h"
#include "navigation/Midpoints.h"
#include "support/ProgramTexts.h"

namespace orbivex {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The bodies' longitudes for the mode: column 0 the first chart, column 1 the second.
void FillPositions(ProgramState& state, const Ephemeris& ephemeris) {
    const ChartMode mode = state.mode;
    const auto fill = [&](int column, int dateSet) {
        for (BodyIndex body = 1; body <= state.numBodies; ++body) {
            state.positions(body, column) =
                ephemeris.PositionOfBody(body, state.ChartJulianDays[dateSet]);
        }
    };
    switch (mode) {
    case WorldTransits:
        fill(0, WorldDate);
        break;
    case NatalFirst:
        fill(0, FirstBirthdate);
        break;
    case NatalSecond:
        fill(0, SecondBirthdate);
        break;
    case PersonalFirst:
        fill(0, WorldDate);
        fill(1, FirstBirthdate);
        break;
    case PersonalSecond:
        fill(0, WorldDate);
        fill(1, SecondBirthdate);
        break;
    case SynastryMode:
        fill(0, FirstBirthdate);
        fill(1, SecondBirthdate);
        break;
    default:
        break;
    }
}

void WritePositionHeaders(ProgramState& state) {
    if (!IsTwoChartMode(state.mode)) {
        for (BodyIndex body = 1; body <= MaxBodies; ++body) {
            WritePositionCell(state.grid, TriangularPositionCell(body), body,
                              state.positions(body, 0), state.numBodies, state.radians);
        }
        return;
    }
    for (BodyIndex body = 1; body <= MaxBodies; ++body) {
        WritePositionCell(state.grid, SquareFirstSetPositionCell(body), body,
                          state.positions(body, 0), state.numBodies, state.radians);
        WritePositionCell(state.grid, SquareSecondSetPositionCell(body), body,
                          state.positions(body, 1), state.numBodies, state.radians);
    }
}

void WriteAspect(ProgramState& state, const ComputeContext& context, int cell, AspectMatch match,
                 OrbColumn column, const MotionQuery& motion) {
    const QString sign =
        state.mode == SynastryMode ? QString() : MotionSign(context.ephemeris, motion);
    state.grid.cells[cell].text = AspectCellText(match.kind, match.deviation, state.radians, sign);
    StyleAspectCell(state.grid, BoldfaceRuleOf(state.settings), state.settings.colours, state.orbs,
                    column, cell, match.kind, match.deviation);
    ++state.aspectCounts.count[match.kind];
    // The motion query names the first chart's body first in every mode.
    state.aspects.push_back({motion.first, motion.second, match.kind, match.deviation, sign, cell});
}

void FindAspects(ProgramState& state, const ComputeContext& context) {
    state.aspectCounts = {};
    state.aspects.clear();
    const int n = state.numBodies;
    const BodyPositions& p = state.positions;
    if (!IsTwoChartMode(state.mode)) {
        const double jd = state.ChartJulianDays[state.mode == WorldTransits ? WorldDate
                                                : state.mode == NatalFirst  ? FirstBirthdate
                                                                            : SecondBirthdate];
        for (BodyIndex k = 1; k <= n; ++k) {
            if (p(k, 0) < 0.0) {
                continue;
            }
            for (BodyIndex j = k + 1; j <= n; ++j) {
                if (p(j, 0) < 0.0) {
                    continue;
                }
                const AspectMatch match = FindAspect(p(k, 0), p(j, 0), state.orbs, 0);
                if (match.kind == 0) {
                    continue;
                }
                const MotionQuery motion{
                    ChartMotion::WorldOrNatal, jd, k, j, -1.0, match.kind, match.deviation};
                WriteAspect(state, context, TriangularAspectCell(k, j), match, 0, motion);
            }
        }
        return;
    }
    const OrbColumn column = OrbColumnOfMode(state.mode);
    for (BodyIndex l = 1; l <= n; ++l) { // the second chart: natal bodies, or 2nd birthdate
        if (p(l, 1) < 0.0) {
            continue;
        }
        for (BodyIndex m = 1; m <= n; ++m) { // the first chart: transiting, or 1st birthdate
            if (p(m, 0) < 0.0) {
                continue;
            }
            const AspectMatch match = FindAspect(p(l, 1), p(m, 0), state.orbs, column);
            if (match.kind == 0) {
                continue;
            }
            const MotionQuery motion{ChartMotion::PersonalTransits,
                                     state.ChartJulianDays[WorldDate],
                                     m,
                                     l,
                                     p(l, 1),
                                     match.kind,
                                     match.deviation};
            WriteAspect(state, context, SquareAspectCell(m, l), match, column, motion);
        }
    }
}

// What FindAspects counts, without writing cells or asking for motion signs. In world
// transits and natal aspects the pair table already holds every pair's aspect.
void CountAspects(ProgramState& state, const AspectPairTable& pairs) {
    state.aspectCounts = {};
    const int n = state.numBodies;
    const BodyPositions& p = state.positions;
    if (!IsTwoChartMode(state.mode)) {
        for (BodyIndex k = 1; k <= n; ++k) {
            for (BodyIndex j = k + 1; j <= n; ++j) {
                ++state.aspectCounts.count[pairs.FirstKind(k, j)];
            }
        }
        state.aspectCounts.count[0] = 0;
        return;
    }
    const OrbColumn column = OrbColumnOfMode(state.mode);
    for (BodyIndex l = 1; l <= n; ++l) {
        for (BodyIndex m = 1; m <= n; ++m) {
            ++state.aspectCounts.count[FindAspect(p(l, 1), p(m, 0), state.orbs, column).kind];
        }
    }
    state.aspectCounts.count[0] = 0;
}

// The pattern counts of PatternReport, with the same run-hook calls, without any text.
void CountPatterns(ProgramState& state, const ComputeContext& context,
                   const AspectPairTable& pairs) {
    const PatternContext patterns{state.positions, state.orbs,      state.numBodies,
                                  QString(),       context.runHook, context.soughtBodies};
    PatternCounts& counts = state.patternCounts;
    for (PatternIndex pattern = GrandTrine; pattern <= Trapezium; ++pattern) {
        counts.count[pattern] = CountPattern(pattern, patterns, pairs);
    }
    bool stelliumFound = false;
    for (PatternIndex pattern = SixStellium; pattern <= ThreeStellium; ++pattern) {
        counts.count[pattern] = stelliumFound ? 0 : CountPattern(pattern, patterns, pairs);
        stelliumFound = stelliumFound || counts.count[pattern] > 0;
    }
    counts.count[GrandSextile] = CountPattern(GrandSextile, patterns, pairs);
    counts.count[MidpointPattern] =
        CountMidpoints(patterns, pairs, MidpointOrbRadians(state.settings.midpointOrbPosition));
}

QString CountPhrase(int count, AspectKind kind) {
    return QString::number(count) + QLatin1Char(' ') +
           (count == 1 ? AspectName(kind).toLower() : AspectPluralLower(kind));
}

QString TotalLine(int total, const ProgramTexts& texts) {
    QString line = texts.ProgramText(127);
    return line.replace(QLatin1Char('N'), QString::number(total));
}

} // namespace

QString PatternReport(ProgramState& state, const ComputeContext& context) {
    PatternContext patterns{state.positions, state.orbs,
                            state.numBodies, context.texts.ProgramText(154),
                            context.runHook, context.soughtBodies};
    QString text;
    const auto add = [&](PatternIndex pattern) {
        int count = 0;
        const QString found = FindPattern(pattern, patterns, PatternForm::Report, count);
        state.patternCounts.count[pattern] = count;
        if (!found.isEmpty()) {
            text += found + CrLf;
        }
        return count;
    };
    for (PatternIndex pattern = GrandTrine; pattern <= Trapezium; ++pattern) {
        add(pattern);
    }
    // Only the largest stellium is listed; a larger one clears the counts of the smaller.
    bool stelliumFound = false;
    for (PatternIndex pattern = SixStellium; pattern <= ThreeStellium; ++pattern) {
        if (stelliumFound) {
            state.patternCounts.count[pattern] = 0;
        } else {
            stelliumFound = add(pattern) > 0;
        }
    }
    add(GrandSextile);

    int midpoints = 0;
    const QString found = CheckForMidpoint(
        patterns, MidpointOrbRadians(state.settings.midpointOrbPosition), false, midpoints);
    state.patternCounts.count[MidpointPattern] = midpoints;
    if (!found.isEmpty()) {
        text += found + CrLf;
    }
    return text;
}

std::array<bool, NumDateSets> DateSetsOfMode(ChartMode mode) {
    switch (mode) {
    case WorldTransits:
        return {true, false, false};
    case NatalFirst:
        return {false, true, false};
    case NatalSecond:
        return {false, false, true};
    case PersonalFirst:
        return {true, true, false};
    case PersonalSecond:
        return {true, false, true};
    case SynastryMode:
        return {false, true, true};
    default:
        return {false, false, false};
    }
}

bool ModeUsesDateSet(ChartMode mode, int dateSet) {
    return dateSet >= 0 && dateSet < NumDateSets && DateSetsOfMode(mode)[dateSet];
}

QString AspectCountReport(const AspectCounts& counts, const ProgramTexts& texts) {
    QString text;
    for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
        if (counts.count[kind] > 0) {
            text += CountPhrase(counts.count[kind], kind) + CrLf;
        }
    }
    const int total = counts.Total();
    if (total == 0) {
        text += texts.ProgramText(126) + CrLf;
    } else if (total > 1) {
        text += TotalLine(total, texts) + CrLf;
    }
    return text + CrLf;
}

QString AspectCountReportTwoCharts(const AspectCounts& counts, const ProgramTexts& texts) {
    const int total = counts.Total();
    if (total == 0) {
        return texts.ProgramText(126);
    }
    QString text;
    for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
        if (counts.count[kind] > 0) {
            text += CountPhrase(counts.count[kind], kind) + QStringLiteral(", ");
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

ComputeOutcome Compute(ProgramState& state, const ComputeContext& context) {
    SetOrbs(state.settings, state.orbs, state.orbSummary);
    state.numBodies = context.ephemeris.NumBodies();

    ComputeOutcome outcome;
    if (!IsChartMode(state.mode)) {
        state.mode = WorldTransits;
    }
    const auto used = DateSetsOfMode(state.mode);
    for (int set = 0; set < NumDateSets; ++set) {
        if (!used[set]) {
            continue;
        }
        const double jd = InputDateToAJDate(state.dateSets[set], state.zones);
        state.ChartJulianDays[set] = jd;
        if (jd < 0.0) {
            outcome.failedDateSet = set;
            outcome.dateError = ReportDateError(context.texts, set, jd);
            return outcome;
        }
    }

    if (context.countsOnly) {
        FillPositions(state, context.ephemeris);
        const AspectPairTable pairs(state.positions, state.orbs,
                                    IsTwoChartMode(state.mode) ? 0 : state.numBodies);
        CountAspects(state, pairs);
        state.recordedMode = state.mode;
        if (!IsTwoChartMode(state.mode)) {
            CountPatterns(state, context, pairs);
        }
        return outcome;
    }

    state.title = TitleText(state.mode, !state.chartShown, state.orbSummary, context.texts);
    if (IsTwoChartMode(state.mode)) {
        SetUpSquareGrid(state.grid, state.mode, context.texts);
    } else {
        SetUpTriangularGrid(state.grid);
    }
    FillPositions(state, context.ephemeris);
    WritePositionHeaders(state);
    FindAspects(state, context);
    state.recordedMode = state.mode;

    if (IsTwoChartMode(state.mode)) {
        state.report1 = AspectCountReportTwoCharts(state.aspectCounts, context.texts);
    } else {
        state.report =
            AspectCountReport(state.aspectCounts, context.texts) + PatternReport(state, context);
    }
    return outcome;
}

} // namespace orbivex
