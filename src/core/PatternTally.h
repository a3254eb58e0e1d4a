#pragma once
// The pattern finders in counting form: the same patterns, met in the same order, counted the
// same way and told to a pattern run's hook with the same calls, but without writing any text.
// A fast pattern run computes thousands of charts a second and reads nothing but the counts,
// so the aspect of every pair is decided once per chart into a table of partner sets, and the
// searches walk those sets instead of testing pairs again and again.

#include "core/Bodies.h"
#include "core/ChartTables.h"
#include "core/Patterns.h"

#include <array>
#include <cstdint>

namespace orbivex {

// A set of bodies 1..MaxBodies as bits (bit b for body b).
using BodySet = std::uint16_t;

// Which aspect kinds hold, within the world/natal orbs (orb column 0), between every two
// bodies of the first chart (column 0 of the positions): exactly what AspectWithinOrb says for
// each pair and kind. Bodies above numBodies and bodies without a position take part in none.
class AspectPairTable {
  public:
    AspectPairTable(const BodyPositions& positions, const OrbTable& orbs, int numBodies);

    int NumBodies() const { return numBodies_; }
    // The bodies b for which AspectWithinOrb(body, b, kind) holds (body itself included when
    // its conjunction orb is above 0: a body is conjunct itself).
    BodySet Partners(BodyIndex body, AspectKind kind) const { return partners_[kind][body]; }
    bool Holds(BodyIndex a, BodyIndex b, AspectKind kind) const {
        return (Partners(a, kind) >> b & 1U) != 0;
    }
    // The aspect FindAspect gives the pair in orb column 0: the first kind that holds, 0 for
    // none.
    AspectKind FirstKind(BodyIndex a, BodyIndex b) const;

  private:
    int numBodies_;
    std::array<std::array<BodySet, MaxBodies + 1>, NumAspectKinds + 1> partners_{};
};

// The number of patterns of index 0..12 that FindPattern counts, calling context.runHook
// exactly as FindPattern does (while it seeks bodies, once per pattern, in the same order and
// with the same bodies) and honouring context.soughtBodies in the 3-stellium search. The
// table must describe context.positions and context.orbs. 0 for another index.
int CountPattern(PatternIndex pattern, const PatternContext& context, const AspectPairTable& pairs);

} // namespace orbivex
