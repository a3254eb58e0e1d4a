#include "core/PatternSearch.h"

#include "core/Orbs.h"

#include <algorithm>
#include <bit>
#include <bitset>
#include <initializer_list>
#include <type_traits>

namespace orbivex {
using enum AspectKind;
using enum PatternIndex;

namespace {

constexpr BodySet Bit(BodyIndex body) {
    return static_cast<BodySet>(1U << BodyNumber(body));
}

constexpr BodySet SetOf(std::initializer_list<BodyIndex> bodies) {
    BodySet set = 0;
    for (BodyIndex body : bodies) {
        set = static_cast<BodySet>(set | Bit(body));
    }
    return set;
}

// Bodies 1..n.
constexpr BodySet FirstBodies(int n) {
    return static_cast<BodySet>((2U << n) - 2U);
}

// Bodies after `body`.
constexpr BodySet After(BodyIndex body) {
    return static_cast<BodySet>(~((2U << BodyNumber(body)) - 1U));
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

// Calls visit(body) for every body of the set in increasing order, the order of nested loops
// over increasing bodies. visit may return false to end the walk; ForEach then does too.
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

struct Link {
    BodyIndex a;
    BodyIndex b;
    AspectKind kind;
};

// The deviations of a pattern's aspects added up in the order given; the mean orb of a pattern
// is this sum over the number of aspects.
double SumOfDeviations(const AspectPairs& pairs, std::initializer_list<Link> links) {
    double sum = 0.0;
    for (const Link& link : links) {
        sum += pairs.Deviation(link.a, link.b, link.kind);
    }
    return sum;
}

// The deviations of every pair of a stellium, each new body against those before it.
double StelliumSum(const AspectPairs& pairs, std::span<const BodyIndex> members) {
    double sum = 0.0;
    for (std::size_t t = 1; t < members.size(); ++t) {
        for (std::size_t m = 0; m < t; ++m) {
            sum += pairs.Deviation(members[m], members[t], Conjunction);
        }
    }
    return sum;
}

class Finder {
  public:
    Finder(const AspectPairs& pairs, std::vector<FoundPattern>& found)
        : pairs_(pairs), found_(found) {}

    void Add(PatternIndex pattern, std::initializer_list<BodyIndex> bodies,
             std::optional<double> meanOrb) {
        FoundPattern pattern_{pattern, {}, static_cast<int>(bodies.size()), meanOrb};
        std::copy(bodies.begin(), bodies.end(), pattern_.members.begin());
        found_.push_back(pattern_);
    }

    // Every grand trine i < j < k.
    template <typename Visit> void ForEachGrandTrine(Visit visit) const {
        ForEach(FirstBodies(pairs_.NumBodies()), [&](BodyIndex i) {
            const BodySet trinesOfI = static_cast<BodySet>(pairs_.Partners(i, Trine) & After(i));
            ForEach(trinesOfI, [&](BodyIndex j) {
                ForEach(static_cast<BodySet>(trinesOfI & pairs_.Partners(j, Trine) & After(j)),
                        [&](BodyIndex k) { visit(i, j, k); });
            });
        });
    }

    double GrandTrineSum(BodyIndex i, BodyIndex j, BodyIndex k) const {
        return SumOfDeviations(pairs_, {{i, j, Trine}, {i, k, Trine}, {j, k, Trine}});
    }

    // A base pair i < j in the base aspect with a third body k in the apex aspect to both:
    // T-squares (opposition, squares) and yods (sextile, quincunxes).
    template <typename Visit>
    void ForEachApexPattern(AspectKind baseKind, AspectKind apexKind, Visit visit) const {
        ForEach(FirstBodies(pairs_.NumBodies()), [&](BodyIndex i) {
            ForEach(
                static_cast<BodySet>(pairs_.Partners(i, baseKind) & After(i)), [&](BodyIndex j) {
                    ForEach(static_cast<BodySet>(pairs_.Partners(i, apexKind) &
                                                 pairs_.Partners(j, apexKind)),
                            [&](BodyIndex k) {
                                const double sum = SumOfDeviations(
                                    pairs_, {{i, j, baseKind}, {i, k, apexKind}, {j, k, apexKind}});
                                visit(i, j, k, sum);
                            });
                });
        });
    }

    void GrandTrines() {
        ForEachGrandTrine([&](BodyIndex i, BodyIndex j, BodyIndex k) {
            Add(GrandTrine, {i, j, k}, GrandTrineSum(i, j, k) / 3.0);
        });
    }

    void Kites() {
        ForEachGrandTrine([&](BodyIndex i, BodyIndex j, BodyIndex k) {
            const std::array<BodyIndex, 3> trine{i, j, k};
            const BodySet opposite = static_cast<BodySet>((pairs_.Partners(i, Opposition) |
                                                           pairs_.Partners(j, Opposition) |
                                                           pairs_.Partners(k, Opposition)) &
                                                          ~SetOf({i, j, k}));
            ForEach(opposite, [&](BodyIndex x) {
                // x facing each vertex in turn; the other two follow in the trine's cyclic order.
                for (std::size_t t = 0; t < 3; ++t) {
                    const BodyIndex facing = trine[t];
                    const BodyIndex next = trine[(t + 1) % 3];
                    const BodyIndex other = trine[(t + 2) % 3];
                    if (pairs_.Holds(x, facing, Opposition) && pairs_.Holds(x, next, Sextile) &&
                        pairs_.Holds(x, other, Sextile)) {
                        const double sum = SumOfDeviations(
                            pairs_,
                            {{x, facing, Opposition}, {x, next, Sextile}, {x, other, Sextile}});
                        Add(Kite, {facing, next, other, x}, (GrandTrineSum(i, j, k) + sum) / 6.0);
                    }
                }
            });
        });
    }

    void Rectangles() {
        // The search meets a rectangle again with its other opposition first.
        std::bitset<1U << (MaxBodies + 1)> seen;
        ForEach(FirstBodies(pairs_.NumBodies()), [&](BodyIndex i) {
            ForEach(
                static_cast<BodySet>(pairs_.Partners(i, Opposition) & After(i)), [&](BodyIndex j) {
                    const BodySet ks = static_cast<BodySet>(
                        pairs_.Partners(j, Sextile) & pairs_.Partners(i, Trine) & ~SetOf({i, j}));
                    ForEach(ks, [&](BodyIndex k) {
                        const BodySet bs = static_cast<BodySet>(
                            pairs_.Partners(k, Opposition) & pairs_.Partners(i, Sextile) &
                            pairs_.Partners(j, Trine) & After(i) & ~SetOf({j, k}));
                        ForEach(bs, [&](BodyIndex b) {
                            const BodySet four = SetOf({i, j, k, b});
                            if (seen.test(four)) {
                                return;
                            }
                            seen.set(four);
                            const double sum = SumOfDeviations(pairs_, {{i, j, Opposition},
                                                                        {j, k, Sextile},
                                                                        {k, b, Opposition},
                                                                        {b, i, Sextile},
                                                                        {i, k, Trine},
                                                                        {j, b, Trine}});
                            Add(Rectangle, {i, j, k, b}, sum / 6.0);
                        });
                    });
                });
        });
    }

    void TSquares() {
        ForEachApexPattern(Opposition, Square,
                           [&](BodyIndex i, BodyIndex j, BodyIndex k, double sum) {
                               Add(TSquare, {i, k, j}, sum / 3.0);
                           });
    }

    void GrandCrosses() {
        ForEach(FirstBodies(pairs_.NumBodies()), [&](BodyIndex i) {
            ForEach(static_cast<BodySet>(pairs_.Partners(i, Square) & After(i)), [&](BodyIndex j) {
                const BodySet ks = static_cast<BodySet>(pairs_.Partners(i, Square) &
                                                        pairs_.Partners(j, Opposition) & After(j));
                ForEach(ks, [&](BodyIndex k) {
                    const BodySet ls = static_cast<BodySet>(
                        pairs_.Partners(i, Opposition) & pairs_.Partners(j, Square) &
                        pairs_.Partners(k, Square) & After(i) & ~SetOf({j, k}));
                    ForEach(ls, [&](BodyIndex l) {
                        const double sum = SumOfDeviations(pairs_, {{i, j, Square},
                                                                    {i, k, Square},
                                                                    {i, l, Opposition},
                                                                    {j, k, Opposition},
                                                                    {j, l, Square},
                                                                    {l, k, Square}});
                        Add(GrandCross, {i, j, l, k}, sum / 6.0);
                    });
                });
            });
        });
    }

    void Yods() {
        ForEachApexPattern(Sextile, Quincunx,
                           [&](BodyIndex i, BodyIndex j, BodyIndex k, double sum) {
                               Add(Yod, {i, k, j}, sum / 3.0);
                           });
    }

    void YodKites() {
        ForEachApexPattern(
            Sextile, Quincunx, [&](BodyIndex i, BodyIndex j, BodyIndex k, double yodSum) {
                const BodySet ls = static_cast<BodySet>(
                    pairs_.Partners(k, Opposition) & pairs_.Partners(j, Semisextile) &
                    pairs_.Partners(i, Semisextile) & ~SetOf({i, j, k}));
                ForEach(ls, [&](BodyIndex l) {
                    const double sum = SumOfDeviations(
                        pairs_, {{l, k, Opposition}, {l, j, Semisextile}, {l, i, Semisextile}});
                    Add(YodKite, {i, k, j, l}, (yodSum + sum) / 6.0);
                });
            });
    }

    void Trapeziums() {
        ForEach(FirstBodies(pairs_.NumBodies()), [&](BodyIndex i) {
            ForEach(
                static_cast<BodySet>(pairs_.Partners(i, Opposition) & After(i)), [&](BodyIndex j) {
                    const BodySet ks = static_cast<BodySet>(
                        pairs_.Partners(i, Trine) & pairs_.Partners(j, Sextile) & ~SetOf({i, j}));
                    ForEach(ks, [&](BodyIndex k) {
                        const BodySet ls = static_cast<BodySet>(
                            pairs_.Partners(i, Sextile) & pairs_.Partners(k, Sextile) &
                            pairs_.Partners(j, Trine) & ~SetOf({i, j, k}));
                        ForEach(ls, [&](BodyIndex l) {
                            const double sum = SumOfDeviations(pairs_, {{i, j, Opposition},
                                                                        {i, k, Trine},
                                                                        {i, l, Sextile},
                                                                        {k, l, Sextile},
                                                                        {k, j, Sextile},
                                                                        {j, l, Trine}});
                            Add(Trapezium, {i, j, k, l}, sum / 6.0);
                        });
                    });
                });
        });
    }

    // Returns whether a 3-stellium lacking a sought body ended the search.
    bool Stelliums(int size, const SoughtBodies& sought) {
        const PatternIndex pattern = PatternOfNumber(PatternNumber(ThreeStellium) - (size - 3));
        std::array<BodyIndex, 6> members{};
        bool withheld = false;
        const auto visit = [&](std::span<const BodyIndex> stellium) {
            if (size == 3) {
                for (const std::optional<BodyIndex>& body : sought) {
                    if (body &&
                        std::find(stellium.begin(), stellium.end(), *body) == stellium.end()) {
                        withheld = true;
                        return false;
                    }
                }
            }
            FoundPattern found{pattern, {}, size, std::nullopt};
            std::copy(stellium.begin(), stellium.end(), found.members.begin());
            found.meanOrb = StelliumSum(pairs_, stellium) / (size * (size - 1) / 2);
            found_.push_back(found);
            return true;
        };
        ExtendStellium(size, members, 0, FirstBodies(pairs_.NumBodies()), visit);
        return withheld;
    }

    void GrandSextiles() {
        const BodySet bodies = FirstBodies(pairs_.NumBodies());
        ForEachGrandTrine([&](BodyIndex i, BodyIndex j, BodyIndex k) {
            // The second triangle: any other grand trine l < m < n with l after i.
            const BodySet allowed = static_cast<BodySet>(bodies & ~SetOf({j, k}));
            ForEach(static_cast<BodySet>(allowed & After(i)), [&](BodyIndex l) {
                const BodySet trinesOfL = static_cast<BodySet>(pairs_.Partners(l, Trine) & allowed);
                ForEach(static_cast<BodySet>(trinesOfL & After(l)), [&](BodyIndex m) {
                    const BodySet ns =
                        static_cast<BodySet>(trinesOfL & pairs_.Partners(m, Trine) & After(m));
                    ForEach(ns, [&](BodyIndex n) {
                        const BodySet second = SetOf({l, m, n});
                        const int sextiles = CountOf(pairs_.Partners(i, Sextile) & second) +
                                             CountOf(pairs_.Partners(j, Sextile) & second) +
                                             CountOf(pairs_.Partners(k, Sextile) & second);
                        if (sextiles == 6) {
                            Add(GrandSextile, {i, j, k, l, m, n}, std::nullopt);
                        }
                    });
                });
            });
        });
    }

  private:
    // Every set of `size` mutually conjunct bodies in increasing order, in the order nested
    // loops meet them; visit returns false to end the search.
    template <typename Visit>
    bool ExtendStellium(int size, std::array<BodyIndex, 6>& members, int filled, BodySet candidates,
                        Visit& visit) const {
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
                static_cast<BodySet>(candidates & pairs_.Partners(body, Conjunction) & After(body));
            return ExtendStellium(size, members, filled + 1, next, visit);
        });
    }

    const AspectPairs& pairs_;
    std::vector<FoundPattern>& found_;
};

// Whether longitude x lies within the orb of the midpoint of y and z, measured from their
// plain mean or from the point opposite it. Longitudes lie in [0, full circle).
bool AtMidpoint(double x, double y, double z, double orb) {
    const double mean = (y + z) / 2.0;
    // Most triples are nowhere near: x lies more than the orb from the mean, from the point
    // opposite it and from the mean's image a circle away. The margin dwarfs every rounding
    // of the exact test below, so this never turns away what that test would accept.
    constexpr double Margin = 1e-9;
    const double apart = std::fabs(x - mean);
    const double reach = orb + Margin;
    if (apart >= reach && std::fabs(apart - FullCircle / 2.0) >= reach &&
        FullCircle - apart >= reach) {
        return false;
    }
    if (AngularSeparation(mean, x) < orb) {
        return true;
    }
    return AngularSeparation(NormalizeAngle(mean + FullCircle / 2.0), x) < orb;
}

// The configuration of bodies a, b, c given the test atMidpoint(x, y, z): whether body x
// stands at the midpoint of bodies y and z.
template <typename AtMidpointOf>
std::optional<MidpointConfiguration> Configuration(const PositionSet& positions, BodyIndex a,
                                                   BodyIndex b, BodyIndex c,
                                                   AtMidpointOf atMidpoint) {
    if (!IsBody(a) || !IsBody(b) || !IsBody(c)) {
        return std::nullopt;
    }
    const Position& pa = positions[a];
    const Position& pb = positions[b];
    const Position& pc = positions[c];
    if (!pa.Known() || !pb.Known() || !pc.Known() || pa.Longitude() == pb.Longitude() ||
        pa.Longitude() == pc.Longitude() || pb.Longitude() == pc.Longitude()) {
        return std::nullopt;
    }
    std::array<BodyIndex, 3> roles{a, b, c}; // the body at the midpoint first
    if (atMidpoint(a, b, c)) {
        roles = {a, b, c};
    } else if (atMidpoint(b, a, c)) {
        roles = {b, a, c};
    } else if (atMidpoint(c, a, b)) {
        roles = {c, a, b};
    } else {
        return std::nullopt;
    }
    return MidpointConfiguration{
        {std::min(roles[1], roles[2]), roles[0], std::max(roles[1], roles[2])}};
}

} // namespace

AspectPairs::AspectPairs(const PositionSet& positions, const OrbTable& orbs, int numBodies)
    : numBodies_(std::clamp(numBodies, 0, MaxBodies)) {
    for (BodyIndex a : BodiesInUse(numBodies_)) {
        const Position& pa = positions[a];
        if (!pa.Known()) {
            continue;
        }
        for (BodyIndex b : BodiesAfter(a, numBodies_)) {
            const Position& pb = positions[b];
            if (!pb.Known()) {
                continue;
            }
            // The separation is symmetric, so one test serves both orders of the pair.
            const double separation = AngularSeparation(pa.Longitude(), pb.Longitude());
            separation_[a][b] = separation;
            separation_[b][a] = separation;
            for (const AspectKind kind : AllAspectKinds) {
                if (WithinOrb(separation, kind, orbs(kind, OrbColumn::OneChart))) {
                    partners_[kind][a] = static_cast<BodySet>(partners_[kind][a] | Bit(b));
                    partners_[kind][b] = static_cast<BodySet>(partners_[kind][b] | Bit(a));
                }
            }
        }
    }
}

AspectKind AspectPairs::FirstKind(BodyIndex a, BodyIndex b) const {
    for (const AspectKind kind : AllAspectKinds) {
        if (Holds(a, b, kind)) {
            return kind;
        }
    }
    return NoAspect;
}

bool FindPattern(PatternIndex pattern, const AspectPairs& pairs, const SoughtBodies& sought,
                 std::vector<FoundPattern>& found) {
    Finder finder(pairs, found);
    switch (pattern) {
    case GrandTrine:
        finder.GrandTrines();
        break;
    case Kite:
        finder.Kites();
        break;
    case Rectangle:
        finder.Rectangles();
        break;
    case TSquare:
        finder.TSquares();
        break;
    case GrandCross:
        finder.GrandCrosses();
        break;
    case Yod:
        finder.Yods();
        break;
    case YodKite:
        finder.YodKites();
        break;
    case Trapezium:
        finder.Trapeziums();
        break;
    case SixStellium:
    case FiveStellium:
    case FourStellium:
    case ThreeStellium:
        return finder.Stelliums(3 + PatternNumber(ThreeStellium) - PatternNumber(pattern), sought);
    case GrandSextile:
        finder.GrandSextiles();
        break;
    default:
        break;
    }
    return false;
}

bool FindPatterns(const AspectPairs& pairs, const SoughtBodies& sought,
                  std::vector<FoundPattern>& found, PatternCounts& counts) {
    const auto find = [&](PatternIndex pattern) {
        const std::size_t before = found.size();
        const bool withheld = FindPattern(pattern, pairs, sought, found);
        counts[pattern] = static_cast<int>(found.size() - before);
        return withheld;
    };
    for (PatternIndex pattern : PatternRange(GrandTrine, Trapezium)) {
        find(pattern);
    }
    // Only the largest stellium is reported.
    bool withheld = false;
    bool stelliumFound = false;
    for (PatternIndex pattern : PatternRange(SixStellium, ThreeStellium)) {
        if (stelliumFound) {
            counts[pattern] = 0;
            continue;
        }
        withheld = find(pattern);
        stelliumFound = counts[pattern] > 0;
    }
    find(GrandSextile);
    int& sextiles = counts[GrandSextile];
    sextiles = std::min(sextiles, 1);
    return withheld;
}

std::optional<MidpointConfiguration> MidpointOfTriple(const PositionSet& positions,
                                                      double midpointOrb, BodyIndex a, BodyIndex b,
                                                      BodyIndex c) {
    return Configuration(positions, a, b, c, [&](BodyIndex x, BodyIndex y, BodyIndex z) {
        return AtMidpoint(positions[x].Longitude(), positions[y].Longitude(),
                          positions[z].Longitude(), midpointOrb);
    });
}

std::vector<MidpointConfiguration> FindMidpoints(const PositionSet& positions,
                                                 const AspectPairs& pairs, double midpointOrb) {
    std::vector<MidpointConfiguration> found;
    const int n = pairs.NumBodies();
    constexpr std::size_t Side = MaxBodies + 1; // body numbers 0..MaxBodies index each axis
    const auto longitude = [&](BodyIndex body) { return positions[body].Longitude(); };
    // Which bodies of each triple a < b < c stand at the midpoint of the other two (bit 0 a,
    // bit 1 b, bit 2 c), each tested once although the search meets the triple in several
    // orders. Most charts have no such triple at all, and then there is nothing to search.
    std::array<std::uint8_t, Side * Side * Side> triples{};
    const auto code = [](BodyIndex a, BodyIndex b, BodyIndex c) {
        return (Index(a) * Side + Index(b)) * Side + Index(c);
    };
    // For each pair, the third bodies that make a triple with a midpoint.
    ByBody<ByBody<BodySet>> thirds{};
    bool anyMidpoint = false;
    for (BodyIndex a : BodiesInUse(n)) {
        for (BodyIndex b : BodiesAfter(a, n)) {
            for (BodyIndex c : BodiesAfter(b, n)) {
                if (!positions[a].Known() || !positions[b].Known() || !positions[c].Known()) {
                    continue;
                }
                const double pa = longitude(a);
                const double pb = longitude(b);
                const double pc = longitude(c);
                const auto bits =
                    static_cast<std::uint8_t>((AtMidpoint(pa, pb, pc, midpointOrb) ? 1U : 0U) |
                                              (AtMidpoint(pb, pa, pc, midpointOrb) ? 2U : 0U) |
                                              (AtMidpoint(pc, pa, pb, midpointOrb) ? 4U : 0U));
                if (bits == 0) {
                    continue;
                }
                triples[code(a, b, c)] = bits;
                thirds[a][b] = static_cast<BodySet>(thirds[a][b] | Bit(c));
                thirds[a][c] = static_cast<BodySet>(thirds[a][c] | Bit(b));
                thirds[b][c] = static_cast<BodySet>(thirds[b][c] | Bit(a));
                anyMidpoint = true;
            }
        }
    }
    if (!anyMidpoint) {
        return found;
    }
    const auto atMidpointOf = [&](BodyIndex x, BodyIndex y, BodyIndex z) {
        const BodyIndex low = std::min(y, z);
        const BodyIndex high = std::max(y, z);
        if (x < low) {
            return (triples[code(x, low, high)] & 1U) != 0;
        }
        if (x < high) {
            return (triples[code(low, x, high)] & 2U) != 0;
        }
        return (triples[code(low, high, x)] & 4U) != 0;
    };
    // The same configuration is met from several orders of its bodies; it counts once.
    std::bitset<Side * Side * Side> seen;
    for (BodyIndex i : BodiesInUse(n)) {
        for (BodyIndex j : BodiesAfter(i, n)) {
            if (pairs.Holds(i, j, Conjunction)) {
                continue;
            }
            // The third bodies in increasing order, leaving out those conjunct with either of
            // the pair and those that make no midpoint.
            const BodySet ks = static_cast<BodySet>(thirds[i][j] & ~pairs.Partners(i, Conjunction) &
                                                    ~pairs.Partners(j, Conjunction));
            ForEach(ks, [&](BodyIndex k) {
                const std::optional<MidpointConfiguration> configuration =
                    Configuration(positions, i, k, j, atMidpointOf);
                if (!configuration) {
                    return;
                }
                const auto& [p, middle, q] = configuration->bodies;
                const auto key = code(middle, p, q);
                if (seen.test(key)) {
                    return;
                }
                seen.set(key);
                found.push_back(*configuration);
            });
        }
    }
    return found;
}

} // namespace orbivex
