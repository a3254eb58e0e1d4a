#pragma once
// A borderless note that shows a short message for a set time. The caller waits while it is
// shown; the note hides itself when its one-shot timer fires or when the user clicks it.

#include <QDialog>
#include <QPoint>
#include <QRect>

class QLabel;
class QTimer;

namespace orbivex {

// Top-left corner, in layout units, of a note of width x height layout units centred on a
// screen of screenWidth x screenHeight layout units; halves round to the even neighbour.
QPoint CenteredPopUpPosition(int screenWidth, int screenHeight, int width, int height);

// The pixel rectangle of a note whose layout-unit geometry is given, moved (not resized) so
// that it lies within `screen` when it would reach past one of its edges.
QRect PopUpPixelRect(int width, int height, int top, int left, const QRect& screen);

class frmPopUp : public QDialog {
    Q_OBJECT

  public:
    explicit frmPopUp(QWidget* parent = nullptr);

    // Shows strMessage in a note of intWidth x intHeight layout units with its top-left corner at
    // (intLeft, intTop) layout units on the screen, and waits until it hides, after intInterval
    // milliseconds or at a click on the message. A call made while a note is already showing
    // replaces its message and restarts its timer without waiting a second time.
    void PopUp(const QString& strMessage, int intWidth, int intHeight, int intInterval, int intTop,
               int intLeft);
    // As PopUp, centred on the screen.
    void PopUpCenterScreen(const QString& strMessage, int intWidth, int intHeight, int intInterval);

    QLabel* lblMessage = nullptr;
    QTimer* Timer1 = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

  private:
    void Timer1_Timer();
    void lblMessage_Click();
    QRect ScreenGeometry() const;
};

} // namespace orbivex
