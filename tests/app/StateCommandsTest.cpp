// Save, Save as and Load from; Configure; Help and the address label.
#include "MainWindowSupport.h"

#include "common/SpecialFiles.h"

#include "app/frmConfigure.h"
#include "app/frmView.h"
#include "session/RememberedFolders.h"
#include "session/StateFile.h"
#include "session/StateTransfer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace orbivex::test {

using enum AspectKind;
using enum ChartMode;
namespace {

using Kind = ScriptedDialogs::Kind;

TEST_F(MainWindowTest, SaveWritesTheUserStateFileAndSaysSo) {
    Start();
    EnterDate(SecondBirthdate, QStringLiteral("1985"), 2, 28, 40, 26);
    window->cmdSave->click();
    const Expected<StateFileContents> written = ReadStateFile(window->UserStateFile());
    ASSERT_EQ(MessageOf(written), QString());
    EXPECT_EQ(written->dateSets[SecondBirthdate].yearText, QStringLiteral("1985"));
    EXPECT_EQ(written->dateSets[SecondBirthdate].hourIndex, 40);
    EXPECT_EQ(written->dateSets[WorldDate].yearText, QStringLiteral("2024"));
    ASSERT_EQ(dialogs.CountOf(Kind::PopUp), 2u); // after "Loading data ..."
    const auto note = dialogs.CallsOf(Kind::PopUp)[1];
    EXPECT_EQ(note.text, window->texts().ProgramText(128));
    EXPECT_EQ(note.width, 2400);
    EXPECT_EQ(note.height, 300);
    EXPECT_EQ(note.intervalMs, 2000);
    EXPECT_TRUE(window->blnJustSaved);
}

TEST_F(MainWindowTest, SaveAsWritesTheChosenFile) {
    Start();
    const QString base = StateFolder() + QStringLiteral("/mine");
    dialogs.QueueFileName(QString()); // cancelled
    window->cmdSaveAs->click();
    EXPECT_EQ(window->lblStatus->text(), QString());

    const QString start = StartFolder(FileKind::StateFile);
    dialogs.QueueFileName(base);
    window->cmdSaveAs->click();
    const auto dialog = dialogs.CallsOf(Kind::SaveFile).back();
    EXPECT_EQ(dialog.title, window->texts().ProgramText(130));
    EXPECT_EQ(dialog.filter, window->texts().ProgramText(131) + QStringLiteral(" (*.pat)"));
    EXPECT_EQ(dialog.initialName, start);
    EXPECT_TRUE(QFileInfo::exists(base + QStringLiteral(".pat")));
    EXPECT_EQ(window->lblStatus->text(),
              window->texts().ProgramText(129) + QStringLiteral(" ") + base + u".pat"_s);
    EXPECT_EQ(dialogs.CallsOf(Kind::PopUp).back().height, 350);

    // A file that cannot be written: the message, and the old status stays.
    dialogs.QueueFileName(StateFolder() + QStringLiteral("/no/such/folder/x.pat"));
    window->cmdSaveAs->click();
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    const auto message = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_EQ(message.icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(message.title, QStringLiteral("Save as ..."));
    EXPECT_FALSE(message.text.isEmpty());
    EXPECT_TRUE(window->lblStatus->text().endsWith(QStringLiteral("mine.pat")));
}

TEST_F(MainWindowTest, SaveAsAsksBeforeReplacingAFileTheDialogDidNotNameAndSparesSpecialOnes) {
    Start();
    const QString keep = StateFolder() + QStringLiteral("/keep");
    const QString kept = keep + QStringLiteral(".pat");
    ASSERT_TRUE(WriteAll(kept, "kept"));
    const std::vector<SpecialFile> specials =
        MakeSpecialFiles(StateFolder(), QStringLiteral(".pat"));
    ASSERT_FALSE(specials.empty());
    struct Case {
        QString chosen;
        int answer;      // -1: no question asked
        QString saved;   // the file the status line names afterwards, or "" when none was saved
        QString refusal; // how the message ends when the file is refused
    };
    std::vector<Case> cases = {
        {keep, int(Dialogs::Answer::No), {}, {}},
        {keep + QLatin1Char('.'), int(Dialogs::Answer::No), {}, {}},
        {keep + QLatin1Char('.'), int(Dialogs::Answer::Yes), kept, {}},
    };
    for (const SpecialFile& special : specials) {
        cases.push_back({special.path.chopped(4), -1, {}, special.kindWords + QLatin1Char('.')});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        dialogs.Clear();
        window->lblStatus->clear();
        dialogs.QueueFileName(c.chosen);
        if (c.answer >= 0) {
            dialogs.QueueAnswer(Dialogs::Answer(c.answer));
        }
        window->cmdSaveAs->click();
        EXPECT_EQ(dialogs.CountOf(Kind::Question), c.answer >= 0 ? 1u : 0u);
        EXPECT_EQ(dialogs.UnusedAnswers(), 0u);
        const QString status = window->texts().ProgramText(129) + QLatin1Char(' ') + c.saved;
        EXPECT_EQ(window->lblStatus->text(), c.saved.isEmpty() ? QString() : status);
        EXPECT_EQ(dialogs.CountOf(Kind::PopUp), c.saved.isEmpty() ? 0u : 1u);
        const auto messages = dialogs.CallsOf(Kind::Message);
        ASSERT_EQ(messages.size(), c.refusal.isEmpty() ? 0u : 1u);
        if (!c.refusal.isEmpty()) {
            EXPECT_EQ(messages[0].icon, Dialogs::Icon::Exclamation);
            EXPECT_TRUE(messages[0].text.endsWith(c.refusal)) << messages[0].text.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(keep + QStringLiteral("..pat")));
    const Expected<StateFileContents> written = ReadStateFile(kept);
    EXPECT_EQ(MessageOf(written), QString()); // replaced once the user agreed
    for (const SpecialFile& special : specials) {
        EXPECT_TRUE(StillSpecial(special)) << special.what.toStdString();
    }
}

TEST_F(MainWindowTest, LoadAppliesAGoodFileAndABrokenOneChangesNothing) {
    Start();
    ProgramState saved;
    saved.zones = window->state.zones;
    saved.dateSets[FirstBirthdate] = {QStringLiteral("1955"), 2, 24, 40, 18};
    saved.dateSets[WorldDate] = {QStringLiteral("2001"), 9, 11, 27, 24};
    saved.mode = NatalFirst;
    saved.settings.orbs.degrees[Index(Conjunction) - 1] = 3;
    const QString good = StateFolder() + QStringLiteral("/good.pat");
    ASSERT_EQ(MessageOf(SaveState(good, saved)), QString());

    dialogs.QueueFileName(good);
    window->cmdLoadState->click();
    EXPECT_EQ(dialogs.CallsOf(Kind::OpenFile).back().title, window->texts().ProgramText(384));
    EXPECT_TRUE(window->optNatal[0]->isChecked());
    EXPECT_EQ(window->state.recordedMode, NatalFirst);
    EXPECT_EQ(window->txbYearCE[FirstBirthdate]->text(), QStringLiteral("1955"));
    EXPECT_EQ(window->cboTimezone[FirstBirthdate]->currentIndex(), 18);
    EXPECT_EQ(window->txbYearCE[WorldDate]->text(), QStringLiteral("2001"));
    EXPECT_EQ(window->state.settings.orbs.degrees[Index(Conjunction) - 1], 3);
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_EQ(window->lblStatus->text(),
              window->texts().ProgramText(387) + QStringLiteral(" ") + good);
    EXPECT_TRUE(window->blnJustSaved);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);

    // A file cut short: the message, and dates, mode, settings and grid stay as they are.
    const QString broken = StateFolder() + QStringLiteral("/broken.pat");
    ASSERT_TRUE(WriteAll(broken, ReadAll(good).left(60)));
    const DateSets dates = window->state.dateSets;
    const ConfigurationSettings settings = window->state.settings;
    const QStringList cells = CellTexts(*window);
    dialogs.QueueFileName(broken);
    window->cmdLoadState->click();
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    const auto message = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_EQ(message.icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(message.title, window->texts().ProgramText(385));
    EXPECT_TRUE(
        message.text.endsWith(QStringLiteral("\r\n\r\n") + window->texts().ProgramText(386)));
    EXPECT_GT(message.text.size(), window->texts().ProgramText(386).size() + 4);
    EXPECT_EQ(window->state.dateSets[FirstBirthdate].yearText, dates[FirstBirthdate].yearText);
    EXPECT_EQ(window->txbYearCE[FirstBirthdate]->text(), QStringLiteral("1955"));
    EXPECT_TRUE(window->optNatal[0]->isChecked());
    EXPECT_EQ(window->state.settings, settings);
    EXPECT_EQ(CellTexts(*window), cells);

    // A cancelled dialog does nothing.
    dialogs.QueueFileName(QString());
    window->cmdLoadState->click();
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 1u);
}

TEST_F(MainWindowTest, ConfigureUseSettingsRecomputesAndCancelKeepsTheSettings) {
    Start();
    const QStringList before = CellTexts(*window);
    const QString titleBefore = window->lblTitle->text();

    // Cancel: the orb chosen in the window is not committed, nothing is recomputed.
    QTimer::singleShot(0, window.get(), [this] {
        frmConfigure* configure = window->configurationWindowIfMade();
        ASSERT_NE(configure, nullptr);
        EXPECT_TRUE(configure->isVisible());
        EXPECT_FALSE(window->Timer1->isActive());
        Choose(configure->cboOrb[Index(Conjunction) - 1], 15);
        configure->cmdCancel->click();
    });
    window->cmdConfigure->click();
    EXPECT_EQ(window->state.settings.orbs.degrees[Index(Conjunction) - 1], 10);
    EXPECT_EQ(CellTexts(*window), before);
    EXPECT_TRUE(window->Timer1->isActive());

    // Use settings: every orb at 15 degrees, so more aspects, and the title says so.
    QTimer::singleShot(0, window.get(), [this] {
        frmConfigure* configure = window->configurationWindowIfMade();
        for (int list = 0; list < NumAspectKinds; ++list) {
            Choose(configure->cboOrb[list], 15);
        }
        configure->cmdAccept->click();
        configure->cmdHide->click();
    });
    window->cmdConfigure->click();
    EXPECT_EQ(window->state.settings.orbs.degrees[Index(Trine) - 1], 15);
    EXPECT_NE(CellTexts(*window), before);
    EXPECT_NE(window->lblTitle->text(), titleBefore);
    EXPECT_TRUE(window->lblTitle->text().contains(QStringLiteral("15")));
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
}

TEST_F(MainWindowTest, NorthAmericanZoneNamesFollowTheConfiguration) {
    Start();
    const bool names = window->state.settings.northAmericanZones;
    window->cboTimezone[FirstBirthdate]->setCurrentIndex(14);
    QTimer::singleShot(0, window.get(), [this] {
        frmConfigure* configure = window->configurationWindowIfMade();
        configure->chkDisplayNATZabbr->click();
        configure->cmdAccept->click();
        configure->cmdHide->click();
    });
    window->cmdConfigure->click();
    EXPECT_EQ(window->state.settings.northAmericanZones, !names);
    EXPECT_EQ(window->cboTimezone[FirstBirthdate]->currentIndex(), 14); // kept
    EXPECT_EQ(window->cboTimezone[FirstBirthdate]->currentText(),
              names ? QStringLiteral("GMT-5:00") : QStringLiteral("EST/CDT"));
}

TEST_F(MainWindowTest, HelpShowsTheHelpFileAndATooLargeOneWithItsNote) {
    const QString folder = CopyProgramFolder({QStringLiteral("orbx_help.txt")});
    ASSERT_TRUE(WriteAll(folder + QStringLiteral("/orbx_help.txt"), QByteArray(70000, 'h')));
    Start();
    window->cmdHelp->click();
    QCoreApplication::processEvents(); // the viewer reads its file once it is shown
    frmView* view = window->helpView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Help"));
    EXPECT_TRUE(view->DisplayedText().startsWith(
        QStringLiteral("NOTE: This file is too large to display entirely in this textbox.")));
    EXPECT_EQ(view->DisplayedText().size(), 65534);
    EXPECT_FALSE(view->cmdCopyToClipboard->isVisible());

    // Quitting closes the viewer with the program.
    dialogs.QueueAnswer(Dialogs::Answer::No);
    window->cmdQuit->click();
    EXPECT_FALSE(view->isVisible());
}

TEST_F(MainWindowTest, TheAddressLabelOpensTheLocalManual) {
    Start();
    EXPECT_EQ(window->lblURL->text(), QStringLiteral("User manual"));
    const QString manual = ProgramFolder() + QStringLiteral("/orbivex-manual.html");
    EXPECT_EQ(window->lblURL->toolTip(), manual);
    QTest::mouseClick(window->lblURL, Qt::LeftButton);
    ASSERT_EQ(dialogs.CountOf(Kind::Open), 1u);
    EXPECT_EQ(dialogs.CallsOf(Kind::Open)[0].text, manual);

    dialogs.QueueOpenResult(false);
    QTest::mouseClick(window->lblURL, Qt::LeftButton);
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    const ScriptedDialogs::Call message = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_EQ(message.title, QStringLiteral("Cannot launch web browser"));
    EXPECT_TRUE(message.text.startsWith(
        QStringLiteral("No web browser could be started to show\r\n") + manual))
        << message.text.toStdString();
}

} // namespace
} // namespace orbivex::test
