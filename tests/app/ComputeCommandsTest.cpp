// Compute from the window: the mode options, the year boxes, the date lists, Now and Clear,
// the degrees/radians switch and the once-a-second refresh.
#include "MainWindowSupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeZone>

namespace orbivex::test {

using enum ChartMode;
namespace {

using Kind = ScriptedDialogs::Kind;
using Answer = Dialogs::Answer;

TEST_F(MainWindowTest, EnterInAYearBoxComputesWhenTheModeUsesThatDate) {
    Start();
    const QStringList before = CellTexts(*window);
    const double worldBefore = window->state.ChartJulianDays[WorldDate].julianDay;

    // The first birthdate is not used by world transits: Enter there changes nothing.
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
    QTest::keyClick(window->txbYearCE[FirstBirthdate], Qt::Key_Return);
    EXPECT_EQ(CellTexts(*window), before);
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, worldBefore);

    // A year typed with stray characters converts as its digits, and the box shows them.
    window->txbYearCE[WorldDate]->clear();
    QTest::keyClicks(window->txbYearCE[WorldDate], QStringLiteral("1,9a99 "));
    QTest::keyClick(window->txbYearCE[WorldDate], Qt::Key_Return);
    EXPECT_EQ(window->txbYearCE[WorldDate]->text(), QStringLiteral("1999"));
    EXPECT_NE(CellTexts(*window), before);
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);

    // Synastry uses both birthdates: Enter in the first birthdate's box computes.
    EnterDate(SecondBirthdate, QStringLiteral("1985"), 2, 28, 40, 26);
    window->optSynastry->click();
    EXPECT_EQ(window->state.recordedMode, SynastryMode);
    window->txbYearCE[FirstBirthdate]->setText(QStringLiteral("1971"));
    QTest::keyClick(window->txbYearCE[FirstBirthdate], Qt::Key_Enter);
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_TRUE(window->txbReport1->isVisible());
    EXPECT_FALSE(window->txbReport->isVisible());
    EXPECT_EQ(window->txbReport1->toPlainText(), ReferenceView(*window).report);
}

TEST_F(MainWindowTest, ADateErrorIsShownAndTheRecordedModeComesBack) {
    Start();
    const QStringList worldCells = CellTexts(*window);

    // The first birthdate is empty.
    window->optNatal[0]->click();
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    auto message = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_EQ(message.text, QStringLiteral("1st birthdate ") + window->texts().ProgramText(145));
    EXPECT_EQ(message.title, window->texts().ProgramText(153));
    EXPECT_EQ(message.icon, Dialogs::Icon::Information);
    EXPECT_TRUE(window->optPlanetary->isChecked());
    EXPECT_FALSE(window->optNatal[0]->isChecked());
    EXPECT_EQ(window->state.mode, WorldTransits);
    EXPECT_EQ(CellTexts(*window), worldCells);
    EXPECT_EQ(window->lblClickonAspect->text(), window->texts().ProgramText(32));

    // A date that does not exist, and a year too large for any list.
    EnterDate(FirstBirthdate, QStringLiteral("2023"), 2, 29, 0, 0);
    window->optPersonal[0]->click();
    EXPECT_EQ(dialogs.CallsOf(Kind::Message).back().text,
              QStringLiteral("1st birthdate ") + window->texts().ProgramText(146));
    EXPECT_TRUE(window->optPlanetary->isChecked());
    window->txbYearCE[FirstBirthdate]->setText(QStringLiteral("99999999999999999999"));
    window->optPersonal[0]->click();
    EXPECT_EQ(dialogs.CallsOf(Kind::Message).back().text,
              QStringLiteral("1st birthdate ") + window->texts().ProgramText(148));
    EXPECT_EQ(CellTexts(*window), worldCells);

    // Corrected, the mode takes: the square grid, the taller window, no hint in synastry.
    window->txbYearCE[FirstBirthdate]->setText(QStringLiteral("2024"));
    window->optPersonal[0]->click();
    EXPECT_TRUE(window->optPersonal[0]->isChecked());
    EXPECT_EQ(window->state.recordedMode, PersonalFirst);
    EXPECT_EQ(window->view.grid.cellCount, 121);
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_EQ(window->cboHour[FirstBirthdate]->currentText(), QStringLiteral("12:00"));
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 3u);
}

TEST_F(MainWindowTest, ChangingADateMarksTheChartStale) {
    Start();
    window->cmdSave->click();
    window->lblStatus->setText(QStringLiteral("Saved to somewhere"));
    window->txbYearCE[WorldDate]->setFocus();
    Choose(window->cboMonthCE[WorldDate], 3);
    EXPECT_EQ(window->lblStatus->text(), window->StandingStatusText());
    EXPECT_EQ(window->focusWidget(), window->cmdCompute);
    EXPECT_EQ(window->state.dateSets[WorldDate].monthIndex, 3);
    // Nothing is computed until Compute.
    EXPECT_EQ(window->state.recordedMode, WorldTransits);
    const double before = window->state.ChartJulianDays[WorldDate].julianDay;
    window->cmdCompute->click();
    EXPECT_NEAR(window->state.ChartJulianDays[WorldDate].julianDay - before, 31 + 29, 1e-9);

    Choose(window->cboDayCE[WorldDate], 7);
    EXPECT_EQ(window->cboDayCE[WorldDate]->toolTip(), QStringLiteral("Thursday"));
}

TEST_F(MainWindowTest, NowAndClear) {
    Start();
    EnterDate(WorldDate, QStringLiteral("1900"), 6, 1, 1, 24);
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 26);
    EnterDate(SecondBirthdate, QStringLiteral("1980"), 1, 2, 4, 20);

    now = QDateTime(QDate(2030, 3, 31), QTime(23, 50));
    window->cmdNow->click();
    EXPECT_EQ(window->txbYearCE[WorldDate]->text(), QStringLiteral("2030"));
    EXPECT_EQ(window->cboMonthCE[WorldDate]->currentIndex(), 4);
    EXPECT_EQ(window->cboDayCE[WorldDate]->currentIndex(), 1);
    EXPECT_EQ(window->cboHour[WorldDate]->currentText(), QStringLiteral("00:00"));
    ExpectGridShows(*window, ReferenceView(*window).grid); // world transits: computed

    dialogs.QueueAnswer(Answer::No);
    dialogs.QueueAnswer(Answer::Cancel);
    dialogs.QueueAnswer(Answer::Yes);
    window->cmdClear[FirstBirthdate]->click();
    window->cmdClear[FirstBirthdate]->click();
    EXPECT_EQ(window->txbYearCE[FirstBirthdate]->text(), QStringLiteral("1970"));
    window->cmdClear[FirstBirthdate]->click();
    const auto question = dialogs.CallsOf(Kind::Question).back();
    EXPECT_EQ(question.text, QStringLiteral("Clear all entries of the 1st birthdate?"));
    EXPECT_EQ(question.title, QStringLiteral("Clear"));
    EXPECT_EQ(question.buttons, Dialogs::Buttons::YesNoCancel);
    EXPECT_TRUE(window->txbYearCE[FirstBirthdate]->text().isEmpty());
    for (QComboBox* list : {window->cboMonthCE[FirstBirthdate], window->cboDayCE[FirstBirthdate],
                            window->cboHour[FirstBirthdate], window->cboTimezone[FirstBirthdate]}) {
        EXPECT_EQ(list->currentIndex(), 0);
    }
    EXPECT_EQ(window->state.dateSets[FirstBirthdate].yearText, QString());
    EXPECT_EQ(window->txbYearCE[SecondBirthdate]->text(), QStringLiteral("1980"));
    EXPECT_EQ(window->cboTimezone[SecondBirthdate]->currentIndex(), 20);
}

// A computer east of +11:30 or on a quarter hour: Now and an empty zone take its own offset.
TEST_F(MainWindowTest, NowAndAnEmptyZoneTakeTheComputersOffset) {
    const std::pair<int, const char*> cases[] = {
        {780, "GMT+13:00"}, {840, "GMT+14:00"}, {345, "GMT+5:45"}, {825, "GMT+13:45"}};
    for (const auto& [offset, zone] : cases) {
        SCOPED_TRACE(zone);
        now = QDateTime(QDate(2024, 1, 5), QTime(12, 10), QTimeZone(offset * 60));
        Start();
        EnterDate(WorldDate, QStringLiteral("1900"), 6, 1, 1, 24);
        window->cmdNow->click();
        EXPECT_EQ(window->cboTimezone[WorldDate]->currentText(), QString::fromUtf8(zone));
        EXPECT_EQ(window->cboDayCE[WorldDate]->currentIndex(), 5);
        EXPECT_EQ(window->cboHour[WorldDate]->currentText(), QStringLiteral("12:00"));
        EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay,
                         2460315.0 - offset / 1440.0);
        window->Timer1_Timer();
        EXPECT_TRUE(window->cmdForwardBack[0]->isEnabled());

        EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, NoonHourEntry, 0);
        window->optNatal[0]->click();
        EXPECT_EQ(window->cboTimezone[FirstBirthdate]->currentText(), QString::fromUtf8(zone));
        EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[FirstBirthdate].julianDay,
                         2440788.0 - offset / 1440.0);
    }
}

TEST_F(MainWindowTest, TheWorldDateLabelSwitchesToRadians) {
    Start();
    QTest::mouseClick(window->Label1[FirstBirthdate], Qt::LeftButton);
    EXPECT_TRUE(window->optDegrees->isChecked());
    QTest::mouseClick(window->Label1[WorldDate], Qt::LeftButton);
    EXPECT_TRUE(window->optRadians->isChecked());
    window->cmdCompute->click();
    EXPECT_TRUE(window->state.radians);
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_FALSE(window->txbCell[0]->text().contains(QChar(0x00B0))); // no degree sign
    QTest::mouseClick(window->Label1[WorldDate], Qt::LeftButton);
    EXPECT_TRUE(window->optDegrees->isChecked());
}

TEST_F(MainWindowTest, TheRefreshTidiesTheDateControls) {
    Start();
    window->txbYearCE[FirstBirthdate]->setText(QStringLiteral("19x70"));
    window->Timer1_Timer();
    EXPECT_EQ(window->txbYearCE[FirstBirthdate]->text(), QStringLiteral("1970"));
    EXPECT_TRUE(window->cmdClear[WorldDate]->isVisible());
    EXPECT_TRUE(window->cmdClear[FirstBirthdate]->isVisible());
    EXPECT_FALSE(window->cmdClear[SecondBirthdate]->isVisible());
    // The tip follows the date without filling in the hour left empty.
    Choose(window->cboMonthCE[FirstBirthdate], 7);
    window->cboDayCE[FirstBirthdate]->setCurrentIndex(20);
    window->Timer1_Timer();
    EXPECT_EQ(window->cboDayCE[FirstBirthdate]->toolTip(), QStringLiteral("Monday"));
    EXPECT_EQ(window->cboHour[FirstBirthdate]->currentIndex(), 0);
    // Stepping would be possible in world transits with a complete world date.
    EXPECT_TRUE(window->cmdForwardBack[0]->isEnabled());
    EXPECT_TRUE(window->cboForwardBack->isEnabled());
}

TEST_F(MainWindowTest, ATypedMinuteIsComputedSteppedAndKept) {
    Start();
    EnterDate(WorldDate, QStringLiteral("2024"), 3, 20, 1, GreenwichTimezoneEntry);
    QLineEdit* hourBox = window->cboHour[WorldDate]->lineEdit();
    hourBox->setText(QStringLiteral("06:41"));
    Q_EMIT hourBox->editingFinished();
    window->cmdCompute->click();
    EXPECT_NEAR(window->state.ChartJulianDays[WorldDate].julianDay,
                2460389.5 + (6 * 60 + 41) / 1440.0, 1e-9);
    EXPECT_EQ(window->cboHour[WorldDate]->currentText(), QStringLiteral("06:41"));

    Choose(window->cboForwardBack, HalfHourStep);
    window->Timer1_Timer();
    window->cmdForwardBack[0]->click();
    EXPECT_EQ(window->cboHour[WorldDate]->currentText(), QStringLiteral("07:11"));
    // Picking an entry of the list again puts the half hours back.
    Choose(window->cboHour[WorldDate], 3);
    EXPECT_EQ(window->state.dateSets[WorldDate].typedMinute, -1);
    EXPECT_EQ(window->cboHour[WorldDate]->currentText(), QStringLiteral("01:00"));
}

TEST_F(MainWindowTest, ANamedZoneIsTypedComputedAndItsSkippedHourNoted) {
    Start();
    EnterDate(WorldDate, QStringLiteral("2024"), 3, 31, 6, GreenwichTimezoneEntry); // 02:30
    QLineEdit* zoneBox = window->cboTimezone[WorldDate]->lineEdit();
    zoneBox->setText(QStringLiteral("Europe/Paris"));
    Q_EMIT zoneBox->editingFinished();
    window->cmdCompute->click();
    // Read with the offset before the clocks went forward: 01:30 UT.
    EXPECT_NEAR(window->state.ChartJulianDays[WorldDate].julianDay, 2460400.5 + 1.5 / 24.0, 1e-9);
    EXPECT_EQ(window->cboTimezone[WorldDate]->currentText(), QStringLiteral("Europe/Paris"));
    EXPECT_TRUE(window->lblStatus->text().contains(QStringLiteral("does not exist")));
}

TEST_F(MainWindowTest, AZoneNameIsChosenFromTheCompletionWithTheKeyboardOrTypedInAnyCase) {
    Start();
    EnterDate(WorldDate, QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry); // 12:00
    QComboBox* zone = window->cboTimezone[WorldDate];
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    zone->lineEdit()->setFocus();
    zone->lineEdit()->clear();
    QTest::keyClicks(zone->lineEdit(), QStringLiteral("Asia/Kol"));
    QAbstractItemView* popup = zone->lineEdit()->completer()->popup();
    ASSERT_TRUE(popup->isVisible());
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(zone->currentText(), QStringLiteral("Asia/Kolkata"));
    window->Timer1_Timer();
    EXPECT_TRUE(window->cmdClear[WorldDate]->isVisible());
    window->cmdCompute->click();
    EXPECT_EQ(zone->currentText(), QStringLiteral("Asia/Kolkata"));
    EXPECT_NEAR(window->state.ChartJulianDays[WorldDate].julianDay, 2460389.5 + 6.5 / 24.0, 1e-9);

    // Typed in small letters, the name is the database's zone, shown as it spells it.
    zone->lineEdit()->setText(QStringLiteral("europe/paris"));
    Q_EMIT zone->lineEdit()->editingFinished();
    window->cmdCompute->click();
    EXPECT_EQ(zone->currentText(), QStringLiteral("Europe/Paris"));
    EXPECT_NEAR(window->state.ChartJulianDays[WorldDate].julianDay, 2460389.5 + 11.0 / 24.0, 1e-9);
    EXPECT_EQ(dialogs.CountOf(ScriptedDialogs::Kind::Message), 0u);
}

} // namespace
} // namespace orbivex::test
