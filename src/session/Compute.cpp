#include "session/Compute.h"

#include "core/Ephemeris.h"

#include <utility>

namespace orbivex {
using enum ChartMode;

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
    request.firstJulianDay = state.ChartJulianDays[static_cast<std::size_t>(first)].julianDay;
    request.secondJulianDay = state.ChartJulianDays[static_cast<std::size_t>(second)].julianDay;
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

    std::vector<ComputeNote> notes;
    if (!IsChartMode(state.mode)) {
        state.mode = WorldTransits;
    }
    const auto used = DateSetsOfMode(state.mode);
    std::array<Instant, NumDateSets> julianDays = state.ChartJulianDays;
    for (int set = 0; set < NumDateSets; ++set) {
        if (!used[set]) {
            continue;
        }
        // The window then shows the date as it was read: the year in digits, and 12:00 or the
        // default zone where none was chosen.
        state.dateSets[set] = DateSetAsConverted(state.dateSets[set], state.zones);
        const DateSet& dateSet = state.dateSets[set];
        const Expected<double, DateError> jd = InputDateToAJDate(dateSet, state.zones);
        if (!jd) {
            return Fail(DateFailure{set, jd.error()});
        }
        julianDays[set] = Instant{*jd};
        if (std::optional<UnusualLocalTime> unusual = UnusualLocalTimeOf(dateSet)) {
            notes.push_back({set, std::move(unusual), std::nullopt, 0});
        }
        if (const std::optional<int> meanTime = PlaceMeanTimeOffset(dateSet)) {
            // A date set read at a place the state does not have is known by its longitude.
            Place place;
            place.zone = dateSet.zoneName;
            place.longitude = *dateSet.placeLongitude;
            notes.push_back({set, std::nullopt, state.places[set].value_or(place), *meanTime});
        }
    }
    state.ChartJulianDays = julianDays;

    state.chart = ComputeChart(ChartRequestOf(state, context), context.ephemeris, &state.chart);
    state.recordedMode = state.mode;
    if (context.chartOnly) {
        return notes;
    }

    state.computedDateSets = state.dateSets;
    state.computedZones = state.zones;
    state.computedPlaces = state.places;
    return notes;
}

} // namespace orbivex
