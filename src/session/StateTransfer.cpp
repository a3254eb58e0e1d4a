#include "session/StateTransfer.h"

#include "calendar/Calendar.h"

#include <algorithm>
#include <cmath>

namespace orbivex {
using enum ChartMode;

StateFileContents ToStateFile(const ProgramState& state) {
    StateFileContents contents;
    for (int set = 0; set < NumDateSets; ++set) {
        const DateSet& from = state.dateSets[set];
        StateDateSet& to = contents.dateSets[set];
        to.monthIndex = from.monthIndex;
        to.dayIndex = from.dayIndex;
        to.yearText = from.yearText;
        to.hourIndex = from.hourIndex;
        to.timezoneIndex = from.timezoneIndex;
        to.typedMinute = from.typedMinute;
        to.zoneName = from.zoneName;
        if (!from.zoneName.isEmpty()) {
            // For a reader that knows only the list: the entry of the zone's offset that day
            // (of the zone itself, not of its place's local mean time, so that the classic
            // lines do not depend on the place).
            DateSet zoneOnly = from;
            zoneOnly.placeLongitude.reset();
            to.timezoneIndex = InputDateToAJDate(zoneOnly, state.zones)
                                   ? DefaultTimezoneIndex(state.zones.list,
                                                          ZoneOffsetMinutes(zoneOnly, state.zones))
                                   : 0;
        }
        to.place = state.places[set];
        to.atPlace = to.place && from.placeLongitude.has_value();
    }
    contents.calendar = state.dateSets[WorldDate].calendar;
    contents.zodiac = state.settings.zodiac;
    contents.SelectMode(state.mode);
    contents.stepUnitIndex = state.stepUnitIndex;
    const ConfigurationSettings& settings = state.settings;
    contents.useBoldface = settings.useBoldface;
    contents.boldfaceFactorIndex = settings.boldfaceFactorPosition;
    contents.oneDegreeOfOrb = settings.boldfaceOneDegree;
    contents.proportionOfOrb = !settings.boldfaceOneDegree;
    contents.divisorIndex = {settings.personalDivisorPosition, settings.synastryDivisorPosition};
    // State files keep the orb lists' positions; an angle the lists lack is kept at its
    // whole degrees, as its position would be.
    for (int list = 0; list < NumOrbLists; ++list) {
        const double degrees = settings.orbs.degrees[list];
        contents.orbPosition[list] =
            std::isfinite(degrees) ? static_cast<int>(std::clamp(std::round(degrees), -1e9, 1e9))
                                   : -1;
    }
    contents.aspectColour = settings.colours;
    contents.aspectColour[0] = 0;
    contents.midpointOrbIndex = settings.midpointOrbPosition;
    return contents;
}

Status SaveState(const QString& path, const ProgramState& state) {
    if (Status written = WriteStateFile(path, ToStateFile(state)); !written) {
        return written;
    }
    WriteInnerPlanetAspectDisplayToRegistry(state.settings);
    WriteShowOnlyEarthAspectsToRegistry(state.settings);
    WriteTZDispToRegistry(state.settings);
    WriteWheelAppearanceToRegistry(state.settings);
    return {};
}

void ApplyStateFile(const StateFileContents& contents, ProgramState& state) {
    for (int set = 0; set < NumDateSets; ++set) {
        const StateDateSet& from = contents.dateSets[set];
        DateSet& to = state.dateSets[set];
        to.monthIndex = from.monthIndex;
        to.dayIndex = from.dayIndex;
        to.yearText = from.yearText;
        to.hourIndex = from.hourIndex;
        to.typedMinute = -1;
        if (from.typedMinute >= 0) {
            SetMinuteOfDay(to, from.typedMinute);
        }
        to.timezoneIndex = from.timezoneIndex < TimezoneEntryCount ? from.timezoneIndex : 0;
        to.zoneName = from.zoneName;
        to.placeLongitude.reset();
        if (!from.zoneName.isEmpty()) {
            to.timezoneIndex = 0;
        }
        state.places[set] = from.place;
        if (from.place && from.atPlace) {
            ReadAtPlace(to, *from.place);
        }
    }
    SetCalendar(state.dateSets, contents.calendar);
    state.settings.calendar = contents.calendar;
    state.settings.zodiac = contents.zodiac;
    const ChartMode mode = contents.SelectedMode();
    if (mode != NoChartMode) {
        state.mode = mode;
    }
    state.stepUnitIndex = contents.stepUnitIndex;

    ConfigurationSettings& settings = state.settings;
    settings.useBoldface = contents.useBoldface;
    settings.boldfaceFactorPosition = contents.boldfaceFactorIndex;
    settings.boldfaceOneDegree = contents.oneDegreeOfOrb;
    settings.personalDivisorPosition = contents.divisorIndex[0];
    settings.synastryDivisorPosition = contents.divisorIndex[1];
    for (int list = 0; list < NumOrbLists; ++list) {
        settings.orbs.degrees[list] = OrbDegreesOfPosition(contents.orbPosition[list]);
    }
    for (const AspectKind kind : AllAspectKinds) {
        settings.colours[Index(kind)] = contents.ColourOr(kind, settings.colours[Index(kind)]);
    }
    settings.midpointOrbPosition = contents.midpointOrbIndex;

    SetShowOnlyEarthAspects(settings);
    SetInnerPlanetAspectDisplay(settings);
    SetTZDisp(settings, state.zones.localOffsetMinutes);
    SetWheelAppearance(settings);
    SetUpTimezoneComboBoxes(state.zones, state.dateSets, settings.northAmericanZones, true);
}

Status LoadState(const QString& path, ProgramState& state) {
    const Expected<StateFileContents> contents = ReadStateFile(path);
    if (!contents) {
        return Fail(contents.error());
    }
    ApplyStateFile(*contents, state);
    return {};
}

ComputeOutcome StartFresh(ProgramState& state, const ComputeContext& context,
                          const QDateTime& now) {
    SetWorldDateToNow(state.dateSets[WorldDate], state.zones, now, TimezoneOffsetMinutes(now));
    state.mode = WorldTransits;
    return Compute(state, context);
}

ComputeOutcome ComputeAfterLoad(ProgramState& state, const ComputeContext& context,
                                const QDateTime& now) {
    state.chartShown = false;
    int dateSet = WorldDate;
    if (state.mode == NatalFirst) {
        dateSet = FirstBirthdate;
    } else if (state.mode == NatalSecond) {
        dateSet = SecondBirthdate;
    } else {
        state.mode = WorldTransits;
    }
    const Expected<double, DateError> converted =
        InputDateToAJDate(state.dateSets[dateSet], state.zones);
    if (converted || converted.error() == DateError::UnknownZone) {
        return Compute(state, context);
    }
    return StartFresh(state, context, now);
}

} // namespace orbivex
