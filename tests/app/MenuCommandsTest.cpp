// The menu bar, dropping a state file on the window, the recent files, the remembered window
// and the About window.
#include "MainWindowSupport.h"

#include "app/PictureBox.h"
#include "app/frmAbout.h"
#include "present/GridText.h"
#include "session/StateTransfer.h"
#include "support/Mnemonic.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QUrl>

#include <map>

namespace orbivex::test {

using enum ChartMode;
namespace {

using namespace Qt::StringLiterals;
using Kind = ScriptedDialogs::Kind;

// Within each menu every item has a letter, and no two the same one.
void ExpectMenuLettersUnique(const QMenu& menu) {
    std::map<QChar, QString> seen;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator() || !action->isVisible()) {
            continue;
        }
        const QChar letter = MnemonicLetter(action->text());
        EXPECT_FALSE(letter.isNull()) << action->text().toStdString() << " has no letter";
        const auto [at, added] = seen.emplace(letter.toLower(), action->text());
        EXPECT_TRUE(added) << action->text().toStdString() << " and " << at->second.toStdString();
        if (action->menu() != nullptr) {
            ExpectMenuLettersUnique(*action->menu());
        }
    }
}

TEST_F(MainWindowTest, TheMenusHoldEveryCommandEnabledWithItsButton) {
    Start();
    QStringList titles;
    for (const QAction* menu : window->menuBar()->actions()) {
        titles << menu->text();
    }
    EXPECT_EQ(titles,
              (QStringList{u"File"_s, u"Edit"_s, u"Chart"_s, u"View"_s, u"Tools"_s, u"Help"_s}));
    // Every button of the window is a command of a menu.
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->window() == window.get()) {
            EXPECT_NE(window->CommandOf(button), nullptr) << button->objectName().toStdString();
        }
    }
    const auto check = [this](const char* state) {
        SCOPED_TRACE(state);
        for (const QAction* menu : window->menuBar()->actions()) {
            Q_EMIT menu->menu()->aboutToShow(); // as opening it does
            ExpectMenuLettersUnique(*menu->menu());
        }
        for (const auto& command : window->commands) {
            if (command.button != nullptr) {
                EXPECT_EQ(command.action->isEnabled(),
                          command.button->isVisibleTo(window.get()) && command.button->isEnabled())
                    << command.button->objectName().toStdString();
            }
        }
    };
    check("grid");
    window->cmdToggleGraphic->click();
    check("wheel");
    EXPECT_FALSE(window->CommandOf(window->cmdLoadState)->isEnabled());
    EXPECT_EQ(window->CommandOf(window->cmdSaveAs)->text(), window->cmdSaveAs->text());
    window->cmdToggleGraphic->click();
    window->txbYearCE[WorldDate]->setText(u"1999"_s);
    Choose(window->cboMonthCE[WorldDate], 3); // a changed date hides the toggle
    check("changed date");
    EXPECT_FALSE(window->CommandOf(window->cmdToggleGraphic)->isEnabled());
}

TEST_F(MainWindowTest, AMenuCommandDoesWhatItsButtonOrOptionDoes) {
    Start();
    EnterDate(FirstBirthdate, u"1970"_s, 7, 20, 3, 24);
    const auto trigger = [this](const char* name) {
        QAction* action = window->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    };
    trigger("mnuNatal_0");
    EXPECT_TRUE(window->optNatal[0]->isChecked());
    EXPECT_EQ(window->state.recordedMode, NatalFirst);
    trigger("mnuRadians");
    EXPECT_TRUE(window->state.radians);
    trigger("mnuToggleGraphic");
    EXPECT_TRUE(window->state.chartShown);
    // Copy: the wheel as an image, the grid as text.
    trigger("mnuCopy");
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              window->picGraphic->Image().convertToFormat(QImage::Format_RGB32));
    trigger("mnuToggleGraphic");
    trigger("mnuCopy");
    EXPECT_EQ(dialogs.ClipboardText(), GridText(window->view.grid));
    // The step unit of the menu is the list's.
    trigger("mnuPlanetary");
    window->Timer1_Timer(); // the first refresh, which offers stepping
    window->findChild<QMenu*>(u"mnuStepUnit"_s)->actions()[4]->trigger();
    EXPECT_EQ(window->cboForwardBack->currentIndex(), 4);
    EXPECT_EQ(window->state.stepUnitIndex, 4);
}

// Drops a file on the window as the desktop does, and lets the window take it.
bool Drop(frmMain& window, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QApplication::processEvents();
    return true;
}

TEST_F(MainWindowTest, ADroppedStateFileLoadsAskingFirstWhenTheStateChanged) {
    Start();
    ProgramState other = window->state;
    other.dateSets[WorldDate].yearText = u"1999"_s;
    const QString path = StateFolder() + u"/other.pat"_s;
    ASSERT_TRUE(SaveState(path, other).has_value());
    ASSERT_TRUE(WriteAll(StateFolder() + u"/notes.txt"_s, "text"));
    EXPECT_FALSE(Drop(*window, StateFolder() + u"/notes.txt"_s));

    struct Case {
        bool changed;
        std::optional<Dialogs::Answer> answer; // none: no question
        bool loaded;
    };
    for (const Case& c :
         {Case{false, std::nullopt, true}, Case{true, Dialogs::Answer::Cancel, false},
          Case{true, Dialogs::Answer::No, true}}) {
        Start();
        dialogs.Clear();
        if (c.changed) {
            window->txbYearCE[WorldDate]->setText(u"2001"_s);
        }
        if (c.answer) {
            dialogs.QueueAnswer(*c.answer);
        }
        ASSERT_TRUE(Drop(*window, path));
        EXPECT_EQ(dialogs.CountOf(Kind::Question), c.answer ? 1u : 0u);
        EXPECT_EQ(window->txbYearCE[WorldDate]->text() == u"1999"_s, c.loaded);
        EXPECT_EQ(window->RecentFiles().contains(path), c.loaded);
    }
}

TEST_F(MainWindowTest, TheWindowAndTheRecentFilesAreRememberedInTheSettings) {
    const auto start = [this] {
        frmMainSetup setup = Setup();
        setup.settingsGroup = u"TestWindow"_s;
        window = std::make_unique<frmMain>(dialogs, setup);
        ASSERT_TRUE(window->Form_Load());
    };
    start();
    window->resize(window->width() + 30, window->height() + 20);
    const QSize size = window->size();
    for (int i = 0; i < 12; ++i) {
        const QString path = StateFolder() + u"/state%1.pat"_s.arg(i);
        dialogs.QueueFileName(path);
        window->cmdSaveAs->click();
    }
    window->cmdQuit->click(); // just saved: ends without asking
    ASSERT_TRUE(window->blnEnded);

    start();
    EXPECT_EQ(window->size(), size);
    const QStringList recent = window->RecentFiles();
    ASSERT_EQ(recent.size(), 10);
    EXPECT_EQ(recent.first(), StateFolder() + u"/state11.pat"_s);
    EXPECT_EQ(recent.last(), StateFolder() + u"/state2.pat"_s);
    EXPECT_EQ(window->mnuRecent->actions().size(), 10);
    // Choosing one loads it.
    window->txbYearCE[WorldDate]->setText(u"1980"_s);
    dialogs.QueueAnswer(Dialogs::Answer::No);
    window->mnuRecent->actions()[3]->trigger();
    EXPECT_EQ(window->RecentFiles().first(), StateFolder() + u"/state8.pat"_s);
    EXPECT_NE(window->txbYearCE[WorldDate]->text(), u"1980"_s);
}

TEST(AboutWindow, NamesTheVersionsOfTheProgramTheEphemerisAndTheZoneDatabase) {
    QTemporaryDir zones;
    ASSERT_TRUE(WriteAll(zones.path() + u"/tzdata.zi"_s, "# version 2031c\n# more\n"));
    EXPECT_EQ(ZoneDatabaseVersion(zones.path()), u"2031c"_s);
    EXPECT_EQ(ZoneDatabaseVersion(zones.path() + u"/none"_s), QString());

    AboutFacts facts = GatherAboutFacts(ProgramFolder());
    EXPECT_FALSE(facts.ephemerisVersion.isEmpty());
    facts.zoneDatabaseVersion = u"2031c"_s;
    frmAbout about(facts, nullptr);
    const QString shown = about.lblAbout->text();
    for (const QString& part : {facts.version, facts.ephemerisVersion, u"2031c"_s,
                                u"GNU Affero General Public License"_s}) {
        EXPECT_TRUE(shown.contains(part)) << part.toStdString();
    }
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
} // namespace orbivex::test
