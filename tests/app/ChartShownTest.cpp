// The window names the chart on display, and marks it while the dates or the mode entered since
// differ from it.
#include "MainWindowSupport.h"

#include "app/PictureBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace orbivex::test {
namespace {

using namespace Qt::StringLiterals;

bool MarkedStale(const frmMain& window) {
    const bool dimmed = window.staleVeil->isVisible();
    if (dimmed) {
        EXPECT_EQ(window.staleVeil->geometry(), window.picTable->geometry());
    }
    EXPECT_EQ(window.lblStale->isVisible(), dimmed);
    EXPECT_EQ(window.lblClickonAspect->isVisible(), !dimmed);
    return dimmed;
}

TEST_F(MainWindowTest, AnEditMarksTheChartOutOfDateUntilCompute) {
    struct Case {
        const char* name;
        std::function<void()> edit;
        bool stale;
    };
    const Case cases[] = {
        {"a year typed", [this] { window->txbYearCE[WorldDate]->setText(u"2025"_s); }, true},
        {"a month chosen", [this] { Choose(window->cboMonthCE[WorldDate], 3); }, true},
        {"an hour chosen", [this] { Choose(window->cboHour[WorldDate], 5); }, true},
        {"a zone chosen", [this] { Choose(window->cboTimezone[WorldDate], 3); }, true},
        {"the same year typed again",
         [this] {
             window->txbYearCE[WorldDate]->setText(u" "_s + window->txbYearCE[WorldDate]->text());
         },
         false},
        {"a birthdate world transits do not use",
         [this] { EnterDate(FirstBirthdate, u"1970"_s, 3, 3, 17, 24); }, false},
    };
    Start();
    ASSERT_FALSE(MarkedStale(*window));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.edit();
        EXPECT_EQ(MarkedStale(*window), c.stale);
        window->cmdCompute->click();
        EXPECT_FALSE(MarkedStale(*window));
    }
    // The wheel is marked as the grid is.
    window->cmdToggleGraphic->click();
    window->txbYearCE[WorldDate]->setText(u"2031"_s);
    EXPECT_TRUE(window->staleVeil->isVisible());
    EXPECT_EQ(window->staleVeil->geometry(), window->picGraphic->geometry());
    EXPECT_TRUE(window->lblStale->isVisible());
    window->cmdCompute->click();
    EXPECT_FALSE(window->staleVeil->isVisible());
}

TEST_F(MainWindowTest, TheTitleNamesTheModeAndTheDatesOfTheChartShown) {
    Start();
    EnterDate(FirstBirthdate, u"1970"_s, 3, 3, 17, 1);
    window->optPersonal[0]->click();
    EXPECT_EQ(window->windowTitle(),
              u"Orbivex \u2014 Personal transits 1st birthdate, January 5, 2024, 12:00 GMT / "
              u"March 3, 1970, 08:00 "_s +
                  window->cboTimezone[FirstBirthdate]->itemText(1));
    // An edit leaves the title on the chart shown until Compute.
    window->txbYearCE[FirstBirthdate]->setText(u"1971"_s);
    EXPECT_TRUE(window->windowTitle().contains(u"1970"_s));
    window->cmdCompute->click();
    EXPECT_TRUE(window->windowTitle().contains(u"March 3, 1971"_s));
}

} // namespace
} // namespace orbivex::test
