#include "app/DateSetControls.h"

#include "calendar/DateFormat.h"
#include "calendar/NamedZones.h"
#include "session/StateFile.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace orbivex {

DateSetControls MakeDateSetControls(QWidget* parent, const TimezoneList& zones) {
    DateSetControls controls;
    controls.year = new QLineEdit(parent);
    controls.year->setMaxLength(StateFileContents::MaxYearTextLength);
    controls.month = new QComboBox(parent);
    controls.day = new QComboBox(parent);
    controls.hour = new QComboBox(parent);
    controls.zone = new QComboBox(parent);
    for (QComboBox* combo : {controls.month, controls.day, controls.hour, controls.zone}) {
        combo->setMaxVisibleItems(16);
    }
    // As in the main window: the hour box takes any time typed into it, the zone box a zone
    // name completed from the time-zone database.
    controls.hour->setEditable(true);
    controls.hour->setInsertPolicy(QComboBox::NoInsert);
    controls.hour->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("([01]?[0-9]|2[0-3]):[0-5][0-9]")), controls.hour));
    controls.zone->setEditable(true);
    controls.zone->setInsertPolicy(QComboBox::NoInsert);
    controls.zone->lineEdit()->setMaxLength(StateFileContents::MaxZoneNameLength);
    auto* completer = new QCompleter(ZoneNames(), controls.zone);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    controls.zone->lineEdit()->setCompleter(completer);
    FillDateLists(controls);
    FillZoneList(controls, zones);
    return controls;
}

void FillDateLists(const DateSetControls& controls) {
    QStringList months{QString()};
    for (int month = 1; month <= 12; ++month) {
        months.append(MonthName(month, false));
    }
    QStringList days{QString()};
    for (int day = 1; day <= 31; ++day) {
        days.append(QString::number(day));
    }
    controls.month->clear();
    controls.month->addItems(months);
    controls.day->clear();
    controls.day->addItems(days);
    controls.hour->clear();
    controls.hour->addItems(HourListTexts());
}

void FillZoneList(const DateSetControls& controls, const TimezoneList& zones) {
    const QStringList texts = TimezoneListTexts(zones);
    // A list that holds these texts already is left as it is (start-up fills it twice).
    bool same = controls.zone->count() == texts.size();
    for (int i = 0; same && i < texts.size(); ++i) {
        same = controls.zone->itemText(i) == texts[i];
    }
    if (!same) {
        controls.zone->clear();
        controls.zone->addItems(texts);
    }
}

void SetComboIndex(QComboBox* combo, int index) {
    const int clamped = index >= 0 && index < combo->count() ? index : 0;
    if (combo->currentIndex() != clamped) {
        combo->setCurrentIndex(clamped);
    }
}

int ComboIndex(const QComboBox* combo) {
    return std::max(0, combo->currentIndex());
}

void ReadDateSetControls(const DateSetControls& controls, DateSet& dateSet) {
    dateSet.yearText = controls.year->text();
    dateSet.monthIndex = ComboIndex(controls.month);
    dateSet.dayIndex = ComboIndex(controls.day);

    const QString hour = controls.hour->currentText();
    if (hour == controls.hour->itemText(ComboIndex(controls.hour))) {
        dateSet.hourIndex = ComboIndex(controls.hour);
        dateSet.typedMinute = -1;
    } else if (hour.trimmed().isEmpty()) {
        SetMinuteOfDay(dateSet, -1);
    } else if (const std::optional<int> minute = MinuteOfText(hour)) {
        SetMinuteOfDay(dateSet, *minute);
    }

    const QString zone = controls.zone->currentText();
    if (zone == controls.zone->itemText(ComboIndex(controls.zone))) {
        dateSet.timezoneIndex = ComboIndex(controls.zone);
        dateSet.zoneName.clear();
        dateSet.placeLongitude.reset(); // a zone of the list is not the place's
    } else {
        SetZoneText(dateSet, zone);
    }
}

void ShowDateSetControls(const DateSetControls& controls, const DateSet& dateSet,
                         const TimezoneList& zones) {
    if (controls.year->text() != dateSet.yearText) {
        controls.year->setText(dateSet.yearText);
    }
    SetComboIndex(controls.month, dateSet.monthIndex);
    SetComboIndex(controls.day, dateSet.dayIndex);
    SetComboIndex(controls.hour, dateSet.hourIndex);
    if (controls.hour->currentText() != TimeOfDayOfDateSet(dateSet)) {
        controls.hour->setEditText(TimeOfDayOfDateSet(dateSet));
    }
    SetComboIndex(controls.zone, dateSet.timezoneIndex);
    if (const QString zone = ZoneTextOf(dateSet, zones); controls.zone->currentText() != zone) {
        controls.zone->setEditText(zone);
    }
    QLineEdit* zoneEdit = controls.zone->lineEdit();
    if (!zoneEdit->hasFocus()) {
        zoneEdit->setCursorPosition(0);
    }
}

} // namespace orbivex
