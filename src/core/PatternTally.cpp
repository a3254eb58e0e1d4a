#include "core/PatternTally.h"

#include "core/Orbs.h"

#include <algorithm>
#include <bit>
#include <bitset>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <type_traits>

namespace orbivex {

namespace {

constexpr BodySet Bit(BodyIndex body) {
    return static_cast<BodySet>(1U << body);
}

constexpr BodySet SetOf(std::initializer_list<BodyIndex> bodies) {
    BodySet set = 0;
    for (BodyIndex body : bodies) {
        set = static_cast<BodySet>(set | Bit(body));
    }
    return set;
}

// The number of bodies in a set. A table, since without a population-count instruction
// std::popcount is a library call, and this runs for every stellium candidate.
constexpr std::array<std::uint8_t, 1U << (MaxBodies + 1)> BodyCounts = [] {
    std::array<std::uint8_t, 1U << (MaxBodies + 1)> counts{};
    for (unsigned set = 1; set < counts.size(); ++set) {
        counts[set] = static_cast<std::uint8_t>(counts[set >> 1] + (set & 1U));
    }
    return counts;
}();

int CountOf(BodySet set) {
    return BodyCounts[set & (BodyCounts.size() - 1U)];
}

// Bodies 1..n.
constexpr BodySet FirstBodies(int n) {
    return static_cast<BodySet>((2U << n) - 2U);
}

// Bodies after `body`.
constexpr BodySet After(BodyIndex body) {
    return static_cast<BodySet>(~((2U << body) - 1U));
}

// Calls visit(body) for every body of the set in increasing order, the order in which the
// finders' loops meet them. visit may return false to end the walk; ForEach then does too.
template <typename Visit> bool ForEach(BodySet set, Visit visit) {
    while (set != 0) {
        const auto body = static_cast<BodyIndex>(std::countr_zero(set));
        set = static_cast<BodySet>(set & (set - 1U));
        if constexpr (std::is_same_v<decltype(visit(body)), bool>) {
            if (!visit(body)) {
                return false;
            }
        } else {
            visit(body);
        }
    }
    return true;
}

// Counts the patterns of one search and tells the run hook about each, as the finders do.
class Tally {
  public:
    Tally(const PatternContext& context, PatternIndex pattern, int stelliumSize = 0)
        : hook_(context.runHook), pattern_(pattern), stelliumSize_(stelliumSize) {}

    void Add(std::initializer_list<BodyIndex> bodies) {
        if (hook_ != nullptr && hook_->SeeksBodies()) {
            if (!runName_) {
                runName_ = stelliumSize_ > 0
                               ? QString::number(stelliumSize_) + QStringLiteral("-stellium")
                               : PatternName(pattern_);
            }
            hook_->CheckSoughtBodies(*runName_,
                                     std::span<const BodyIndex>(bodies.begin(), bodies.size()));
        }
        ++count_;
    }

    int Count() const { return count_; }

  private:
    PatternRunHook* hook_;
    PatternIndex pattern_;
    int stelliumSize_;
    std::optional<QString> runName_; // made only when the hook first needs it
    int count_ = 0;
};

// Every grand trine i < j < k, in the order nested loops meet them.
template <typename Visit> void ForEachGrandTrine(const AspectPairTable& pairs, Visit visit) {
    ForEach(FirstBodies(pairs.NumBodies()), [&](BodyIndex i) {
        const BodySet trinesOfI = static_cast<BodySet>(pairs.Partners(i, Trine) & After(i));
        ForEach(trinesOfI, [&](BodyIndex j) {
            ForEach(static_cast<BodySet>(trinesOfI & pairs.Partners(j, Trine) & After(j)),
                    [&](BodyIndex k) { visit(i, j, k); });
        });
    });
}

// A base pair i < j in the base aspect with a third body k in the apex aspect to both.
template <typename Visit>
void ForEachApexPattern(const AspectPairTable& pairs, AspectKind baseKind, AspectKind apexKind,
                        Visit visit) {
    ForEach(FirstBodies(pairs.NumBodies()), [&](BodyIndex i) {
        ForEach(static_cast<BodySet>(pairs.Partners(i, baseKind) & After(i)), [&](BodyIndex j) {
            ForEach(static_cast<BodySet>(pairs.Partners(i, apexKind) & pairs.Partners(j, apexKind)),
                    [&](BodyIndex k) { visit(i, j, k); });
        });
    });
}

int CountGrandTrines(const PatternContext& context, const AspectPairTable& pairs) {
    Tally tally(context, GrandTrine);
    ForEachGrandTrine(pairs, [&](BodyIndex i, BodyIndex j, BodyIndex k) { tally.Add({i, j, k}); });
    return tally.Count();
}

int CountKites(const PatternContext& context, const AspectPairTable& pairs) {
    Tally tally(context, Kite);
    ForEachGrandTrine(pairs, [&](BodyIndex i, BodyIndex j, BodyIndex k) {
        const std::array<BodyIndex, 3> trine{i, j, k};
        const BodySet opposite =
            static_cast<BodySet>((pairs.Partners(i, Opposition) | pairs.Partners(j, Opposition) |
                                  pairs.Partners(k, Opposition)) &
                                 ~SetOf({i, j, k}));
        ForEach(opposite, [&](BodyIndex x) {
            for (int t = 0; t < 3; ++t) {
                const BodyIndex facing = trine[t];
                const BodyIndex next = trine[(t + 1) % 3];
                const BodyIndex other = trine[(t + 2) % 3];
                if (pairs.Holds(x, facing, Opposition) && pairs.Holds(x, next, Sextile) &&
                    pairs.Holds(x, other, Sextile)) {
                    tally.Add({facing, next, other, x});
                }
            }
        });
    });
    return tally.Count();
}

int CountRectangles(const PatternContext& context, const AspectPairTable& pairs) {
    Tally tally(context, Rectangle);
    // Each set of four bodies is one rectangle, however many ways the loops meet it.
    std::bitset<1U << (MaxBodies + 1)> seen;
    ForEach(FirstBodies(pairs.NumBodies()), [&](BodyIndex i) {
        ForEach(static_cast<BodySet>(pairs.Partners(i, Opposition) & After(i)), [&](BodyIndex j) {
            const BodySet ks = static_cast<BodySet>(pairs.Partners(j, Sextile) &
                                                    pairs.Partners(i, Trine) & ~SetOf({i, j}));
            ForEach(ks, [&](BodyIndex k) {
                const BodySet bs = static_cast<BodySet>(
                    pairs.Partners(k, Opposition) & pairs.Partners(i, Sextile) &
                    pairs.Partners(j, Trine) & After(i) & ~SetOf({j, k}));
                ForEach(bs, [&](BodyIndex b) {
                    const BodySet set = SetOf({i, j, k, b});
                    if (seen.test(set)) {
                        return;
                    }
                    seen.set(set);
                    tally.Add({i, j, k, b});
                });
            });
        });
    });
    return tally.Count();
}

int CountTSquares(const PatternContext& context, const AspectPairTable& pairs) {
    Tally tally(context, TSquare);
    ForEachApexPattern(pairs, Opposition, Square, [&](BodyIndex i, BodyIndex j, BodyIndex k) {
        tally.Add({i, k, j});
    });
    return tally.Count();
}

int CountGrandCrosses(const PatternContext& context, const AspectPairTable& pairs) {
    Tally tally(context, GrandCross);
    ForEach(FirstBodies(pairs.NumBodies()), [&](BodyIndex i) {
        ForEach(static_cast<BodySet>(pairs.Partners(i, Square) & After(i)), [&](BodyIndex j) {
            const BodySet ks = static_cast<BodySet>(pairs.Partners(i, Square) &
                                                    pairs.Partners(j, Opposition) & After(j));
            ForEach(ks, [&](BodyIndex k) {
                const BodySet ls =
                    static_cast<BodySet>(pairs.Partners(i, Opposition) & pairs.Partners(j, Square) &
                                         pairs.Partners(k, Square) & After(i) & ~SetOf({j, k}));
                ForEach(ls, [&](BodyIndex l) { tally.Add({i, j, l, k}); });
            });
        });
    });
    return tally.Count();
}

int CountYods(const PatternContext& context, const AspectPairTable& pairs) {
    Tally tally(context, Yod);
    ForEachApexPattern(pairs, Sextile, Quincunx, [&](BodyIndex i, BodyIndex j, BodyIndex k) {
        tally.Add({i, k, j});
    });
    return tally.Count();
}

int CountYodKites(const PatternContext& context, const AspectPairTable& pairs) {
    Tally tally(context, YodKite);
    ForEachApexPattern(pairs, Sextile, Quincunx, [&](BodyIndex i, BodyIndex j, BodyIndex k) {
        const BodySet ls =
            static_cast<BodySet>(pairs.Partners(k, Opposition) & pairs.Partners(j, Semisextile) &
                                 pairs.Partners(i, Semisextile) & ~SetOf({i, j, k}));
        ForEach(ls, [&](BodyIndex l) { tally.Add({i, k, j, l}); });
    });
    return tally.Count();
}

int CountTrapeziums(const PatternContext& context, const AspectPairTable& pairs) {
    Tally tally(context, Trapezium);
    ForEach(FirstBodies(pairs.NumBodies()), [&](BodyIndex i) {
        ForEach(static_cast<BodySet>(pairs.Partners(i, Opposition) & After(i)), [&](BodyIndex j) {
            const BodySet ks = static_cast<BodySet>(pairs.Partners(i, Trine) &
                                                    pairs.Partners(j, Sextile) & ~SetOf({i, j}));
            ForEach(ks, [&](BodyIndex k) {
                const BodySet ls =
                    static_cast<BodySet>(pairs.Partners(i, Sextile) & pairs.Partners(k, Sextile) &
                                         pairs.Partners(j, Trine) & ~SetOf({i, j, k}));
                ForEach(ls, [&](BodyIndex l) { tally.Add({i, j, k, l}); });
            });
        });
    });
    return tally.Count();
}

// Every set of `size` mutually conjunct bodies in increasing order, in the order nested loops
// meet them; visit returns false to end the search.
template <typename Visit>
bool ForEachStellium(const AspectPairTable& pairs, int size, std::array<BodyIndex, 6>& members,
                     int filled, BodySet candidates, Visit& visit) {
    if (filled == size) {
        return visit(std::span<const BodyIndex>(members.data(), static_cast<size_t>(size)));
    }
    // Too few candidates left to complete a stellium: nothing below here is found.
    if (CountOf(candidates) < size - filled) {
        return true;
    }
    return ForEach(candidates, [&](BodyIndex body) {
        members[static_cast<size_t>(filled)] = body;
        const BodySet next =
            static_cast<BodySet>(candidates & pairs.Partners(body, Conjunction) & After(body));
        return ForEachStellium(pairs, size, members, filled + 1, next, visit);
    });
}

int CountStelliums(const PatternContext& context, const AspectPairTable& pairs, int size) {
    Tally tally(context, ThreeStellium - (size - 3), size);
    std::array<BodyIndex, 6> members{};
    auto visit = [&](std::span<const BodyIndex> stellium) {
        // A run seeking bodies ends the 3-stellium search at the first one lacking one of them.
        if (size == 3) {
            for (BodyIndex sought : context.soughtBodies) {
                if (sought > 0 &&
                    std::find(stellium.begin(), stellium.end(), sought) == stellium.end()) {
                    return false;
                }
            }
        }
        if (size == 3) {
            tally.Add({stellium[0], stellium[1], stellium[2]});
        } else if (size == 4) {
            tally.Add({stellium[0], stellium[1], stellium[2], stellium[3]});
        } else if (size == 5) {
            tally.Add({stellium[0], stellium[1], stellium[2], stellium[3], stellium[4]});
        } else {
            tally.Add(
                {stellium[0], stellium[1], stellium[2], stellium[3], stellium[4], stellium[5]});
        }
        return true;
    };
    ForEachStellium(pairs, size, members, 0, FirstBodies(pairs.NumBodies()), visit);
    return tally.Count();
}

int CountGrandSextiles(const PatternContext& context, const AspectPairTable& pairs) {
    Tally tally(context, GrandSextile);
    const BodySet bodies = FirstBodies(pairs.NumBodies());
    ForEachGrandTrine(pairs, [&](BodyIndex i, BodyIndex j, BodyIndex k) {
        const BodySet allowed = static_cast<BodySet>(bodies & ~SetOf({j, k}));
        ForEach(static_cast<BodySet>(allowed & After(i)), [&](BodyIndex l) {
            const BodySet trinesOfL = static_cast<BodySet>(pairs.Partners(l, Trine) & allowed);
            ForEach(static_cast<BodySet>(trinesOfL & After(l)), [&](BodyIndex m) {
                const BodySet os =
                    static_cast<BodySet>(trinesOfL & pairs.Partners(m, Trine) & After(m));
                ForEach(os, [&](BodyIndex o) {
                    const BodySet second = SetOf({l, m, o});
                    const int sextiles = CountOf(pairs.Partners(i, Sextile) & second) +
                                         CountOf(pairs.Partners(j, Sextile) & second) +
                                         CountOf(pairs.Partners(k, Sextile) & second);
                    if (sextiles == 6) {
                        tally.Add({i, j, k, l, m, o});
                    }
                });
            });
        });
    });
    return tally.Count() > 0 ? 1 : 0;
}

} // namespace

AspectPairTable::AspectPairTable(const BodyPositions& positions, const OrbTable& orbs,
                                 int numBodies)
    : numBodies_(std::clamp(numBodies, 0, MaxBodies)) {
    for (BodyIndex a = 1; a <= numBodies_; ++a) {
        const double pa = positions(a, 0);
        if (!(pa >= 0.0)) {
            continue;
        }
        for (BodyIndex b = a; b <= numBodies_; ++b) {
            const double pb = positions(b, 0);
            if (!(pb >= 0.0)) {
                continue;
            }
            // The separation is symmetric, so one test serves both orders of the pair. The
            // deviation is AspectDeviation's, written out: the same two operations give the
            // same bits, without a call for each kind.
            const double separation = AngularSeparation(pa, pb);
            for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
                if (std::fabs(separation - AspectAngles[kind]) < orbs(kind, 0)) {
                    partners_[kind][a] = static_cast<BodySet>(partners_[kind][a] | Bit(b));
                    partners_[kind][b] = static_cast<BodySet>(partners_[kind][b] | Bit(a));
                }
            }
        }
    }
}

AspectKind AspectPairTable::FirstKind(BodyIndex a, BodyIndex b) const {
    for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
        if (Holds(a, b, kind)) {
            return kind;
        }
    }
    return 0;
}

int CountPattern(PatternIndex pattern, const PatternContext& context,
                 const AspectPairTable& pairs) {
    switch (pattern) {
    case GrandTrine:
        return CountGrandTrines(context, pairs);
    case Kite:
        return CountKites(context, pairs);
    case Rectangle:
        return CountRectangles(context, pairs);
    case TSquare:
        return CountTSquares(context, pairs);
    case GrandCross:
        return CountGrandCrosses(context, pairs);
    case Yod:
        return CountYods(context, pairs);
    case YodKite:
        return CountYodKites(context, pairs);
    case Trapezium:
        return CountTrapeziums(context, pairs);
    case SixStellium:
    case FiveStellium:
    case FourStellium:
    case ThreeStellium:
        return CountStelliums(context, pairs, 3 + (ThreeStellium - pattern));
    case GrandSextile:
        return CountGrandSextiles(context, pairs);
    default:
        return 0;
    }
}

} // namespace orbivex
