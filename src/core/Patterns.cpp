#include "core/Patterns.h"

#include "core/AngleFormat.h"
#include "core/Orbs.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace orbivex {

namespace {

const QString LineEnd = QStringLiteral("\r\n");

struct Link {
    BodyIndex a;
    BodyIndex b;
    AspectKind kind;
};

// The aspect tests of one search over the first chart.
class Sky {
  public:
    explicit Sky(const PatternContext& context)
        : context_(context), numBodies_(std::clamp(context.numBodies, 0, MaxBodies)) {}

    int NumBodies() const { return numBodies_; }

    bool Holds(BodyIndex a, BodyIndex b, AspectKind kind, double& deviationSum) const {
        double deviation = 0.0;
        if (!AspectWithinOrb(context_.positions, context_.orbs, a, b, kind, deviation)) {
            return false;
        }
        deviationSum += deviation;
        return true;
    }

    // The sum of the deviations when every link holds, tested in the order given.
    std::optional<double> AllHold(std::initializer_list<Link> links) const {
        double sum = 0.0;
        for (const Link& link : links) {
            if (!Holds(link.a, link.b, link.kind, sum)) {
                return std::nullopt;
            }
        }
        return sum;
    }

    std::optional<double> GrandTrine(BodyIndex i, BodyIndex j, BodyIndex k) const {
        return AllHold({{i, j, Trine}, {i, k, Trine}, {j, k, Trine}});
    }

    // Every set of `size` bodies in increasing order whose pairs all stand in the kind's
    // aspect, in the order nested loops over increasing bodies meet them. visit returns false
    // to end the search.
    void ForEachClique(int size, AspectKind kind,
                       const std::function<bool(std::span<const BodyIndex>, double)>& visit) const {
        std::vector<BodyIndex> members;
        std::vector<double> sums{0.0};
        ExtendClique(size, kind, 1, members, sums, visit);
    }

  private:
    bool ExtendClique(int size, AspectKind kind, BodyIndex from, std::vector<BodyIndex>& members,
                      std::vector<double>& sums,
                      const std::function<bool(std::span<const BodyIndex>, double)>& visit) const {
        if (static_cast<int>(members.size()) == size) {
            return visit(members, sums.back());
        }
        for (BodyIndex body = from; body <= numBodies_; ++body) {
            double sum = sums.back();
            const bool joins = std::all_of(members.begin(), members.end(),
                                           [&](BodyIndex m) { return Holds(m, body, kind, sum); });
            if (!joins) {
                continue;
            }
            members.push_back(body);
            sums.push_back(sum);
            const bool goOn = ExtendClique(size, kind, body + 1, members, sums, visit);
            members.pop_back();
            sums.pop_back();
            if (!goOn) {
                return false;
            }
        }
        return true;
    }

    const PatternContext& context_;
    int numBodies_;
};

QString BodyText(std::span<const BodyIndex> bodies, PatternForm form) {
    QStringList parts;
    for (BodyIndex body : bodies) {
        parts << (form == PatternForm::Report ? BodyAbbreviation(body) : BodyName(body));
    }
    return parts.join(QLatin1Char('-'));
}

// Collects the lines and the count of one finder and tells the run about each pattern.
class PatternWriter {
  public:
    PatternWriter(const PatternContext& context, PatternForm form, PatternIndex pattern,
                  QString runName)
        : context_(context), form_(form), pattern_(pattern), runName_(std::move(runName)) {}
    PatternWriter(const PatternContext& context, PatternForm form, PatternIndex pattern)
        : PatternWriter(context, form, pattern, PatternName(pattern)) {}

    // meanOrb: the mean deviation shown in the report form; none for no orb part.
    void Add(std::span<const BodyIndex> bodies, std::optional<double> meanOrb) {
        if (context_.runHook != nullptr && context_.runHook->SeeksBodies()) {
            context_.runHook->CheckSoughtBodies(runName_, bodies);
        }
        ++count_;
        if (form_ == PatternForm::Names) {
            text_ += BodyText(bodies, form_) + LineEnd;
            return;
        }
        text_ += PatternName(pattern_) + QStringLiteral(": ") + BodyText(bodies, form_);
        if (meanOrb) {
            text_ += QStringLiteral(" (") + context_.orbWord + QLatin1Char(' ') +
                     FormatDegreesMinutes(*meanOrb) + QLatin1Char(')');
        }
        text_ += LineEnd;
    }

    QString Finish(int& count) const {
        count = count_;
        return text_;
    }

  private:
    const PatternContext& context_;
    PatternForm form_;
    PatternIndex pattern_;
    QString runName_;
    QString text_;
    int count_ = 0;
};

// Four distinct bodies in the order of nested loops: i < j, then k (after j, or any body),
// then l (after i, or any body).
template <typename Visit> void ForEachFourBodies(int n, bool kAfterJ, bool lAfterI, Visit visit) {
    for (BodyIndex i = 1; i <= n; ++i) {
        for (BodyIndex j = i + 1; j <= n; ++j) {
            for (BodyIndex k = kAfterJ ? j + 1 : 1; k <= n; ++k) {
                if (k == i || k == j) {
                    continue;
                }
                for (BodyIndex l = lAfterI ? i + 1 : 1; l <= n; ++l) {
                    if (l != i && l != j && l != k) {
                        visit(i, j, k, l);
                    }
                }
            }
        }
    }
}

// An opposition or sextile i < j with a third body k in the same aspect `apexKind` to both:
// T-squares (opposition, squares) and yods (sextile, quincunxes). Written i-k-j.
template <typename Visit>
void ForEachApexPattern(const Sky& sky, AspectKind baseKind, AspectKind apexKind, Visit visit) {
    const int n = sky.NumBodies();
    for (BodyIndex i = 1; i <= n; ++i) {
        for (BodyIndex j = i + 1; j <= n; ++j) {
            for (BodyIndex k = 1; k <= n; ++k) {
                const auto sum =
                    sky.AllHold({{i, j, baseKind}, {i, k, apexKind}, {j, k, apexKind}});
                if (sum) {
                    visit(i, j, k, *sum);
                }
            }
        }
    }
}

} // namespace

QString FindGrandTrines(const PatternContext& context, PatternForm form, int& count) {
    const Sky sky(context);
    PatternWriter writer(context, form, GrandTrine);
    sky.ForEachClique(3, Trine, [&](std::span<const BodyIndex> trine, double sum) {
        writer.Add(trine, sum / 3.0);
        return true;
    });
    return writer.Finish(count);
}

QString FindKites(const PatternContext& context, PatternForm form, int& count) {
    const Sky sky(context);
    PatternWriter writer(context, form, Kite);
    sky.ForEachClique(3, Trine, [&](std::span<const BodyIndex> trine, double trineSum) {
        for (BodyIndex x = 1; x <= sky.NumBodies(); ++x) {
            if (std::find(trine.begin(), trine.end(), x) != trine.end()) {
                continue;
            }
            // x facing each vertex in turn; the other two follow in the trine's cyclic order.
            for (int t = 0; t < 3; ++t) {
                const BodyIndex facing = trine[t];
                const BodyIndex next = trine[(t + 1) % 3];
                const BodyIndex other = trine[(t + 2) % 3];
                const auto sum =
                    sky.AllHold({{x, facing, Opposition}, {x, next, Sextile}, {x, other, Sextile}});
                if (sum) {
                    const std::array<BodyIndex, 4> kite{facing, next, other, x};
                    writer.Add(kite, (trineSum + *sum) / 6.0);
                }
            }
        }
        return true;
    });
    return writer.Finish(count);
}

QString FindRectangles(const PatternContext& context, PatternForm form, int& count) {
    const Sky sky(context);
    PatternWriter writer(context, form, Rectangle);
    // The loops meet a rectangle once for each of its oppositions, and with wide orbs a set of
    // four bodies can fit the roles more than one way: each set is one rectangle, written as
    // first met.
    std::vector<unsigned> seen;
    ForEachFourBodies(sky.NumBodies(), false, true,
                      [&](BodyIndex i, BodyIndex j, BodyIndex k, BodyIndex b) {
                          const auto sum = sky.AllHold({{i, j, Opposition},
                                                        {j, k, Sextile},
                                                        {k, b, Opposition},
                                                        {b, i, Sextile},
                                                        {i, k, Trine},
                                                        {j, b, Trine}});
                          if (!sum) {
                              return;
                          }
                          const unsigned set = 1U << i | 1U << j | 1U << k | 1U << b;
                          if (std::find(seen.begin(), seen.end(), set) != seen.end()) {
                              return;
                          }
                          seen.push_back(set);
                          const std::array<BodyIndex, 4> rectangle{i, j, k, b};
                          writer.Add(rectangle, *sum / 6.0);
                      });
    return writer.Finish(count);
}

QString FindTSquares(const PatternContext& context, PatternForm form, int& count) {
    const Sky sky(context);
    PatternWriter writer(context, form, TSquare);
    ForEachApexPattern(sky, Opposition, Square,
                       [&](BodyIndex i, BodyIndex j, BodyIndex k, double sum) {
                           const std::array<BodyIndex, 3> tSquare{i, k, j};
                           writer.Add(tSquare, sum / 3.0);
                       });
    return writer.Finish(count);
}

QString FindGrandCrosses(const PatternContext& context, PatternForm form, int& count) {
    const Sky sky(context);
    PatternWriter writer(context, form, GrandCross);
    ForEachFourBodies(sky.NumBodies(), true, true,
                      [&](BodyIndex i, BodyIndex j, BodyIndex k, BodyIndex l) {
                          const auto sum = sky.AllHold({{i, j, Square},
                                                        {i, k, Square},
                                                        {i, l, Opposition},
                                                        {j, k, Opposition},
                                                        {j, l, Square},
                                                        {l, k, Square}});
                          if (sum) {
                              const std::array<BodyIndex, 4> cross{i, j, l, k};
                              writer.Add(cross, *sum / 6.0);
                          }
                      });
    return writer.Finish(count);
}

QString FindYods(const PatternContext& context, PatternForm form, int& count) {
    const Sky sky(context);
    PatternWriter writer(context, form, Yod);
    ForEachApexPattern(sky, Sextile, Quincunx,
                       [&](BodyIndex i, BodyIndex j, BodyIndex k, double sum) {
                           const std::array<BodyIndex, 3> yod{i, k, j};
                           writer.Add(yod, sum / 3.0);
                       });
    return writer.Finish(count);
}

QString FindYodKites(const PatternContext& context, PatternForm form, int& count) {
    const Sky sky(context);
    PatternWriter writer(context, form, YodKite);
    ForEachApexPattern(
        sky, Sextile, Quincunx, [&](BodyIndex i, BodyIndex j, BodyIndex k, double yodSum) {
            for (BodyIndex l = 1; l <= sky.NumBodies(); ++l) {
                if (l == i || l == j || l == k) {
                    continue;
                }
                const auto sum =
                    sky.AllHold({{l, k, Opposition}, {l, j, Semisextile}, {l, i, Semisextile}});
                if (sum) {
                    const std::array<BodyIndex, 4> yodKite{i, k, j, l};
                    writer.Add(yodKite, (yodSum + *sum) / 6.0);
                }
            }
        });
    return writer.Finish(count);
}

QString FindTrapeziums(const PatternContext& context, PatternForm form, int& count) {
    const Sky sky(context);
    PatternWriter writer(context, form, Trapezium);
    ForEachFourBodies(sky.NumBodies(), false, false,
                      [&](BodyIndex i, BodyIndex j, BodyIndex k, BodyIndex l) {
                          const auto sum = sky.AllHold({{i, j, Opposition},
                                                        {i, k, Trine},
                                                        {i, l, Sextile},
                                                        {k, l, Sextile},
                                                        {k, j, Sextile},
                                                        {j, l, Trine}});
                          if (sum) {
                              const std::array<BodyIndex, 4> trapezium{i, j, k, l};
                              writer.Add(trapezium, *sum / 6.0);
                          }
                      });
    return writer.Finish(count);
}

QString FindStelliums(const PatternContext& context, int size, PatternForm form, int& count) {
    if (size < 3 || size > 6) {
        count = 0;
        return {};
    }
    const PatternIndex pattern = ThreeStellium - (size - 3);
    const Sky sky(context);
    PatternWriter writer(context, form, pattern,
                         QString::number(size) + QStringLiteral("-stellium"));
    bool lacksSoughtBody = false;
    sky.ForEachClique(size, Conjunction, [&](std::span<const BodyIndex> stellium, double sum) {
        // A run seeking bodies is only interested in 3-stelliums that hold all of them; the
        // first one that does not ends this search.
        if (size == 3) {
            for (BodyIndex sought : context.soughtBodies) {
                if (sought > 0 &&
                    std::find(stellium.begin(), stellium.end(), sought) == stellium.end()) {
                    lacksSoughtBody = true;
                    return false;
                }
            }
        }
        const int pairs = size * (size - 1) / 2;
        writer.Add(stellium, sum / pairs);
        return true;
    });
    const QString text = writer.Finish(count);
    return lacksSoughtBody ? QString() : text;
}

QString FindGrandSextiles(const PatternContext& context, PatternForm form, int& count) {
    const Sky sky(context);
    const int n = sky.NumBodies();
    PatternWriter writer(context, form, GrandSextile);
    sky.ForEachClique(3, Trine, [&](std::span<const BodyIndex> first, double) {
        const BodyIndex i = first[0];
        const BodyIndex j = first[1];
        const BodyIndex k = first[2];
        const auto outside = [&](BodyIndex body) { return body != j && body != k; };
        for (BodyIndex l = i + 1; l <= n; ++l) {
            for (BodyIndex m = l + 1; m <= n; ++m) {
                for (BodyIndex o = m + 1; o <= n; ++o) {
                    if (!outside(l) || !outside(m) || !outside(o) || !sky.GrandTrine(l, m, o)) {
                        continue;
                    }
                    const std::array<BodyIndex, 3> second{l, m, o};
                    int sextiles = 0;
                    for (BodyIndex a : first) {
                        for (BodyIndex b : second) {
                            double unused = 0.0;
                            sextiles += sky.Holds(a, b, Sextile, unused) ? 1 : 0;
                        }
                    }
                    if (sextiles == 6) {
                        const std::array<BodyIndex, 6> hexagon{i, j, k, l, m, o};
                        writer.Add(hexagon, std::nullopt);
                    }
                }
            }
        }
        return true;
    });
    // Nine bodies hold at most one grand sextile of distinct points; near-conjunct bodies can
    // repeat it, and it still counts once.
    int found = 0;
    const QString text = writer.Finish(found);
    count = found > 0 ? 1 : 0;
    return text;
}

QString FindPattern(PatternIndex pattern, const PatternContext& context, PatternForm form,
                    int& count) {
    switch (pattern) {
    case GrandTrine:
        return FindGrandTrines(context, form, count);
    case Kite:
        return FindKites(context, form, count);
    case Rectangle:
        return FindRectangles(context, form, count);
    case TSquare:
        return FindTSquares(context, form, count);
    case GrandCross:
        return FindGrandCrosses(context, form, count);
    case Yod:
        return FindYods(context, form, count);
    case YodKite:
        return FindYodKites(context, form, count);
    case Trapezium:
        return FindTrapeziums(context, form, count);
    case SixStellium:
    case FiveStellium:
    case FourStellium:
    case ThreeStellium:
        return FindStelliums(context, 3 + (ThreeStellium - pattern), form, count);
    case GrandSextile:
        return FindGrandSextiles(context, form, count);
    default:
        count = 0;
        return {};
    }
}

} // namespace orbivex
