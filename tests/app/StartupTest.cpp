// Start-up, Quit and closing, Restore and the window's size rules.
#include "MainWindowSupport.h"

#include "app/PictureBox.h"
#include "app/frmRun.h"
#include "calendar/Calendar.h"
#include "draw/LayoutUnits.h"
#include "session/StateFile.h"
#include "session/StateTransfer.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace orbivex::test {

using enum ChartMode;
namespace {

using Kind = ScriptedDialogs::Kind;
using Answer = Dialogs::Answer;

TEST_F(MainWindowTest, FirstStartShowsTheWorldTransitsOfNow) {
    startSize = QSize(); // the size it opens with
    Start();
    const frmMain& w = *window;

    // The note while the data load, centred on the screen.
    ASSERT_EQ(dialogs.CountOf(Kind::PopUp), 1u);
    const auto popUp = dialogs.CallsOf(Kind::PopUp)[0];
    EXPECT_EQ(popUp.text, QStringLiteral("Loading data ..."));
    EXPECT_EQ(popUp.width, 2000);
    EXPECT_EQ(popUp.height, 300);
    EXPECT_EQ(popUp.intervalMs, 2000);
    EXPECT_LT(popUp.top, 0);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);

    // The world date is now, 12:10 rounded to 12:00, in the computer's zone.
    const DateSet& world = w.state.dateSets[WorldDate];
    EXPECT_EQ(w.txbYearCE[WorldDate]->text(), QStringLiteral("2024"));
    EXPECT_EQ(w.cboMonthCE[WorldDate]->currentText(), QStringLiteral("January"));
    EXPECT_EQ(w.cboDayCE[WorldDate]->currentText(), QStringLiteral("5"));
    EXPECT_EQ(w.cboHour[WorldDate]->currentText(), QStringLiteral("12:00"));
    EXPECT_EQ(world.timezoneIndex, w.state.zones.defaultIndex);
    EXPECT_EQ(w.cboTimezone[WorldDate]->currentIndex(), w.state.zones.defaultIndex);
    for (int s : {FirstBirthdate, SecondBirthdate}) {
        EXPECT_TRUE(w.txbYearCE[s]->text().isEmpty());
        EXPECT_EQ(w.cboMonthCE[s]->currentIndex(), 0);
        EXPECT_EQ(w.cboHour[s]->count(), HourEntryCount);
        EXPECT_EQ(w.cboTimezone[s]->count(), TimezoneEntryCount);
    }

    // World transits computed and shown as the model has them.
    EXPECT_TRUE(w.optPlanetary->isChecked());
    EXPECT_TRUE(w.optDegrees->isChecked());
    EXPECT_EQ(w.state.recordedMode, WorldTransits);
    const ProgramState reference = ReferenceChart(w);
    EXPECT_DOUBLE_EQ(w.state.ChartJulianDays[WorldDate].julianDay,
                     reference.ChartJulianDays[WorldDate].julianDay);
    ExpectGridShows(w, ReferenceView(w, reference).grid);
    EXPECT_EQ(w.txbCell[9]->text(), QString(QChar(0x2641))); // Earth's glyph heads column 0
    EXPECT_EQ(w.lblTitle->text(), ReferenceView(w, reference).title);
    EXPECT_EQ(w.txbReport->toPlainText(),
              QString(ReferenceView(w, reference).report).replace(u"\r\n"_s, u"\n"_s));
    EXPECT_TRUE(w.txbReport->isVisible());
    EXPECT_FALSE(w.txbReport1->isVisible());
    EXPECT_EQ(w.lblClickonAspect->text(), w.texts().ProgramText(32));

    // The window, its captions and which commands it offers.
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.blnStartupCompleted);
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.Timer1->interval(), 1000);
    EXPECT_TRUE(w.runWindow()->Timer1->isActive()); // the run window's refresh starts too
    // The size it was designed for where the screen holds it, and on the screen.
    const QRect screen = w.screen()->availableGeometry();
    EXPECT_EQ(w.size(), QSize(LayoutUnitsToPixels(14400), LayoutUnitsToPixels(9600))
                            .boundedTo(screen.size() - QSize(16, 40))
                            .expandedTo(w.minimumSizeHint()));
    EXPECT_TRUE(screen.contains(w.geometry().topLeft()));
    EXPECT_EQ(w.windowTitle(),
              QString::fromUtf8("Orbivex \u2014 World transits, January 5, 2024, 12:00 GMT"));
    EXPECT_EQ(w.Label1[FirstBirthdate]->text(), QStringLiteral("1st birthdate"));
    EXPECT_EQ(w.optNatal[0]->text(), QStringLiteral("Natal aspects &1st birthdate"));
    EXPECT_EQ(w.cmdRestore->text(), QStringLiteral("Res&tore"));
    EXPECT_EQ(w.cmdSaveAs->text(), QStringLiteral("Sa&ve as ..."));
    EXPECT_EQ(w.cboForwardBack->itemText(4), QStringLiteral("1 year"));
    for (const QWidget* shown : std::initializer_list<const QWidget*>{
             w.cmdCompute, w.cmdNow, w.cmdConfigure, w.cmdSave, w.cmdSaveAs, w.cmdLoadState,
             w.cmdRestore, w.cmdHelp, w.cmdQuit, w.lblURL, w.cmdReport, w.cmdToggleGraphic,
             w.cmdForwardBack[0], w.cmdForwardBack[1], w.cboForwardBack}) {
        EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    }
    EXPECT_EQ(w.cmdToggleGraphic->text(), QStringLiteral("&Display chart"));
    EXPECT_EQ(w.cmdReport->text(), w.texts().ProgramText(38));
    // A run starts only from the chart.
    EXPECT_FALSE(w.cmdRun->isVisible());

    // The user state folder exists, the file is written only on request.
    EXPECT_TRUE(QFileInfo(StateFolder()).isDir());
    EXPECT_FALSE(QFileInfo::exists(w.UserStateFile()));
}

TEST_F(MainWindowTest, TheUserStateFileBringsBackANatalChart) {
    ProgramState saved;
    saved.zones = MakeTimeZones(TimezoneOffsetMinutes(now), false);
    saved.dateSets[SecondBirthdate] = {QStringLiteral("1961"), 4, 12, 13, 26};
    saved.mode = NatalSecond;
    saved.stepUnitIndex = 3;
    saved.settings.orbs.degrees[0] = 8;
    QDir().mkpath(StateFolder());
    ASSERT_EQ(MessageOf(SaveState(StateFolder() + QStringLiteral("/orbx.usr"), saved)), QString());

    Start();
    EXPECT_TRUE(window->optNatal[1]->isChecked());
    EXPECT_EQ(window->state.recordedMode, NatalSecond);
    EXPECT_EQ(window->txbYearCE[SecondBirthdate]->text(), QStringLiteral("1961"));
    EXPECT_EQ(window->cboForwardBack->currentIndex(), 3);
    EXPECT_EQ(window->state.settings.orbs.degrees[0], 8);
    EXPECT_EQ(window->txbYearCE[WorldDate]->text(), QString()); // not filled with now
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
}

TEST_F(MainWindowTest, AnUnreadableOrDatelessUserStateFileStartsFresh) {
    QDir().mkpath(StateFolder());
    const QString path = StateFolder() + QStringLiteral("/orbx.usr");
    for (const QByteArray& contents :
         {QByteArray("not a state file\r\n"), FormatStateFile(ToStateFile(ProgramState{}))}) {
        ASSERT_TRUE(WriteAll(path, contents));
        Start();
        EXPECT_TRUE(window->optPlanetary->isChecked());
        EXPECT_EQ(window->txbYearCE[WorldDate]->text(), QStringLiteral("2024"));
        EXPECT_EQ(window->state.recordedMode, WorldTransits);
        EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u); // no message at start-up
    }
    // A named pipe in its place is not opened: that would wait for a writer for ever.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    Start();
    EXPECT_TRUE(window->optPlanetary->isChecked());
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
}

TEST_F(MainWindowTest, AStateFileNamingAnUnknownZoneSaysSoAndKeepsItsDate) {
    ProgramState saved;
    saved.zones = MakeTimeZones(TimezoneOffsetMinutes(now), false);
    saved.dateSets[WorldDate] = {QStringLiteral("1999"), 8, 11, 23, 0};
    SetZoneText(saved.dateSets[WorldDate], QStringLiteral("Mars/Olympus_Mons"));
    QDir().mkpath(StateFolder());
    const QString path = StateFolder() + QStringLiteral("/orbx.usr");
    ASSERT_EQ(MessageOf(SaveState(path, saved)), QString());
    // At start-up as the user state file, and through Load from.
    for (const bool atStartUp : {true, false}) {
        SCOPED_TRACE(atStartUp ? "start-up" : "Load from");
        if (!atStartUp) {
            QFile::rename(path, StateFolder() + QStringLiteral("/mars.pat"));
            Start();
            dialogs.Clear();
            dialogs.QueueFileName(StateFolder() + QStringLiteral("/mars.pat"));
            window->cmdLoadState->click();
        } else {
            Start();
        }
        ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
        EXPECT_EQ(dialogs.CallsOf(Kind::Message)[0].text,
                  QStringLiteral("World date names a time zone that this computer's time-zone "
                                 "database does not have."));
        EXPECT_EQ(window->txbYearCE[WorldDate]->text(), QStringLiteral("1999"));
        EXPECT_EQ(window->cboTimezone[WorldDate]->currentText(),
                  QStringLiteral("Mars/Olympus_Mons"));
        EXPECT_TRUE(window->lblStale->isVisible());
        window.reset();
    }
}

TEST_F(MainWindowTest, AMissingOrBrokenTextFileEndsStartUpWithItsMessage) {
    const QString folder = CopyProgramFolder({QStringLiteral("orbx.dat")});
    window = std::make_unique<frmMain>(dialogs, Setup());
    EXPECT_FALSE(window->Form_Load());
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    auto message = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_EQ(message.icon, Dialogs::Icon::Stop);
    EXPECT_EQ(message.title, QString());
    EXPECT_EQ(message.text, QStringLiteral("Cannot open file containing program text.\r\n") +
                                QDir(folder).filePath(QStringLiteral("orbx.dat")));
    EXPECT_TRUE(window->blnEnded);
    EXPECT_FALSE(window->isVisible());

    // A text missing on line 700 is reported with that line, not with a code's wrap-around.
    QByteArray text;
    for (int line = 1; line < 700; ++line) {
        text += "# comment\n";
    }
    text += "4 en\n";
    ASSERT_TRUE(WriteAll(folder + QStringLiteral("/orbx.dat"), text));
    dialogs.Clear();
    window = std::make_unique<frmMain>(dialogs, Setup());
    EXPECT_FALSE(window->Form_Load());
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    EXPECT_EQ(dialogs.CallsOf(Kind::Message)[0].text,
              QStringLiteral("Missing string at line 700."));
}

TEST_F(MainWindowTest, AMissingPlutoTableEndsStartUpWithItsMessage) {
    CopyProgramFolder({QString::fromLatin1(PlutoTableFileName)});
    window = std::make_unique<frmMain>(dialogs, Setup());
    EXPECT_FALSE(window->Form_Load());
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    const auto message = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_EQ(message.icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(message.title, QStringLiteral("Pluto table missing"));
    EXPECT_TRUE(message.text.endsWith(
        QStringLiteral("\r\nThe program cannot work without this file and will close now.")));
    EXPECT_GT(message.text.indexOf(QString::fromLatin1(PlutoTableFileName)), -1)
        << message.text.toStdString();
    EXPECT_TRUE(window->blnEnded);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Timer1->isActive());
}

TEST_F(MainWindowTest, QuitAsksAndSavesOnlyOnYes) {
    Start();
    const QString path = window->UserStateFile();

    dialogs.QueueAnswer(Answer::Cancel);
    window->cmdQuit->click();
    const auto question = dialogs.CallsOf(Kind::Question).back();
    EXPECT_EQ(question.text, window->texts().ProgramText(149));
    EXPECT_EQ(question.title, QStringLiteral("Quit"));
    EXPECT_EQ(question.buttons, Dialogs::Buttons::YesNoCancel);
    EXPECT_EQ(question.defaultAnswer, Answer::No);
    EXPECT_FALSE(window->blnEnded);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(QFileInfo::exists(path));

    dialogs.QueueAnswer(Answer::No);
    window->cmdQuit->click();
    EXPECT_TRUE(window->blnEnded);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(QFileInfo::exists(path));

    Start();
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
    dialogs.QueueAnswer(Answer::Yes);
    window->cmdQuit->click();
    EXPECT_TRUE(window->blnEnded);
    const Expected<StateFileContents> written = ReadStateFile(path);
    ASSERT_EQ(MessageOf(written), QString());
    EXPECT_EQ(written->dateSets[FirstBirthdate].yearText, QStringLiteral("1970"));
    EXPECT_EQ(written->dateSets[FirstBirthdate].dayIndex, 20);
    EXPECT_EQ(written->SelectedMode(), WorldTransits);
}

TEST_F(MainWindowTest, QuitThatCannotSaveKeepsTheProgramRunning) {
    Start();
    // A folder where the state file should be: the write fails.
    ASSERT_TRUE(QDir().mkpath(window->UserStateFile()));
    dialogs.QueueAnswer(Answer::Yes);
    window->cmdQuit->click();
    EXPECT_FALSE(window->blnEnded);
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    EXPECT_EQ(dialogs.CallsOf(Kind::Message)[0].icon, Dialogs::Icon::Exclamation);
}

TEST_F(MainWindowTest, JustAfterASaveQuitEndsWithoutAskingForFiveTicks) {
    Start();
    window->cmdSave->click();
    EXPECT_TRUE(QFileInfo::exists(window->UserStateFile()));
    for (int tick = 0; tick < 5; ++tick) {
        window->Timer1_Timer();
    }
    EXPECT_TRUE(window->blnJustSaved);
    window->Timer1_Timer(); // the sixth tick clears it
    EXPECT_FALSE(window->blnJustSaved);
    dialogs.QueueAnswer(Answer::Cancel);
    window->cmdQuit->click();
    EXPECT_EQ(dialogs.CountOf(Kind::Question), 1u);

    window->cmdSave->click();
    window->cmdQuit->click();
    EXPECT_EQ(dialogs.CountOf(Kind::Question), 1u);
    EXPECT_TRUE(window->blnEnded);
}

TEST_F(MainWindowTest, ClosingByTheFrameEndsWithoutAsking) {
    Start();
    window->close();
    EXPECT_TRUE(window->blnEnded);
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_EQ(dialogs.CountOf(Kind::Question), 0u);
    EXPECT_FALSE(QFileInfo::exists(window->UserStateFile()));
}

TEST_F(MainWindowTest, RestoreBringsBackTheSavedState) {
    Start();
    window->cmdRestore->click();
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    EXPECT_EQ(dialogs.CallsOf(Kind::Message)[0].text, window->texts().ProgramText(402));

    window->cmdSave->click();
    const QStringList saved = CellTexts(*window);
    // Another state from a file of its own, which the status line then names.
    EnterDate(WorldDate, QStringLiteral("1999"), 8, 11, 23, 24);
    const QString other = StateFolder() + QStringLiteral("/other.pat");
    dialogs.QueueFileName(other);
    window->cmdSaveAs->click();
    dialogs.QueueFileName(other);
    window->cmdLoadState->click();
    ASSERT_NE(CellTexts(*window), saved);
    ASSERT_TRUE(window->lblStatus->text().endsWith(other));

    dialogs.Clear();
    window->cmdRestore->click();
    EXPECT_EQ(window->txbYearCE[WorldDate]->text(), QStringLiteral("2024"));
    EXPECT_EQ(CellTexts(*window), saved);
    EXPECT_EQ(window->lblStatus->text(),
              window->texts().ProgramText(387) + QLatin1Char(' ') + window->UserStateFile());
    ASSERT_EQ(dialogs.CountOf(Kind::PopUp), 1u);
    EXPECT_EQ(dialogs.CallsOf(Kind::PopUp)[0].text, window->texts().ProgramText(399));
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
}

TEST_F(MainWindowTest, TheWindowGrowsFreelyAndShrinksNoFurtherThanItsControlsAllow) {
    Start();
    window->resize(100, 100);
    const QSize smallest = window->size();
    EXPECT_EQ(smallest, window->minimumSizeHint().expandedTo(window->minimumSize()));
    window->resize(2400, 1600);
    EXPECT_EQ(window->size(), QSize(2400, 1600));
    // The grid grows with the window; a mode of its own keeps the window's size.
    EXPECT_GT(window->GridScale(), 1.3); // beside the wheel, which takes half the width
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
    window->optPersonal[0]->click();
    EXPECT_EQ(window->size(), QSize(2400, 1600));
    ExpectGridShows(*window, ReferenceView(*window).grid);
}

TEST_F(MainWindowTest, AWideWindowShowsTheWheelBesideTheGrid) {
    Start();
    for (const int width : {1000, 1500, 1000}) {
        window->resize(width, 800);
        const bool wide = width >= 1400;
        EXPECT_EQ(window->picWheelBeside->isVisible(), wide) << width;
        EXPECT_TRUE(window->picTable->isVisible());
        if (wide) {
            EXPECT_EQ(window->picWheelBeside->Image().deviceIndependentSize(),
                      window->wheel().image.deviceIndependentSize());
        }
    }
    // Display chart still puts the wheel in the grid's place; the wheel is not shown twice.
    window->resize(1500, 800);
    window->cmdToggleGraphic->click();
    EXPECT_TRUE(window->picGraphic->isVisible());
    EXPECT_FALSE(window->picWheelBeside->isVisible());
    window->cmdToggleGraphic->click();
    EXPECT_TRUE(window->picWheelBeside->isVisible());
}

// The controls of the window as the user sees them: every visible control that is not part of
// another (the mode options of their frame, the cells of the grid), in window coordinates and
// cut to what the widgets around it show of it.
std::vector<std::pair<QString, QRect>> ShownControls(const QWidget& window) {
    const auto isControl = [](const QWidget* widget) {
        const QString name = widget->objectName();
        for (const char* prefix : {"cmd", "cbo", "txb", "lbl", "opt", "fra", "pic", "Label1"}) {
            if (name.startsWith(QLatin1String(prefix))) {
                return true;
            }
        }
        return false;
    };
    std::vector<std::pair<QString, QRect>> shown;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->isWindow() || !isControl(widget) || !widget->isVisibleTo(&window)) {
            continue;
        }
        QRect rect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        bool partOfAnother = false;
        for (const QWidget* outer = widget->parentWidget(); outer != &window;
             outer = outer->parentWidget()) {
            partOfAnother = partOfAnother || isControl(outer);
            rect &= QRect(outer->mapTo(&window, QPoint(0, 0)), outer->size());
        }
        rect &= window.rect();
        if (!partOfAnother && !rect.isEmpty()) {
            shown.emplace_back(widget->objectName(), rect);
        }
    }
    return shown;
}

TEST_F(MainWindowTest, NoControlOverlapsAnotherAtAnySizeTheWindowAllows) {
    Start();
    EnterDate(FirstBirthdate, QStringLiteral("1970"), 7, 20, 3, 24);
    EnterDate(SecondBirthdate, QStringLiteral("1985"), 2, 28, 40, 26);
    for (const ChartMode mode : AllChartModes) {
        window->ModeOptions()[ModeNumber(mode) - 1]->click();
        for (const bool chart : {false, true}) {
            if (window->state.chartShown != chart) {
                window->cmdToggleGraphic->click();
            }
            for (const QSize size : {QSize(7200, 5000), QSize(14400, 9600), QSize(24000, 15000)}) {
                window->resize(LayoutUnitsToPixels(size.width()),
                               LayoutUnitsToPixels(size.height()));
                const auto shown = ShownControls(*window);
                EXPECT_GT(shown.size(), 10u);
                for (size_t i = 0; i < shown.size(); ++i) {
                    for (size_t j = i + 1; j < shown.size(); ++j) {
                        EXPECT_FALSE(shown[i].second.intersects(shown[j].second))
                            << "mode " << mode << (chart ? ", chart" : ", grid") << ", window "
                            << window->width() << "x" << window->height() << ": "
                            << shown[i].first.toStdString() << " and "
                            << shown[j].first.toStdString();
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace orbivex::test
