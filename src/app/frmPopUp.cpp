#include "app/frmPopUp.h"

#include "draw/Fonts.h"
#include "draw/LayoutUnits.h"
#include "support/Rounding.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace orbivex {

QPoint CenteredPopUpPosition(int screenWidth, int screenHeight, int width, int height) {
    const double left = RoundHalfEven((static_cast<double>(screenWidth) - width) / 2.0);
    const double top = RoundHalfEven((static_cast<double>(screenHeight) - height) / 2.0);
    return {static_cast<int>(left), static_cast<int>(top)};
}

QRect PopUpPixelRect(int width, int height, int top, int left, const QRect& screen, QSize needed) {
    QRect rect(LayoutUnitsToPixels(left), LayoutUnitsToPixels(top),
               std::max(1, LayoutUnitsToPixels(width)), std::max(1, LayoutUnitsToPixels(height)));
    if (needed.width() > rect.width()) {
        rect.setLeft(rect.right() + 1 - needed.width());
    }
    if (needed.height() > rect.height()) {
        rect.setHeight(needed.height());
    }
    if (screen.isEmpty()) {
        return rect;
    }
    // Right and bottom first, so that a note larger than the screen keeps its top-left corner
    // visible, where its message begins.
    if (rect.right() > screen.right()) {
        rect.moveRight(screen.right());
    }
    if (rect.bottom() > screen.bottom()) {
        rect.moveBottom(screen.bottom());
    }
    if (rect.left() < screen.left()) {
        rect.moveLeft(screen.left());
    }
    if (rect.top() < screen.top()) {
        rect.moveTop(screen.top());
    }
    return rect;
}

frmPopUp::frmPopUp(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setModal(true);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setAlignment(Qt::AlignCenter);
    lblMessage->setWordWrap(true);
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setFont(ProgramFont(QStringLiteral("Arial"), 10));
    lblMessage->setFrameStyle(QFrame::Box | QFrame::Plain);
    // Room between the message and the sides of its box.
    lblMessage->setContentsMargins(6, 0, 6, 0);
    lblMessage->setAutoFillBackground(true);
    QPalette palette = lblMessage->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 225));
    palette.setColor(QPalette::WindowText, Qt::black);
    lblMessage->setPalette(palette);
    lblMessage->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblMessage);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmPopUp::Timer1_Timer);
}

void frmPopUp::PopUp(const QString& strMessage, int intWidth, int intHeight, int intInterval,
                     int intTop, int intLeft) {
    lblMessage->setText(strMessage);
    const QRect rect =
        PopUpPixelRect(intWidth, intHeight, intTop, intLeft, ScreenGeometry(),
                       FittedSize({LayoutUnitsToPixels(intWidth), LayoutUnitsToPixels(intHeight)}));
    setFixedSize(rect.size());
    move(rect.topLeft());
    // A negative interval cannot be timed; it hides the note at once rather than leaving a modal
    // note on screen that only a click would remove.
    Timer1->start(std::max(0, intInterval));
    if (isVisible()) {
        return;
    }
    exec();
}

void frmPopUp::PopUpCenterScreen(const QString& strMessage, int intWidth, int intHeight,
                                 int intInterval) {
    // Centred as large as the message makes it.
    lblMessage->setText(strMessage);
    const QSize fitted =
        FittedSize({LayoutUnitsToPixels(intWidth), LayoutUnitsToPixels(intHeight)});
    intWidth = std::max(intWidth, PixelsToLayoutUnits(fitted.width()));
    intHeight = std::max(intHeight, PixelsToLayoutUnits(fitted.height()));
    const QRect screen = ScreenGeometry();
    const QPoint topLeft =
        CenteredPopUpPosition(PixelsToLayoutUnits(screen.width()),
                              PixelsToLayoutUnits(screen.height()), intWidth, intHeight);
    PopUp(strMessage, intWidth, intHeight, intInterval,
          topLeft.y() + PixelsToLayoutUnits(screen.top()),
          topLeft.x() + PixelsToLayoutUnits(screen.left()));
}

QSize frmPopUp::FittedSize(QSize asked) const {
    const int screenWidth = ScreenGeometry().width();
    const int widest = std::max(
        asked.width(), screenWidth > 0 ? std::min(MaxFittedWidth, screenWidth) : MaxFittedWidth);
    // The message on lines of its own, as long as they fit; otherwise wrapped at the widest.
    lblMessage->setWordWrap(false);
    const QSize oneLine = lblMessage->sizeHint();
    lblMessage->setWordWrap(true);
    const int width = std::clamp(oneLine.width(), asked.width(), widest);
    const int height =
        oneLine.width() <= width ? oneLine.height() : lblMessage->heightForWidth(width);
    return {width, std::max(asked.height(), height)};
}

bool frmPopUp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblMessage && event->type() == QEvent::MouseButtonRelease &&
        lblMessage->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        lblMessage_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmPopUp::done(int result) {
    // However the note goes away (timer, click, Escape), its timer must not fire later and hide
    // the next note early.
    Timer1->stop();
    QDialog::done(result);
}

void frmPopUp::Timer1_Timer() {
    done(QDialog::Accepted);
}

void frmPopUp::lblMessage_Click() {
    done(QDialog::Accepted);
}

QRect frmPopUp::ScreenGeometry() const {
    const QScreen* target = screen();
    if (target == nullptr) {
        target = QGuiApplication::primaryScreen();
    }
    return target != nullptr ? target->geometry() : QRect();
}

} // namespace orbivex
