// Printing the chart sheet through the print dialog and the preview.
#include "MainWindowSupport.h"

#include "draw/ChartSheet.h"

#include <QPainter>
#include <QPushButton>
#include <QTest>

namespace orbivex::test {
namespace {

using Kind = ScriptedDialogs::Kind;

// Pixels that differ between two pages of the same size.
int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return a.width() * a.height();
    }
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return count;
}

// A page of A4 at 72 dots per inch, white.
QImage Page() {
    QImage page(595, 842, QImage::Format_RGB32);
    page.setDotsPerMeterX(2835);
    page.setDotsPerMeterY(2835);
    page.fill(Qt::white);
    return page;
}

TEST_F(MainWindowTest, PrintingDrawsTheChartSheet) {
    Start();
    ASSERT_TRUE(window->cmdPrint->isVisible());
    EXPECT_EQ(window->cmdPrint->text(), QStringLiteral("Print A&4..."));
    QImage printed;
    int prints = 0;
    bool printerWorks = true;
    dialogs.PrintOnto([&](const Dialogs::PaintPages& paint) {
        if (!printerWorks) {
            return false;
        }
        ++prints;
        printed = Page();
        QPainter painter(&printed);
        paint(painter);
        return painter.end();
    });
    QImage expected = Page();
    {
        QPainter painter(&expected);
        DrawChartSheet(painter, SheetInputOf(window->state, *window->ephemeris(), window->texts()),
                       window->texts());
    }
    ASSERT_GT(DifferentPixels(expected, Page()), 50000);
    const QString title = window->texts().ProgramText(561);

    // Ctrl+P: the print dialog, then the sheet on the printer.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    dialogs.QueueAnswer(Dialogs::Answer::Ok);
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(dialogs.CountOf(Kind::Print), 1u);
    EXPECT_EQ(dialogs.CallsOf(Kind::Print).back().title, title);
    EXPECT_EQ(prints, 1);
    // The same sheet; the symbols' smoothing may differ by a few pixels from one drawing to the
    // next, a sheet left out or another chart by tens of thousands.
    EXPECT_LT(DifferentPixels(printed, expected), 1000);

    // The button: the preview draws the same sheet.
    printed = QImage();
    window->cmdPrint->click();
    EXPECT_EQ(dialogs.CallsOf(Kind::Preview).back().title, title);
    // The same sheet; the symbols' smoothing may differ by a few pixels from one drawing to the
    // next, a sheet left out or another chart by tens of thousands.
    EXPECT_LT(DifferentPixels(printed, expected), 1000);

    // Cancelled: nothing printed, nothing said. A printer that cannot start: said.
    const size_t messages = dialogs.CountOf(Kind::Message);
    dialogs.QueueAnswer(Dialogs::Answer::Cancel);
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prints, 2);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), messages);
    printerWorks = false;
    dialogs.QueueAnswer(Dialogs::Answer::Ok);
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(dialogs.CountOf(Kind::Message), messages + 1);
    EXPECT_EQ(dialogs.CallsOf(Kind::Message).back().text, window->texts().ProgramText(562));
}

} // namespace
} // namespace orbivex::test
