#pragma once
// The aspect patterns and midpoint configurations of one set of positions. Patterns are sought
// with the world/natal orbs (orb column 0). The aspect of every pair is decided once into a
// table of partner sets; the searches walk those sets, and each pattern found is kept with its
// bodies in the order the report writes them and the mean deviation of its aspects. Counting is
// the size of what was found; the texts are written from these lists elsewhere.

#include "core/Bodies.h"
#include "core/ChartTables.h"
#include "core/Position.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orbivex {

// A set of bodies 1..MaxBodies as bits (bit b for body b).
using BodySet = std::uint16_t;

// Which aspect kinds hold, strictly within the orbs of column 0, between every two distinct
// bodies 1..numBodies that have a position, with the separation of each such pair.
class AspectPairs {
  public:
    AspectPairs(const PositionSet& positions, const OrbTable& orbs, int numBodies);

    int NumBodies() const { return numBodies_; }
    // The bodies in the kind's aspect to `body`.
    BodySet Partners(BodyIndex body, AspectKind kind) const { return partners_[kind][body]; }
    bool Holds(BodyIndex a, BodyIndex b, AspectKind kind) const {
        return (Partners(a, kind) >> BodyNumber(b) & 1U) != 0;
    }
    // The pair's aspect: the first kind 1..7 that holds; NoAspect for none.
    AspectKind FirstKind(BodyIndex a, BodyIndex b) const;
    // How far the pair is from the exact aspect of the kind (radians); meaningful for a pair
    // whose bodies both have a position.
    double Deviation(BodyIndex a, BodyIndex b, AspectKind kind) const {
        return std::fabs(separation_[a][b] - AspectAngles[kind]);
    }

  private:
    int numBodies_;
    ByAspectKind<ByBody<BodySet>> partners_{};
    ByBody<ByBody<double>> separation_{};
};

// One occurrence of a pattern.
struct FoundPattern {
    PatternIndex pattern = PatternIndex::GrandTrine;
    std::array<BodyIndex, 6> members{};
    int size = 0; // 3 to 6 bodies
    // The mean deviation of the pattern's aspects (radians); none for the grand sextile.
    std::optional<double> meanOrb;

    // In report order: a T-square or yod with its apex in the middle, a kite starting with the
    // vertex opposite the fourth body, stelliums in increasing body order.
    std::span<const BodyIndex> Bodies() const {
        return {members.data(), static_cast<std::size_t>(size)};
    }
    bool operator==(const FoundPattern&) const = default;
};

// The bodies a pattern run seeks, each of its three lists empty or holding one.
using SoughtBodies = std::array<std::optional<BodyIndex>, 3>;

// Appends the occurrences of pattern 0..12 (GrandTrine ... GrandSextile) in the order the search
// meets them. Every set of four bodies is one rectangle however often the search meets it. A
// run seeking bodies only wants 3-stelliums that hold them all: the 3-stellium search ends at
// the first that lacks one, keeps those found before it, and returns true (withheld).
bool FindPattern(PatternIndex pattern, const AspectPairs& pairs, const SoughtBodies& sought,
                 std::vector<FoundPattern>& found);

// Every pattern in report order: grand trines, kites, rectangles, T-squares, grand crosses,
// yods, yod-kites, trapeziums, the stelliums of the largest size that has any (6 down to 3),
// grand sextiles. counts receives the number of each index 0..12 (at most 1 grand sextile:
// nine bodies hold one, repeated only by near-conjunct bodies; 0 for the stellium sizes not
// reported). Returns whether 3-stelliums were withheld as FindPattern says.
bool FindPatterns(const AspectPairs& pairs, const SoughtBodies& sought,
                  std::vector<FoundPattern>& found, PatternCounts& counts);

// Three bodies of which one stands at the midpoint of the other two: the body at the midpoint
// in the middle, the other two around it in ascending order.
struct MidpointConfiguration {
    std::array<BodyIndex, 3> bodies{};
    bool operator==(const MidpointConfiguration&) const = default;
};

// Whether one of bodies a, b, c stands strictly within midpointOrb (radians) of the midpoint of
// the other two, measured from their plain mean or from the point opposite it, so that either
// arc between them counts; tried for a, then b, then c. None when one is not a body or has no
// position, or when two stand at exactly the same longitude.
std::optional<MidpointConfiguration> MidpointOfTriple(const PositionSet& positions,
                                                      double midpointOrb, BodyIndex a, BodyIndex b,
                                                      BodyIndex c);

// Every midpoint configuration among bodies 1..pairs.NumBodies() whose three bodies are
// mutually unconjunct, each once, in the order a search over pairs i < j (not conjunct) and
// third bodies k meets them. pairs must describe positions.
std::vector<MidpointConfiguration> FindMidpoints(const PositionSet& positions,
                                                 const AspectPairs& pairs, double midpointOrb);

} // namespace orbivex
