#include "session/Compute.h"

#include "calendar/NamedZones.h"
#include "core/Ephemeris.h"
#include "support/ProgramTexts.h"

#include <utility>

namespace orbivex {

namespace {

// The date sets of the first and the second set of bodies of a mode.
std::pair<int, int> DateSetsOfChart(ChartMode mode) {
    switch (mode) {
    case NatalFirst:
        return {FirstBirthdate, FirstBirthdate};
    case NatalSecond:
        return {SecondBirthdate, SecondBirthdate};
    case PersonalFirst:
        return {WorldDate, FirstBirthdate};
    case PersonalSecond:
        return {WorldDate, SecondBirthdate};
    case SynastryMode:
        return {FirstBirthdate, SecondBirthdate};
    default:
        return {WorldDate, WorldDate};
    }
}

} // namespace

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

ChartRequest ChartRequestOf(const ProgramState& state, const ComputeContext& context) {
    ChartRequest request;
    request.mode = state.mode;
    const auto [first, second] = DateSetsOfChart(state.mode);
    request.firstJulianDay = state.ChartJulianDays[static_cast<std::size_t>(first)];
    request.secondJulianDay = state.ChartJulianDays[static_cast<std::size_t>(second)];
    request.orbs = state.orbs;
    request.midpointOrb = MidpointOrbRadians(state.settings.midpointOrbPosition);
    request.boldface = BoldfaceRuleOf(state.settings);
    request.numBodies = context.ephemeris.NumBodies();
    request.motion = !context.chartOnly;
    request.soughtBodies = context.soughtBodies;
    // A chart computed only for a run's stop test shows no signs: it spares the precession.
    request.zodiac = context.chartOnly ? ZodiacChoice::J2000 : state.settings.zodiac;
    return request;
}

ComputeOutcome Compute(ProgramState& state, const ComputeContext& context) {
    SetOrbs(state.settings, state.orbs, state.orbSummary);

    QStringList notes;
    if (!IsChartMode(state.mode)) {
        state.mode = WorldTransits;
    }
    const auto used = DateSetsOfMode(state.mode);
    std::array<double, NumDateSets> julianDays = state.ChartJulianDays;
    for (int set = 0; set < NumDateSets; ++set) {
        if (!used[set]) {
            continue;
        }
        // The window then shows the date as it was read: the year in digits, and 12:00 or the
        // default zone where none was chosen.
        state.dateSets[set] = DateSetAsConverted(state.dateSets[set], state.zones);
        const Expected<double, DateError> jd = InputDateToAJDate(state.dateSets[set], state.zones);
        if (!jd) {
            const DateErrorText report = ReportDateError(context.texts, set, jd.error());
            return Fail(DateFailure{set, jd.error(), report.message, report.title});
        }
        julianDays[set] = *jd;
        // Read in the place's own zone, a date of that zone's local mean time is read in the
        // mean time of the place.
        if (const std::optional<Place>& place = state.places[set].place;
            place && !place->zone.isEmpty() && place->zone == state.dateSets[set].zoneName) {
            bool meanTime = false;
            int offset = 0;
            julianDays[set] = PlaceInstant(*place, *jd, meanTime, offset);
            if (meanTime) {
                notes.append(LocalMeanTimeNote(context.texts, set, *place, offset));
            }
        }
        if (const QString note = LocalTimeNote(context.texts, set, state.dateSets[set]);
            !note.isEmpty()) {
            notes.append(note);
        }
    }
    state.ChartJulianDays = julianDays;

    state.chart = ComputeChart(ChartRequestOf(state, context), context.ephemeris, &state.chart);
    state.recordedMode = state.mode;
    if (context.chartOnly) {
        return notes;
    }

    state.computedDateSets = state.dateSets;
    for (int set = 0; set < NumDateSets; ++set) {
        state.computedPlaces[set] = state.places[set].text;
    }
    state.computedZones = state.zones;
    return notes;
}

} // namespace orbivex
