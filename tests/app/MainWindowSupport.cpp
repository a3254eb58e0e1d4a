#include "MainWindowSupport.h"

#include "app/MainWindowLayout.h"
#include "core/Ephemeris.h"
#include "draw/LayoutUnits.h"
#include "present/Messages.h"
#include "present/Symbols.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace orbivex::test {

QDateTime TestNow() {
    return QDateTime(QDate(2024, 1, 5), QTime(12, 10));
}

MainWindowTest::MainWindowTest() {
    EXPECT_TRUE(home_.isValid());
}

frmMainSetup MainWindowTest::Setup() const {
    frmMainSetup setup;
    setup.programFolder = programFolder;
    setup.userStateFolder = StateFolder();
    setup.now = [this] { return now; };
    return setup;
}

void MainWindowTest::Start() {
    window = std::make_unique<frmMain>(dialogs, Setup());
    ASSERT_TRUE(window->Form_Load());
    if (startSize.isValid()) {
        window->resize(startSize);
    }
}

QString MainWindowTest::CopyProgramFolder(const QStringList& leaveOut) {
    const QString folder = home_.path() + QStringLiteral("/program");
    QDir().mkpath(folder);
    for (const QString& name : {QStringLiteral("orbx.dat"), QStringLiteral("orbx_help.txt"),
                                QString::fromLatin1(PlutoTableFileName)}) {
        if (!leaveOut.contains(name)) {
            QFile::remove(folder + QLatin1Char('/') + name);
            EXPECT_TRUE(QFile::copy(ProgramFolder() + QLatin1Char('/') + name,
                                    folder + QLatin1Char('/') + name));
        }
    }
    programFolder = folder;
    return folder;
}

void MainWindowTest::Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

void MainWindowTest::EnterDate(int dateSet, const QString& year, int month, int day, int hourEntry,
                               int zoneEntry) {
    window->txbYearCE[dateSet]->setText(year);
    Choose(window->cboMonthCE[dateSet], month);
    Choose(window->cboDayCE[dateSet], day);
    Choose(window->cboHour[dateSet], hourEntry);
    Choose(window->cboTimezone[dateSet], zoneEntry);
}

ProgramState ReferenceChart(const frmMain& window) {
    ProgramState reference;
    reference.dateSets = window.state.dateSets;
    reference.zones = window.state.zones;
    reference.settings = window.state.settings;
    reference.mode = window.state.mode;
    reference.radians = window.state.radians;
    const ComputeOutcome outcome = Compute(reference, ComputeContext{*window.ephemeris()});
    EXPECT_TRUE(outcome) << ReportDateError(window.texts(), outcome.error()).message.toStdString();
    return reference;
}

ChartView ReferenceView(const frmMain& window) {
    return ReferenceView(window, ReferenceChart(window));
}

ChartView ReferenceView(const frmMain& window, const ProgramState& reference) {
    return BuildChartView(reference.chart, ChartDisplayOf(reference), window.texts());
}

void ExpectGridShows(const frmMain& window, const AspectGrid& grid) {
    ASSERT_TRUE(window.picTable->isVisible());
    // The grid fills its area as far as its proportions allow, at one scale for all cells.
    const double scale = window.GridScale();
    const auto scaled = [scale](int units) {
        return static_cast<int>(std::lround(LayoutUnitsToPixels(units) * scale));
    };
    EXPECT_EQ(window.picTable->size(),
              QSize(scaled(grid.TableWidth()), scaled(grid.TableHeight())));
    const QSize area = window.chartArea->size();
    EXPECT_TRUE(window.picTable->width() == area.width() ||
                window.picTable->height() == area.height() || scale <= layout::SmallestGridScale);
    for (int i = 0; i < AspectGrid::MaxCells; ++i) {
        SCOPED_TRACE("cell " + std::to_string(i));
        const GridCell& cell = grid.cells[i];
        const QLabel* label = window.txbCell[i];
        const bool shown = i < grid.cellCount && cell.visible;
        ASSERT_EQ(label->isVisible(), shown);
        if (!shown) {
            continue;
        }
        const bool symbol = cell.font == CellFont::Symbol;
        QString text = symbol ? SymbolText(cell.text) : cell.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(
            label->palette().color(QPalette::Window),
            QColor(RedOf(cell.backColour), GreenOf(cell.backColour), BlueOf(cell.backColour)));
        EXPECT_EQ(
            label->palette().color(QPalette::WindowText),
            QColor(RedOf(cell.foreColour), GreenOf(cell.foreColour), BlueOf(cell.foreColour)));
        EXPECT_EQ(label->font().bold(), cell.bold);
        EXPECT_EQ(label->font().family(),
                  QLatin1String(symbol ? "DejaVu Sans" : "Liberation Sans"));
        EXPECT_NEAR(label->font().pointSizeF(), CellFontPointSize(cell.font) * scale, 0.25);
        EXPECT_EQ(label->geometry(), QRect(QPoint(scaled(cell.left), scaled(cell.top)),
                                           QPoint(scaled(cell.left + AspectGrid::CellWidth) - 1,
                                                  scaled(cell.top + AspectGrid::CellHeight) - 1)));
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    }
}

QStringList CellTexts(const frmMain& window) {
    QStringList texts;
    for (const QLabel* label : window.txbCell) {
        if (label->isVisible()) {
            texts.append(label->text());
        }
    }
    return texts;
}

} // namespace orbivex::test
