// The pattern run from the window: the run window asked in world transits, the steps with the
// window held, the find with its message and the run window offered again, Stop, a run at the
// end of the years, and a run of personal transits.
#include "MainWindowSupport.h"

#include "app/PictureBox.h"
#include "app/frmRun.h"
#include "present/PictureInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <deque>
#include <functional>

using namespace Qt::StringLiterals;

namespace orbivex::test {

using enum PatternIndex;
namespace {

using Kind = ScriptedDialogs::Kind;

// Plays the user's part in the modal run window: each time it shows, the next action.
class RunWindowScript : public QObject {
  public:
    void Watch(frmRun* window) {
        run_ = window;
        window->installEventFilter(this);
    }
    void Queue(std::function<void(frmRun&)> action) { actions_.push_back(std::move(action)); }
    int showings = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == run_ && event->type() == QEvent::Show) {
            ++showings;
            QTimer::singleShot(0, run_, [this] {
                if (actions_.empty()) {
                    ADD_FAILURE() << "The run window was shown with nothing to do.";
                    run_->cmdCancel->click();
                    return;
                }
                const std::function<void(frmRun&)> action = std::move(actions_.front());
                actions_.pop_front();
                action(*run_);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    frmRun* run_ = nullptr;
    std::deque<std::function<void(frmRun&)>> actions_;
};

class RunCommands : public MainWindowTest {
  protected:
    void StartWatched() {
        Start();
        script.Watch(window->runWindow());
    }

    // Starts with the wheel on display and a step of a day: where Run is offered. The world
    // date is 5 January 2024, 12:00 GMT, three days before a yod.
    void StartAtTheWheel() {
        StartWatched();
        EnterDate(WorldDate, QStringLiteral("2024"), 1, 5, 25, 24);
        window->cmdCompute->click();
        window->cmdToggleGraphic->click();
        window->Timer1_Timer();
        ASSERT_TRUE(window->cmdRun->isVisible());
    }

    // What the user does in the run window the next time it shows.
    void InTheRunWindow(std::function<void(frmRun&)> action) { script.Queue(std::move(action)); }

    // The waits between steps, passed by hand, until the run ends or the steps run out.
    int TickUntilTheRunEnds(int maxTicks) {
        int ticks = 0;
        while (window->Running() && ticks < maxTicks) {
            EXPECT_TRUE(window->runController()->WaitingForTick());
            window->runController()->Tick();
            ++ticks;
        }
        return ticks;
    }

    void ExpectOnlyRunControlsEnabled() {
        for (const QWidget* enabled : std::initializer_list<const QWidget*>{
                 window->cmdRun, window->cmdQuit, window->txbReport, window->txbReport1}) {
            EXPECT_TRUE(enabled->isEnabled()) << enabled->objectName().toStdString();
        }
        for (const QWidget* held : std::initializer_list<const QWidget*>{
                 window->cmdCompute, window->cmdToggleGraphic, window->cmdReport,
                 window->cmdForwardBack[0], window->cboForwardBack, window->optPlanetary,
                 window->txbYearCE[WorldDate], window->cboHour[WorldDate], window->cmdSaveAs}) {
            EXPECT_FALSE(held->isEnabled()) << held->objectName().toStdString();
        }
    }

    // The one message of a find of the yod.
    void ExpectTheYodFoundMessage() {
        ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
        const auto found = dialogs.CallsOf(Kind::Message)[0];
        EXPECT_EQ(found.text,
                  QStringLiteral("Yod ") + window->texts().ProgramText(7) + QLatin1Char('.'));
        EXPECT_EQ(found.title, window->texts().ProgramText(122));
        EXPECT_EQ(found.icon, Dialogs::Icon::Information);
    }

    RunWindowScript script;
};

TEST_F(RunCommands, ARunStepsUntilThePatternIsFoundAndOffersTheRunWindowAgain) {
    StartAtTheWheel();
    const double start = window->state.ChartJulianDays[WorldDate].julianDay;

    InTheRunWindow([this](frmRun& run) {
        // The run window stands beside the toggle, near the main window's bottom.
        EXPECT_GT(run.x(), window->cmdToggleGraphic->mapToGlobal(QPoint(0, 0)).x());
        EXPECT_LT(run.frameGeometry().bottom(), window->frameGeometry().bottom());
        // The main window's refresh keeps the sought-body lists with the pattern choice.
        window->Timer1_Timer();
        EXPECT_FALSE(run.cboSoughtPlanet[0]->isEnabled());
        run.cboAspectPattern->setCurrentIndex(PatternNumber(Yod));
        window->Timer1_Timer();
        EXPECT_TRUE(run.cboSoughtPlanet[0]->isEnabled());
        run.cmdRun->click();
    });
    // When the run stops it offers the run window again: this time the user cancels.
    InTheRunWindow([](frmRun& run) { run.cmdCancel->click(); });
    window->cmdRun->click();
    EXPECT_EQ(window->run.patternToFind, Yod);

    // The first step is taken at once; the window is held while the run goes on.
    ASSERT_TRUE(window->Running());
    EXPECT_EQ(window->cmdRun->text(), QStringLiteral("&Stop"));
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, start + 1);
    EXPECT_EQ(window->cboDayCE[WorldDate]->currentIndex(), 6);
    EXPECT_EQ(window->runController()->Timer2->interval(), 1000);
    ExpectOnlyRunControlsEnabled();
    window->Timer1_Timer(); // the refresh leaves it so
    ExpectOnlyRunControlsEnabled();
    EXPECT_TRUE(window->cmdRun->isVisible());
    EXPECT_EQ(TickUntilTheRunEnds(60), 2);

    EXPECT_FALSE(window->Running());
    EXPECT_EQ(script.showings, 2);
    ExpectTheYodFoundMessage();
    EXPECT_GT(window->state.chart.patternCounts[Yod], 0);

    // The window shows the chart it stopped at, and is usable again.
    EXPECT_EQ(window->runController()->StepsTaken(), 3);
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, start + 3);
    EXPECT_EQ(window->cboDayCE[WorldDate]->currentIndex(), 8);
    const ProgramState reference = ReferenceChart(*window);
    EXPECT_EQ(window->txbReport->toPlainText(),
              QString(ReferenceView(*window, reference).report).replace(u"\r\n"_s, u"\n"_s));
    EXPECT_EQ(window->picGraphic->Image(),
              DrawChartWheel(WheelInputOf(reference), window->texts()).image);
    EXPECT_EQ(window->cmdRun->text(), QStringLiteral("&Run"));
    EXPECT_TRUE(window->cmdCompute->isEnabled());
    EXPECT_TRUE(window->cmdToggleGraphic->isEnabled());
    EXPECT_TRUE(window->cmdForwardBack[0]->isEnabled());
    EXPECT_FALSE(window->Stepping());
}

TEST_F(RunCommands, FindFindsWhatRunFindsAtFullSpeed) {
    StartAtTheWheel();
    const double start = window->state.ChartJulianDays[WorldDate].julianDay;
    InTheRunWindow([](frmRun& run) {
        run.cboAspectPattern->setCurrentIndex(PatternNumber(Yod));
        run.cmdFind->click();
        // The choices are held while the search goes on; Cancel is what is left.
        EXPECT_TRUE(run.Finding());
        EXPECT_TRUE(run.prgFind->isVisible());
        EXPECT_FALSE(run.cmdRun->isEnabled());
        EXPECT_FALSE(run.cboAspectPattern->isEnabled());
        EXPECT_TRUE(run.cmdCancel->isEnabled());
    });
    // As after a run, the run window is offered again.
    InTheRunWindow([](frmRun& run) {
        EXPECT_FALSE(run.Finding());
        EXPECT_FALSE(run.prgFind->isVisible());
        EXPECT_TRUE(run.cmdRun->isEnabled());
        run.cmdCancel->click();
    });
    window->cmdRun->click();

    EXPECT_FALSE(window->Running());
    EXPECT_EQ(script.showings, 2);
    // The date and the message of the run's own test.
    ExpectTheYodFoundMessage();
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, start + 3);
    EXPECT_EQ(window->cboDayCE[WorldDate]->currentIndex(), 8);
    const ProgramState reference = ReferenceChart(*window);
    EXPECT_EQ(window->txbReport->toPlainText(),
              QString(ReferenceView(*window, reference).report).replace(u"\r\n"_s, u"\n"_s));
    EXPECT_TRUE(window->cmdCompute->isEnabled());
}

TEST_F(RunCommands, CancelEndsAFindAndLeavesTheWorldDateAsItWas) {
    StartAtTheWheel();
    const double start = window->state.ChartJulianDays[WorldDate].julianDay;
    const QString report = window->txbReport->toPlainText();
    InTheRunWindow([](frmRun& run) {
        // Never found: a grand sextile counts once at most.
        run.cboAspectPattern->setCurrentIndex(PatternNumber(GrandSextile));
        run.chkTwoOrMore->click();
        run.cmdFind->click();
        QTimer::singleShot(200, &run, [&run] {
            EXPECT_TRUE(run.Finding());
            run.cmdCancel->click();
            // The search is over, the window still open with its choices usable.
            EXPECT_FALSE(run.Finding());
            EXPECT_TRUE(run.isVisible());
            EXPECT_TRUE(run.cmdFind->isEnabled());
            run.cmdCancel->click();
        });
    });
    window->cmdRun->click();
    EXPECT_EQ(script.showings, 1);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
    EXPECT_FALSE(window->Running());
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, start);
    EXPECT_EQ(window->cboDayCE[WorldDate]->currentIndex(), 5);
    EXPECT_EQ(window->txbReport->toPlainText(), report);
}

TEST_F(RunCommands, AFindThatReachesTheYear2800SaysSoInTheRunWindow) {
    StartWatched();
    EnterDate(WorldDate, QStringLiteral("2799"), 12, 30, 25, 24);
    window->cmdCompute->click();
    window->cmdToggleGraphic->click();
    InTheRunWindow([this](frmRun& run) {
        run.cboAspectPattern->setCurrentIndex(PatternNumber(GrandSextile));
        dialogs.WhileNextDialogOpen([&run] { EXPECT_FALSE(run.Finding()); });
        run.cmdFind->click();
        QTimer::singleShot(500, &run, [&run] { run.cmdCancel->click(); });
    });
    window->cmdRun->click();
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    EXPECT_EQ(dialogs.CallsOf(Kind::Message)[0].text,
              QStringLiteral("No grand sextile found up to the end of the year 2799."));
    EXPECT_EQ(window->txbYearCE[WorldDate]->text(), QStringLiteral("2799"));
    EXPECT_EQ(window->cboDayCE[WorldDate]->currentIndex(), 30);
}

TEST_F(RunCommands, StopEndsARunBetweenTwoSteps) {
    StartAtTheWheel();
    InTheRunWindow([](frmRun& run) {
        run.chkRunQuickly->setChecked(true);
        run.cmdRun->click(); // no pattern: runs until stopped
    });
    window->cmdRun->click();
    ASSERT_TRUE(window->Running());
    EXPECT_EQ(window->runController()->Timer2->interval(), 100);
    window->runController()->Tick();
    const double reached = window->state.ChartJulianDays[WorldDate].julianDay;
    const QString year = window->txbYearCE[WorldDate]->text();

    window->cmdRun->click(); // Stop: no run window
    EXPECT_EQ(script.showings, 1);
    EXPECT_FALSE(window->Running());
    EXPECT_FALSE(window->Stepping());
    EXPECT_FALSE(window->runController()->Timer2->isActive());
    EXPECT_EQ(window->cmdRun->text(), QStringLiteral("&Run"));
    EXPECT_TRUE(window->cmdCompute->isEnabled());
    // A tick that was still due takes no further step.
    window->runController()->Tick();
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, reached);
    EXPECT_EQ(window->txbYearCE[WorldDate]->text(), year);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);

    // Cancel in the run window starts nothing.
    InTheRunWindow([](frmRun& run) { run.cmdCancel->click(); });
    window->cmdRun->click();
    EXPECT_FALSE(window->Running());
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, reached);
}

TEST_F(RunCommands, ARunThatReachesTheYear2800StopsSteppingThere) {
    // Without a pattern the date error says why the steps end; with one, that it was not found.
    const struct {
        PatternIndex pattern;
        QString title;
        QString message;
    } cases[] = {
        {NoPattern, QStringLiteral("Date error"),
         QStringLiteral("World date lies in or after the year 2800.")},
        {GrandSextile, QStringLiteral("Pattern not found"),
         QStringLiteral("No grand sextile found up to the end of the year 2799.")},
    };
    StartWatched();
    for (const auto& c : cases) {
        dialogs.Clear();
        EnterDate(WorldDate, QStringLiteral("2799"), 12, 30, 25, 24);
        window->cmdCompute->click();
        if (!window->state.chartShown) {
            window->cmdToggleGraphic->click();
        }
        InTheRunWindow([&c](frmRun& run) {
            run.cboAspectPattern->setCurrentIndex(PatternNumber(c.pattern));
            run.cmdRun->click();
        });
        window->cmdRun->click();
        ASSERT_TRUE(window->Running());
        window->runController()->Tick(); // to 31 December 2799
        window->runController()->Tick(); // 1 January 2800 does not convert
        ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
        EXPECT_EQ(dialogs.CallsOf(Kind::Message)[0].title, c.title);
        EXPECT_EQ(dialogs.CallsOf(Kind::Message)[0].text, c.message);
        EXPECT_EQ(window->txbYearCE[WorldDate]->text(), QStringLiteral("2799"));
        EXPECT_EQ(window->cboDayCE[WorldDate]->currentIndex(), 31);
        EXPECT_FALSE(window->runController()->WaitingForTick());
        // The run stays marked until the user stops it.
        EXPECT_TRUE(window->Running());
        EXPECT_EQ(window->cmdRun->text(), QStringLiteral("&Stop"));
        window->cmdRun->click();
        EXPECT_FALSE(window->Running());
        EXPECT_TRUE(window->cmdCompute->isEnabled());
    }
}

TEST_F(RunCommands, PersonalTransitsRunWithoutTheRunWindow) {
    StartWatched();
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
    window->optPersonal[0]->click();
    window->cmdToggleGraphic->click();
    window->Timer1_Timer();
    ASSERT_TRUE(window->cmdRun->isVisible());
    const double start = window->state.ChartJulianDays[WorldDate].julianDay;
    window->cmdRun->click();
    EXPECT_EQ(script.showings, 0);
    ASSERT_TRUE(window->Running());
    window->runController()->Tick();
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, start + 2);
    EXPECT_EQ(window->picGraphic->Image(),
              DrawChartWheel(WheelInputOf(ReferenceChart(*window)), window->texts()).image);
    EXPECT_EQ(window->txbReport1->toPlainText(), ReferenceView(*window).report);
    window->cmdRun->click();
    EXPECT_FALSE(window->Running());
}

TEST_F(RunCommands, ARunWaitsWhileTheQuitQuestionIsOpen) {
    StartAtTheWheel();
    InTheRunWindow([](frmRun& run) { run.cmdRun->click(); });
    window->cmdRun->click();
    ASSERT_TRUE(window->Running());
    const double reached = window->state.ChartJulianDays[WorldDate].julianDay;

    // The steps that come due under the question wait for its answer.
    dialogs.WhileNextDialogOpen([&] {
        for (int tick = 0; tick < 3; ++tick) {
            window->runController()->Tick();
        }
        EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, reached);
        EXPECT_TRUE(window->runController()->WaitingForTick());
        EXPECT_TRUE(window->runController()->Timer2->isActive());
    });
    dialogs.QueueAnswer(Dialogs::Answer::Cancel);
    window->cmdQuit->click();
    EXPECT_FALSE(window->blnEnded);
    ASSERT_TRUE(window->Running());
    window->runController()->Tick();
    EXPECT_DOUBLE_EQ(window->state.ChartJulianDays[WorldDate].julianDay, reached + 1);
    window->cmdRun->click();
}

TEST_F(RunCommands, QuitDuringARunEndsIt) {
    StartAtTheWheel();
    InTheRunWindow([](frmRun& run) { run.cmdRun->click(); });
    window->cmdRun->click();
    ASSERT_TRUE(window->Running());
    dialogs.QueueAnswer(Dialogs::Answer::No);
    window->cmdQuit->click();
    EXPECT_TRUE(window->blnEnded);
    EXPECT_FALSE(window->Running());
    EXPECT_FALSE(window->runController()->Timer2->isActive());
}

} // namespace
} // namespace orbivex::test
