// The date-set controls show a date set and read back the same one.
#include "app/DateSetControls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace orbivex::test {
namespace {

TEST(DateSetControls, ShowThenReadGivesTheSameDateSet) {
    QWidget parent;
    const TimeZones zones = MakeTimeZones(60, true);
    const DateSetControls controls = MakeDateSetControls(&parent, zones.list);
    DateSet typedMinute{QStringLiteral("1850"), 3, 1, 19, 25};
    SetMinuteOfDay(typedMinute, 9 * 60 + 17);
    DateSet namedZone{QStringLiteral(" 1970 "), 7, 14, 41, 0};
    SetZoneText(namedZone, QStringLiteral("Europe/Paris"));
    const DateSet cases[] = {
        {},                                              // nothing chosen
        {QStringLiteral("2024"), 1, 5, 25, 26},          // list entries only
        {QStringLiteral("12x"), 12, 31, 48, 54},         // a year as typed, the last entries
        {QStringLiteral("1985"), 2, 28, 40, 18 /*EST*/}, // a North American name
        typedMinute,
        namedZone,
    };
    for (const DateSet& shown : cases) {
        SCOPED_TRACE(shown.yearText.toStdString());
        ShowDateSetControls(controls, shown, zones.list);
        DateSet read;
        ReadDateSetControls(controls, read);
        EXPECT_EQ(read, shown);
    }
    // A time still being typed keeps the time the date set had.
    controls.hour->setEditText(QStringLiteral("9:"));
    DateSet read = typedMinute;
    ReadDateSetControls(controls, read);
    EXPECT_EQ(MinuteOfDay(read), 9 * 60 + 17);
}

} // namespace
} // namespace orbivex::test
