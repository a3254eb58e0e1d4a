#include "present/Messages.h"
#include "common/TestSupport.h"
#include "support/ProgramTexts.h"

#include <gtest/gtest.h>

namespace orbivex {
namespace {

using namespace Qt::StringLiterals;

ProgramTexts DateTexts() {
    QHash<int, QString> entries;
    entries.insert(4, u"World date"_s);
    entries.insert(5, u"1st birthdate"_s);
    entries.insert(6, u"2nd birthdate"_s);
    entries.insert(145, u"is incomplete."_s);
    entries.insert(146, u"does not exist."_s);
    entries.insert(147, u"lies before year 1."_s);
    entries.insert(148, u"lies after 2799."_s);
    entries.insert(510, u"names an unknown zone."_s);
    entries.insert(511, u": [r1] on [r3] skipped in [r2]; UTC[r4]."_s);
    entries.insert(512, u": [r1] on [r3] twice in [r2]; UTC[r4]."_s);
    entries.insert(153, u"Date error"_s);
    return ProgramTexts::FromEntries(entries);
}

TEST(DateErrorMessage, NameOfTheDateSetThenTheTextOfTheError) {
    const ProgramTexts texts = DateTexts();
    struct Case {
        int dateSet;
        DateError error;
        const char* message;
    };
    const Case cases[] = {
        {WorldDate, DateError::Incomplete, "World date is incomplete."},
        {FirstBirthdate, DateError::DoesNotExist, "1st birthdate does not exist."},
        {SecondBirthdate, DateError::BeforeYearOne, "2nd birthdate lies before year 1."},
        {WorldDate, DateError::FromYear2800, "World date lies after 2799."},
        {WorldDate, DateError::UnknownZone, "World date names an unknown zone."},
        {3, DateError::Incomplete, ""},
        {-1, DateError::Incomplete, ""},
    };
    for (const Case& c : cases) {
        const DateErrorText report = ReportDateError(texts, DateFailure{c.dateSet, c.error});
        EXPECT_EQ(report.message, QString::fromUtf8(c.message));
        EXPECT_EQ(report.title, report.message.isEmpty() ? QString() : u"Date error"_s);
    }
    // A twenty-digit year reaches the message as the error for 2800 and later.
    DateSet set;
    set.yearText = u"98765432109876543210"_s;
    set.monthIndex = 1;
    set.dayIndex = 1;
    EXPECT_EQ(
        ReportDateError(texts, WorldDate, InputDateToAJDate(set, MakeTimeZones(0, false)).error())
            .message,
        u"World date lies after 2799."_s);
}

TEST(ComputeNotes, SayHowEachDateWasRead) {
    const ProgramTexts texts = DateTexts();
    const auto paris = [](int month, int day) {
        DateSet set;
        set.yearText = u"2024"_s;
        set.monthIndex = month;
        set.dayIndex = day;
        SetMinuteOfDay(set, 150);
        SetZoneText(set, u"Europe/Paris"_s);
        return UnusualLocalTimeOf(set);
    };
    Place lyon;
    lyon.name = u"Lyon"_s;
    lyon.zone = u"Europe/Paris"_s;
    lyon.longitude = 4.8467;
    Place newYork = lyon;
    newYork.name = u"New York"_s;
    newYork.zone = u"America/New_York"_s;
    newYork.longitude = -74.006;
    const std::vector<ComputeNote> notes{{WorldDate, paris(3, 31), std::nullopt, 0},
                                         {WorldDate, paris(10, 27), std::nullopt, 0},
                                         {FirstBirthdate, std::nullopt, lyon, 1163},
                                         {SecondBirthdate, std::nullopt, newYork, -17761}};
    EXPECT_EQ(ComputeNoteTexts(texts, notes),
              QStringList({u"World date: 02:30 on March 31, 2024 skipped in Europe/Paris; "
                           u"UTC+01:00."_s,
                           u"World date: 02:30 on October 27, 2024 twice in Europe/Paris; "
                           u"UTC+02:00."_s,
                           u"1st birthdate: the time is the local mean time of Lyon (longitude "
                           u"4.8467° E), UT+00:19:23, as Europe/Paris kept local mean time then."_s,
                           u"2nd birthdate: the time is the local mean time of New York "
                           u"(longitude 74.0060° W), UT-04:56:01, as America/New_York kept local "
                           u"mean time then."_s}));
}

} // namespace
} // namespace orbivex
