#include "present/PictureInput.h"

#include "present/ChartView.h"
#include "present/DurationsReport.h"
#include "session/Configuration.h"
#include "session/ProgramState.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

namespace orbivex {
using enum ChartMode;

WheelInput MakeWheelInput(const Chart& chart, const ConfigurationSettings& settings) {
    WheelInput input;
    input.mode = chart.mode;
    input.positions = chart.positions;
    // In the zodiac of date the bodies stand in their signs of date against the fixed ring of
    // signs, each set moved by the precession at its own instant; aspects keep their J2000
    // deviations.
    for (std::size_t set = 0; set < input.positions.size(); ++set) {
        if (chart.zodiacOffset[set] == 0.0) {
            continue;
        }
        for (Position& position : input.positions[set]) {
            if (position.Known()) {
                position =
                    Position(LongitudeInZodiac(position.Longitude(), chart.zodiacOffset[set]));
            }
        }
    }
    input.numBodies = chart.numBodies;
    input.aspects.reserve(chart.aspects.size());
    for (const ChartAspect& aspect : chart.aspects) {
        input.aspects.push_back(
            {aspect.first, aspect.second, aspect.kind, aspect.bold, aspect.deviation});
    }
    input.colours = settings.colours;
    input.filters = {settings.showOnlyOuter, settings.showOnlyEarth};
    input.displayZodiacSectors = settings.displayZodiacSectors;
    input.style = settings.wheelStyle;
    input.theme = settings.wheelTheme;
    return input;
}

ExportDateText ExportDateTextOf(const DateSet& dateSet, const TimezoneList& zones) {
    const auto twoDigits = [](int value) {
        return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
    };
    ExportDateText text;
    text.date = dateSet.yearText + QLatin1Char('-') + twoDigits(dateSet.monthIndex) +
                QLatin1Char('-') + twoDigits(dateSet.dayIndex);
    const QString zone = ZoneTextOf(dateSet, zones);
    text.hourAndZone = TimeOfDayOfDateSet(dateSet) + QLatin1Char(' ') + zone;
    return text;
}

QString ExportVersionText(const QString& version) {
    const QStringList parts = version.split(QLatin1Char('.'));
    const QString major = parts.value(0, QStringLiteral("0"));
    const QString minor = parts.value(1, QStringLiteral("0"));
    return major + QLatin1Char('.') + minor + QLatin1Char('6');
}

ChartMode WheelModeOf(const ProgramState& state) {
    return IsChartMode(state.recordedMode) ? state.recordedMode : state.mode;
}

WheelInput WheelInputOf(const ProgramState& state) {
    WheelInput input = MakeWheelInput(state.chart, state.settings);
    input.mode = WheelModeOf(state);
    return input;
}

ExportInput ExportInputOf(const ProgramState& state, const ProgramTexts& texts) {
    ExportInput input;
    input.wheel = WheelInputOf(state);
    // The dates of the wheel on display, whatever the date controls hold now.
    for (int set = 0; set < NumDateSets; ++set) {
        input.dates[set] = ExportDateTextOf(state.computedDateSets[set], state.computedZones.list);
    }
    const ChartMode mode = input.wheel.mode;
    if (IsTwoChartMode(mode)) {
        const QString summary =
            AddOrbToTitle(QString(), true, false, mode, state.orbSummary, texts);
        qsizetype start = 0;
        while (start < summary.size() && summary[start] == QLatin1Char(' ')) {
            ++start;
        }
        input.orbSummary = summary.mid(start);
    }
    return input;
}

SheetInput SheetInputOf(const ProgramState& state, const Ephemeris& ephemeris,
                        const ProgramTexts& texts) {
    SheetInput input;
    const ChartMode mode = WheelModeOf(state);
    input.title = TitleText(mode, true, state.orbSummary, texts).trimmed();
    constexpr std::array<int, NumDateSets> DateLabels{
        text::FirstDateSetName, text::FirstBirthdateLabel, text::SecondBirthdateLabel};
    const std::array<bool, NumDateSets> used = DateSetsOfMode(mode);
    for (int set = 0; set < NumDateSets; ++set) {
        if (used[set]) {
            const ExportDateText date =
                ExportDateTextOf(state.computedDateSets[set], state.computedZones.list);
            input.dateLines.append(texts.ProgramText(DateLabels[set]) + QStringLiteral(": ") +
                                   date.date + QLatin1Char(' ') + date.hourAndZone);
        }
    }
    input.wheel = WheelInputOf(state);
    input.wheel.legends = false;
    // The classic wheel tells the two sets apart by colour alone; the modern one labels its
    // rings itself.
    if (IsTwoChartMode(mode) && input.wheel.style != WheelStyle::Modern) {
        input.setKey = texts.ProgramText(mode == SynastryMode ? text::FirstSetIsWhiteInSynastry
                                                              : text::FirstSetIsWhiteInTransits);
    }
    // The grid and report as the window builds them from the chart of the last Compute.
    const ChartView view = BuildChartView(state.chart, ChartDisplayOf(state), texts);
    input.grid = view.grid;
    input.report = view.report;
    const DurationsContent content = MakeDurationsContent(state, ephemeris, texts);
    input.listingTitle = content.heading.title.trimmed();
    input.listing = content.output;
    return input;
}

} // namespace orbivex
