#pragma once
// A borderless note that shows a short message for a set time. The caller waits while it is
// shown; the note hides itself when its one-shot timer fires or when the user clicks it.

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

class QLabel;
class QTimer;

namespace orbivex {

// Top-left corner, in layout units, of a note of width x height layout units centred on a
// screen of screenWidth x screenHeight layout units; halves round to the even neighbour.
QPoint CenteredPopUpPosition(int screenWidth, int screenHeight, int width, int height);

// The pixel rectangle of a note whose layout-unit geometry is given, grown to at least `needed`
// pixels where its message needs more room, and moved (not resized) so that it lies within
// `screen` when it would reach past one of its edges. A note grows leftwards and downwards: one
// placed left of the button whose command it reports on stays clear of the button.
QRect PopUpPixelRect(int width, int height, int top, int left, const QRect& screen,
                     QSize needed = {});

class frmPopUp : public QDialog {
    Q_OBJECT

  public:
    explicit frmPopUp(QWidget* parent = nullptr);

    // Shows strMessage in a note of intWidth x intHeight layout units with its top-left corner at
    // (intLeft, intTop) layout units on the screen, grown where the message needs more room
    // (PopUpPixelRect), and waits until it hides, after intInterval
    // milliseconds or at a click on the message. A call made while a note is already showing
    // replaces its message and restarts its timer without waiting a second time.
    void PopUp(const QString& strMessage, int intWidth, int intHeight, int intInterval, int intTop,
               int intLeft);
    // As PopUp, centred on the screen at the size the message makes it.
    void PopUpCenterScreen(const QString& strMessage, int intWidth, int intHeight, int intInterval);

    QLabel* lblMessage = nullptr;
    QTimer* Timer1 = nullptr;

    // The pixel size the note needs to show its message whole: at least `asked`; wider, up to
    // MaxFittedWidth, where the longest line needs it; then as high as the lines wrapped at
    // that width.
    QSize FittedSize(QSize asked) const;
    static constexpr int MaxFittedWidth = 480;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

  private:
    void Timer1_Timer();
    void lblMessage_Click();
    QRect ScreenGeometry() const;
};

} // namespace orbivex
