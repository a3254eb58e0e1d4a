// The main window's side of the aspectarian: opening it on the world date's year and taking the
// moment of a double-clicked event as the world date.
#include "app/frmAspectarian.h"
#include "app/frmMain.h"
#include "calendar/Calendar.h"
#include "core/Ephemeris.h"
#include "session/ExactMoments.h"

#include <QDate>
#include <QPushButton>
#include <cmath>

namespace orbivex {

void frmMain::cmdAspectarian_Click() {
    if (!ephemeris_) {
        return;
    }
    if (!aspectarian_) {
        aspectarian_ = std::make_unique<frmAspectarian>(
            dialogs_, texts_, *ephemeris_, [this](double jd) { SetWorldDateToEvent(jd); }, this);
    }
    ReadControls();
    // The year of the world date as entered (in its calendar), the present one when it has none.
    DateSet world = state.dateSets[WorldDate];
    const Expected<double, DateError> local = InputDateToLocalJD(world);
    EuroDateRecord record;
    record.jdn = static_cast<std::int32_t>(local ? std::floor(*local) : 0);
    record.calendar = CalendarLetterOfJdn(world.calendar, record.jdn);
    JDNToEuroDate(record);
    const int year = local && record.valid != 0 ? record.year : QDate::currentDate().year();
    // The times are told in the world date's zone.
    ProgramState zoned = state;
    zoned.computedDateSets = state.dateSets;
    zoned.computedZones = state.zones;
    aspectarian_->Open(year, WorldMomentZone(zoned), state.settings);
}

void frmMain::SetWorldDateToEvent(double jd) {
    // While a run or a step moves the world date, or the course graph holds the window, the
    // date stays with them, as it does for the main window's own commands then disabled.
    if (Running() || Stepping() || blnCourseGraphShown || !cmdCompute->isEnabled()) {
        return;
    }
    ReadControls();
    if (!SetWorldDateToMoment(state.dateSets[WorldDate], state.zones, jd)) {
        return;
    }
    ShowDateSet(WorldDate);
    cmdCompute_Click();
}

} // namespace orbivex
