// The aspectarian window opened from the main window: the year of the world date, the filters,
// Copy, Save as CSV and the double-click that moves the world date.
#include "MainWindowSupport.h"

#include "app/frmAspectarian.h"
#include "present/Aspectarian.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace orbivex::test {
namespace {

using Kind = ScriptedDialogs::Kind;

class AspectarianWindow : public MainWindowTest {
  protected:
    frmAspectarian* Open() {
        Start();
        window->cmdAspectarian->click();
        frmAspectarian* aspectarian = window->aspectarianWindowIfMade();
        EXPECT_NE(aspectarian, nullptr);
        return aspectarian;
    }
};

TEST_F(AspectarianWindow, ListsTheWorldDatesYearAndFiltersIt) {
    frmAspectarian* aspectarian = Open();
    ASSERT_NE(aspectarian, nullptr);
    EXPECT_TRUE(aspectarian->isVisible());
    EXPECT_EQ(aspectarian->txbYear->value(), 2024);
    AspectarianModel& model = aspectarian->Model();
    const int all = model.rowCount();
    EXPECT_GT(all, 500);
    EXPECT_TRUE(model.data(model.index(0, 0), Qt::DisplayRole)
                    .toString()
                    .startsWith(QStringLiteral("2024-01-01")));

    const struct {
        std::optional<BodyIndex> body; // none: the list's first entry, every body
        AspectKind aspect;
    } filters[] = {{Mars, NoAspect}, {std::nullopt, Square}, {Mars, Square}};
    for (const auto& filter : filters) {
        aspectarian->cboBody->setCurrentIndex(filter.body ? BodyNumber(*filter.body) : 0);
        aspectarian->cboAspect->setCurrentIndex(KindNumber(filter.aspect));
        EXPECT_GT(model.rowCount(), 0);
        EXPECT_LT(model.rowCount(), all);
        for (int row = 0; row < model.rowCount(); ++row) {
            EXPECT_TRUE(AspectarianEventShown(model.EventAt(row), filter.body, filter.aspect));
        }
        EXPECT_TRUE(aspectarian->lblCount->text().startsWith(QString::number(model.rowCount())));
    }

    // Copy gives the lines shown; Save as CSV writes them with a header.
    aspectarian->cmdCopy->click();
    EXPECT_EQ(dialogs.ClipboardText().count(QLatin1Char('\n')), model.rowCount());
    QTemporaryDir folder;
    dialogs.QueueFileName(folder.filePath(QStringLiteral("mars")));
    aspectarian->cmdSaveCsv->click();
    const QByteArray csv = ReadAll(folder.filePath(QStringLiteral("mars.csv")));
    EXPECT_TRUE(csv.startsWith("time,julianDay,first,second,aspect,angle\n"));
    EXPECT_EQ(csv.count('\n'), model.rowCount() + 1);

    // A span whose last day comes first changes nothing but says so.
    aspectarian->txbFrom->setDate(QDate(2024, 3, 1));
    aspectarian->txbTo->setDate(QDate(2024, 2, 1));
    EXPECT_TRUE(aspectarian->optSpan->isChecked());
    aspectarian->cmdList->click();
    EXPECT_EQ(dialogs.CallsOf(Kind::Message).size(), 1U);
    aspectarian->txbFrom->setDate(QDate(2024, 1, 15));
    aspectarian->cmdList->click();
    EXPECT_TRUE(model.data(model.index(0, 0), Qt::DisplayRole)
                    .toString()
                    .startsWith(QStringLiteral("2024-01-1")));
}

TEST_F(AspectarianWindow, ADoubleClickSetsTheWorldDateToTheEventAndComputes) {
    frmAspectarian* aspectarian = Open();
    ASSERT_NE(aspectarian, nullptr);
    const AspectarianModel& model = aspectarian->Model();
    const int row = model.rowCount() / 2;
    const ExactAspect event = model.EventAt(row);
    aspectarian->lstEvents_DblClick(model.index(row, 0));
    // The nearest half hour the date set holds, and the chart of it.
    EXPECT_NEAR(window->state.ChartJulianDays[WorldDate], event.julianDay, 1.0 / 48.0);
    EXPECT_EQ(window->state.recordedMode, WorldTransits);

    // With the main window's commands disabled (as under the course graph) nothing moves.
    const double before = window->state.ChartJulianDays[WorldDate];
    window->cmdCompute->setEnabled(false);
    aspectarian->lstEvents_DblClick(model.index(0, 0));
    EXPECT_EQ(window->state.ChartJulianDays[WorldDate], before);
}

} // namespace
} // namespace orbivex::test
