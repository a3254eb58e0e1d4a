// Forward and Back from the window: each step unit across the calendar's edges, a step that
// leaves the years the program converts, and which modes the refresh lets step.
#include "MainWindowSupport.h"

#include "session/Stepping.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace orbivex::test {

using enum ChartMode;
namespace {

using Kind = ScriptedDialogs::Kind;

struct WorldDateShown {
    QString year;
    int month = 0;
    int day = 0;
    int hourEntry = 0; // 1 is 00:00, 48 is 23:30
};

WorldDateShown ShownWorldDate(const frmMain& window) {
    return {window.txbYearCE[WorldDate]->text(), window.cboMonthCE[WorldDate]->currentIndex(),
            window.cboDayCE[WorldDate]->currentIndex(), window.cboHour[WorldDate]->currentIndex()};
}

void ExpectWorldDate(const frmMain& window, const WorldDateShown& expected) {
    const WorldDateShown shown = ShownWorldDate(window);
    EXPECT_EQ(shown.year, expected.year);
    EXPECT_EQ(shown.month, expected.month);
    EXPECT_EQ(shown.day, expected.day);
    EXPECT_EQ(shown.hourEntry, expected.hourEntry);
}

TEST_F(MainWindowTest, ForwardAndBackStepTheWorldDateByEachUnit) {
    struct Case {
        WorldDateShown from;
        int unit;
        int index; // 0 Forward, 1 Back
        WorldDateShown to;
    };
    const Case cases[] = {
        {{u"2000"_s, 1, 1, 1}, HalfHourStep, 1, {u"1999"_s, 12, 31, 48}},
        {{u"2001"_s, 2, 28, 48}, HalfHourStep, 0, {u"2001"_s, 3, 1, 1}},
        {{u"2000"_s, 2, 28, 48}, HalfHourStep, 0, {u"2000"_s, 2, 29, 1}},
        {{u"2000"_s, 12, 31, 25}, DayStep, 0, {u"2001"_s, 1, 1, 25}},
        {{u"2000"_s, 12, 27, 25}, WeekStep, 0, {u"2001"_s, 1, 3, 25}},
        {{u"2001"_s, 3, 3, 25}, WeekStep, 1, {u"2001"_s, 2, 24, 25}},
        {{u"2001"_s, 1, 31, 25}, MonthStep, 0, {u"2001"_s, 2, 28, 25}},
        {{u"2000"_s, 2, 29, 25}, YearStep, 0, {u"2001"_s, 2, 28, 25}},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from.year.toStdString() + "-" + std::to_string(c.from.month) + "-" +
                     std::to_string(c.from.day) + " unit " + std::to_string(c.unit));
        EnterDate(WorldDate, c.from.year, c.from.month, c.from.day, c.from.hourEntry, 24);
        Choose(window->cboForwardBack, c.unit);
        window->Timer1_Timer(); // a complete world date: stepping is enabled
        ASSERT_TRUE(window->cmdForwardBack[c.index]->isEnabled());
        window->cmdForwardBack[c.index]->click();
        ExpectWorldDate(*window, c.to);
        // The chart is that of the new date, computed once, as Compute would.
        const ProgramState reference = ReferenceChart(*window);
        EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay,
                         reference.ChartJulianDays[WorldDate].julianDay);
        ExpectGridShows(*window, ReferenceView(*window, reference).grid);
        EXPECT_FALSE(window->blnStepping);
    }
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
}

TEST_F(MainWindowTest, AStepIntoTheYear2800IsUndoneAfterItsMessage) {
    Start();
    EnterDate(WorldDate, QStringLiteral("2799"), 6, 1, 25, 24);
    window->cmdCompute->click();
    const QStringList cells = CellTexts(*window);
    Choose(window->cboForwardBack, YearStep);
    window->Timer1_Timer();
    window->cmdForwardBack[0]->click();

    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    const auto message = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_TRUE(message.text.startsWith(window->texts().ProgramText(4) + QLatin1Char(' ')))
        << message.text.toStdString();
    EXPECT_EQ(message.title, window->texts().ProgramText(153));
    ExpectWorldDate(*window, {u"2799"_s, 6, 1, 25});
    EXPECT_EQ(window->state.dateSets[WorldDate].yearText, QStringLiteral("2799"));
    EXPECT_EQ(CellTexts(*window), cells);

    // The date stands where it was: the next step back works from it.
    window->cmdForwardBack[1]->click();
    ExpectWorldDate(*window, {u"2798"_s, 6, 1, 25});
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 1u);
}

TEST_F(MainWindowTest, OnlyWorldAndPersonalTransitsStepACompleteWorldDate) {
    Start();
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
    EnterDate(SecondBirthdate, QStringLiteral("1985"), 2, 28, 40, 26);
    const auto steppingEnabled = [this] {
        window->Timer1_Timer();
        const bool forward = window->cmdForwardBack[0]->isEnabled();
        EXPECT_EQ(window->cmdForwardBack[1]->isEnabled(), forward);
        EXPECT_EQ(window->cboForwardBack->isEnabled(), forward);
        return forward;
    };
    EXPECT_TRUE(steppingEnabled());
    window->optNatal[0]->click();
    EXPECT_FALSE(window->cmdForwardBack[0]->isEnabled()); // at once, not only on the tick
    EXPECT_FALSE(steppingEnabled());
    window->optPersonal[0]->click();
    EXPECT_TRUE(window->cmdForwardBack[0]->isEnabled());
    EXPECT_TRUE(steppingEnabled());
    window->optSynastry->click();
    ASSERT_EQ(window->state.recordedMode, SynastryMode);
    EXPECT_FALSE(steppingEnabled());
    window->optPlanetary->click();
    Choose(window->cboHour[WorldDate], 0); // an hour left empty
    EXPECT_FALSE(steppingEnabled());
    Choose(window->cboHour[WorldDate], 1);
    EXPECT_TRUE(steppingEnabled());

    // Choosing a step unit hands the focus to Forward.
    Choose(window->cboForwardBack, MonthStep);
    EXPECT_EQ(window->focusWidget(), window->cmdForwardBack[0]);
    EXPECT_EQ(window->state.stepUnitIndex, MonthStep);
}

TEST_F(MainWindowTest, InPersonalTransitsTheWorldDateStepsAgainstTheFixedBirthdate) {
    Start();
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
    window->optPersonal[0]->click();
    const double natal = window->state.ChartJulianDays[FirstBirthdate].julianDay;
    const double world = window->state.ChartJulianDays[WorldDate].julianDay;
    Choose(window->cboForwardBack, WeekStep);
    window->Timer1_Timer();
    window->cmdForwardBack[0]->click();
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, world + 7);
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[FirstBirthdate].julianDay, natal);
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_EQ(window->txbYearCE[FirstBirthdate]->text(), QStringLiteral("1970"));
}

} // namespace
} // namespace orbivex::test
