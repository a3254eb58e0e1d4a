#pragma once
// The six chart modes. The number is what the main window records and what a state file
// stores through its six mode flags.

#include "core/ChartTables.h"

namespace orbivex {

using ChartMode = int;

inline constexpr ChartMode NoChartMode = 0;
inline constexpr ChartMode WorldTransits = 1;
inline constexpr ChartMode NatalFirst = 2;     // natal aspects of the first birthdate
inline constexpr ChartMode NatalSecond = 3;    // natal aspects of the second birthdate
inline constexpr ChartMode PersonalFirst = 4;  // personal transits to the first birthdate
inline constexpr ChartMode PersonalSecond = 5; // personal transits to the second birthdate
inline constexpr ChartMode SynastryMode = 6;   // first birthdate against the second
inline constexpr int NumChartModes = 6;

inline constexpr bool IsChartMode(ChartMode mode) {
    return mode >= WorldTransits && mode <= SynastryMode;
}

// Modes that compare two charts and lay the grid out as a square.
inline constexpr bool IsTwoChartMode(ChartMode mode) {
    return mode >= PersonalFirst && mode <= SynastryMode;
}

// The orb column a mode's aspects are tested with.
inline constexpr OrbColumn OrbColumnOfMode(ChartMode mode) {
    if (mode == SynastryMode) {
        return 2;
    }
    return IsTwoChartMode(mode) ? 1 : 0;
}

} // namespace orbivex
