#include "core/OrbSummary.h"

#include <gtest/gtest.h>

using namespace orbivex;

namespace {
OrbTable TableOfDegrees(const std::array<double, 7>& degrees, double divisor1 = 1.0,
                        double divisor2 = 1.0) {
    OrbTable table;
    for (const AspectKind kind : AllAspectKinds) {
        const double orb = DegreesToRadians(degrees[Index(kind) - 1]);
        table(kind, OrbColumn::OneChart) = orb;
        table(kind, OrbColumn::PersonalTransits) = orb / divisor1;
        table(kind, OrbColumn::Synastry) = orb / divisor2;
    }
    return table;
}
} // namespace

TEST(OrbSummary, LargestAndSmallestNonZeroOrbPerColumn) {
    const OrbSummary summary = ComputeOrbSummary(TableOfDegrees({10, 0, 6, 7, 5, 4, 5}, 3, 2));
    EXPECT_DOUBLE_EQ(summary.largest[0], DegreesToRadians(10));
    EXPECT_DOUBLE_EQ(summary.smallest[0], DegreesToRadians(4)); // the 0 is skipped
    EXPECT_DOUBLE_EQ(summary.largest[1], DegreesToRadians(10) / 3);
    EXPECT_DOUBLE_EQ(summary.smallest[1], DegreesToRadians(4) / 3);
    EXPECT_DOUBLE_EQ(summary.largest[2], DegreesToRadians(5));
    EXPECT_DOUBLE_EQ(summary.smallest[2], DegreesToRadians(2));
    EXPECT_FALSE(summary.allEqual);
}

TEST(OrbSummary, EqualOrbsSetTheFlagAndAllZeroKeepsTheStartValue) {
    // Orbs switched off (0) do not spoil the flag.
    const OrbSummary equal = ComputeOrbSummary(TableOfDegrees({3, 0, 3, 3, 3, 3, 3}));
    EXPECT_TRUE(equal.allEqual);
    EXPECT_DOUBLE_EQ(equal.largest[0], DegreesToRadians(3));
    EXPECT_DOUBLE_EQ(equal.smallest[0], DegreesToRadians(3));

    const OrbSummary zero = ComputeOrbSummary(TableOfDegrees({0, 0, 0, 0, 0, 0, 0}));
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(zero.largest[column], 0.0);
        EXPECT_EQ(zero.smallest[column], NoSmallestOrb);
    }
    EXPECT_FALSE(zero.allEqual);
}
