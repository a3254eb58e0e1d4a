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
using enum orbivex::ChartMode;

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

TEST_F(DurationsWindow, TheListFillsTheWindowOverARowOfItsCommands) {
    Report(WorldTransits);
    for (const QSize size : {QSize(1000, 500), QSize(500, 300)}) {
        window->resize(size);
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QRect list = window->txbOutput->geometry();
        EXPECT_GT(list.width(), window->width() * 3 / 4);
        EXPECT_GT(list.top(), window->lblTitle->geometry().bottom());
        // Copy, the sort choices and Close in a row under the list, clear of each other.
        int right = 0;
        for (const QWidget* w : std::initializer_list<const QWidget*>{
                 window->cmdCopy, window->lblSortBy, window->cboSortBy, window->chkShowDuration,
                 window->cmdClose}) {
            if (w->isVisible()) {
                EXPECT_GT(w->y(), list.bottom()) << w->objectName().toStdString();
                EXPECT_GE(w->x(), right) << w->objectName().toStdString();
                right = w->geometry().right() + 1;
            }
        }
        EXPECT_LE(right, window->width());
    }
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
