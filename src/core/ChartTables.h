#pragma once
// The changing tables that one computation leaves behind. They are plain values owned by the
// main window (or by whoever computes a chart) and passed to the routines by reference.

#include "core/Bodies.h"

#include <array>
#include <cassert>

namespace orbivex {

// Orb column: 0 world transits and natal aspects, 1 personal transits, 2 synastry.
using OrbColumn = int;

// Orb in radians per aspect kind 1..7 and orb column 0..2.
struct OrbTable {
    std::array<std::array<double, 3>, 8> orb{}; // [kind][column]
    double& operator()(AspectKind kind, OrbColumn column) { return orb[Index(kind)][column]; }
    double operator()(AspectKind kind, OrbColumn column) const { return orb[Index(kind)][column]; }
};

// Largest orb and smallest orb above 0 (and below 20) per orb column; allEqual is set for
// column 0 when the two are the same.
struct OrbSummary {
    std::array<double, 3> largest{};
    std::array<double, 3> smallest{};
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
