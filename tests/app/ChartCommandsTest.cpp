// The chart wheel in the window: the toggle and what it changes, the redraw after Compute, the
// filters that refuse a wheel, a right click on a line and saving the wheel as an image.
#include "MainWindowSupport.h"

#include "app/PictureBox.h"
#include "app/frmConfigure.h"
#include "draw/ImageExport.h"
#include "draw/LayoutUnits.h"
#include "present/PictureInput.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace orbivex::test {

using enum BodyIndex;
using enum ChartMode;
namespace {

using Kind = ScriptedDialogs::Kind;
using namespace Qt::StringLiterals;

// The wheel a separate Compute of the window's dates draws.
QImage ReferenceWheel(const frmMain& window) {
    return DrawChartWheel(WheelInputOf(ReferenceChart(window)), window.texts()).image;
}

TEST_F(MainWindowTest, TheToggleShowsTheWheelInPlaceOfTheGridAndBack) {
    Start();
    const QString gridTitle = window->lblTitle->text();
    window->cmdToggleGraphic->click();

    ASSERT_TRUE(window->picGraphic->isVisible());
    EXPECT_FALSE(window->picTable->isVisible());
    EXPECT_TRUE(window->state.chartShown);
    EXPECT_EQ(window->picGraphic->Image(), ReferenceWheel(*window));
    // The picture takes the grid's area; the wheel is centred in it, as large as it allows.
    EXPECT_EQ(window->picGraphic->geometry(), window->chartArea->rect());
    EXPECT_EQ(window->picGraphic->ImageRect().center(), QRectF(window->chartArea->rect()).center());
    EXPECT_EQ(window->cmdToggleGraphic->text(), QStringLiteral("&Display grid"));
    EXPECT_EQ(window->lblTitle->text(),
              TitleText(WorldTransits, false, window->state.orbSummary, window->texts()));
    EXPECT_NE(window->lblTitle->text(), gridTitle);
    EXPECT_TRUE(window->lblClickonAspect->text().isEmpty());
    EXPECT_EQ(window->cmdSaveAs->text(), QStringLiteral("Sa&ve image ..."));
    EXPECT_FALSE(window->cmdLoadState->isVisible());
    // With a step of a day a run can start from here.
    EXPECT_TRUE(window->cmdRun->isVisible());
    EXPECT_EQ(window->cmdRun->text(), QStringLiteral("&Run"));

    // Half an hour is too short a step for a run; the refresh hides Run and brings it back.
    Choose(window->cboForwardBack, HalfHourStep);
    window->Timer1_Timer();
    EXPECT_FALSE(window->cmdRun->isVisible());
    Choose(window->cboForwardBack, WeekStep);
    window->Timer1_Timer();
    EXPECT_TRUE(window->cmdRun->isVisible());

    window->cmdToggleGraphic->click();
    EXPECT_FALSE(window->picGraphic->isVisible());
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_EQ(window->lblTitle->text(), gridTitle);
    EXPECT_EQ(window->lblClickonAspect->text(), window->texts().ProgramText(32));
    EXPECT_EQ(window->cmdToggleGraphic->text(), QStringLiteral("&Display chart"));
    EXPECT_EQ(window->cmdSaveAs->text(), QStringLiteral("Sa&ve as ..."));
    EXPECT_TRUE(window->cmdLoadState->isVisible());
    EXPECT_FALSE(window->cmdRun->isVisible());
    EXPECT_EQ(dialogs.Calls().size(), 1u); // only the loading note of the start
}

TEST_F(MainWindowTest, UnitZodiacAndCalendarChangesShowOnScreen) {
    Start();
    // Radians: the grid of the chart on display follows at once, not marked out of date.
    window->optRadians->click();
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_FALSE(window->lblStale->isVisible());
    window->Label1_Click(WorldDate); // back to degrees
    EXPECT_FALSE(window->state.radians);
    ExpectGridShows(*window, ReferenceView(*window).grid);

    // The zodiac of date is named in the title line; the J2000 zodiac is not.
    const QString note = window->texts().ProgramText(523);
    EXPECT_FALSE(window->lblTitle->text().contains(note));
    window->state.settings.zodiac = ZodiacChoice::OfDate;
    window->cmdCompute->click();
    EXPECT_TRUE(window->lblTitle->text().endsWith(u"  "_s + note))
        << window->lblTitle->text().toStdString();

    // A new calendar reads the written date anew, and the status line says how far it moved.
    EnterDate(WorldDate, u"1400"_s, 6, 1, 25, GreenwichTimezoneEntry);
    window->cmdCompute->click();
    const double gregorian = window->state.ChartJulianDays[WorldDate].julianDay;
    QTimer::singleShot(0, window.get(), [this] {
        frmConfigure* configure = window->configurationWindowIfMade();
        ASSERT_NE(configure, nullptr);
        Choose(configure->cboCalendar, static_cast<int>(CalendarChoice::Julian));
        configure->cmdAccept->click();
        configure->cmdHide->click();
    });
    window->cmdConfigure->click();
    EXPECT_EQ(window->state.ChartJulianDays[WorldDate].julianDay - gregorian, 9.0);
    EXPECT_EQ(window->lblStatus->text(),
              u"Calendar of the dates: Julian. The dates keep their written day, so the chart "
              u"moved 9 days."_s);
}

TEST_F(MainWindowTest, TheWheelFollowsComputeAndTheMode) {
    Start();
    window->cmdToggleGraphic->click();

    // A new date computed with the wheel on display redraws it.
    EnterDate(WorldDate, QStringLiteral("1987"), 8, 16, 25, 24);
    window->cmdCompute->click();
    EXPECT_FALSE(window->picTable->isVisible());
    EXPECT_EQ(window->picGraphic->Image(), ReferenceWheel(*window));
    // The toggle stays while the wheel is shown, even as dates are typed.
    window->txbYearCE[WorldDate]->setText(QStringLiteral("1988"));
    Choose(window->cboMonthCE[WorldDate], 2);
    EXPECT_TRUE(window->cmdToggleGraphic->isVisible());

    // Personal transits: the wider wheel of two sets, Run offered.
    EnterDate(FirstBirthdate, QStringLiteral("1960"), 3, 14, 13, 24);
    window->optPersonal[0]->click();
    EXPECT_EQ(window->picGraphic->Image().size(), QSize(660, 440));
    EXPECT_EQ(window->picGraphic->Image(), ReferenceWheel(*window));
    EXPECT_EQ(window->cmdToggleGraphic->text(), QStringLiteral("&Display grid"));
    // The one-line report stands under the wheel, not over it.
    EXPECT_TRUE(window->txbReport1->isVisible());
    EXPECT_GE(window->txbReport1->mapTo(window.get(), QPoint()).y(),
              window->picGraphic->mapTo(window.get(), QPoint(0, window->picGraphic->height())).y());
    window->Timer1_Timer();
    EXPECT_TRUE(window->cmdRun->isVisible());

    // Natal aspects have no run: Run goes with the mode's change, not a second later.
    window->optNatal[0]->click();
    EXPECT_EQ(window->picGraphic->Image().size(), QSize(400, 400));
    EXPECT_FALSE(window->cmdRun->isVisible());
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
}

TEST_F(MainWindowTest, BothChartFiltersRefuseTheWheelAndTheGridStays) {
    Start();
    window->state.settings.showOnlyEarth = true;
    window->state.settings.showOnlyOuter = true;
    window->cmdToggleGraphic->click();
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    const auto message = dialogs.CallsOf(Kind::Message)[0];
    EXPECT_EQ(message.text, BothChartFiltersRefusal());
    EXPECT_EQ(message.title, QStringLiteral("Orbivex"));
    EXPECT_EQ(message.icon, Dialogs::Icon::Information);
    EXPECT_FALSE(window->picGraphic->isVisible());
    EXPECT_FALSE(window->state.chartShown);
    ExpectGridShows(*window, ReferenceView(*window).grid);
    EXPECT_EQ(window->cmdToggleGraphic->text(), QStringLiteral("&Display chart"));

    // One filter is honoured: only Earth's lines are drawn.
    window->state.settings.showOnlyOuter = false;
    window->cmdToggleGraphic->click();
    ASSERT_TRUE(window->picGraphic->isVisible());
    ASSERT_FALSE(window->wheel().lines.empty());
    for (const WheelLine& line : window->wheel().lines) {
        EXPECT_EQ(line.aspect.body1, Earth);
    }
}

TEST_F(MainWindowTest, ARightClickOnALineNamesItsAspectInEitherStyle) {
    Start();
    std::size_t messages = 0;
    for (const WheelStyle style : {WheelStyle::Classic, WheelStyle::Modern}) {
        window->state.settings.wheelStyle = style;
        window->cmdToggleGraphic->click();
        const WheelDrawing& wheel = window->wheel();
        ASSERT_FALSE(wheel.lines.empty());
        EXPECT_EQ(window->picGraphic->Image().deviceIndependentSize().toSize(),
                  WheelPictureSize(WheelInputOf(window->state)));

        // A point on the first line that nothing else covers: a little way along it.
        const WheelLine& line = wheel.lines.front();
        QPoint onLine;
        for (double t = 0.3; t < 0.7; t += 0.01) {
            const QPoint p = (line.from + t * (line.to - line.from)).toPoint();
            if (NameAspectsAt(wheel, QPointF(p) + QPointF(0.5, 0.5)) ==
                AspectLineName(line.aspect)) {
                onLine = p;
                break;
            }
        }
        ASSERT_FALSE(onLine.isNull());
        QTest::mouseClick(window->picGraphic, Qt::RightButton, {},
                          window->picGraphic->WidgetPointOf(onLine));
        ASSERT_EQ(dialogs.CountOf(Kind::Message), ++messages);
        const auto message = dialogs.CallsOf(Kind::Message).back();
        EXPECT_EQ(message.title, LineNameTitle());
        EXPECT_EQ(message.text, AspectLineName(line.aspect));

        // The background, or a left click, says nothing.
        QTest::mouseClick(window->picGraphic, Qt::RightButton, {}, QPoint(2, 2));
        QTest::mouseClick(window->picGraphic, Qt::LeftButton, {},
                          window->picGraphic->WidgetPointOf(onLine));
        EXPECT_EQ(dialogs.CountOf(Kind::Message), messages);
        window->cmdToggleGraphic->click(); // back to the grid
    }
}

TEST_F(MainWindowTest, SaveAsWithTheWheelWritesTheComposedImage) {
    Start();
    window->cmdToggleGraphic->click();
    const QString folder = StateFolder();

    // A name typed without its ending gets ".png"; the bitmap on the way is not left behind.
    dialogs.QueueFileName(folder + QStringLiteral("/chart"));
    window->cmdSaveAs->click();
    const auto dialog = dialogs.CallsOf(Kind::SaveFile).back();
    EXPECT_EQ(dialog.title, window->texts().ProgramText(132));
    EXPECT_TRUE(dialog.filter.contains(QStringLiteral("*.png")));
    const QString png = folder + QStringLiteral("/chart.png");
    ASSERT_TRUE(QFileInfo::exists(png));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/chart.bmp")));
    EXPECT_EQ(QImageReader(png).format(), QByteArray("png"));
    const QImage expected =
        ComposeExportImage(ExportInputOf(window->state, window->texts()), window->texts());
    EXPECT_EQ(QImage(png).convertToFormat(expected.format()), expected);
    const auto message = dialogs.CallsOf(Kind::Message).back();
    EXPECT_EQ(message.text, window->texts().ProgramText(134) + QStringLiteral("\r\n") + png);
    EXPECT_EQ(message.title, QStringLiteral("Save image ..."));
    // No state file was written by the same button.
    EXPECT_FALSE(window->blnJustSaved);

    // Cancelled: nothing is written and the toggle stays offered.
    dialogs.QueueFileName(QString());
    window->cmdSaveAs->click();
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 1u);
    EXPECT_TRUE(window->cmdToggleGraphic->isVisible());
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(MainWindowTest, SaveAsWithTheWheelOffersPngAndSvg) {
    Start();
    window->cmdToggleGraphic->click();
    const QString folder = StateFolder();
    struct Case {
        const char* typed;
        const char* picked;
        const char* written;
        bool svg;
    };
    const Case cases[] = {
        {"a.svg", "", "a.svg", true},      // the name's extension decides
        {"b.SVG", "*.png", "b.SVG", true}, // over the picked type
        {"c", "*.svg", "c.svg", true},     // the picked type gives its extension
        {"d.png", "*.svg", "d.png", false},
        {"e", "", "e.png", false}, // a dialog that tells no type: PNG as before
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.QueueFileName(folder + QLatin1Char('/') + QLatin1String(c.typed));
        dialogs.QueuePickedPattern(QLatin1String(c.picked));
        window->cmdSaveAs->click();
        const auto dialog = dialogs.CallsOf(Kind::SaveFile).back();
        EXPECT_TRUE(dialog.filter.contains(QStringLiteral("*.svg")));
        EXPECT_TRUE(dialog.filter.contains(QStringLiteral("*.png")));
        const QString written = folder + QLatin1Char('/') + QLatin1String(c.written);
        const QByteArray bytes = FileBytes(written);
        EXPECT_EQ(bytes.startsWith("<?xml"), c.svg);
        EXPECT_EQ(bytes.startsWith("\x89PNG"), !c.svg);
        EXPECT_EQ(dialogs.CallsOf(Kind::Message).back().text,
                  window->texts().ProgramText(134) + QStringLiteral("\r\n") + written);
    }
    EXPECT_EQ(dialogs.UnusedAnswers(), 0u);
}

} // namespace
} // namespace orbivex::test
