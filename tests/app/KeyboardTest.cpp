// The keyboard: the letters of the captions, the keys of the commands, Escape in the secondary
// windows.
#include "MainWindowSupport.h"

#include "app/frmLibrary.h"

#include "app/frmConfigure.h"
#include "app/frmDurations.h"
#include "app/frmRun.h"
#include "app/frmView.h"
#include "support/Mnemonic.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QTimer>

#include "app/frmAspectarian.h"

#include <QRadioButton>

#include <functional>
#include <map>

namespace orbivex::test {

using namespace Qt::StringLiterals;
namespace {

// Every caption the user can reach in the window (shown, its own window's) has a keyboard
// letter, and no two have the same one.
void ExpectLettersUnique(const QWidget* window) {
    SCOPED_TRACE(window->objectName().toStdString());
    std::map<QChar, QString> seen;
    const auto check = [&](const QWidget* widget, const QString& caption) {
        if (widget->window() != window || !widget->isVisibleTo(window) || caption.isEmpty()) {
            return;
        }
        const QString name =
            widget->objectName() + QStringLiteral(" \"") + caption + QLatin1Char('"');
        const QChar letter = MnemonicLetter(caption);
        EXPECT_FALSE(letter.isNull()) << name.toStdString() << " has no letter";
        const auto [at, added] = seen.emplace(letter, name);
        EXPECT_TRUE(added || letter.isNull())
            << name.toStdString() << " shares its letter with " << at->second.toStdString();
    };
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        check(button, button->text());
    }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) {
            check(label, label->text());
        }
    }
}

// Every control the keyboard reaches in the window has a name a screen reader can say.
void ExpectNamed(QWidget* window) {
    SCOPED_TRACE(window->objectName().toStdString());
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window || !control->isVisibleTo(window) ||
            (control->focusPolicy() & Qt::TabFocus) == 0) {
            continue;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr) << control->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty())
            << control->metaObject()->className() << ' ' << control->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, EveryWindowGivesEachCaptionALetterOfItsOwnAndEachControlAName) {
    Start();
    const auto check = [](QWidget* shown) {
        ExpectLettersUnique(shown);
        ExpectNamed(shown);
    };
    check(window.get());
    window->cmdToggleGraphic_Click(); // the wheel: other captions on the same buttons
    check(window.get());
    window->cmdToggleGraphic_Click();
    EnterDate(FirstBirthdate, u"1970"_s, 3, 3, 17, 24);
    EnterDate(SecondBirthdate, u"1975"_s, 5, 5, 17, 24);
    for (QRadioButton* mode : window->ModeOptions()) { // each mode shows its own date rows
        mode->click();
        window->Timer1_Timer();
        check(window.get());
    }
    window->optPlanetary->click();

    check(&window->ConfigurationWindow());
    check(window->runWindow());
    window->cmdReport_Click();
    ASSERT_NE(window->durationsWindowIfMade(), nullptr);
    check(window->durationsWindowIfMade());
    window->cmdHelp_Click();
    check(window->helpView());
    window->cmdAspectarian_Click();
    ASSERT_NE(window->aspectarianWindowIfMade(), nullptr);
    check(window->aspectarianWindowIfMade());

    // The cells of the grid say what they show.
    for (const QLabel* cell : window->txbCell) {
        if (cell->isVisible()) {
            EXPECT_EQ(QAccessible::queryAccessibleInterface(const_cast<QLabel*>(cell))
                          ->text(QAccessible::Name),
                      QString(cell->text()).replace(u'\n', u' '));
        }
    }
}

// Presses a key in a window that has the keyboard, as a person does.
void Press(QWidget* window, const QKeySequence& key) {
    QApplication::processEvents(); // what the window has queued on showing
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QWidget* focus = window->focusWidget();
    QTest::keySequence(focus != nullptr ? focus : window, key);
    QApplication::processEvents();
}

// Runs `action` once the next command has opened a modal window (it waits in that window's
// event loop), or gives up after a few seconds.
void WhenModalOpens(std::function<void()> action) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, action, ticks = 0]() mutable {
        if (QApplication::activeModalWidget() == nullptr && ++ticks < 500) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start();
}

double WorldJulianDay(const frmMain& window) {
    return window.state.ChartJulianDays[WorldDate].julianDay;
}

using ScriptedKind = ScriptedDialogs::Kind;

// What a key's case looks at: the window and the dialogs it asked for.
struct Probe {
    frmMain& w;
    ScriptedDialogs& d;
    double startDay; // the world date's Julian day before the key
};

TEST_F(MainWindowTest, EachKeyRunsItsCommand) {
    struct Case {
        const char* name;
        QKeySequence key;
        std::function<void(const Probe&)> before; // may be empty
        std::function<void(const Probe&)> ran;
    };
    const Case cases[] = {
        {"Save",
         QKeySequence(Qt::CTRL | Qt::Key_S),
         {},
         [](const Probe& p) {
             ASSERT_EQ(p.d.CountOf(ScriptedKind::PopUp), 1u);
             EXPECT_EQ(p.d.CallsOf(ScriptedKind::PopUp)[0].text, p.w.texts().ProgramText(128));
         }},
        {"Save as", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         [](const Probe& p) { p.d.QueueFileName(QString()); },
         [](const Probe& p) { EXPECT_EQ(p.d.CountOf(ScriptedKind::SaveFile), 1u); }},
        {"Load from", QKeySequence(Qt::CTRL | Qt::Key_O),
         [](const Probe& p) { p.d.QueueFileName(QString()); },
         [](const Probe& p) { EXPECT_EQ(p.d.CountOf(ScriptedKind::OpenFile), 1u); }},
        {"Help",
         QKeySequence(Qt::Key_F1),
         {},
         [](const Probe& p) {
             ASSERT_NE(p.w.helpView(), nullptr);
             EXPECT_TRUE(p.w.helpView()->isVisible());
         }},
        {"Quit", QKeySequence(Qt::CTRL | Qt::Key_Q),
         [](const Probe& p) { p.d.QueueAnswer(Dialogs::Answer::Cancel); },
         [](const Probe& p) {
             ASSERT_EQ(p.d.CountOf(ScriptedKind::Question), 1u);
             EXPECT_EQ(p.d.CallsOf(ScriptedKind::Question)[0].title, u"Quit"_s);
             EXPECT_FALSE(p.w.blnEnded);
         }},
        {"Compute", QKeySequence(Qt::Key_F5),
         [](const Probe& p) { p.w.txbYearCE[WorldDate]->setText(u"2030"_s); },
         [](const Probe& p) {
             EXPECT_EQ(p.w.state.computedDateSets[WorldDate].yearText, u"2030"_s);
         }},
        {"Forward",
         QKeySequence(Qt::ALT | Qt::Key_Right),
         {},
         [](const Probe& p) { EXPECT_DOUBLE_EQ(WorldJulianDay(p.w), p.startDay + 1); }},
        {"Back",
         QKeySequence(Qt::ALT | Qt::Key_Left),
         {},
         [](const Probe& p) { EXPECT_DOUBLE_EQ(WorldJulianDay(p.w), p.startDay - 1); }},
        {"Display chart",
         QKeySequence(Qt::CTRL | Qt::Key_D),
         {},
         [](const Probe& p) { EXPECT_TRUE(p.w.state.chartShown); }},
        {"Now", QKeySequence(Qt::CTRL | Qt::Key_T),
         [](const Probe& p) { p.w.txbYearCE[WorldDate]->setText(u"1990"_s); },
         [](const Probe& p) { EXPECT_EQ(p.w.txbYearCE[WorldDate]->text(), u"2024"_s); }},
        {"Report",
         QKeySequence(Qt::CTRL | Qt::Key_R),
         {},
         [](const Probe& p) {
             ASSERT_NE(p.w.durationsWindowIfMade(), nullptr);
             EXPECT_TRUE(p.w.durationsWindowIfMade()->isVisible());
         }},
        {"Chart library",
         QKeySequence(Qt::CTRL | Qt::Key_L),
         {},
         [](const Probe& p) {
             ASSERT_NE(p.w.libraryWindowIfMade(), nullptr);
             EXPECT_TRUE(p.w.libraryWindowIfMade()->isVisible());
         }},
        {"Configure", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Comma),
         [](const Probe& p) {
             WhenModalOpens([&w = p.w] {
                 frmConfigure* configure = w.configurationWindowIfMade();
                 ASSERT_NE(configure, nullptr);
                 EXPECT_TRUE(configure->isVisible());
                 configure->cmdCancel_Click();
             });
         },
         [](const Probe& p) { EXPECT_NE(p.w.configurationWindowIfMade(), nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        dialogs.Clear();
        window->Timer1_Timer(); // the first refresh, which offers stepping
        const Probe probe{*window, dialogs, WorldJulianDay(*window)};
        if (c.before) {
            c.before(probe);
        }
        window->cmdCompute->setFocus();
        Press(window.get(), c.key);
        c.ran(probe);
        EXPECT_EQ(dialogs.UnusedAnswers(), 0u);
        window.reset();
    }
}

TEST_F(MainWindowTest, EscapeClosesEverySecondaryWindowAsItsCloseOrCancelDoes) {
    Start();
    window->cmdReport_Click();
    frmDurations* durations = window->durationsWindowIfMade();
    ASSERT_TRUE(durations != nullptr && durations->isVisible());
    Press(durations, QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(dialogs.CountOf(ScriptedKind::Clipboard), 1u);
    Press(durations, QKeySequence(Qt::Key_Escape));
    EXPECT_FALSE(durations->isVisible());

    window->cmdHelp_Click();
    ASSERT_TRUE(window->helpView()->isVisible());
    Press(window->helpView(), QKeySequence(Qt::Key_Escape));
    EXPECT_FALSE(window->helpView()->isVisible());

    bool configureOpen = false;
    WhenModalOpens([&] {
        configureOpen = window->configurationWindowIfMade()->isVisible();
        Press(window->configurationWindowIfMade(), QKeySequence(Qt::Key_Escape));
    });
    window->cmdConfigure_Click();
    EXPECT_TRUE(configureOpen);
    EXPECT_FALSE(window->configurationWindowIfMade()->isVisible());

    bool runOpen = false;
    window->cmdToggleGraphic_Click(); // Run is offered with the wheel
    WhenModalOpens([&] {
        runOpen = window->runWindow()->isVisible();
        Press(window->runWindow(), QKeySequence(Qt::Key_Escape));
    });
    window->cmdRun_Click();
    EXPECT_TRUE(runOpen);
    EXPECT_FALSE(window->runWindow()->isVisible());
    EXPECT_FALSE(window->Running());
}

TEST_F(MainWindowTest, TabFollowsTheDatesRowByRowThenTheCommandsThenTheModes) {
    Start();
    QStringList visited;
    EnterDate(FirstBirthdate, u"1970"_s, 3, 3, 17, 24);
    window->Timer1_Timer(); // the refresh, which offers Clear and stepping
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* widget = window->txbYearCE[WorldDate];
    widget->setFocus();
    for (int i = 0; i < 60 && widget != nullptr; ++i) {
        visited << widget->objectName();
        QTest::keyClick(widget, Qt::Key_Tab);
        widget = QApplication::focusWidget();
    }
    // Landmarks of the reading order: each row before the next, the dates before the
    // commands, the commands before the modes.
    qsizetype last = -1;
    for (const char* name :
         {"txbYearCE_0", "cboTimezone_0", "cmdClear_0", "txbYearCE_1", "cmdClear_1", "txbYearCE_2",
          "cboTimezone_2", "cmdCompute", "cmdReport", "cmdForwardBack_1", "cmdForwardBack_0",
          "cmdNow", "cmdQuit", "optPlanetary"}) {
        const qsizetype at = visited.indexOf(QString::fromLatin1(name));
        EXPECT_GT(at, last) << name;
        last = at;
    }
}

TEST_F(MainWindowTest, ADateIsTypedStraightThroughWithTabAndAMouseChoiceGoesToCompute) {
    Start();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->txbYearCE[FirstBirthdate]->setFocus();
    // 1970 Tab Jun Tab 15 Tab 06:30 Tab: the lists are chosen from by typing.
    for (const QString& keys :
         {u"1970"_s, u"\t"_s, u"Jun"_s, u"\t"_s, u"15"_s, u"\t"_s, u"06:30"_s, u"\t"_s}) {
        if (keys == u"\t"_s) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } else {
            QTest::keyClicks(QApplication::focusWidget(), keys);
        }
    }
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(window->cboTimezone[FirstBirthdate]->isAncestorOf(focus))
        << focus->objectName().toStdString();
    window->Timer1_Timer();
    const DateSet& typed = window->state.dateSets[FirstBirthdate];
    EXPECT_EQ(typed.yearText, u"1970"_s);
    EXPECT_EQ(typed.monthIndex, 6);
    EXPECT_EQ(typed.dayIndex, 15);
    EXPECT_EQ(MinuteOfDay(typed), 6 * 60 + 30);

    // A choice with the mouse, in the open list, goes on to Compute.
    QComboBox* month = window->cboMonthCE[FirstBirthdate];
    month->showPopup();
    QAbstractItemView* list = month->view();
    const QRect march = list->visualRect(list->model()->index(3, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, march.center());
    EXPECT_EQ(month->currentIndex(), 3);
    EXPECT_EQ(QApplication::focusWidget(), window->cmdCompute);
}

TEST_F(MainWindowTest, HelpListsEveryKeyOfTheMainWindow) {
    Start();
    const QString help = QString::fromUtf8(ReadAll(programFolder + u"/orbx_help.txt"_s));
    int keys = 0;
    for (const QAction* action : window->actions()) {
        for (const QKeySequence& shortcut : action->shortcuts()) {
            const QString key = shortcut.toString(QKeySequence::NativeText);
            EXPECT_TRUE(help.contains(u"\n    "_s + key + u' ')) << key.toStdString();
            ++keys;
        }
    }
    EXPECT_GE(keys, 15);
}

} // namespace
} // namespace orbivex::test
