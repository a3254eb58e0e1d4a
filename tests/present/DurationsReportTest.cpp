#include "present/DurationsReport.h"
#include "common/ChartFixture.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;
using enum orbivex::ChartMode;
using orbivex::test::ChartFixture;

namespace {

ProgramTexts RealTexts() {
    ProgramTexts texts;
    texts.Load(test::ProgramFolder() + QStringLiteral("/orbx.dat"));
    return texts;
}

// The bodies of the records in list order, as "p1-p2".
QStringList Order(const DurationRecords& records) {
    QStringList order;
    for (const QString& record : records) {
        DurationFields f;
        ReadDurationRecord(record, f);
        order << QStringLiteral("%1-%2").arg(BodyNumber(f.body1)).arg(BodyNumber(f.body2));
    }
    return order;
}

// A chart of the mode with bodies at the given longitudes (degrees) under the state's orbs; the
// other bodies have no position.
Chart ChartOf(const ProgramState& state, ChartMode mode,
              std::initializer_list<std::pair<BodyIndex, double>> degrees) {
    ChartRequest request;
    request.mode = mode;
    request.orbs = state.orbs;
    request.midpointOrb = MidpointOrbRadians(state.settings.midpointOrbPosition);
    std::array<PositionSet, 2> positions{};
    for (const auto& [body, longitude] : degrees) {
        positions[0][body] = Position(DegreesToRadians(longitude));
    }
    return ChartOfPositions(request, positions);
}

} // namespace

TEST(ListingWidths, ComeFromTheLongestNamesAndDates) {
    const ListingWidths w = MakeListingWidths();
    EXPECT_EQ(w.W1, 7);
    EXPECT_EQ(w.W2, 21);
    EXPECT_EQ(w.W3, 7);
    EXPECT_EQ(w.W4, 19);
    EXPECT_EQ(w.W5, 19);
    EXPECT_EQ(w.W6, 29);
}

TEST(DurationText, CountsYearsOfTheMeanCalendarYearAndDays) {
    const ProgramTexts texts = RealTexts();
    const std::pair<int, const char*> cases[] = {
        {1, "1 day"},
        {2, "2 days"},
        {364, "364 days"},
        {365, "1 year"},
        {366, "1 year, 1 day"},
        {400, "1 year, 35 days"},
        {730, "1 year, 365 days"},
        {731, "2 years, 1 day"},
        {1096, "3 years, 1 day"},
        {6354, "17 years, 145 days"},
    };
    for (const auto& [days, text] : cases) {
        EXPECT_EQ(DurationText(days, texts), QString::fromUtf8(text)) << days;
    }
}

TEST(QuickSort, OrdersByEachKeyWithTheFollowingFieldsBreakingTies) {
    const DurationRecords records{
        DurationRecord(Earth, Mercury, Square, 0.05, 100, 110),           // duration 11
        DurationRecord(Earth, Venus, Conjunction, 0.01, 105, 106),        // 2
        DurationRecord(Mercury, Venus, Square, 0.03, 90, 200),            // 111
        DurationRecord(Mars, Pluto, Opposition, 0.02, std::nullopt, 300), // unknown
        DurationRecord(Earth, Mercury, Trine, 0.01, 100, 104), // 5: ties on exactness and beginning
    };
    const std::pair<int, const char*> cases[] = {
        {RecordKeyStartDeviation, "1-2 1-3 4-9 2-3 1-2"},
        {RecordKeyStartKind, "1-3 4-9 2-3 1-2 1-2"},
        {RecordKeyStartBody1, "1-2 1-2 1-3 2-3 4-9"},
        {RecordKeyStartBody2, "1-2 1-2 1-3 2-3 4-9"},
        {RecordKeyStartBeginning, "4-9 2-3 1-2 1-2 1-3"},
        {RecordKeyStartEnd, "1-2 1-3 1-2 2-3 4-9"},
        {RecordKeyStartDuration, "4-9 1-3 1-2 1-2 2-3"},
    };
    for (const auto& [key, order] : cases) {
        DurationRecords sorted = records;
        SortRecords(sorted, key);
        EXPECT_EQ(Order(sorted).join(QLatin1Char(' ')), QString::fromUtf8(order)) << key;
    }
    // The exactness tie (1-3 and 1-2 at 0.01) falls to the beginning: 100 before 105.
    DurationRecords sorted = records;
    SortRecords(sorted, RecordKeyStartDeviation);
    EXPECT_EQ(sorted[0], records[4]);
    // Descending, and only within the range.
    sorted = records;
    QuickSort(false, sorted, 1, 3, RecordKeyStartDeviation);
    EXPECT_EQ(Order(sorted).join(QLatin1Char(' ')), u"1-2 2-3 4-9 1-3 1-2"_s);
    QuickSort(true, sorted, 3, 99, RecordKeyStartDeviation); // clipped to the list
    EXPECT_EQ(Order(sorted).join(QLatin1Char(' ')), u"1-2 2-3 4-9 1-2 1-3"_s);
    DurationRecords empty;
    SortRecords(empty, RecordKeyStartBody1);
    EXPECT_TRUE(empty.empty());
}

TEST(QuickSort, ComparesPlainCharacterCodes) {
    // A space sorts before "-", which sorts before digits: -1 (unknown) comes before 90, which
    // comes before 100.
    DurationRecords records{DurationRecord(Earth, Mercury, Square, 0.05, 100, 110),
                            DurationRecord(Earth, Venus, Square, 0.05, 90, 110),
                            DurationRecord(Earth, Mars, Square, 0.05, std::nullopt, 110)};
    SortRecords(records, RecordKeyStartBeginning);
    EXPECT_EQ(Order(records).join(QLatin1Char(' ')), u"1-4 1-3 1-2"_s);
}

TEST(DurationsListing, WritesPaddedLinesWithOrWithoutDurations) {
    const ProgramTexts texts = RealTexts();
    const ListingWidths widths = MakeListingWidths();
    const DurationRecords records{
        DurationRecord(Earth, Mercury, Square, 0.05, 2460388, 2460390),
        DurationRecord(Venus, Pluto, Trine, 0.001, std::nullopt, 2460390)};
    EXPECT_EQ(DurationsListing(records, WorldTransits, false, widths, texts),
              u"Earth   square (2°52')        Mercury\r\n"
              "Venus   trine (0°3')          Pluto  \r\n"_s);
    EXPECT_EQ(
        DurationsListing(records, WorldTransits, true, widths, texts),
        u"Earth   square (2°52')        Mercury from March 18, 2024,     to March 20, 2024     "
        "(3 days)\r\n"
        "Venus   trine (0°3')          Pluto   from an unknown date     to March 20, 2024     "
        "\r\n"_s);
    // Personal transits name the transiting body (body 2) first.
    EXPECT_EQ(DurationsListing(records, PersonalSecond, true, widths, texts),
              u"tr.Mercury square (2°52')        nat.Earth   from March 18, 2024,     to March 20, "
              "2024     (3 days)\r\n"
              "tr.Pluto   trine (0°3')          nat.Venus   from an unknown date     to March 20, "
              "2024     \r\n"_s);
    // With an exact moment in the list, its column is blank where a record has none.
    const DurationRecords exact{
        DurationRecord(Earth, Mercury, Square, 0.05, 2460388, 2460390, 2460389.0), records[1]};
    EXPECT_EQ(DurationsListing(exact, WorldTransits, true, widths, texts,
                               {60, QStringLiteral("GMT+1:00")}),
              QStringLiteral("Earth   square (2°52')        Mercury from March 18, 2024,     exact "
                             "March 19, 2024 at 13:00 GMT+1:00 to March 20, 2024     (3 days)\r\n"
                             "Venus   trine (0°3')          Pluto   from an unknown date     ") +
                  QString(38, QLatin1Char(' ')) + QStringLiteral(" to March 20, 2024     \r\n"));
    // The dates follow the world date's calendar.
    const QString julian = DurationsListing(records, WorldTransits, true, widths, texts,
                                            {0, u"GMT"_s, CalendarChoice::Julian});
    EXPECT_TRUE(julian.contains(u"from March 5, 2024,"_s) && julian.contains(u"to March 7, 2024"_s))
        << julian.toStdString();
}

TEST(NatalReport, OneAndTwoAspectsHaveNoSummary) {
    const ProgramTexts texts = RealTexts();
    ProgramState state;
    state.recordedMode = NatalFirst;
    SetOrbs(state.settings, state.orbs, state.orbSummary);
    state.chart =
        ChartOf(state, NatalFirst, {{Earth, 0.0}, {Mars, 120.0}, {Venus, 10.0}, {Jupiter, 100.5}});
    const QString exactTrine = NatalDurationRecord(Earth, Mars, Trine, 0.0);
    const QString square = NatalDurationRecord(Venus, Jupiter, Square, DegreesToRadians(0.5));

    EXPECT_EQ(NatalReport({square}, state, MakeListingWidths(), texts),
              u"There is one aspect in this natal chart:\r\n\r\n"
              "The closest aspect is Venus (10° in Aries) square Jupiter (10° in Cancer), orb "
              "0°30'.\r\n"
              "\r\nEnd of report.\r\n"_s);
    EXPECT_EQ(NatalReport({exactTrine, square}, state, MakeListingWidths(), texts),
              u"There are two aspects in this natal chart:\r\n\r\n"
              "The closest aspect is Earth (0° in Aries) trine Mars (0° in Leo), exact to the "
              "minute.\r\n"
              "The next closest aspect is Venus (10° in Aries) square Jupiter (10° in Cancer), "
              "orb 0°30'.\r\n"
              "\r\nEnd of report.\r\n"_s);
    EXPECT_EQ(NatalReport({exactTrine, exactTrine}, state, MakeListingWidths(), texts),
              u"There are two aspects in this natal chart:\r\n\r\n"
              "The closest aspect is Earth (0° in Aries) trine Mars (0° in Leo), exact to the "
              "minute.\r\n"
              "Also exact is Earth (0° in Aries) trine Mars (0° in Leo).\r\n"
              "\r\nEnd of report.\r\n"_s);
    // In the zodiac of date the positions move into their signs of date; the orb stays.
    state.chart.zodiacOffset[0] = DegreesToRadians(-5.6);
    EXPECT_TRUE(NatalReport({square}, state, MakeListingWidths(), texts)
                    .contains(u"Venus (4° in Aries) square Jupiter (5° in Cancer), orb 0°30'"_s));
}

TEST(NatalReport, ManyAspectsAreCountedAndTheirPatternsListed) {
    const ProgramTexts texts = RealTexts();
    ProgramState state;
    state.recordedMode = NatalFirst;
    SetOrbs(state.settings, state.orbs, state.orbSummary);
    state.chart = ChartOf(state, NatalFirst, {{Earth, 0.0}, {Mercury, 120.0}, {Venus, 240.0}});
    ASSERT_EQ(state.chart.aspectCounts[Trine], 3);
    const DurationRecords records{NatalDurationRecord(Earth, Mercury, Trine, 0.0),
                                  NatalDurationRecord(Earth, Venus, Trine, 0.0),
                                  NatalDurationRecord(Mercury, Venus, Trine, 0.0)};
    EXPECT_EQ(NatalReport(records, state, MakeListingWidths(), texts),
              u"There are three aspects in this natal chart:\r\n\r\n"
              "The closest aspect is Earth (0° in Aries) trine Mercury (0° in Leo), exact to the "
              "minute.\r\n"
              "Also exact is Earth (0° in Aries) trine Venus (0° in Sagittarius).\r\n\r\n"
              "The other aspects, from the closest to the widest:\r\n"
              "Mercury (0° in Leo) trine Venus (0° in Sagittarius), orb 0°0'.\r\n"
              "\r\nThere are no conjunctions, no oppositions, no squares, three trines, no "
              "sextiles, no semisextiles and no quincunxes.\r\n"
              "\r\nThere is one grand trine: Earth-Mercury-Venus\r\n"
              // Each of the three stands at the midpoint of the other two (or opposite it).
              "\r\nThere are two midpoints:\r\nMercury-Earth-Venus\r\nEarth-Mercury-Venus\r\n"
              "\r\nEnd of report.\r\n"_s);

    // Without patterns the report says so; the padding lines up short pairs.
    state.chart = ChartOf(state, NatalFirst, {{Earth, 0.0}, {Mercury, 120.0}, {Venus, 200.0}});
    state.chart.aspectCounts[Conjunction] = 1;
    const QString report = NatalReport(records, state, MakeListingWidths(), texts);
    EXPECT_TRUE(report.contains(QStringLiteral(
        "\r\nThere is one conjunction, no oppositions, no squares, one trine, no sextiles, no "
        "semisextiles and no quincunxes.\r\n\r\nThere are no aspect patterns.\r\n\r\nEnd of "
        "report.\r\n")))
        << report.toStdString();
}

TEST_F(ChartFixture, NatalReportOfARealChartAndOfSynastry) {
    Run(NatalFirst);
    DurationsContent content = MakeDurationsContent(state, ephemeris, texts);
    EXPECT_EQ(content.heading.caption, u"Natal aspects of the 1st birthdate"_s);
    EXPECT_EQ(content.heading.title, u"Natal aspects for June 15, 1970, 06:30 (GMT+1:00).    Orbs: "
                                     "4° to 10°   Positions are heliocentric."_s);
    EXPECT_TRUE(content.sortChoices.isEmpty());
    EXPECT_FALSE(content.showDurationsVisible);
    const QString& report = content.output;
    EXPECT_TRUE(report.startsWith(QStringLiteral(
        "There are twelve aspects in this natal chart:\r\n\r\nThe closest aspect is Mercury "
        "(13° in Pisces) sextile Saturn (14° in Taurus), orb 0°55'.\r\n")));
    EXPECT_TRUE(report.contains(QStringLiteral(
        "\r\nThere is one conjunction, two oppositions, two squares, one trine, four sextiles, "
        "one semisextile and one quincunx.\r\n\r\nThere are two midpoints:\r\n"
        "Earth-Neptune-Jupiter\r\nVenus-Mars-Saturn\r\n\r\nEnd of report.\r\n")));

    Run(SynastryMode);
    content = MakeDurationsContent(state, ephemeris, texts);
    EXPECT_EQ(content.heading.caption, u"Synastry report"_s);
    EXPECT_EQ(content.heading.title,
              u"Synastry of (1) June 15, 1970, 06:30 (GMT+1:00) and (2) Nov. 2, 1985, 19:30 "
              "(GMT-5:00).    Orbs: 1°20' to 3°20'   "_s);
    EXPECT_TRUE(content.output.startsWith(QStringLiteral(
        "There are eight aspects in this synastry:\r\n\r\nThe closest aspect is Neptune(1) (0° "
        "in Sagittarius) conjunct Saturn(2) (0° in Sagittarius), orb 0°13'.\r\n")));
    EXPECT_FALSE(content.output.contains(QStringLiteral("pattern")));
    EXPECT_TRUE(content.output.endsWith(QStringLiteral(
        "no sextiles, no semisextiles and one quincunx.\r\n\r\nEnd of report.\r\n")));
}

TEST_F(ChartFixture, TransitHeadingsNameTheDatesAndOrbs) {
    Run(WorldTransits);
    DurationsHeading heading = MakeDurationsHeading(state, texts);
    EXPECT_EQ(heading.caption, u"Durations of world transits"_s);
    EXPECT_EQ(heading.title,
              u"World transits on March 20, 2024, 12:00 (GMT).    Orbs: 4° to 10°   "_s);
    Run(PersonalSecond);
    heading = MakeDurationsHeading(state, texts);
    EXPECT_EQ(heading.caption, u"Durations of personal transits of 2nd birthdate"_s);
    EXPECT_EQ(heading.title, u"Personal transits to the birthdate Nov. 2, 1985, 19:30 "
                             "(GMT-5:00) on Mar. 20, 2024, 12:00 (GMT).    Orbs: 1°20' to "
                             "3°20'   "_s);
}

TEST_F(ChartFixture, TheListStartsByExactnessWithDurationsAndFollowsTheSortChoices) {
    Run(WorldTransits);
    DurationsContent content = MakeDurationsContent(state, ephemeris, texts);
    ASSERT_EQ(content.sortChoices.size(), 6);
    EXPECT_EQ(content.sortChoices[4].text, u"ending"_s);
    EXPECT_TRUE(content.sortListVisible);
    EXPECT_TRUE(content.showDurationsVisible);
    EXPECT_TRUE(content.showDurations);
    EXPECT_EQ(content.sortIndex, 0);
    EXPECT_TRUE(content.output.startsWith(
        QStringLiteral("Earth   trine (0°6')          Pluto   from March 13, 2024,     exact March "
                       "20, 2024 at 09:37 GMT     to March 27, 2024     (15 days)\r\n")));
    EXPECT_EQ(content.output.count(QStringLiteral("\r\n")), 13);

    SetShowDurations(content, false, texts);
    EXPECT_FALSE(content.output.contains(QStringLiteral(" from ")));
    SelectSort(content, 3, texts); // beginning: the durations stay off
    EXPECT_FALSE(content.showDurations);
    EXPECT_TRUE(content.output.startsWith(QStringLiteral("Neptune sextile (2°53')")));
    SelectSort(content, 5, texts); // duration: switches them on
    EXPECT_TRUE(content.showDurations);
    EXPECT_TRUE(content.output.endsWith(QStringLiteral("(17 years, 145 days)\r\n")));
    SelectSort(content, 9, texts); // not a choice: nothing changes
    EXPECT_EQ(content.sortIndex, 5);
    EXPECT_EQ(CopyText(content), content.heading.title + u"\r\n\r\n"_s + content.output);

    Run(PersonalFirst);
    content = MakeDurationsContent(state, ephemeris, texts);
    QStringList choices;
    for (const SortChoice& choice : content.sortChoices) {
        choices << choice.text;
    }
    EXPECT_EQ(choices.join(QLatin1Char(',')),
              u"exactness,aspect,natal,transiting,beginning,ending,duration"_s);
    SetShowDurations(content, false, texts);
    SelectSort(content, 4, texts); // beginning switches the durations on in personal transits
    EXPECT_TRUE(content.showDurations);

    // One aspect in the grid: no sort list.
    state.settings.orbs.degrees = {0, 0, 0, 1, 0, 0, 0, 1};
    Run(WorldTransits);
    content = MakeDurationsContent(state, ephemeris, texts);
    EXPECT_EQ(content.records.size(), 1u);
    EXPECT_FALSE(content.sortListVisible);
}

// A list without durations searches no days when its order does not need them, and reads the
// same as the full list with "Show durations" cleared, for every sort choice of both kinds.
TEST_F(ChartFixture, AListWithoutDurationsSearchesOnlyTheDaysItsOrderNeeds) {
    for (const ChartMode mode : {WorldTransits, PersonalFirst}) {
        Run(mode);
        const int choices = static_cast<int>(SortChoices(mode, texts).size());
        for (int index = 0; index < choices; ++index) {
            DurationsContent full = MakeDurationsContent(state, ephemeris, texts);
            DurationsContent lean = MakeDurationsContentWithoutDays(state, ephemeris, texts, index);
            const bool needsDays = full.sortChoices[index].keyStart >= RecordKeyStartBeginning;
            DurationFields fields;
            ASSERT_TRUE(ReadDurationRecord(lean.records.front(), fields));
            EXPECT_EQ(fields.beginning.has_value(), needsDays) << mode << " " << index;
            for (DurationsContent* content : {&full, &lean}) {
                SelectSort(*content, index, texts);
                SetShowDurations(*content, false, texts);
            }
            EXPECT_EQ(lean.output, full.output) << mode << " " << index;
        }
    }
    Run(NatalFirst);
    EXPECT_EQ(MakeDurationsContentWithoutDays(state, ephemeris, texts, 0).output,
              MakeDurationsContent(state, ephemeris, texts).output);
}

TEST_F(ChartFixture, DoubleClickOnATransitTellsItsPassage) {
    struct Case {
        ChartMode mode;
        DateSet world;
        int cell;
        QString detail;
    };
    const DateSet world = state.dateSets[WorldDate];
    const Case cases[] = {
        {WorldTransits, world, TriangularAspectCell(Earth, Mercury),
         u"With an orb of 6° 0' this square\r\nbegins on March 18, 2024,\r\nis exact on March 19, "
         "2024 at 13:24 GMT,\r\nand ends on March 20, 2024."_s},
        // Entered its orb on the last day of the year 0.
        {WorldTransits,
         {u"1"_s, 1, 5, 25, GreenwichTimezoneEntry},
         TriangularAspectCell(Earth, Neptune),
         u"With an orb of 7° 0' this trine\r\nbegins before the year 1,\r\nis exact on January 7, "
         "1 at 18:29 GMT,\r\nand ends on January 14, 1."_s},
        // Transiting Saturn, natal Mercury.
        {PersonalFirst, world, SquareAspectCell(Saturn, Mercury),
         u"With an orb of 3° 20' this conjunction\r\nbegins on March 12, 2024,\r\nis exact on "
         "June 23, 2024 at 10:22 GMT,\r\nand ends on October 3, 2024."_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.detail.toStdString());
        state.dateSets[WorldDate] = c.world;
        Run(c.mode);
        const CellDoubleClick click = DecideCellDoubleClick(state, ephemeris, texts, c.cell);
        EXPECT_EQ(CellDoubleClickDetail(click, texts), c.detail);
        EXPECT_EQ(CellDoubleClickQuestion(click, texts),
                  c.detail + u"\r\n\r\nShow the beginnings, ends and durations of all current "_s +
                      (c.mode == WorldTransits ? u"world"_s : u"personal"_s) + u" transits?"_s);
    }

    // Neither day known and no exact moment.
    CellDoubleClick unknown;
    unknown.kind = Opposition;
    unknown.orb = DegreesToRadians(5.5);
    EXPECT_EQ(CellDoubleClickDetail(unknown, texts),
              u"With an orb of 5° 30' this opposition\r\nbegins on an unknown date\r\nand ends on "
              "an unknown date."_s);
}
