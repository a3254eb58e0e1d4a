#include "app/frmDurations.h"
#include "common/ChartFixture.h"
#include "common/ScriptedDialogs.h"
#include "draw/LayoutUnits.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

namespace {

struct DurationsWindow : test::ChartFixture {
    test::ScriptedDialogs dialogs;
    std::unique_ptr<frmDurations> window;
    const frmDurations::MainWindowPlacement placement{QRect(40, 30, 1000, 700), 60,
                                                      QColor(212, 208, 200), QIcon()};

    void SetUp() override {
        ChartFixture::SetUp();
        window = std::make_unique<frmDurations>(dialogs, texts);
    }
    void Report(ChartMode mode) {
        Run(mode);
        window->Report(state, ephemeris, placement);
        QApplication::processEvents();
    }
    QString Shown() const { return window->txbOutput->toPlainText(); }
    static QString Plain(QString text) {
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
};

} // namespace

TEST(LayOutDurations, PutsButtonsOutputAndSortRowInPlace) {
    const QSize client(1000, 500);
    const QSize button(81, 25), label(60, 20), list(120, 22), check(100, 20);
    const DurationsLayout layout =
        LayOutDurations(client, 0, QPoint(16, 48), button, label, list, check, true);
    const int buttonTop = 500 - LayoutUnitsToPixels(1050);
    EXPECT_EQ(layout.copy, QRect(QPoint(LayoutUnitsToPixels(240), buttonTop), button));
    EXPECT_EQ(layout.close.top(), buttonTop);
    EXPECT_EQ(layout.close.right() + 1, 1000 - LayoutUnitsToPixels(400));
    EXPECT_EQ(layout.output.topLeft(), QPoint(16, 48));
    EXPECT_EQ(layout.output.right() + 1, 1000 - LayoutUnitsToPixels(400));
    EXPECT_EQ(layout.output.bottom() + 1, buttonTop - LayoutUnitsToPixels(200));
    // Label, list and check box in a row centred between the buttons.
    EXPECT_EQ(layout.sortList.left() - layout.sortLabel.right() - 1, LayoutUnitsToPixels(100));
    EXPECT_EQ(layout.showDurations.left() - layout.sortList.right() - 1, LayoutUnitsToPixels(250));
    EXPECT_NEAR(layout.sortLabel.left() - layout.copy.right(),
                layout.close.left() - layout.showDurations.right(), 2);
    EXPECT_NEAR(layout.sortList.center().y(), layout.copy.center().y(), 1);

    // Without the sort list the check box stands alone in the middle; a window frame moves
    // the buttons down by its height.
    const DurationsLayout alone =
        LayOutDurations(client, 30, QPoint(16, 48), button, label, list, check, false);
    EXPECT_EQ(alone.copy.top(), buttonTop + 30);
    EXPECT_NEAR(alone.showDurations.left() - alone.copy.right(),
                alone.close.left() - alone.showDurations.right(), 2);

    // In a narrow window the list narrows so that the row stays clear of the buttons.
    const DurationsLayout narrow =
        LayOutDurations({470, 500}, 0, QPoint(16, 48), button, label, list, check, true);
    EXPECT_LT(narrow.sortList.width(), list.width());
    EXPECT_GT(narrow.sortLabel.left(), narrow.copy.right());
    EXPECT_LT(narrow.showDurations.right(), narrow.close.left());
}

TEST_F(DurationsWindow, ReportShowsTheWorldTransitListUnderTheGrid) {
    Report(WorldTransits);
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), u"Durations of world transits"_s);
    EXPECT_EQ(window->lblTitle->text(), window->Content().heading.title);
    const QRect frame = window->frameGeometry();
    EXPECT_EQ(frame.top(), 30 + 60 + LayoutUnitsToPixels(1575));
    EXPECT_EQ(frame.left(), 40);
    EXPECT_EQ(frame.width(), 1000);
    // Down to 200 layout units below the main window's bottom.
    EXPECT_EQ(frame.bottom(), 30 + 700 - 1 + LayoutUnitsToPixels(200));
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(212, 208, 200));
    EXPECT_EQ(window->cboSortBy->count(), 6);
    EXPECT_EQ(window->cboSortBy->currentIndex(), 0);
    EXPECT_TRUE(window->cboSortBy->isVisible());
    EXPECT_TRUE(window->lblSortBy->isVisible());
    EXPECT_EQ(window->lblSortBy->text(), u"&Sort by:"_s);
    EXPECT_TRUE(window->chkShowDuration->isVisible());
    EXPECT_TRUE(window->chkShowDuration->isChecked());
    EXPECT_EQ(window->cmdCopy->text(), u"&Copy"_s);
    EXPECT_EQ(window->cmdClose->text(), u"C&lose"_s);
    EXPECT_EQ(Shown(), Plain(window->Content().output));
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Earth   trine (0°6')")));
}

TEST_F(DurationsWindow, SortChoicesAndShowDurationsRelistAndResize) {
    Report(WorldTransits);
    window->chkShowDuration->click();
    EXPECT_FALSE(window->chkShowDuration->isChecked());
    EXPECT_EQ(window->frameGeometry().width(), 500);
    EXPECT_FALSE(Shown().contains(QStringLiteral(" from ")));

    window->cboSortBy->setCurrentIndex(2); // planet
    EXPECT_FALSE(window->chkShowDuration->isChecked());
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Earth ")));
    window->cboSortBy->setCurrentIndex(4); // ending: the durations come back, full width
    EXPECT_TRUE(window->chkShowDuration->isChecked());
    EXPECT_EQ(window->frameGeometry().width(), 1000);
    EXPECT_TRUE(Shown().endsWith(QStringLiteral("(17 years, 145 days)\n")));

    window->cmdCopy->click();
    EXPECT_EQ(dialogs.ClipboardText(),
              window->Content().heading.title + u"\r\n\r\n"_s + window->Content().output);

    window->cmdClose->click();
    EXPECT_FALSE(window->isVisible());
    // A new Report starts again from exactness, with durations.
    Report(WorldTransits);
    EXPECT_EQ(window->cboSortBy->currentIndex(), 0);
    EXPECT_TRUE(window->chkShowDuration->isChecked());
    window->close(); // the close box hides the window and keeps it
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Content().output.isEmpty());
}

TEST_F(DurationsWindow, ColumnsLineUpOnScreenAndInCopy) {
    const struct {
        ChartMode mode;
        DateSet world;
    } cases[] = {
        {PersonalFirst, state.dateSets[WorldDate]},
        // Aspects that began on the last day of the year 0.
        {WorldTransits, {QStringLiteral("1"), 1, 5, 25, GreenwichTimezoneEntry}},
    };
    for (const auto& [mode, world] : cases) {
        state.dateSets[WorldDate] = world;
        Report(mode);
        window->cmdCopy->click();
        const QStringList copied = dialogs.ClipboardText().split(QStringLiteral("\r\n"));
        ASSERT_GT(copied.size(), 3);
        EXPECT_EQ(copied.mid(2).join(QLatin1Char('\n')), Shown());
        const QStringList lines = Shown().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            EXPECT_EQ(line.indexOf(QStringLiteral(" to ")),
                      lines[0].indexOf(QStringLiteral(" to ")))
                << line.toStdString();
        }
        EXPECT_FALSE(Shown().contains(QStringLiteral(", 0,"))) << mode;
    }
    EXPECT_TRUE(Shown().contains(QStringLiteral(" from before the year 1 ")));
}

TEST_F(DurationsWindow, NatalReportAndASingleAspectHideTheSortControls) {
    Report(NatalSecond);
    EXPECT_EQ(window->windowTitle(), u"Natal aspects of the 2nd birthdate"_s);
    EXPECT_FALSE(window->cboSortBy->isVisible());
    EXPECT_FALSE(window->lblSortBy->isVisible());
    EXPECT_FALSE(window->chkShowDuration->isVisible());
    EXPECT_TRUE(Shown().endsWith(QStringLiteral("End of report.\n")));

    state.settings.orbs.degrees = {0, 0, 0, 1, 0, 0, 0, 1};
    Report(WorldTransits);
    EXPECT_EQ(Shown().count(QLatin1Char('\n')), 1);
    EXPECT_FALSE(window->cboSortBy->isVisible());
    EXPECT_FALSE(window->lblSortBy->isVisible());
    EXPECT_TRUE(window->chkShowDuration->isVisible());
}
