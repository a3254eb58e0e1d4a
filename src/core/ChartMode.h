#pragma once
// The six chart modes. The number is what the main window records and what a state file
// stores through its six mode flags.

#include "core/ChartTables.h"

#include <array>

namespace orbivex {

enum class ChartMode : int {
    NoChartMode = 0,
    WorldTransits = 1,
    NatalFirst = 2,     // natal aspects of the first birthdate
    NatalSecond = 3,    // natal aspects of the second birthdate
    PersonalFirst = 4,  // personal transits to the first birthdate
    PersonalSecond = 5, // personal transits to the second birthdate
    SynastryMode = 6,   // first birthdate against the second
};
inline constexpr int NumChartModes = 6;

// The modes in the order of their options, to iterate over.
inline constexpr std::array<ChartMode, NumChartModes> AllChartModes{
    ChartMode::WorldTransits, ChartMode::NatalFirst,     ChartMode::NatalSecond,
    ChartMode::PersonalFirst, ChartMode::PersonalSecond, ChartMode::SynastryMode};

// The mode's number 1..6 (0 for none): the order of its option and what state files record.
inline constexpr int ModeNumber(ChartMode mode) {
    return static_cast<int>(mode);
}
// The mode of a number 1..6; NoChartMode for any other.
inline constexpr ChartMode ChartModeOfNumber(int number) {
    return number >= 1 && number <= NumChartModes ? static_cast<ChartMode>(number)
                                                  : ChartMode::NoChartMode;
}

inline constexpr bool IsChartMode(ChartMode mode) {
    return mode >= ChartMode::WorldTransits && mode <= ChartMode::SynastryMode;
}

// Modes that compare two charts and lay the grid out as a square.
inline constexpr bool IsTwoChartMode(ChartMode mode) {
    return mode >= ChartMode::PersonalFirst && mode <= ChartMode::SynastryMode;
}

// The orb column a mode's aspects are tested with.
inline constexpr OrbColumn OrbColumnOfMode(ChartMode mode) {
    if (mode == ChartMode::SynastryMode) {
        return OrbColumn::Synastry;
    }
    return IsTwoChartMode(mode) ? OrbColumn::PersonalTransits : OrbColumn::OneChart;
}

} // namespace orbivex
