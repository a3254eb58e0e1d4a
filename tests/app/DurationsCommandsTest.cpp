// Durations from the window: the double-click on a grid cell (the question and the report in
// world transits, the course graph of a personal transit), and the Report command.
#include "MainWindowSupport.h"

#include "app/PictureBox.h"
#include "app/frmConfigure.h"
#include "app/frmDurations.h"
#include "present/DurationsReport.h"
#include "session/Durations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>

#include <functional>

namespace orbivex::test {

using enum ChartMode;
namespace {

using Kind = ScriptedDialogs::Kind;
using Answer = Dialogs::Answer;
using Action = CellDoubleClick::Action;

// The first cell whose double-click leads to the action, or -1.
int CellLeadingTo(const frmMain& window, Action action) {
    for (int cell = 0; cell < window.view.grid.cellCount; ++cell) {
        if (AspectOfCell(window.state.chart, cell) != nullptr &&
            DecideCellDoubleClick(window.state, *window.ephemeris(), window.texts(), cell).action ==
                action) {
            return cell;
        }
    }
    return -1;
}

class DurationsCommands : public MainWindowTest {
  protected:
    void DoubleClick(int cell) { QTest::mouseDClick(window->txbCell[cell], Qt::LeftButton); }

    void EnterPersonalTransits() {
        EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
        window->optPersonal[0]->click();
        ASSERT_EQ(window->state.recordedMode, PersonalFirst);
    }

    // Sets every orb to 0 degrees in the configuration window: no aspect is left.
    void UseZeroOrbs() {
        QTimer::singleShot(0, window.get(), [this] {
            frmConfigure* configure = window->configurationWindowIfMade();
            ASSERT_NE(configure, nullptr);
            for (int list = 0; list < NumAspectKinds; ++list) {
                Choose(configure->cboOrb[list], 0);
            }
            configure->cmdAccept->click();
            configure->cmdHide->click();
        });
        window->cmdConfigure->click();
    }
};

TEST_F(DurationsCommands, ADoubleClickInWorldTransitsOffersTheReport) {
    Start();
    const int cell = CellLeadingTo(*window, Action::AskForReport);
    ASSERT_GE(cell, 0);
    const CellDoubleClick decision =
        DecideCellDoubleClick(window->state, *window->ephemeris(), window->texts(), cell);

    dialogs.QueueAnswer(Answer::No);
    DoubleClick(cell);
    ASSERT_EQ(dialogs.CountOf(Kind::Question), 1u);
    const auto question = dialogs.CallsOf(Kind::Question)[0];
    EXPECT_EQ(question.text, CellDoubleClickQuestion(decision, window->texts()));
    EXPECT_EQ(question.title, decision.title);
    EXPECT_TRUE(question.text.startsWith(QStringLiteral("With an orb of ")));
    EXPECT_EQ(question.buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(question.defaultAnswer, Answer::No);
    EXPECT_EQ(window->durationsWindowIfMade(), nullptr);
    EXPECT_EQ(window->focusWidget(), window->cmdCompute);

    dialogs.QueueAnswer(Answer::Yes);
    DoubleClick(cell);
    frmDurations* durations = window->durationsWindowIfMade();
    ASSERT_NE(durations, nullptr);
    EXPECT_TRUE(durations->isVisible());
    EXPECT_EQ(durations->windowTitle(), window->texts().ProgramText(159) + QLatin1Char(' ') +
                                            window->texts().ProgramText(160));
    EXPECT_THAT(durations->Content().records, ::testing::UnorderedElementsAreArray(GetDurations(
                                                  window->state, *window->ephemeris())));
    EXPECT_FALSE(durations->txbOutput->toPlainText().isEmpty());
    // Over the lower part of the main window, as wide as it.
    EXPECT_EQ(durations->frameGeometry().left(), window->frameGeometry().left());
    EXPECT_GT(durations->frameGeometry().top(), window->frameGeometry().top());
    EXPECT_TRUE(window->Timer1->isActive());

    // A position cell and a header cell ignore the double-click.
    DoubleClick(0);
    DoubleClick(9);
    EXPECT_EQ(dialogs.CountOf(Kind::Question), 2u);
}

TEST_F(DurationsCommands, ADoubleClickOnANatalChartOnlyFocusesCompute) {
    Start();
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
    window->optNatal[0]->click();
    const int cell = CellLeadingTo(*window, Action::FocusCompute);
    ASSERT_GE(cell, 0);
    window->txbYearCE[WorldDate]->setFocus();
    DoubleClick(cell);
    EXPECT_EQ(window->focusWidget(), window->cmdCompute);
    EXPECT_EQ(dialogs.CountOf(Kind::Question), 0u);
    EXPECT_EQ(window->durationsWindowIfMade(), nullptr);
}

TEST_F(DurationsCommands, APersonalTransitDrawsItsCourseUntilTheToggle) {
    Start();
    EnterPersonalTransits();
    const int cell = CellLeadingTo(*window, Action::CourseGraph);
    ASSERT_GE(cell, 0);
    // A configuration window on display gives way to the graph and comes back after it.
    window->ConfigurationWindow().show();

    DoubleClick(cell);
    ASSERT_TRUE(window->blnCourseGraphShown);
    EXPECT_EQ(dialogs.CountOf(Kind::Question), 0u);
    EXPECT_TRUE(window->picGraphic->isVisible());
    EXPECT_FALSE(window->picTable->isVisible());
    EXPECT_EQ(window->picGraphic->Image().size(), QSize(730, 440));
    EXPECT_EQ(window->picGraphic->Image(), window->courseGraph().image);
    EXPECT_EQ(window->picGraphic->toolTip(), window->texts().ProgramText(351));
    EXPECT_TRUE(window->lblClickonAspect->text().isEmpty());
    EXPECT_FALSE(window->txbReport1->isVisible());
    EXPECT_FALSE(window->configurationWindowIfMade()->isVisible());
    EXPECT_EQ(window->cmdToggleGraphic->text(), QStringLiteral("&Display grid"));
    EXPECT_EQ(window->cmdSaveAs->text(), QStringLiteral("Sa&ve image ..."));
    // Only the toggle, Quit and saving the image are offered, and the refresh keeps it so.
    window->Timer1_Timer();
    for (const QWidget* offered : std::initializer_list<const QWidget*>{
             window->cmdToggleGraphic, window->cmdQuit, window->cmdSaveAs}) {
        EXPECT_TRUE(offered->isEnabled()) << offered->objectName().toStdString();
    }
    for (const QWidget* held : std::initializer_list<const QWidget*>{
             window->cmdCompute, window->cmdReport, window->cmdNow, window->optPlanetary,
             window->cboMonthCE[WorldDate], window->txbYearCE[WorldDate], window->cmdForwardBack[0],
             window->cboForwardBack, window->lblTitle}) {
        EXPECT_FALSE(held->isEnabled()) << held->objectName().toStdString();
    }
    EXPECT_FALSE(window->cmdRun->isVisible());

    // A right click on the curve reads its point; on the black background nothing.
    const QImage& image = window->courseGraph().image;
    const int colour =
        window->state.settings.colours[Index(AspectOfCell(window->state.chart, cell)->kind)];
    const QColor curve(RedOf(colour), GreenOf(colour), BlueOf(colour));
    QPoint onCurve;
    for (int y = 30; y < 400 && onCurve.isNull(); ++y) {
        for (int x = 130; x < 710; ++x) {
            if (image.pixelColor(x, y) == curve) {
                onCurve = QPoint(x, y);
                break;
            }
        }
    }
    ASSERT_FALSE(onCurve.isNull());
    QTest::mouseClick(window->picGraphic, Qt::RightButton, {},
                      window->picGraphic->WidgetPointOf(onCurve));
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    const auto note = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_EQ(note.title, window->texts().ProgramText(350));
    EXPECT_TRUE(note.text.startsWith(window->texts().ProgramText(348))) << note.text.toStdString();
    EXPECT_TRUE(window->picGraphic->toolTip().isEmpty());
    QTest::mouseClick(window->picGraphic, Qt::RightButton, {},
                      window->picGraphic->WidgetPointOf(QPoint(725, 435)));
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 1u);

    // Saved as shown, with nothing composed onto it.
    const QString png = StateFolder() + QStringLiteral("/graph.png");
    dialogs.QueueFileName(png);
    window->cmdSaveAs->click();
    EXPECT_EQ(QImage(png).convertToFormat(image.format()), image);

    // The toggle ends the graph: the grid, the controls and the configuration window return.
    window->cmdToggleGraphic->click();
    EXPECT_FALSE(window->blnCourseGraphShown);
    EXPECT_FALSE(window->picGraphic->isVisible());
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_TRUE(window->txbReport1->isVisible());
    EXPECT_TRUE(window->configurationWindowIfMade()->isVisible());
    EXPECT_TRUE(window->cmdCompute->isEnabled());
    EXPECT_TRUE(window->lblTitle->isEnabled());
    EXPECT_TRUE(window->cmdForwardBack[0]->isEnabled());
    EXPECT_EQ(window->lblClickonAspect->text(), window->texts().ProgramText(32));
    EXPECT_EQ(window->cmdToggleGraphic->text(), QStringLiteral("&Display chart"));
    EXPECT_EQ(window->cmdSaveAs->text(), QStringLiteral("Sa&ve as ..."));
    window->configurationWindowIfMade()->hide();
}

TEST_F(DurationsCommands, TheCourseGraphKeepsItsWayBackWhereverTheFocusWas) {
    // Each case leaves the world date changed and the focus in a date control, as typing does.
    struct Case {
        const char* name;
        std::function<void(frmMain&)> type;
    };
    const Case cases[] = {
        {"a year typed, then Tab",
         [](frmMain& w) {
             w.txbYearCE[WorldDate]->setFocus();
             QTest::keyClicks(w.txbYearCE[WorldDate], QStringLiteral("5"));
             QTest::keyClick(w.txbYearCE[WorldDate], Qt::Key_Tab);
         }},
        {"a time being typed",
         [](frmMain& w) {
             w.cboHour[WorldDate]->lineEdit()->setFocus();
             w.cboHour[WorldDate]->lineEdit()->setText(QStringLiteral("7:45"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        EnterPersonalTransits();
        const int cell = CellLeadingTo(*window, Action::CourseGraph);
        ASSERT_GE(cell, 0);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        c.type(*window);
        DoubleClick(cell);
        window->Timer1_Timer();
        ASSERT_TRUE(window->blnCourseGraphShown);
        EXPECT_TRUE(window->cmdToggleGraphic->isVisible());
        EXPECT_TRUE(window->cmdToggleGraphic->isEnabled());
        EXPECT_EQ(window->focusWidget(), window->cmdToggleGraphic);
        // Its key works too.
        QTest::keySequence(window.get(), QKeySequence(Qt::CTRL | Qt::Key_D));
        EXPECT_FALSE(window->blnCourseGraphShown);
        EXPECT_TRUE(window->cmdCompute->isEnabled());
        window.reset();
    }
}

TEST_F(DurationsCommands, ReportShowsAndHidesTheDurationsWindow) {
    Start();
    window->cmdReport->click();
    frmDurations* durations = window->durationsWindowIfMade();
    ASSERT_NE(durations, nullptr);
    EXPECT_TRUE(durations->isVisible());
    EXPECT_EQ(durations->lblTitle->text(), durations->Content().heading.title);
    EXPECT_TRUE(window->Timer1->isActive());
    window->cmdReport->click();
    EXPECT_FALSE(durations->isVisible());

    // A natal chart gives the natal report.
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
    window->optNatal[0]->click();
    window->cmdReport->click();
    EXPECT_TRUE(durations->isVisible());
    EXPECT_EQ(durations->Content().mode, NatalFirst);
    EXPECT_FALSE(durations->chkShowDuration->isVisible());
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
}

TEST_F(DurationsCommands, WithEveryOrbAtZeroTheTitleSaysNoAspectIsSwitchedOn) {
    Start();
    UseZeroOrbs();
    EXPECT_EQ(window->lblTitle->text(),
              window->texts().ProgramText(23) + QStringLiteral("  No aspect switched on."));
    EnterPersonalTransits();
    EXPECT_EQ(window->lblTitle->text(),
              window->texts().ProgramText(29) + QStringLiteral("  No aspect switched on."));
}

TEST_F(DurationsCommands, TheGridsCommandsKeepTheDatesItWasComputedFor) {
    Start();
    // What each command gives for the chart on display; then the same after the dates of the
    // controls have moved on without Compute.
    struct Seen {
        QString question;
        QString title;
        DurationRecords records;
        QImage graph;
    };
    const auto look = [this](Seen& seen) {
        const int cell = CellLeadingTo(*window, Action::AskForReport);
        ASSERT_GE(cell, 0);
        dialogs.QueueAnswer(Answer::Yes);
        DoubleClick(cell);
        seen.question = dialogs.CallsOf(Kind::Question).back().text;
        frmDurations* durations = window->durationsWindowIfMade();
        ASSERT_NE(durations, nullptr);
        window->cmdReport->click(); // hides it
        window->cmdReport->click();
        seen.title = durations->lblTitle->text();
        seen.records = durations->Content().records;
        window->cmdReport->click();
    };
    const auto lookAtGraph = [this](Seen& seen) {
        const int cell = CellLeadingTo(*window, Action::CourseGraph);
        ASSERT_GE(cell, 0);
        DoubleClick(cell);
        ASSERT_TRUE(window->blnCourseGraphShown);
        seen.graph = window->courseGraph().image;
        window->cmdToggleGraphic->click();
    };
    const auto moveDatesOn = [this](int dateSet) {
        Choose(window->cboDayCE[dateSet], 24);
        Choose(window->cboTimezone[dateSet], GreenwichTimezoneEntry + 10);
        window->txbYearCE[dateSet]->setText(QStringLiteral("2030"));
        window->Timer1_Timer(); // the refresh reads the controls into the state
    };

    Seen computed, moved;
    look(computed);
    moveDatesOn(WorldDate);
    look(moved);
    EXPECT_EQ(moved.question, computed.question);
    EXPECT_EQ(moved.title, computed.title);
    EXPECT_EQ(moved.records, computed.records);

    EnterPersonalTransits();
    lookAtGraph(computed);
    moveDatesOn(WorldDate);
    moveDatesOn(FirstBirthdate);
    lookAtGraph(moved);
    EXPECT_EQ(moved.graph, computed.graph);
}

TEST_F(DurationsCommands, ReportWithoutAspectsSaysSoForTheMode) {
    Start();
    window->cmdReport->click();
    ASSERT_TRUE(window->durationsWindowIfMade()->isVisible());
    // Use settings hides the report of the chart it no longer describes.
    UseZeroOrbs();
    EXPECT_FALSE(window->durationsWindowIfMade()->isVisible());

    window->cmdReport->click();
    EXPECT_FALSE(window->durationsWindowIfMade()->isVisible());
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    auto message = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_EQ(message.text, window->texts().ProgramText(383));
    EXPECT_EQ(message.title, QStringLiteral("Report"));
    EXPECT_EQ(message.icon, Dialogs::Icon::Information);

    EnterPersonalTransits();
    window->cmdReport->click();
    EXPECT_EQ(dialogs.CallsOf(Kind::Message).back().text, window->texts().ProgramText(382));
    EXPECT_FALSE(window->durationsWindowIfMade()->isVisible());
}

} // namespace
} // namespace orbivex::test
