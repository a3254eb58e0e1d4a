#pragma once
// A computed chart for the tests of durations, their window and the course graph: the real
// ephemeris, Pluto table and program texts, the world date 20 March 2024 12:00 GMT, the first
// birthdate 15 June 1970 06:30 GMT+1 and the second 2 November 1985 19:30 GMT-5.

#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "session/Compute.h"
#include "support/ProgramTexts.h"

#include <gtest/gtest.h>

namespace orbivex::test {

struct ChartFixture : ::testing::Test {
    Ephemeris ephemeris{ProgramFolder()};
    ProgramTexts texts;
    ProgramState state;

    void SetUp() override {
        ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
                  QString());
        ASSERT_GT(texts.Load(ProgramFolder() + QStringLiteral("/orbx.dat")), 0);
        state.zones = MakeTimeZones(0, false);
        state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry};
        state.dateSets[FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
        state.dateSets[SecondBirthdate] = {QStringLiteral("1985"), 11, 2, 40, 14};
    }

    void Run(ChartMode mode) {
        state.mode = mode;
        ASSERT_TRUE(Compute(state, {ephemeris}));
    }
};

} // namespace orbivex::test
