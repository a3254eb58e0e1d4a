// The aspectarian window opened from the main window: the year of the world date, the search
// away from the window with its Cancel, the filters, Copy, Save as CSV and the double-click that
// moves the world date.
#include "MainWindowSupport.h"

#include "app/frmAspectarian.h"
#include "core/Ephemeris.h"
#include "present/Aspectarian.h"

#include <QCalendar>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace orbivex::test {

using enum BodyIndex;
using enum AspectKind;
using enum ChartMode;
namespace {

using Kind = ScriptedDialogs::Kind;

class AspectarianWindow : public MainWindowTest {
  protected:
    // Starts the main window, unless a test did, and opens the aspectarian from it.
    frmAspectarian* Open() {
        if (!window) {
            Start();
        }
        window->cmdAspectarian->click();
        frmAspectarian* aspectarian = window->aspectarianWindowIfMade();
        EXPECT_NE(aspectarian, nullptr);
        if (aspectarian != nullptr) {
            WaitForList(*aspectarian);
        }
        return aspectarian;
    }

    // Lets the search under way end and fill the list.
    static void WaitForList(frmAspectarian& aspectarian) {
        QTRY_VERIFY_WITH_TIMEOUT(!aspectarian.Listing(), 60000);
    }
};

TEST_F(AspectarianWindow, ListsTheWorldDatesYearAndFiltersIt) {
    frmAspectarian* aspectarian = Open();
    ASSERT_NE(aspectarian, nullptr);
    EXPECT_TRUE(aspectarian->isVisible());
    EXPECT_EQ(aspectarian->txbYear->value(), 2024);
    AspectarianModel& model = aspectarian->Model();
    const int all = model.rowCount();
    EXPECT_GT(all, 500);
    EXPECT_TRUE(model.data(model.index(0, 0), Qt::DisplayRole)
                    .toString()
                    .startsWith(QStringLiteral("2024-01-01")));

    const struct {
        std::optional<BodyIndex> body; // none: the list's first entry, every body
        AspectKind aspect;
    } filters[] = {{Mars, NoAspect}, {std::nullopt, Square}, {Mars, Square}};
    for (const auto& filter : filters) {
        aspectarian->cboBody->setCurrentIndex(filter.body ? BodyNumber(*filter.body) : 0);
        aspectarian->cboAspect->setCurrentIndex(KindNumber(filter.aspect));
        EXPECT_GT(model.rowCount(), 0);
        EXPECT_LT(model.rowCount(), all);
        for (int row = 0; row < model.rowCount(); ++row) {
            EXPECT_TRUE(AspectarianEventShown(model.EventAt(row), filter.body, filter.aspect));
        }
        EXPECT_TRUE(aspectarian->lblCount->text().startsWith(QString::number(model.rowCount())));
    }

    // Copy gives the lines shown; Save as CSV writes them with a header.
    aspectarian->cmdCopy->click();
    EXPECT_EQ(dialogs.ClipboardText().count(QLatin1Char('\n')), model.rowCount());
    QTemporaryDir folder;
    dialogs.QueueFileName(folder.filePath(QStringLiteral("mars")));
    aspectarian->cmdSaveCsv->click();
    const QByteArray csv = ReadAll(folder.filePath(QStringLiteral("mars.csv")));
    EXPECT_TRUE(csv.startsWith("time,julianDay,first,second,aspect,angle\n"));
    EXPECT_EQ(csv.count('\n'), model.rowCount() + 1);

    // A span whose last day comes first changes nothing but says so.
    aspectarian->txbFrom->setDate(QDate(2024, 3, 1));
    aspectarian->txbTo->setDate(QDate(2024, 2, 1));
    EXPECT_TRUE(aspectarian->optSpan->isChecked());
    aspectarian->cmdList->click();
    EXPECT_EQ(dialogs.CallsOf(Kind::Message).size(), 1U);
    EXPECT_FALSE(aspectarian->Listing());
    aspectarian->txbFrom->setDate(QDate(2024, 1, 15));
    aspectarian->cmdList->click();
    WaitForList(*aspectarian);
    EXPECT_TRUE(model.data(model.index(0, 0), Qt::DisplayRole)
                    .toString()
                    .startsWith(QStringLiteral("2024-01-1")));
}

TEST_F(AspectarianWindow, ADoubleClickSetsTheWorldDateToTheEventAndComputes) {
    frmAspectarian* aspectarian = Open();
    ASSERT_NE(aspectarian, nullptr);
    const AspectarianModel& model = aspectarian->Model();
    const int row = model.rowCount() / 2;
    const ExactAspect event = model.EventAt(row);
    aspectarian->lstEvents_DblClick(model.index(row, 0));
    // The nearest half hour the date set holds, and the chart of it.
    EXPECT_NEAR(window->state.ChartJulianDays[WorldDate].julianDay, event.julianDay, 1.0 / 48.0);
    EXPECT_EQ(window->state.recordedMode, WorldTransits);

    // With the main window's commands disabled (as under the course graph) nothing moves.
    const double before = window->state.ChartJulianDays[WorldDate].julianDay;
    window->cmdCompute->setEnabled(false);
    aspectarian->lstEvents_DblClick(model.index(0, 0));
    EXPECT_EQ(window->state.ChartJulianDays[WorldDate].julianDay, before);
}

} // namespace
} // namespace orbivex::test

namespace orbivex::test {
namespace {

TEST_F(AspectarianWindow, ListsAwayFromTheWindowAndCancelKeepsTheListAsItWas) {
    frmAspectarian* aspectarian = Open();
    ASSERT_NE(aspectarian, nullptr);
    AspectarianModel& model = aspectarian->Model();
    const std::vector<ExactAspect> year = model.ShownEvents();

    // The whole calendar takes seconds: the window shows the search and answers meanwhile.
    const auto listEverything = [&] {
        aspectarian->txbFrom->setDate(QDate(1, 1, 1));
        aspectarian->txbTo->setDate(QDate(2799, 12, 31));
        aspectarian->cmdList->click();
        EXPECT_TRUE(aspectarian->Listing());
        EXPECT_TRUE(aspectarian->prgList->isVisibleTo(aspectarian));
        EXPECT_TRUE(aspectarian->cmdCancel->isVisibleTo(aspectarian));
    };
    // Cancel, a new listing of the year, and hiding the window each end the search at once;
    // the list holds the year's events throughout.
    const struct {
        const char* how;
        std::function<void()> end;
    } ends[] = {
        {"Cancel", [&] { aspectarian->cmdCancel->click(); }},
        {"a new listing",
         [&] {
             aspectarian->optYear->setChecked(true);
             aspectarian->cmdList->click();
         }},
        {"hiding", [&] { aspectarian->cmdClose->click(); }},
    };
    for (const auto& end : ends) {
        SCOPED_TRACE(end.how);
        aspectarian->show();
        listEverything();
        // The search has got some way through the calendar.
        EXPECT_TRUE(QTest::qWaitFor([&] { return aspectarian->prgList->value() > 0; }, 60000));
        end.end();
        // The searches ended have wound down, unless a new listing runs.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return aspectarian->Listing() || !aspectarian->tmrList->isActive(); }, 60000));
        if (aspectarian->Listing()) {
            WaitForList(*aspectarian); // the new listing of the year
        }
        EXPECT_FALSE(aspectarian->prgList->isVisibleTo(aspectarian));
        EXPECT_FALSE(aspectarian->cmdCancel->isVisibleTo(aspectarian));
        EXPECT_EQ(model.ShownEvents(), year);
    }

    // A listing run to its end gives the events of the plain search.
    aspectarian->show();
    aspectarian->txbFrom->setDate(QDate(1990, 1, 1));
    aspectarian->txbTo->setDate(QDate(2009, 12, 31));
    aspectarian->cmdList->click();
    WaitForList(*aspectarian);
    ASSERT_NE(window->ephemeris(), nullptr);
    EXPECT_EQ(model.ShownEvents(),
              FindExactAspects(*window->ephemeris(),
                               AspectarianRequestOf(window->state.settings,
                                                    QDate(1990, 1, 1).toJulianDay() - 0.5,
                                                    QDate(2010, 1, 1).toJulianDay() - 0.5)));
}

} // namespace
} // namespace orbivex::test

namespace orbivex::test {
namespace {

// The year box and the dates are read, and the times written, in the calendar chosen.
TEST_F(AspectarianWindow, FollowsTheChosenCalendar) {
    Start();
    SetCalendar(window->state.dateSets, CalendarChoice::Julian);
    frmAspectarian* aspectarian = Open();
    ASSERT_NE(aspectarian, nullptr);
    const AspectarianModel& model = aspectarian->Model();
    const auto firstTime = [&] {
        return model.data(model.index(0, 0), Qt::DisplayRole).toString();
    };
    // 1 January 2024 of the Julian calendar is 14 January of the Gregorian one, day 2460324.
    EXPECT_EQ(aspectarian->txbYear->value(), 2024);
    EXPECT_EQ(aspectarian->txbFrom->text(), QStringLiteral("2024-01-01"));
    EXPECT_EQ(aspectarian->txbTo->text(), QStringLiteral("2024-12-31"));
    ASSERT_GT(model.rowCount(), 500);
    EXPECT_TRUE(firstTime().startsWith(QStringLiteral("2024-01-01"))) << firstTime().toStdString();
    EXPECT_GE(model.EventAt(0).julianDay, 2460323.5);
    EXPECT_LT(model.EventAt(0).julianDay, 2460324.5);

    // A day only the Julian calendar has.
    const QCalendar julian(QCalendar::System::Julian);
    // Every day of the years 1 to 2799 of that calendar can be chosen.
    EXPECT_EQ(aspectarian->txbFrom->minimumDate(), QDate(1, 1, 1, julian));
    EXPECT_EQ(aspectarian->txbTo->maximumDate(), QDate(2799, 12, 31, julian));
    aspectarian->txbFrom->setDate(QDate(1500, 2, 29, julian));
    aspectarian->txbTo->setDate(QDate(1500, 3, 2, julian));
    EXPECT_EQ(aspectarian->txbFrom->text(), QStringLiteral("1500-02-29"));
    aspectarian->cmdList->click();
    WaitForList(*aspectarian);
    EXPECT_TRUE(dialogs.CallsOf(Kind::Message).empty());
    ASSERT_GT(model.rowCount(), 0);
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString time = model.data(model.index(row, 0), Qt::DisplayRole).toString();
        EXPECT_TRUE(time.startsWith(QStringLiteral("1500-02-29")) ||
                    time.startsWith(QStringLiteral("1500-03-0")))
            << time.toStdString();
    }

    // Julian before the reform: the days it skipped are refused, the list stays.
    SetCalendar(window->state.dateSets, CalendarChoice::Auto);
    aspectarian = Open();
    const std::vector<ExactAspect> shown = model.ShownEvents();
    aspectarian->txbFrom->setDate(QDate(1582, 10, 10, julian));
    aspectarian->cmdList->click();
    EXPECT_FALSE(aspectarian->Listing());
    ASSERT_EQ(dialogs.CallsOf(Kind::Message).size(), 1U);
    EXPECT_EQ(model.ShownEvents(), shown);
}

// A zone named as in the time-zone database tells each moment with the offset in force there.
TEST_F(AspectarianWindow, TellsTheMomentsInANamedZone) {
    Start();
    EnterDate(WorldDate, QStringLiteral("2024"), 7, 1, NoonHourEntry, GreenwichTimezoneEntry);
    QLineEdit* zoneBox = window->cboTimezone[WorldDate]->lineEdit();
    zoneBox->setText(QStringLiteral("Europe/Paris"));
    Q_EMIT zoneBox->editingFinished();
    frmAspectarian* aspectarian = Open();
    ASSERT_NE(aspectarian, nullptr);
    const AspectarianModel& model = aspectarian->Model();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Time (Europe/Paris)"));
    ASSERT_GT(model.rowCount(), 500);
    // The year begins at 23:00 UT on 31 December 2023, midnight in Paris.
    EXPECT_GE(model.EventAt(0).julianDay, 2460310.5 - 1.0 / 24.0);
    EXPECT_LT(model.EventAt(0).julianDay, 2460310.5 + 1.0);
    for (const int row : {0, model.rowCount() / 2}) {
        const ExactAspect& event = model.EventAt(row);
        const int offset = ZoneOffsetAt(QStringLiteral("Europe/Paris"), event.julianDay) / 60;
        EXPECT_EQ(model.data(model.index(row, 0), Qt::DisplayRole).toString(),
                  AspectarianTimeText(event.julianDay, {offset, QStringLiteral("Europe/Paris"),
                                                        CalendarChoice::Gregorian, false}));
    }
}

} // namespace
} // namespace orbivex::test
