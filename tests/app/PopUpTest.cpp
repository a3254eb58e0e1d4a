#include "app/frmPopUp.h"
#include "common/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

TEST(CenteredPopUpPosition, CentresAndRoundsHalvesToEven) {
    struct Case {
        int screenWidth, screenHeight, width, height, left, top;
    };
    const Case cases[] = {
        {28800, 16200, 2000, 300, 13400, 7950},
        {28801, 16201, 2000, 300, 13400, 7950}, // 13400.5 and 7950.5 go down to even
        {28803, 16203, 2000, 300, 13402, 7952}, // 13401.5 and 7951.5 go up to even
        {1000, 1000, 3000, 3000, -1000, -1000}, // larger than the screen
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CenteredPopUpPosition(c.screenWidth, c.screenHeight, c.width, c.height),
                  QPoint(c.left, c.top))
            << c.screenWidth << " x " << c.screenHeight;
    }
}

TEST(PopUpPixelRect, ConvertsLayoutUnitsAndKeepsTheNoteOnTheScreen) {
    const QRect screen(0, 0, 800, 600);
    EXPECT_EQ(PopUpPixelRect(2400, 300, 1500, 3000, screen), QRect(200, 100, 160, 20));
    // Past the right and bottom edges: moved back inside.
    EXPECT_EQ(PopUpPixelRect(2400, 300, 8990, 11990, screen), QRect(640, 580, 160, 20));
    // Left of the screen, as a note placed left of a button near the edge would be.
    EXPECT_EQ(PopUpPixelRect(2400, 300, 1500, -1200, screen), QRect(0, 100, 160, 20));
    // Larger than the screen: the top-left corner, where the message starts, stays visible.
    EXPECT_EQ(PopUpPixelRect(15000, 300, 0, 0, screen).topLeft(), QPoint(0, 0));
    // Grown for its message: leftwards and downwards, never smaller than asked.
    EXPECT_EQ(PopUpPixelRect(2400, 300, 1500, 3000, screen, {250, 40}), QRect(110, 100, 250, 40));
    EXPECT_EQ(PopUpPixelRect(2400, 300, 1500, 3000, screen, {100, 10}), QRect(200, 100, 160, 20));
}

// Runs `action` once the pop-up's event loop is running, and ends a pop-up that would otherwise
// never return.
class PopUpDriver {
  public:
    PopUpDriver(frmPopUp& popUp, std::function<void()> action) {
        QTimer::singleShot(0, &popUp, std::move(action));
        guard_.setSingleShot(true);
        QObject::connect(&guard_, &QTimer::timeout, &popUp, [&popUp] {
            ADD_FAILURE() << "The pop-up did not hide by itself";
            popUp.reject();
        });
        guard_.start(10000);
    }

  private:
    QTimer guard_;
};

void ClickAtCentre(QWidget* widget) {
    const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
    const QPointF global = widget->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

TEST(frmPopUp, ShowsTheMessageWhereAskedAndHidesWhenItsTimeIsUp) {
    frmPopUp popUp;
    bool seenWhileShown = false;
    PopUpDriver driver(popUp, [&] {
        seenWhileShown = popUp.isVisible() && popUp.isModal();
        EXPECT_EQ(popUp.lblMessage->text(), QStringLiteral("State saved."));
        EXPECT_EQ(popUp.geometry(), QRect(200, 100, 160, 20));
        EXPECT_TRUE(popUp.Timer1->isActive());
        EXPECT_TRUE(popUp.windowFlags().testFlag(Qt::FramelessWindowHint));
    });
    QElapsedTimer elapsed;
    elapsed.start();
    popUp.PopUp(QStringLiteral("State saved."), 2400, 300, 120, 1500, 3000);
    EXPECT_GE(elapsed.elapsed(), 100);
    EXPECT_TRUE(seenWhileShown);
    EXPECT_FALSE(popUp.isVisible());
    EXPECT_FALSE(popUp.Timer1->isActive());
}

TEST(frmPopUp, AClickHidesItAtOnceAndTheNextPopUpRestartsTheTimer) {
    frmPopUp popUp;
    {
        PopUpDriver driver(popUp, [&] { ClickAtCentre(popUp.lblMessage); });
        QElapsedTimer elapsed;
        elapsed.start();
        popUp.PopUp(QStringLiteral("Click me"), 2400, 300, 60000, 1500, 3000);
        EXPECT_LT(elapsed.elapsed(), 5000);
        EXPECT_FALSE(popUp.isVisible());
        EXPECT_FALSE(popUp.Timer1->isActive());
    }
    {
        bool timerRunning = false;
        PopUpDriver driver(popUp, [&] { timerRunning = popUp.Timer1->isActive(); });
        popUp.PopUp(QStringLiteral("Again"), 2400, 300, 50, 1500, 3000);
        EXPECT_TRUE(timerRunning);
        EXPECT_FALSE(popUp.isVisible());
    }
}

TEST(frmPopUp, GrowsToShowItsWholeMessage) {
    struct Case {
        QString message;
        bool grows;
    };
    const Case cases[] = {
        {QStringLiteral("State saved."), false},
        {QStringLiteral("The last saved state has been restored."), true},
        {QStringLiteral("Two lines\nof a note"), true},
        {QStringLiteral("A note far longer than any line the pop-up may take, which must wrap "
                        "onto lines of its own and grow downwards to show every word of it."),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        frmPopUp popUp;
        QRect shown;
        QRect needed;
        QRect room;
        PopUpDriver driver(popUp, [&] {
            shown = popUp.geometry();
            room = popUp.lblMessage->contentsRect();
            needed = popUp.lblMessage->fontMetrics().boundingRect(
                room, Qt::AlignCenter | Qt::TextWordWrap, c.message);
            popUp.accept();
        });
        popUp.PopUp(c.message, 2400, 300, 60000, 1500, 6000);
        EXPECT_TRUE(room.contains(needed)) << needed.width() << "x" << needed.height() << " in "
                                           << room.width() << "x" << room.height();
        EXPECT_EQ(shown.right(), 559); // the right edge and the top stay where they were asked
        EXPECT_EQ(shown.top(), 100);
        EXPECT_LE(shown.width(), std::max(160, frmPopUp::MaxFittedWidth));
        EXPECT_EQ(shown.size() != QSize(160, 20), c.grows);
    }
}

TEST(frmPopUp, CentredOnTheScreen) {
    frmPopUp popUp;
    QPoint centre;
    PopUpDriver driver(popUp, [&] { centre = popUp.geometry().center(); });
    popUp.PopUpCenterScreen(QStringLiteral("Loading data ..."), 2000, 300, 30);
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((centre - screenCentre).manhattanLength(), 2)
        << centre.x() << "," << centre.y() << " vs " << screenCentre.x() << "," << screenCentre.y();
}

} // namespace
} // namespace orbivex
