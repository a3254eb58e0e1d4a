#include "app/frmRun.h"
#include "common/ScriptedDialogs.h"
#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "present/PatternTexts.h"
#include "session/PatternRun.h"
#include "support/ProgramTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

using enum orbivex::BodyIndex;
using enum orbivex::PatternIndex;
using enum orbivex::ChartMode;
using orbivex::test::ScriptedDialogs;

namespace {

struct RunWindow : ::testing::Test {
    ProgramTexts texts;
    ScriptedDialogs dialogs;
    PatternRun run;
    std::unique_ptr<frmRun> form;

    void SetUp() override {
        ASSERT_GT(texts.Load(test::ProgramFolder() + QStringLiteral("/orbx.dat")), 0);
        form = std::make_unique<frmRun>(run, texts, dialogs);
    }

    // The window as the main window shows it, without the modal wait.
    void Show() {
        form->PrepareToShow();
        form->show();
    }

    // Each list's entry: the body's number, or the empty entry 0.
    void ChooseBodies(const SoughtBodies& bodies) {
        for (std::size_t i = 0; i < bodies.size(); ++i) {
            form->cboSoughtPlanet[i]->setCurrentIndex(bodies[i] ? BodyNumber(*bodies[i]) : 0);
        }
    }
};

} // namespace

TEST_F(RunWindow, FirstShowingOffersEveryChoiceWithNothingChosen) {
    Show();
    EXPECT_EQ(form->windowTitle(), u"Run"_s);
    EXPECT_EQ(form->lblRunUntilFinding->text(), u"Run until stopped or until finding a"_s);
    ASSERT_EQ(form->cboAspectPattern->count(), NumPatterns);
    EXPECT_EQ(form->cboAspectPattern->itemText(0), u"Grand trine"_s);
    EXPECT_EQ(form->cboAspectPattern->itemText(13), u"Midpoint"_s);
    EXPECT_EQ(form->cboAspectPattern->currentIndex(), -1);
    EXPECT_EQ(form->chkTwoOrMore->text(), u"&Find at least"_s);
    ASSERT_EQ(form->cboNumToFind->count(), 8);
    EXPECT_EQ(form->cboNumToFind->itemText(0), u"2"_s);
    EXPECT_EQ(form->cboNumToFind->itemText(7), u"9"_s);
    EXPECT_EQ(form->lblInvolving->text(), u"Involving these planets:"_s);
    ASSERT_EQ(form->cboSoughtPlanet[1]->count(), 10);
    EXPECT_EQ(form->cboSoughtPlanet[1]->itemText(0), u""_s);
    EXPECT_EQ(form->cboSoughtPlanet[1]->itemText(9), u"Pluto"_s);
    EXPECT_EQ(form->chkRunQuickly->text(), u"Run &quickly"_s);
    EXPECT_EQ(form->cmdRun->text(), u"&Run"_s);
    EXPECT_EQ(form->cmdCancel->text(), u"&Cancel"_s);
    EXPECT_FALSE(form->Timer1->isActive());
    // Without a pattern the frame and its controls wait.
    EXPECT_FALSE(form->cmdClearAspectPattern->isEnabled());
    EXPECT_FALSE(form->fraFrame->isEnabled());
    EXPECT_FALSE(form->cboNumToFind->isEnabled());
    EXPECT_FALSE(form->cmdClearAll->isEnabled());

    form->SetNumBodies(8);
    Show();
    EXPECT_EQ(form->cboSoughtPlanet[0]->count(), 9); // no Pluto without its table
}

TEST_F(RunWindow, ChoosingAPatternOpensTheFrame) {
    Show();
    form->cboAspectPattern->setCurrentIndex(PatternNumber(Kite));
    EXPECT_TRUE(form->cmdClearAspectPattern->isEnabled());
    EXPECT_TRUE(form->fraFrame->isEnabled());
    EXPECT_TRUE(form->cboSoughtPlanet[2]->isEnabled());
    EXPECT_FALSE(form->cboNumToFind->isEnabled());
    EXPECT_EQ(run.rememberedPattern, Kite);
    form->chkTwoOrMore->click();
    EXPECT_TRUE(form->cboNumToFind->isEnabled());
    EXPECT_TRUE(run.findAtLeast);

    // The refresh: "Clear planets" only while a body is chosen.
    form->Timer1_Timer();
    EXPECT_FALSE(form->cmdClearAll->isEnabled());
    form->cboSoughtPlanet[1]->setCurrentIndex(BodyNumber(Venus));
    form->Timer1_Timer();
    EXPECT_TRUE(form->cmdClearAll->isEnabled());
    form->cmdClearAll->click();
    EXPECT_EQ(form->cboSoughtPlanet[1]->currentIndex(), 0);
    EXPECT_FALSE(form->cmdClearAll->isEnabled());
    EXPECT_EQ(run.RememberedBodies, (std::array<int, 3>{}));

    form->cmdClearAspectPattern->click();
    EXPECT_EQ(form->cboAspectPattern->currentIndex(), -1);
    EXPECT_EQ(run.rememberedPattern, NoPattern);
    form->Timer1_Timer();
    EXPECT_FALSE(form->fraFrame->isEnabled());
    EXPECT_FALSE(form->chkTwoOrMore->isEnabled());

    // The main window's own refresh while the window shows.
    form->EnableSoughtBodyLists(false);
    EXPECT_FALSE(form->cboSoughtPlanet[0]->isEnabled());
    EXPECT_FALSE(form->lblInvolving->isEnabled());
}

TEST_F(RunWindow, APlanetNamedTwiceKeepsTheWindowOpen) {
    Show();
    form->cboAspectPattern->setCurrentIndex(PatternNumber(GrandTrine));
    const SoughtBodies cases[] = {
        {Mars, Mars, std::nullopt}, {Mars, Venus, Mars}, {Mars, Mars, Venus}};
    for (const auto& bodies : cases) {
        dialogs.Clear();
        ChooseBodies(bodies);
        form->cmdRun->click();
        ASSERT_EQ(dialogs.CountOf(ScriptedDialogs::Kind::Message), 1U);
        const ScriptedDialogs::Call message = dialogs.Calls().front();
        EXPECT_EQ(message.text, u"Planet specified more than once."_s);
        EXPECT_EQ(message.title, u"Input error"_s);
        EXPECT_EQ(message.icon, Dialogs::Icon::Exclamation);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(run.patternToFind, NoPattern); // nothing stored
        EXPECT_EQ(run.soughtBodyCount, 0);
    }
}

TEST_F(RunWindow, RunStoresTheChoicesAndTheNextShowingRestoresThem) {
    Show();
    form->cboAspectPattern->setCurrentIndex(PatternNumber(GrandTrine));
    ChooseBodies({Jupiter, std::nullopt, Saturn});
    form->chkRunQuickly->setChecked(true);
    form->chkTwoOrMore->click();
    form->cboNumToFind->setCurrentIndex(1);
    form->cmdRun->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(run.cancelled);
    EXPECT_EQ(run.patternToFind, GrandTrine);
    EXPECT_EQ(run.SoughtBodies, (SoughtBodies{Jupiter, std::nullopt, Saturn}));
    EXPECT_EQ(run.soughtBodyCount, 2);
    EXPECT_TRUE(run.bodiesSought);
    EXPECT_TRUE(run.runQuickly);
    EXPECT_EQ(run.NumToFind(), 3);

    Show();
    EXPECT_EQ(form->cboAspectPattern->currentIndex(), PatternNumber(GrandTrine));
    EXPECT_EQ(form->cboSoughtPlanet[0]->currentText(), u"Jupiter"_s);
    EXPECT_EQ(form->cboSoughtPlanet[2]->currentText(), u"Saturn"_s);
    EXPECT_TRUE(form->chkRunQuickly->isChecked());
    EXPECT_TRUE(form->cboNumToFind->isEnabled());

    // A list's choice is remembered as soon as it is made, even when the window is cancelled.
    form->cboSoughtPlanet[0]->setCurrentIndex(BodyNumber(Venus));
    form->cmdCancel->click();
    Show();
    EXPECT_EQ(form->cboSoughtPlanet[0]->currentText(), u"Venus"_s);
    EXPECT_EQ(run.SoughtBodies[0], Jupiter); // the run's choice waits for Run
}

TEST_F(RunWindow, CancelAndTheCloseBoxStillRecordThePattern) {
    Show();
    form->cboAspectPattern->setCurrentIndex(PatternNumber(Yod));
    form->cmdCancel->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(run.patternToFind, Yod);

    Show();
    EXPECT_FALSE(run.cancelled);
    form->cboAspectPattern->setCurrentIndex(PatternNumber(Rectangle));
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(run.patternToFind, Rectangle);
}

TEST(RunWindowPlacement, BesideTheMainWindow) {
    // 120 units are 8 pixels, 100 units 7 pixels.
    EXPECT_EQ(RunWindowTopLeft(800, 300, 290), QPoint(307, 502));
}

// The main window's part of a run, wired as it wires the run window and the controller: its
// Run command asks the run window, a find shows its message and offers the run window again.
TEST_F(RunWindow, ARunFoundWithinAFewSteps) {
    Ephemeris ephemeris(test::ProgramFolder());
    ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))), u""_s);
    ProgramState state;
    state.zones = MakeTimeZones(0, false);
    state.mode = WorldTransits;
    state.stepUnitIndex = DayStep;
    state.dateSets[WorldDate] = {QStringLiteral("2026"), 5, 15, 25, GreenwichTimezoneEntry};

    // The run window as the user answers it: the first time a grand trine with Jupiter and
    // Saturn, then, when it comes back after the find, Cancel.
    int asked = 0;
    const auto askRunWindow = [&] {
        Show();
        if (asked++ == 0) {
            form->cboAspectPattern->setCurrentIndex(PatternNumber(GrandTrine));
            ChooseBodies({Jupiter, Saturn, std::nullopt});
            form->cmdRun->click();
        } else {
            EXPECT_EQ(form->cboAspectPattern->currentIndex(), PatternNumber(GrandTrine));
            EXPECT_EQ(form->cboSoughtPlanet[1]->currentText(), u"Saturn"_s);
            form->cmdCancel->click();
        }
        return !run.cancelled;
    };
    std::vector<bool> running;
    PatternRunController* controller = nullptr;
    PatternRunController::Callbacks callbacks;
    callbacks.runningChanged = [&](bool now) { running.push_back(now); };
    callbacks.found = [&](const RunStopResult& stop) {
        dialogs.ShowMessage(nullptr, RunStopMessage(stop, texts), RunStopTitle(stop, texts),
                            Dialogs::Icon::Information);
        controller->cmdRun_Click(askRunWindow);
    };
    PatternRunController runs(state, ephemeris, run, callbacks);
    controller = &runs;

    runs.cmdRun_Click(askRunWindow);
    ASSERT_TRUE(runs.Running());
    for (int tick = 0; tick < 20 && runs.Running(); ++tick) {
        runs.Tick();
    }
    EXPECT_FALSE(runs.Running());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(running, (std::vector<bool>{true, false}));
    EXPECT_EQ(runs.StepsTaken(), 6);
    EXPECT_EQ(state.dateSets[WorldDate].yearText, u"2026"_s);
    EXPECT_EQ(state.dateSets[WorldDate].monthIndex, 5);
    EXPECT_EQ(state.dateSets[WorldDate].dayIndex, 21);
    const auto messages = dialogs.CallsOf(ScriptedDialogs::Kind::Message);
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].text, u"Grand trine found\r\ninvolving Jupiter Saturn."_s);
    EXPECT_EQ(messages[0].title, u"Pattern found"_s);
    EXPECT_FALSE(form->isVisible());
}
