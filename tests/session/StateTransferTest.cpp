#include "session/StateTransfer.h"
#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "session/Registry3.h"
#include "support/ProgramTexts.h"

#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::AspectKind;
using enum orbivex::ChartMode;

namespace {

struct StateTransfer : ::testing::Test {
    QTemporaryDir folder;
    Ephemeris ephemeris{test::ProgramFolder()};
    ProgramTexts texts;
    ProgramState state;
    const QDateTime now{QDate(2026, 12, 7), QTime(23, 50), QTimeZone::utc()};

    void SetUp() override {
        ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
                  u""_s);
        ASSERT_GT(texts.Load(test::ProgramFolder() + QStringLiteral("/orbx.dat")), 0);
        state.zones = MakeTimeZones(0, false);
        state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry};
        state.dateSets[FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
        state.dateSets[SecondBirthdate] = {QStringLiteral("1985"), 11, 2, 40, 14};
    }
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
};

bool SameDates(const DateSets& a, const DateSets& b) {
    for (int set = 0; set < NumDateSets; ++set) {
        if (a[set].yearText != b[set].yearText || a[set].monthIndex != b[set].monthIndex ||
            a[set].dayIndex != b[set].dayIndex || a[set].hourIndex != b[set].hourIndex ||
            a[set].timezoneIndex != b[set].timezoneIndex ||
            a[set].typedMinute != b[set].typedMinute || a[set].zoneName != b[set].zoneName ||
            a[set].calendar != b[set].calendar) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST_F(StateTransfer, SavedStateComesBackWithItsDatesModeAndConfiguration) {
    state.mode = NatalSecond;
    state.stepUnitIndex = 3;
    state.settings.orbs.degrees = {8, 7, 6, 5, 4, 3, 2, 2};
    state.settings.colours[Index(Trine)] = Rgb(1, 2, 3);
    state.settings.boldfaceOneDegree = false;
    state.settings.boldfaceFactorPosition = 6;
    state.settings.synastryDivisorPosition = 4;
    state.settings.midpointOrbPosition = 7;
    state.settings.showOnlyEarth = true;
    SetMinuteOfDay(state.dateSets[FirstBirthdate], 6 * 60 + 41);
    SetZoneText(state.dateSets[SecondBirthdate], QStringLiteral("Europe/Paris"));
    SetCalendar(state.dateSets, CalendarChoice::Auto);
    state.settings.calendar = CalendarChoice::Auto;
    state.settings.zodiac = ZodiacChoice::OfDate;
    ASSERT_EQ(MessageOf(SaveState(Path("a.pat"), state)), u""_s);
    // An older reader finds the list entry of Paris's offset on that day, winter time.
    EXPECT_EQ(ToStateFile(state).dateSets[SecondBirthdate].timezoneIndex, 26);

    ProgramState loaded;
    loaded.zones = MakeTimeZones(0, false);
    ASSERT_EQ(MessageOf(LoadState(Path("a.pat"), loaded)), u""_s);
    EXPECT_TRUE(SameDates(loaded.dateSets, state.dateSets));
    EXPECT_EQ(loaded.mode, NatalSecond);
    EXPECT_EQ(loaded.stepUnitIndex, 3);
    // The display options travel through the registry, which the save wrote.
    EXPECT_EQ(loaded.settings, state.settings);

    ASSERT_TRUE(ComputeAfterLoad(loaded, {ephemeris}, now));
    EXPECT_EQ(loaded.recordedMode, NatalSecond);
}

TEST_F(StateTransfer, TwoChartModesComeBackAsWorldTransits) {
    state.mode = SynastryMode;
    ASSERT_EQ(MessageOf(SaveState(Path("b.pat"), state)), u""_s);
    ProgramState loaded;
    ASSERT_EQ(MessageOf(LoadState(Path("b.pat"), loaded)), u""_s);
    EXPECT_EQ(loaded.mode, SynastryMode);
    ASSERT_TRUE(ComputeAfterLoad(loaded, {ephemeris}, now));
    EXPECT_EQ(loaded.mode, WorldTransits);
    EXPECT_EQ(loaded.recordedMode, WorldTransits);
}

TEST_F(StateTransfer, AnEmptyWorldDateStartsAtThePresentMoment) {
    state.dateSets[WorldDate] = {};
    ASSERT_EQ(MessageOf(SaveState(Path("c.pat"), state)), u""_s);
    ProgramState loaded;
    loaded.zones = MakeTimeZones(0, false);
    ASSERT_EQ(MessageOf(LoadState(Path("c.pat"), loaded)), u""_s);
    ASSERT_TRUE(ComputeAfterLoad(loaded, {ephemeris}, now));
    EXPECT_EQ(loaded.dateSets[WorldDate].yearText, u"2026"_s);
    EXPECT_EQ(loaded.dateSets[WorldDate].monthIndex, 12);
    EXPECT_EQ(loaded.dateSets[WorldDate].dayIndex, 8); // 23:50 rounds to the next midnight
    EXPECT_EQ(loaded.recordedMode, WorldTransits);
}

TEST_F(StateTransfer, ABrokenFileChangesNothing) {
    ASSERT_EQ(MessageOf(SaveState(Path("d.pat"), state)), u""_s);
    QByteArray bytes = test::ReadAll(Path("d.pat"));
    bytes.replace("#FALSE#", "maybe");
    ASSERT_TRUE(test::WriteAll(Path("d.pat"), bytes));

    ProgramState target;
    target.dateSets[FirstBirthdate].yearText = QStringLiteral("1999");
    target.settings.orbs.degrees[0] = 3;
    target.settings.colours[Index(Square)] = Rgb(9, 9, 9);
    const ProgramState before = target;
    EXPECT_NE(MessageOf(LoadState(Path("d.pat"), target)), u""_s);
    EXPECT_TRUE(SameDates(target.dateSets, before.dateSets));
    EXPECT_EQ(target.settings, before.settings);
    EXPECT_NE(MessageOf(LoadState(Path("missing.pat"), target)), u""_s);
    EXPECT_EQ(target.settings, before.settings);
}

TEST_F(StateTransfer, AColourOfZeroInTheFileKeepsTheCurrentColour) {
    state.settings.colours[Index(Sextile)] = 0; // switched off
    ASSERT_EQ(MessageOf(SaveState(Path("e.pat"), state)), u""_s);
    ProgramState loaded;
    loaded.settings.colours[Index(Sextile)] = Rgb(0, 0, 255);
    ASSERT_EQ(MessageOf(LoadState(Path("e.pat"), loaded)), u""_s);
    EXPECT_EQ(loaded.settings.colours[Index(Sextile)], Rgb(0, 0, 255));
}

TEST_F(StateTransfer, APlaceTravelsInKeyedLinesAndLeavesTheClassicLinesAsTheyWere) {
    // Lyon, 1 March 1850, 12:00 at the place: Lyon's own mean time, +0:19:23 (4.84671° E).
    const Place lyon{u"Lyon"_s,         u"Auvergne-Rhône-Alpes"_s,
                     u"France"_s,       u"FR"_s,
                     u"Europe/Paris"_s, 45.74846,
                     4.84671,           522969};
    state.mode = NatalFirst;
    state.dateSets[FirstBirthdate] = {u"1850"_s, 3, 1, 25, 0};
    SetZoneText(state.dateSets[FirstBirthdate], lyon.zone);
    ASSERT_EQ(MessageOf(SaveState(Path("classic.pat"), state)), u""_s);
    state.places[FirstBirthdate] = lyon;
    ReadAtPlace(state.dateSets[FirstBirthdate], lyon);
    ASSERT_EQ(MessageOf(SaveState(Path("place.pat"), state)), u""_s);

    // What a reader that knows no place reads is exactly the file without one: the place
    // lines only follow it.
    const QByteArray classic = test::ReadAll(Path("classic.pat"));
    EXPECT_EQ(test::ReadAll(Path("place.pat")),
              classic + "birth1.place=Lyon|Auvergne-Rh%C3%B4ne-Alpes|France|FR|Europe/Paris|"
                        "45.74846|4.84671|522969\r\nbirth1.atplace=1\r\n");
    StateFileContents withoutPlace = ReadStateFile(Path("place.pat")).value();
    withoutPlace.dateSets[FirstBirthdate].place.reset();
    withoutPlace.dateSets[FirstBirthdate].atPlace = false;
    EXPECT_EQ(withoutPlace, ReadStateFile(Path("classic.pat")).value());

    ProgramState loaded;
    loaded.zones = MakeTimeZones(0, false);
    ASSERT_EQ(MessageOf(LoadState(Path("place.pat"), loaded)), u""_s);
    EXPECT_EQ(loaded.places, state.places);
    EXPECT_EQ(loaded.dateSets, state.dateSets);
    const ComputeOutcome outcome = ComputeAfterLoad(loaded, {ephemeris}, now);
    ASSERT_TRUE(outcome);
    // 2396817.5 + (12:00 - 0:19:23) / 24 h, by hand.
    EXPECT_NEAR(loaded.ChartJulianDays[FirstBirthdate].julianDay, 2396817.986539, 1e-6);
    ASSERT_EQ(outcome->size(), 1U);
    EXPECT_EQ(outcome->front().dateSet, FirstBirthdate);
    EXPECT_EQ(outcome->front().place, state.places[FirstBirthdate]);
    EXPECT_EQ(outcome->front().meanTimeSeconds, 1163);

    ProgramState classicLoaded;
    classicLoaded.zones = MakeTimeZones(0, false);
    ASSERT_EQ(MessageOf(LoadState(Path("classic.pat"), classicLoaded)), u""_s);
    ASSERT_TRUE(ComputeAfterLoad(classicLoaded, {ephemeris}, now));
    // Paris's own mean time, +0:09:21.
    EXPECT_NEAR(classicLoaded.ChartJulianDays[FirstBirthdate].julianDay, 2396817.993507, 1e-6);
}
