#include "app/frmConfigure.h"
#include "support/Mnemonic.h"

#include "app/WheelOptionsBox.h"

#include "common/ScriptedDialogs.h"
#include "common/TestSupport.h"
#include "support/ProgramTexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

using enum orbivex::AspectKind;
using Kind = test::ScriptedDialogs::Kind;
using Answer = Dialogs::Answer;

namespace {

const ProgramTexts& Texts() {
    static const ProgramTexts texts = [] {
        ProgramTexts loaded;
        loaded.Load(test::ProgramFolder() + QStringLiteral("/orbx.dat"));
        return loaded;
    }();
    return texts;
}

void Press(QWidget* widget, Qt::MouseButton button) {
    const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// A user's choice in a list: the entry is selected and the list reports it.
void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

class ConfigureWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GT(Texts().size(), 0);
        window.onSettingsCommitted = [this] { ++commits; };
        window.setStartupCompleted(true);
    }

    std::array<int, NumOrbLists> ShownOrbs() const {
        std::array<int, NumOrbLists> shown{};
        for (int i = 0; i < NumOrbLists; ++i) {
            shown[i] = window.cboOrb[i]->currentIndex();
        }
        return shown;
    }

    ConfigurationSettings committed = ConfigurationSettings::Defaults();
    test::ScriptedDialogs dialogs;
    frmConfigure window{committed, Texts(), dialogs, nullptr};
    int commits = 0;
};

} // namespace

TEST_F(ConfigureWindow, CaptionsAndLists) {
    EXPECT_EQ(window.windowTitle(), u"Configure"_s);
    EXPECT_EQ(window.Label3->text(), u"Select orbs for world transits and natal aspects.\n"
                                     "Left-click on lines to cycle through 12 colors.\n"
                                     "Right-click to toggle inclusion of an aspect."_s);
    const char* names[] = {"Conjunction", "Opposition",  "Square",  "Trine",
                           "Sextile",     "Semisextile", "Quincunx"};
    for (int i = 0; i < NumAspectKinds; ++i) {
        EXPECT_EQ(window.lblAspectName[i]->text(), QString::fromUtf8(names[i]));
        EXPECT_EQ(window.lblAspectColor[i]->text(), QString(30, QLatin1Char('-')));
    }
    const std::pair<QString, QString> captions[] = {
        {window.cmdSetAllNonzeroOrbsToConjunctionOrb->text(), u"Set all non-zero orbs to:"_s},
        {window.Label1->text(), u"Proportion of above orbs for use with"_s},
        {window.lblPersonalTransits->text(), u"personal transits"_s},
        {window.lblSynastry->text(), u"synastry"_s},
        {window.lblOrbForMidpoints->text(), u"Orb for midpoints"_s},
        {window.chkUseBoldface->text(), u"Use boldface when separation is less than"_s},
        {window.opt1DegOfOrb->text(), u"1 degree"_s},
        {window.lblOfOrb->text(), u"of orb"_s},
        {window.chkShowOnlyOuterPlanets->text(), u"Show only outer planet aspects in chart"_s},
        {window.chkShowOnlyEarthAspects->text(), u"Show only Earth aspects in chart"_s},
        {window.chkDisplayNATZabbr->text(), u"Display North American timezones"_s},
        {window.cmdAccept->text(), u"Use settings"_s},
        {window.cmdCancel->text(), u"Cancel"_s},
        {window.cmdHide->text(), u"Hide"_s},
        {window.cmdReset->text(), u"Reset to default"_s},
    };
    for (const auto& [shown, expected] : captions) {
        EXPECT_EQ(WithoutMnemonic(shown), expected);
    }

    for (QComboBox* list : window.cboOrb) {
        ASSERT_EQ(list->count(), 16);
        EXPECT_EQ(list->itemText(15), QStringLiteral("15°"));
        EXPECT_EQ(list->itemData(15).toInt(), 900);
    }
    EXPECT_EQ(window.cboPersonalOrbsProportion[1]->itemText(4), u"1/5"_s);
    EXPECT_EQ(window.cboBoldfaceFactor->itemData(8).toInt(), 20);
    EXPECT_EQ(window.cboOrbForMidpoints->itemText(7), QStringLiteral("3° 0'"));

    // The controls show the defaults.
    const std::array<int, NumOrbLists> defaults{10, 9, 6, 7, 5, 4, 5, 1};
    EXPECT_EQ(ShownOrbs(), defaults);
    EXPECT_EQ(window.lblAspectColor[Index(Semisextile) - 1]->Colour(), Rgb(128, 128, 255));
    EXPECT_EQ(window.cboBoldfaceFactor->currentText(), u"1/4"_s);
    EXPECT_TRUE(window.opt1DegOfOrb->isChecked());
}

TEST_F(ConfigureWindow, MissingTextsLeaveTheEnglishCaptions) {
    const ProgramTexts none = ProgramTexts::FromEntries({{369, u"Apply"_s}});
    frmConfigure bare(committed, none, dialogs, nullptr);
    EXPECT_EQ(bare.windowTitle(), u"Configuration"_s);
    EXPECT_EQ(bare.cmdAccept->text(), u"Apply"_s);
    EXPECT_EQ(bare.cmdCancel->text(), u"&Cancel"_s);
    EXPECT_EQ(bare.lblSynastry->text(), u"synastry"_s);
}

TEST_F(ConfigureWindow, ColourLinesCycleOnLeftClickAndSwitchOnRightClick) {
    window.show();
    AspectColourLine* conjunction = window.lblAspectColor[Index(Conjunction) - 1];
    Press(conjunction, Qt::LeftButton);
    EXPECT_EQ(conjunction->Colour(), Rgb(255, 0, 255));
    EXPECT_EQ(conjunction->palette().color(QPalette::WindowText), QColor(255, 0, 255));
    EXPECT_EQ(conjunction->palette().color(QPalette::Window), QColor(Qt::black));
    Press(conjunction, Qt::RightButton);
    EXPECT_EQ(conjunction->Colour(), 0);
    Press(conjunction, Qt::LeftButton); // a switched-off line stays off
    EXPECT_EQ(conjunction->Colour(), 0);
    Press(conjunction, Qt::RightButton);
    EXPECT_EQ(conjunction->Colour(), Rgb(255, 0, 255));

    // The slot does the same, and a line never switched on stays off.
    window.lblAspectColor_MouseDown(Index(Quincunx) - 1, Qt::LeftButton);
    EXPECT_EQ(window.lblAspectColor[Index(Quincunx) - 1]->Colour(), Rgb(128, 128, 255));
    window.lblAspectColor_MouseDown(7, Qt::LeftButton); // no such line: ignored
    EXPECT_EQ(window.Edit().controls.colours[Index(Conjunction)], Rgb(255, 0, 255));
    EXPECT_EQ(committed.colours[Index(Conjunction)], Rgb(255, 255, 0));
}

TEST_F(ConfigureWindow, SetAllNonZeroOrbsAsksThenKeepsTheSwitchedOffOrbs) {
    committed.orbs.degrees = {10, 0, 6, 7, 5, 4, 5, 1};
    window.show();
    Choose(window.cboOrb[SetAllOrbList], 3);
    EXPECT_EQ(window.focusWidget(), window.cmdAccept);

    dialogs.QueueAnswer(Answer::No);
    window.cmdSetAllNonzeroOrbsToConjunctionOrb->click();
    EXPECT_EQ(ShownOrbs()[0], 10);

    dialogs.QueueAnswer(Answer::Yes);
    window.cmdSetAllNonzeroOrbsToConjunctionOrb_Click();
    const auto questions = dialogs.CallsOf(Kind::Question);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[1].title, u"Set all orbs"_s);
    EXPECT_EQ(questions[1].text, QStringLiteral("Set every non-zero orb to 3°?"));
    EXPECT_EQ(questions[1].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(ShownOrbs(), (std::array<int, NumOrbLists>{3, 0, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(window.Edit().controls.orbs.degrees,
              (std::array<double, NumOrbLists>{3, 0, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(window.focusWidget(), window.cboPersonalOrbsProportion[0]);
    EXPECT_EQ(committed.orbs.degrees[0], 10); // nothing committed before "Use settings"
}

TEST_F(ConfigureWindow, ZeroDegreesInTheSetAllListIsRefused) {
    window.show();
    Choose(window.cboOrb[SetAllOrbList], 0);
    const auto messages = dialogs.CallsOf(Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, u"Set all"_s);
    EXPECT_EQ(messages[0].text, u"Cannot set all non-zero orbs to zero."_s);
    EXPECT_EQ(window.cboOrb[SetAllOrbList]->currentIndex(), 1);
    EXPECT_EQ(window.Edit().controls.orbs.degrees[SetAllOrbList], 1);

    // 0° switches an aspect off in its own list; the focus moves to "Use settings".
    Choose(window.cboOrb[Index(Square) - 1], 0);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 1u);
    EXPECT_EQ(window.Edit().controls.orbs.degrees[Index(Square) - 1], 0);
    EXPECT_EQ(window.focusWidget(), window.cmdAccept);
}

TEST_F(ConfigureWindow, UseSettingsCommitsAndCallsTheHook) {
    window.show();
    Choose(window.cboOrb[Index(Trine) - 1], 12);
    Choose(window.cboPersonalOrbsProportion[0], 0);
    Press(window.lblAspectColor[Index(Square) - 1], Qt::RightButton);
    window.chkDisplayNATZabbr->click();
    EXPECT_FALSE(window.fraWheel->cboWheelTheme->isEnabled()); // for the modern style only
    Choose(window.fraWheel->cboWheelStyle, 1);
    EXPECT_TRUE(window.fraWheel->cboWheelTheme->isEnabled());
    Choose(window.fraWheel->cboWheelTheme, 1);
    window.cmdAccept->click();

    EXPECT_EQ(commits, 1);
    EXPECT_TRUE(window.blnAccept);
    EXPECT_TRUE(window.isVisible()); // the window stays open
    EXPECT_EQ(committed.orbs.degrees[Index(Trine) - 1], 12);
    EXPECT_EQ(committed.personalDivisorPosition, 0);
    EXPECT_EQ(committed.colours[Index(Square)], 0);
    EXPECT_FALSE(committed.northAmericanZones);
    EXPECT_EQ(committed.wheelStyle, WheelStyle::Modern);
    EXPECT_EQ(committed.wheelTheme, WheelTheme::Dark);
    EXPECT_EQ(dialogs.Calls().size(), 0u);

    // The next showing starts without the accept.
    window.cmdHide_Click();
    EXPECT_FALSE(window.isVisible());
    window.show();
    EXPECT_FALSE(window.blnAccept);
}

TEST_F(ConfigureWindow, ShownModallyItReportsTheAcceptWhenItHides) {
    Choose(window.cboOrb[Index(Trine) - 1], 8);
    QTimer::singleShot(0, &window, [this] {
        EXPECT_TRUE(window.isModal() && window.isVisible());
        EXPECT_EQ(window.cboOrb[Index(Trine) - 1]->currentIndex(), 7); // the committed orb again
        Choose(window.cboOrb[Index(Trine) - 1], 8);
        window.cmdAccept_Click();
        window.cmdHide_Click();
    });
    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_TRUE(window.blnAccept);
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(committed.orbs.degrees[Index(Trine) - 1], 8);

    QTimer::singleShot(0, &window, [this] { window.cmdCancel->click(); });
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_FALSE(window.blnAccept);
}

TEST_F(ConfigureWindow, BothChartFiltersAreRefusedAndNothingIsCommitted) {
    window.show();
    Choose(window.cboOrb[Index(Conjunction) - 1], 2);
    window.chkShowOnlyOuterPlanets->click();
    window.chkShowOnlyEarthAspects->click();
    window.cmdAccept_Click();

    const auto messages = dialogs.CallsOf(Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, u"'Show only Earth aspects in chart' and\r\n"
                                "'Show only outer planet aspects in chart'\r\n"
                                "cannot both be checked."_s);
    EXPECT_EQ(messages[0].title, u"Configure"_s);
    EXPECT_EQ(messages[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(committed, ConfigurationSettings::Defaults());
    EXPECT_EQ(commits, 0);
    EXPECT_FALSE(window.blnAccept);

    window.chkShowOnlyOuterPlanets->click();
    window.cmdAccept_Click();
    EXPECT_EQ(commits, 1);
    EXPECT_TRUE(committed.showOnlyEarth);
    EXPECT_FALSE(committed.showOnlyOuter);
}

TEST_F(ConfigureWindow, CancelKeepsTheCommittedValuesAndTheNextShowingRereadsThem) {
    window.show();
    EXPECT_EQ(window.focusWidget(), window.cmdCancel);
    Choose(window.cboOrb[Index(Opposition) - 1], 15);
    Press(window.lblAspectColor[Index(Trine) - 1], Qt::LeftButton);
    window.chkUseBoldface->click();
    Choose(window.cboOrbForMidpoints, 7);
    Choose(window.fraWheel->cboWheelStyle, 1);
    window.cmdCancel->click();

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(committed, ConfigurationSettings::Defaults());
    EXPECT_EQ(commits, 0);
    EXPECT_EQ(window.cboOrbForMidpoints->currentIndex(), 2);
    EXPECT_TRUE(window.chkUseBoldface->isChecked());

    // Committed elsewhere meanwhile (a loaded state): the next showing shows it.
    committed.orbs.degrees[Index(Opposition) - 1] = 3;
    committed.colours[Index(Trine)] = Rgb(0, 0, 255);
    committed.wheelTheme = WheelTheme::Dark;
    window.show();
    EXPECT_EQ(window.fraWheel->cboWheelStyle->currentText(), QStringLiteral("Classic"));
    EXPECT_EQ(window.fraWheel->cboWheelTheme->currentText(), QStringLiteral("Dark"));
    EXPECT_EQ(window.cboOrb[Index(Opposition) - 1]->currentIndex(), 3);
    EXPECT_EQ(window.lblAspectColor[Index(Trine) - 1]->Colour(), Rgb(0, 0, 255));

    // Escape cancels as well.
    Choose(window.cboOrb[Index(Opposition) - 1], 9);
    window.reject();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(committed.orbs.degrees[Index(Opposition) - 1], 3);
}

TEST_F(ConfigureWindow, HideLetsTheImmediateSettingsActAndKeepsTheRestWaiting) {
    window.show();
    Choose(window.cboOrbForMidpoints, 5);
    window.optProportionOfOrb->click();
    Choose(window.cboBoldfaceFactor, 0);
    Choose(window.cboOrb[Index(Sextile) - 1], 1);
    window.cmdHide->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(committed.midpointOrbPosition, 5);
    EXPECT_FALSE(committed.boldfaceOneDegree);
    EXPECT_EQ(committed.boldfaceFactorPosition, 0);
    EXPECT_EQ(committed.orbs.degrees[Index(Sextile) - 1], 5);
    EXPECT_EQ(commits, 0);
}

TEST_F(ConfigureWindow, ResetAsksAndRestoresTheDefaults) {
    committed.orbs.degrees = {1, 1, 1, 1, 1, 1, 1, 1};
    committed.colours[Index(Conjunction)] = 0;
    committed.useBoldface = false;
    window.show();

    dialogs.QueueAnswer(Answer::No);
    window.cmdReset->click();
    auto questions = dialogs.CallsOf(Kind::Question);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].title, u"Reset to default"_s);
    EXPECT_EQ(questions[0].text, u"Reset all orbs, colors and options to their defaults?\r\n"
                                 "Your current settings will be lost."_s);
    EXPECT_EQ(ShownOrbs()[0], 1);
    EXPECT_EQ(commits, 0);

    dialogs.QueueAnswer(Answer::Yes);
    window.cmdReset_Click();
    EXPECT_EQ(committed, ConfigurationSettings::Defaults());
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(ShownOrbs()[0], 10);
    EXPECT_EQ(window.lblAspectColor[0]->Colour(), Rgb(255, 255, 0));
    EXPECT_TRUE(window.opt1DegOfOrb->isEnabled());

    // Before start-up has completed it neither asks nor commits.
    ConfigurationSettings early = ConfigurationSettings::Defaults();
    early.orbs.degrees[0] = 2;
    frmConfigure starting(early, Texts(), dialogs, nullptr);
    starting.show();
    starting.cmdReset_Click();
    EXPECT_EQ(dialogs.CountOf(Kind::Question), 2u);
    EXPECT_EQ(early.orbs.degrees[0], 2);
    EXPECT_EQ(starting.cboOrb[0]->currentIndex(), 10);
}

TEST_F(ConfigureWindow, TheCloseBoxCancelsAndKeepsWhatWasApplied) {
    committed.orbs.degrees[Index(Square) - 1] = 14;
    committed.showOnlyOuter = true;
    window.show();
    Choose(window.cboOrb[Index(Trine) - 1], 12);
    window.cmdAccept_Click(); // applied: stays
    Choose(window.cboOrb[Index(Trine) - 1], 2);
    Press(window.lblAspectColor[Index(Trine) - 1], Qt::RightButton);
    window.chkUseBoldface->click(); // not applied: dropped
    window.close();

    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dialogs.Calls().empty()); // no notice, no question
    EXPECT_EQ(commits, 1);
    ConfigurationSettings expected = ConfigurationSettings::Defaults();
    expected.orbs.degrees[Index(Square) - 1] = 14;
    expected.orbs.degrees[Index(Trine) - 1] = 12;
    expected.showOnlyOuter = true;
    EXPECT_EQ(committed, expected);
    EXPECT_EQ(window.Edit().controls, expected);
    EXPECT_TRUE(window.chkUseBoldface->isChecked());

    // Shown modally, the close box ends it as Cancel does.
    QTimer::singleShot(0, &window, [this] { window.close(); });
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_EQ(committed, expected);
}

TEST_F(ConfigureWindow, BoldfaceChoicesAreEnabledOnlyWithTheBox) {
    const auto choicesEnabled = [this] {
        return std::array<bool, 4>{
            window.opt1DegOfOrb->isEnabled(), window.optProportionOfOrb->isEnabled(),
            window.cboBoldfaceFactor->isEnabled(), window.lblOfOrb->isEnabled()};
    };
    window.show();
    EXPECT_EQ(choicesEnabled(), (std::array<bool, 4>{true, true, true, true}));
    window.chkUseBoldface->click();
    EXPECT_EQ(choicesEnabled(), (std::array<bool, 4>{false, false, false, false}));
    EXPECT_FALSE(window.Edit().controls.useBoldface);
    window.chkUseBoldface->click();
    EXPECT_EQ(choicesEnabled(), (std::array<bool, 4>{true, true, true, true}));

    committed.useBoldface = false;
    window.cmdCancel_Click();
    window.show();
    EXPECT_EQ(choicesEnabled(), (std::array<bool, 4>{false, false, false, false}));
}

TEST(ConfigurePlacement, BesideTheMainWindowWithinTheScreen) {
    const QRect screen(0, 0, 1920, 1080);
    // Room on the right: the window sits at the main window's right edge, which stays put.
    ConfigurePlacement placed = PlaceBesideMainWindow({100, 200, 960, 600}, {600, 400}, screen);
    EXPECT_EQ(placed.window, QPoint(1060, 300));
    EXPECT_EQ(placed.mainWindow, QPoint(100, 200));

    // No room: the window stops 20 pixels short of the screen's edge, the main window follows.
    placed = PlaceBesideMainWindow({800, 100, 960, 600}, {600, 400}, screen);
    EXPECT_EQ(placed.window, QPoint(1300, 200));
    EXPECT_EQ(placed.mainWindow, QPoint(340, 100));

    // A narrow screen: neither goes past the left edge, a tall window not past the top.
    placed = PlaceBesideMainWindow({0, 10, 960, 300}, {600, 400}, QRect(0, 0, 1024, 768));
    EXPECT_EQ(placed.window, QPoint(404, 0));
    EXPECT_EQ(placed.mainWindow, QPoint(0, 10));
    placed = PlaceBesideMainWindow({0, 0, 300, 300}, {600, 400}, QRect(0, 0, 500, 400));
    EXPECT_EQ(placed.window, QPoint(0, 0));
}

TEST(ConfigurePlacement, ShowingMovesBothWindowsAndKeepsTheDesignWidth) {
    QWidget mainWindow;
    mainWindow.setGeometry(40, 100, 300, 500);
    mainWindow.show();
    ConfigurationSettings settings;
    test::ScriptedDialogs dialogs;
    frmConfigure window(settings, Texts(), dialogs, &mainWindow);
    const int width = window.width();
    const QRect mainFrame = mainWindow.frameGeometry();
    window.show();

    EXPECT_EQ(window.width(), width);
    EXPECT_GE(window.height(), 4700 / 15);
    const ConfigurePlacement expected = PlaceBesideMainWindow(
        mainFrame, window.frameGeometry().size(), mainWindow.screen()->availableGeometry());
    EXPECT_EQ(window.frameGeometry().topLeft(), expected.window);
    EXPECT_EQ(mainWindow.frameGeometry().topLeft(), expected.mainWindow);
}

TEST_F(ConfigureWindow, TheCalendarAndTheZodiacAreChosenAndCommittedWithTheOtherSettings) {
    window.show();
    EXPECT_EQ(window.cboCalendar->currentIndex(), 0); // Gregorian by default
    window.cboCalendar->setCurrentIndex(2);
    Q_EMIT window.cboCalendar->activated(2);
    EXPECT_EQ(committed.calendar, CalendarChoice::Gregorian); // not before "Use settings"
    EXPECT_EQ(window.cboZodiac->currentIndex(), 0);           // J2000 by default
    window.cboZodiac->setCurrentIndex(1);
    Q_EMIT window.cboZodiac->activated(1);
    window.cmdAccept->click();
    EXPECT_EQ(committed.calendar, CalendarChoice::Auto);
    EXPECT_EQ(committed.zodiac, ZodiacChoice::OfDate);
}
