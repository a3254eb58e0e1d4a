#pragma once
// The changing tables that one computation leaves behind. They are plain values owned by the
// main window (or by whoever computes a chart) and passed to the routines by reference.

#include "core/Bodies.h"

#include <array>
#include <cassert>

namespace orbivex {

// The orbs an aspect is tested with: those of one chart (world transits and natal aspects), the
// narrower ones of personal transits, or those of synastry.
enum class OrbColumn : int { OneChart, PersonalTransits, Synastry };
inline constexpr int NumOrbColumns = 3;
inline constexpr std::array<OrbColumn, NumOrbColumns> AllOrbColumns{
    OrbColumn::OneChart, OrbColumn::PersonalTransits, OrbColumn::Synastry};

inline constexpr std::size_t Index(OrbColumn column) {
    return static_cast<std::size_t>(column);
}

// Orb in radians per aspect kind 1..7 and orb column.
struct OrbTable {
    std::array<std::array<double, NumOrbColumns>, 8> orb{}; // [kind][column]
    double& operator()(AspectKind kind, OrbColumn column) {
        return orb[Index(kind)][Index(column)];
    }
    double operator()(AspectKind kind, OrbColumn column) const {
        return orb[Index(kind)][Index(column)];
    }
};

// Largest orb and smallest orb above 0 (and below 20) per orb column (by Index); allEqual is
// set for the one-chart column when the two are the same.
struct OrbSummary {
    std::array<double, NumOrbColumns> largest{};
    std::array<double, NumOrbColumns> smallest{};
    bool allEqual = false;
};

// Number of aspects per kind 1..7 found by the last computation.
struct AspectCounts {
    std::array<int, 8> count{};
    int& operator[](AspectKind kind) { return count[Index(kind)]; }
    int operator[](AspectKind kind) const { return count[Index(kind)]; }
    int Total() const {
        int total = 0;
        for (AspectKind kind : AllAspectKinds) {
            total += (*this)[kind];
        }
        return total;
    }
};

// Number of patterns per pattern index 0..13 found by the last computation. Only the patterns
// of the list have a count: NoPattern ("run until stopped") is refused, by an assertion in a
// debug build and by std::out_of_range otherwise, never read past the table.
struct PatternCounts {
    std::array<int, NumPatterns> count{};
    int& operator[](PatternIndex pattern) {
        assert(IsPattern(pattern));
        return count.at(Index(pattern));
    }
    int operator[](PatternIndex pattern) const {
        assert(IsPattern(pattern));
        return count.at(Index(pattern));
    }
};

} // namespace orbivex
